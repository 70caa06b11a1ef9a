#include "controls/Calpop32.h"

#include "controls/DateEdit.h"
#include "controls/DateFormat.h"
#include "winlib/GdiScopes.h"

#include <cstdlib>
#include <ctime>

namespace qrx {
namespace {

const COLORREF kSilver = RGB(192, 192, 192), kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255),
               kBlack = RGB(0, 0, 0);
const char* const kDayHeadings[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};

// "MS Sans Serif" at 6 points. That face is a bitmap font whose smallest size is 8 points,
// so a request for 6 points has always drawn at 8; asking for 8 gives a scalable stand-in
// the same size, and with it a row height that clears the arrow buttons.
HFONT MakeFont(HDC dc, int weight) {
  const int height = -::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  return ::CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
  UniqueGdi<HPEN> pen(::CreatePen(PS_SOLID, 1, color));
  SelectGuard sel(dc, pen.get());
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  UniqueGdi<HBRUSH> brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, brush.get());
}

void Centred(HDC dc, const std::string& text, RECT r, COLORREF color, UINT vertical = DT_VCENTER) {
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | vertical | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

TfrmCalPop32::TfrmCalPop32(TDateEdit32& edit) : edit_(edit) {
  {
    WindowDc dc(nullptr);
    font_.reset(MakeFont(dc.get(), FW_NORMAL));
    bold_.reset(MakeFont(dc.get(), FW_BOLD));
    SelectGuard sel(dc.get(), font_.get());
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc.get(), &tm);
    geometry_ = TCalendarGeometry::FromFont(tm.tmAveCharWidth, tm.tmHeight);
  }
  CreateForm("TfrmCalPop32", "", WS_POPUP, ::GetAncestor(edit.Handle(), GA_ROOT));
  ::SetWindowLongA(hwnd_, GWL_EXSTYLE, ::GetWindowLongA(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);

  RECT client = edit.ClientRect();
  ::MapWindowPoints(edit.Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const SIZE size = geometry_.WindowSize();
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (::GetMonitorInfoA(::MonitorFromRect(&client, MONITOR_DEFAULTTONEAREST), &mi)) work = mi.rcWork;
  const POINT at = PlaceCalendar(client, size, work);
  ::SetWindowPos(hwnd_, HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);

  today_ = Today();
  double start = 0;
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  if (!TryParseDate(edit.Text(), edit.Format(), st.wYear, start)) start = today_;
  opening_ = start;
  model_.Open(start);
}

void TfrmCalPop32::Redraw(const RECT& r) { ::InvalidateRect(hwnd_, &r, FALSE); }

void TfrmCalPop32::Move(int days) {
  if (days == 0) return;
  // The edit may refuse the date; then the calendar stays where it was.
  if (!edit_.SetDate(model_.Date() + days)) return;
  if (model_.MoveBy(days)) {
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  Redraw(geometry_.DayCell(model_.PreviousCell()));
  Redraw(geometry_.DayCell(model_.CurrentCell()));
  // The title names the day too.
  Redraw(geometry_.TitleRect());
}

void TfrmCalPop32::Confirm() {
  edit_.SetDate(model_.Date());
  ModalResult = IDOK;
}

bool TfrmCalPop32::HandleKey(WORD key, bool shift) {
  switch (key) {
    case VK_RETURN:
      Confirm();
      return true;
    case VK_TAB:
      closedByTab_ = true;
      backwards_ = shift;
      Confirm();
      return true;
    case VK_ESCAPE:
      edit_.SetDate(opening_);
      pressed_ = false;
      ModalResult = IDCANCEL;
      return true;
    default:
      break;
  }
  std::optional<int> move = model_.KeyMove(key);
  if (!move) return false;
  Move(*move);
  return true;
}

bool TfrmCalPop32::PreTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  // A key with Alt held is the system's.
  if (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1 << 29))) return false;
  return HandleKey(static_cast<WORD>(msg.wParam), (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
}

void TfrmCalPop32::MouseDown(int x, int y) {
  POINT p{x, y};
  RECT left = geometry_.LeftArrow(), right = geometry_.RightArrow();
  if (::PtInRect(&left, p)) {
    HandleKey(VK_PRIOR, false);
    return;
  }
  if (::PtInRect(&right, p)) {
    HandleKey(VK_NEXT, false);
    return;
  }
  const int cell = geometry_.CellAt(x, y);
  if (cell == 0) return;
  pressed_ = model_.DayInCell(cell) != 0;
  if (!pressed_) return;
  ::SetCapture(hwnd_);
  Move(cell - model_.CurrentCell());
}

void TfrmCalPop32::MouseMove(int x, int y) {
  if (!pressed_) return;
  const int cell = geometry_.CellAt(x, y);
  if (cell != 0 && cell != model_.CurrentCell() && model_.DayInCell(cell) != 0) Move(cell - model_.CurrentCell());
}

void TfrmCalPop32::MouseUp() {
  if (!pressed_) return;
  pressed_ = false;
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  Confirm();
}

LRESULT TfrmCalPop32::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      Paint(paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(x, y);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(x, y);
      return 0;
    case WM_LBUTTONUP:
      MouseUp();
      return 0;
    case WM_CAPTURECHANGED:
      // Losing the mouse to another window ends a press without choosing.
      if (reinterpret_cast<HWND>(lp) != hwnd_) pressed_ = false;
      return 0;
    default:
      return TForm::WndProc(msg, wp, lp);
  }
}

// ---- painting ----

void TfrmCalPop32::Paint(HDC dc) {
  const SIZE size = geometry_.WindowSize();
  const int w = size.cx, h = size.cy, u = geometry_.U, rowH = geometry_.H;
  Fill(dc, RECT{0, 0, w, h}, kSilver);
  // Frame
  {
    UniqueGdi<HPEN> pen(::CreatePen(PS_SOLID, 1, kBlack));
    SelectGuard selPen(dc, pen.get());
    SelectGuard selBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, 0, 0, w, h);
  }
  Line(dc, 1, h - 2, 1, 1, kWhite);
  Line(dc, 1, 1, w - 1, 1, kWhite);
  Line(dc, w - 2, 1, w - 2, h - 2, kGrey);
  Line(dc, 1, h - 2, w - 1, h - 2, kGrey);
  // Title
  const RECT title = geometry_.TitleRect();
  Fill(dc, title, kSilver);
  {
    SelectGuard sel(dc, bold_.get());
    Centred(dc, FormatDate("MMMM d, yyyy", model_.Date(), edit_.Format()), title, kBlack);
  }
  SelectGuard sel(dc, font_.get());
  // Weekday header
  // At the top of their cells, clear of the lines under them.
  for (int c = 1; c <= 7; ++c) Centred(dc, kDayHeadings[c - 1], geometry_.HeaderCell(c), kBlack, DT_TOP);
  Line(dc, 4, 2 * rowH - 1, 21 * u + 4, 2 * rowH - 1, kGrey);
  Line(dc, 4, 2 * rowH, 21 * u + 4, 2 * rowH, kWhite);
  // Day grid, then the arrows, then the current cell over its plain look.
  for (int cell = 1; cell <= 42; ++cell) PaintCell(dc, cell, false);
  PaintArrow(dc, geometry_.LeftArrow(), true);
  PaintArrow(dc, geometry_.RightArrow(), false);
  const int current = model_.CurrentCell();
  if (current >= 1 && current <= 41 && model_.DayInCell(current) != 0) PaintCell(dc, current, true);
}

