#include "controls/DateEdit.h"

#include "controls/CalendarModel.h"
#include "controls/Calpop32.h"
#include "controls/DateEditRules.h"
#include "winlib/GdiScopes.h"
#include "winlib/MsgBox.h"

namespace qrx {
namespace {

// The system's combo-box arrow (OBM_COMBO, which needs OEMRESOURCE before the headers).
constexpr int kComboArrowBitmap = 32738;
constexpr size_t kMaxDisplayFormat = 20;

int CurrentYear() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return st.wYear;
}

}  // namespace

// ---- drop-down button ----

void TDropButton::Create(TWindow& parent) {
  CreateCustom("QrxDropButton", WS_CHILD | WS_VISIBLE, 0, parent.Handle(), 0, CS_DBLCLKS);
  arrow_.reset(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(kComboArrowBitmap)));
}

void TDropButton::SetPushed(bool pushed) {
  if (pushed_ == pushed) return;
  pushed_ = pushed;
  Invalidate();
}

LRESULT TDropButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      tracking_ = true;
      ::SetCapture(hwnd_);
      SetPushed(true);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_) {
        RECT r = ClientRect();
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        SetPushed(::PtInRect(&r, p) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        const bool fire = pushed_;
        SetPushed(false);
        ::ReleaseCapture();
        if (fire && OnClick) OnClick();
      }
      return 0;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      SetPushed(false);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      HDC dc = paint.dc();
      RECT r = ClientRect();
      ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed_ ? DFCS_PUSHED : 0));
      BITMAP bm{};
      if (arrow_ && ::GetObjectA(arrow_.get(), sizeof bm, &bm)) {
        int x = (r.right - bm.bmWidth) / 2 + (pushed_ ? 1 : 0), y = (r.bottom - bm.bmHeight) / 2 + (pushed_ ? 1 : 0);
        const bool enabled = ::IsWindowEnabled(::GetParent(hwnd_)) != FALSE;
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(arrow_.get()), 0, x, y, bm.bmWidth, bm.bmHeight,
                     DST_BITMAP | (enabled ? DSS_NORMAL : DSS_DISABLED));
      }
      return 0;
    }
    default:
      return TWindow::WndProc(msg, wp, lp);
  }
}

// ---- the edit ----

void TDateEdit32::Create(TWindow& parent, const TDateFormatSettings& format) {
  format_ = format;
  displayFormat_ = format.ShortDateFormat.substr(0, kMaxDisplayFormat);
  separator_ = format.DateSeparator;
  CreateControl("EDIT", WS_TABSTOP | WS_VISIBLE | ES_AUTOHSCROLL | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, parent.Handle(),
                NextControlId());
  button_.Create(*this);
  button_.OnClick = [this] { DropDown(); };
  TWindow::SetBounds(0, 0, 85, 21);
  PlaceButton();
}

void TDateEdit32::PlaceButton() {
  const int width = ::GetSystemMetrics(SM_CXVSCROLL) + 1, height = ::GetSystemMetrics(SM_CYVSCROLL);
  button_.SetBounds(ClientRect().right - width, 1, width, height);
  // The text stops short of the button.
  ::SendMessageA(hwnd_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width + 2));
}

