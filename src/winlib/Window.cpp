#include "winlib/Window.h"

#include "winlib/GdiScopes.h"
#include "winlib/MsgBox.h"

#include <commctrl.h>
#include <stdexcept>
#include <vector>

namespace qrx {
namespace {

const char kObjectProp[] = "QrxObject";

}  // namespace

int NextControlId() {
  static int next = 1000;
  return ++next;
}

TWindow::~TWindow() {
  if (hwnd_) {
    HWND h = hwnd_;
    Detach();
    ::DestroyWindow(h);
  }
}

TWindow* TWindow::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  return static_cast<TWindow*>(::GetPropA(hwnd, kObjectProp));
}

int TWindow::Id() const noexcept { return hwnd_ ? ::GetDlgCtrlID(hwnd_) : 0; }

void TWindow::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  ::SetPropA(hwnd, kObjectProp, this);
}

// Called before the window goes away, so no message can reach a half-destroyed object.
void TWindow::Detach() noexcept {
  if (!hwnd_) return;
  ::RemovePropA(hwnd_, kObjectProp);
  if (oldProc_) {
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    oldProc_ = nullptr;
  } else {
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  }
  hwnd_ = nullptr;
}

void TWindow::CreateCustom(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                           UINT classStyle, HBRUSH background, HCURSOR cursor) {
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (!::GetClassInfoExA(inst, className, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &TWindow::CustomProc;
    wc.hInstance = inst;
    wc.hCursor = cursor ? cursor : ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    wc.hIcon = ::LoadIcon(inst, MAKEINTRESOURCE(1));
    if (!wc.hIcon) wc.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    if (!::RegisterClassExA(&wc)) throw std::runtime_error(std::string("Cannot register ") + className);
  }
  HMENU idOrMenu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
  HWND h = ::CreateWindowExA(exStyle, className, "", style, 0, 0, 0, 0, parent, idOrMenu, inst, this);
  if (!h) throw std::runtime_error(std::string("Cannot create window ") + className + " (" + std::to_string(::GetLastError()) + ")");
}

void TWindow::CreateControl(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                            const std::string& text) {
  HWND h = ::CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
  if (!h) throw std::runtime_error(std::string("Cannot create control ") + className);
  Attach(h);
  oldProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::SubclassProc)));
}

LRESULT CALLBACK TWindow::CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    TWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      self = static_cast<TWindow*>(cs->lpCreateParams);
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->Attach(hwnd);
    } else {
      self = reinterpret_cast<TWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      LRESULT r = self->WndProc(msg, wp, lp);
      self->Detach();
      return r;
    }
    return self->WndProc(msg, wp, lp);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

LRESULT CALLBACK TWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  TWindow* self = FromHandle(hwnd);
  try {
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      WNDPROC old = self->oldProc_;
      self->Detach();
      return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }
    return self->WndProc(msg, wp, lp);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

LRESULT TWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (oldProc_) return ::CallWindowProcA(oldProc_, hwnd_, msg, wp, lp);
  return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

bool TWindow::CommonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        if (TWindow* ctl = FromHandle(reinterpret_cast<HWND>(lp)); ctl && ctl != this)
          return ctl->HandleCommand(HIWORD(wp));
      }
      return false;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (TWindow* ctl = FromHandle(hdr->hwndFrom); ctl && ctl != this) return ctl->HandleNotify(hdr, result);
      return false;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType == ODT_MENU) return false;
      if (TWindow* ctl = FromHandle(dis->hwndItem); ctl && ctl != this) {
        result = TRUE;
        return ctl->HandleDrawItem(dis);
      }
      return false;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType == ODT_MENU) return false;
      if (TWindow* ctl = FromHandle(::GetDlgItem(hwnd_, static_cast<int>(mis->CtlID))); ctl && ctl != this) {
        result = TRUE;
        return ctl->HandleMeasureItem(mis);
      }
      return false;
    }
    case WM_SETFOCUS:
      if (OnEnter) OnEnter();
      return false;
    case WM_KILLFOCUS:
      if (OnExit) OnExit();
      return false;
    case WM_KEYDOWN: {
      if (!OnKeyDown) return false;
      WORD key = static_cast<WORD>(wp);
      OnKeyDown(key, KeyboardShift());
      return key == 0;
    }
    default:
      return false;
  }
}

TShiftState KeyboardShift() {
  TShiftState s = 0;
  if (::GetKeyState(VK_SHIFT) & 0x8000) s |= ssShift;
  if (::GetKeyState(VK_CONTROL) & 0x8000) s |= ssCtrl;
  if (::GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
  return s;
}

LRESULT TWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (CommonMessage(msg, wp, lp, result)) return result;
  return DefaultProc(msg, wp, lp);
}

void TWindow::SetBounds(int left, int top, int width, int height) {
  ::SetWindowPos(hwnd_, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWindow::BoundsRect() const {
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  if (HWND parent = ::GetParent(hwnd_); parent && (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int TWindow::Width() const {
  RECT r = BoundsRect();
  return r.right - r.left;
}

int TWindow::Height() const {
  RECT r = BoundsRect();
  return r.bottom - r.top;
}

RECT TWindow::ClientRect() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return r;
}

void TWindow::SetVisible(bool visible) {
  if (Visible() != visible) ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool TWindow::Visible() const { return (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
bool TWindow::Showing() const { return ::IsWindowVisible(hwnd_) != FALSE; }
void TWindow::SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
bool TWindow::Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }

void TWindow::SetText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

std::string TWindow::Text() const {
  int n = ::GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::GetWindowTextA(hwnd_, s.data(), n + 1);
  s.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return s;
}

void TWindow::SetFocus() { ::SetFocus(hwnd_); }

bool TWindow::Focused() const {
  HWND f = ::GetFocus();
  return f && (f == hwnd_ || ::IsChild(hwnd_, f));
}

bool TWindow::CanFocus() const {
  for (HWND h = hwnd_; h; h = ::GetParent(h)) {
    if (!::IsWindowVisible(h) || !::IsWindowEnabled(h)) return false;
    if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return hwnd_ != nullptr;
}

void TWindow::SetFont(HFONT font) { ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
void TWindow::SetParent(TWindow& parent) { ::SetParent(hwnd_, parent.Handle()); }
void TWindow::BringToFront() {
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
void TWindow::Invalidate() { ::InvalidateRect(hwnd_, nullptr, TRUE); }
void TWindow::Repaint() {
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string TWindow::ShortHint() const { return Hint.substr(0, Hint.find('|')); }

std::string TWindow::LongHint() const {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

int TextWidthIn(HWND window, std::string_view text) {
  WindowDc dc(window);
  if (!dc.get() || text.empty()) return 0;
  // A window that was given no font draws with the DC's own.
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(window, WM_GETFONT, 0, 0));
  SelectGuard select(dc.get(), font ? font : ::GetCurrentObject(dc.get(), OBJ_FONT));
  SIZE size{};
  ::GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace qrx