void TfrmCalPop32::PaintCell(HDC dc, int cell, bool current) {
  const RECT r = geometry_.DayCell(cell);
  Fill(dc, r, kSilver);
  const int day = model_.DayInCell(cell);
  if (day == 0) return;
  const bool isToday = model_.Date() - model_.Day() + day == today_;
  SelectGuard sel(dc, current ? bold_.get() : font_.get());
  Centred(dc, model_.Cell(cell), r, isToday ? edit_.Todaycolor : kBlack);
  if (!current) return;
  Line(dc, r.left, r.bottom - 1, r.left, r.top, kGrey);
  Line(dc, r.left, r.top, r.right - 1, r.top, kGrey);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, kWhite);
  Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, kWhite);
}

void TfrmCalPop32::PaintArrow(HDC dc, const RECT& r, bool left) {
  {
    UniqueGdi<HPEN> pen(::CreatePen(PS_SOLID, 1, kBlack));
    UniqueGdi<HBRUSH> face(::CreateSolidBrush(kSilver));
    SelectGuard selPen(dc, pen.get());
    SelectGuard selBrush(dc, face.get());
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  Line(dc, r.left + 1, r.bottom - 2, r.left + 1, r.top + 1, kWhite);
  Line(dc, r.left + 1, r.top + 1, r.right - 1, r.top + 1, kWhite);
  Line(dc, r.right - 2, r.top + 1, r.right - 2, r.bottom - 2, kGrey);
  Line(dc, r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 2, kGrey);
  POINT pts[3];
  if (left) {
    pts[0] = {r.right - 5, r.top + 3};
    pts[1] = {r.right - 5, r.bottom - 4};
    pts[2] = {r.left + 3, r.top + 7};
  } else {
    pts[0] = {r.left + 4, r.top + 3};
    pts[1] = {r.left + 4, r.bottom - 4};
    pts[2] = {r.right - 4, r.top + 7};
  }
  UniqueGdi<HPEN> pen(::CreatePen(PS_SOLID, 1, kBlack));
  SelectGuard selPen(dc, pen.get());
  SelectGuard selBrush(dc, ::GetStockObject(BLACK_BRUSH));
  ::Polygon(dc, pts, 3);
}

}  // namespace qrx