bool TDateEdit32::ReadOnly() const { return (::GetWindowLongA(hwnd_, GWL_STYLE) & ES_READONLY) != 0; }
void TDateEdit32::SetReadOnly(bool readOnly) { ::SendMessageA(hwnd_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }

bool TDateEdit32::SetDate(double date) {
  if (date == date_) return true;
  bool allow = true;
  if (OnDateChanging) OnDateChanging(this, allow);
  if (!allow) return false;
  ::SendMessageA(hwnd_, EM_SETMODIFY, TRUE, 0);
  SetText(FormatDate(displayFormat_, date, format_));
  previous_ = date_;
  date_ = date;
  if (OnDateChanged) OnDateChanged();
  return true;
}

void TDateEdit32::Clear() {
  SetDate(0);
  SetText("");
}

bool TDateEdit32::TextIsDate() const {
  double parsed = 0;
  return TryParseDate(Text(), format_, CurrentYear(), parsed);
}

bool TDateEdit32::ApplyText() {
  const std::string text = Text();
  if (text.empty()) return true;
  double parsed = 0;
  if (!TryParseDate(text, format_, CurrentYear(), parsed)) return false;
  SetDate(parsed);
  return true;
}

void TDateEdit32::DropDown() {
  if (ReadOnly()) {
    if (CanFocus()) SetFocus();
    return;
  }
  bool byTab = false, backwards = false;
  {
    TfrmCalPop32 calendar(*this);
    calendar.ShowModal();
    byTab = calendar.ClosedByTab();
    backwards = calendar.ClosedBackwards();
  }
  if (!hwnd_) return;
  if (byTab) {
    HWND root = ::GetAncestor(hwnd_, GA_ROOT);
    if (HWND next = ::GetNextDlgTabItem(root, hwnd_, backwards ? TRUE : FALSE)) ::SetFocus(next);
  } else if (CanFocus()) {
    SetFocus();
  }
}

int TDateEdit32::SelectionStart() const {
  DWORD start = 0, end = 0;
  ::SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TDateEdit32::SelectPart(int part) {
  part_ = part;
  auto [first, last] = DatePartRange(Text(), separator_, part);
  ::SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

void TDateEdit32::Entered() {
  previous_ = date_;
  // Setting the text again lets the edit find its separators afresh; it keeps every
  // character, even of a text that is no date.
  if (!ReadOnly()) SetText(Text());
  SelectPart(1);
}

// True when the character is to reach the edit.
bool TDateEdit32::TakeTypedChar(unsigned char ch) {
  switch (JudgeTypedChar(ch, separator_, ReadOnly())) {
    case TypedChar::Beep:
      DefaultBeep();
      return false;
    case TypedChar::Drop:
      return false;
    case TypedChar::Accept:
      break;
  }
  if (ch != static_cast<unsigned char>(separator_) || ReadOnly()) return true;
  const std::string text = Text();
  const int part = DatePartAt(text, separator_, SelectionStart());
  if (part < 3 && SeparatorMovesOn(text, separator_, part)) {
    SelectPart(part + 1);
    return false;
  }
  return true;
}

LRESULT TDateEdit32::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      // Entering selects the first part, not the whole text.
      return DefaultProc(msg, wp, lp) & ~DLGC_HASSETSEL;
    case WM_SETFOCUS: {
      LRESULT r = DefaultProc(msg, wp, lp);
      Entered();
      if (OnEnter) OnEnter();
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = DefaultProc(msg, wp, lp);
      if (!ReadOnly()) ApplyText();
      if (OnExit) OnExit();
      return r;
    }
    case WM_LBUTTONUP: {
      LRESULT r = DefaultProc(msg, wp, lp);
      SelectPart(DatePartAt(Text(), separator_, SelectionStart()));
      return r;
    }
    case WM_CHAR:
      if (!TakeTypedChar(static_cast<unsigned char>(wp))) return 0;
      {
        LRESULT r = DefaultProc(msg, wp, lp);
        part_ = DatePartAt(Text(), separator_, SelectionStart());
        return r;
      }
    case WM_KEYDOWN:
      if (wp == VK_DOWN) {
        DropDown();
        return 0;
      }
      break;
    case WM_SIZE: {
      LRESULT r = DefaultProc(msg, wp, lp);
      PlaceButton();
      if (date_ == 0 && !Text().empty()) SetDate(Today());
      return r;
    }
    case WM_ENABLE:
      button_.Invalidate();
      break;
    default:
      break;
  }
  return TWindow::WndProc(msg, wp, lp);
}

}  // namespace qrx
