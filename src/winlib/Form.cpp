#include "winlib/Form.h"

#include "winlib/Application.h"
#include "winlib/Controls.h"
#include "winlib/Menus.h"

#include <commctrl.h>

namespace qrx {

HWND FocusedControl() {
  HWND f = ::GetFocus();
  if (!f) return nullptr;
  char cls[32] = {};
  if (HWND parent = ::GetParent(f)) {
    ::GetClassNameA(parent, cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") == 0) return parent;
  }
  return f;
}

namespace {

// Any combo box, ours or not, keeps Enter and Escape while its list is open: they choose
// from the list or close it.
bool ComboListOpen(HWND control) {
  char cls[32] = {};
  return control && ::GetClassNameA(control, cls, sizeof cls) > 0 && lstrcmpiA(cls, "ComboBox") == 0 &&
         ::SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace

TForm::TForm() {
  font_.reset(::CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
}

TForm::~TForm() {
  Application().RemoveForm(this);
  // An attached bar goes with the window; a detached one, also when the window is gone
  // already, is the form's to free.
  if (menuBar_ && !barShown_) ::DestroyMenu(menuBar_);
}

void TForm::CreateForm(const char* className, const std::string& caption, DWORD style, HWND owner) {
  CreateCustom(className, style | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, owner, 0, CS_DBLCLKS,
               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  SetText(caption);
  SetFont(font_.get());
  Application().AddForm(this);
  tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
}

void TForm::ApplyFont() {
  ::EnumChildWindows(
      hwnd_,
      [](HWND child, LPARAM font) CALLBACK -> BOOL {
        ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font_.get()));
}

void TForm::SetDefaultButton(TButton* button) {
  if (default_ && default_ != button) default_->SetDefault(false);
  default_ = button;
  if (default_) default_->SetDefault(true);
}

void TForm::SetMainMenu(TMenu* menu) {
  HMENU old = menuBar_;
  menuBar_ = menu ? menu->BuildBar() : nullptr;
  ::SetMenu(hwnd_, menuBar_);
  barShown_ = menuBar_ != nullptr;
  // The window lets go of a bar it no longer shows without freeing it.
  if (old) ::DestroyMenu(old);
}

void TForm::ShowMainMenu(bool show) {
  if (!menuBar_ || show == barShown_) return;
  ::SetMenu(hwnd_, show ? menuBar_ : nullptr);
  barShown_ = show;
}

void TForm::SetShortcutMenus(const std::vector<TMenu*>& menus) {
  std::vector<ACCEL> keys;
  for (TMenu* m : menus) m->CollectShortcuts(keys);
  accel_.reset(keys.empty() ? nullptr : ::CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size())));
}

void TForm::AddHint(TWindow& control) {
  if (!tooltip_) return;
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(control.Handle());
  ti.lpszText = LPSTR_TEXTCALLBACKA;
  ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void TForm::ApplyHintSettings(bool show, int delay) {
  if (!tooltip_) return;
  ::SendMessageA(tooltip_, TTM_ACTIVATE, show ? TRUE : FALSE, 0);
  ::SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(delay, 0));
}

bool TForm::PreTranslateMessage(MSG& msg) {
  if (accel_ && ::TranslateAcceleratorA(hwnd_, accel_.get(), &msg)) return true;
  if (msg.message != WM_KEYDOWN) {
    return (msg.message == WM_CHAR || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR)
               ? ::IsDialogMessageA(hwnd_, &msg) != FALSE
               : false;
  }
  WORD key = static_cast<WORD>(msg.wParam);
  if (key == VK_RETURN) {
    if (ComboListOpen(FocusedControl())) return false;
    if (default_ && default_->Showing() && default_->Enabled()) {
      default_->Click();
      return true;
    }
    return false;  // the focused control gets it
  }
  if (key == VK_ESCAPE) {
    if (ComboListOpen(FocusedControl())) return false;
    if (CancelButton && CancelButton->Showing() && CancelButton->Enabled()) {
      CancelButton->Click();
      return true;
    }
    if (modal_) {
      ModalResult = IDCANCEL;
      return true;
    }
    return false;
  }
  bool handled = false;
  KeyPreview(key, handled);
  if (handled) return true;
  return ::IsDialogMessageA(hwnd_, &msg) != FALSE;
}

int TForm::ShowModal(bool hideAfterwards) {
  ModalResult = 0;
  ShowingModal();
  // A drag or a pressed button elsewhere would keep the mouse from reaching the dialog.
  if (HWND captured = ::GetCapture()) {
    ::SendMessageA(captured, WM_CANCELMODE, 0, 0);
    ::ReleaseCapture();
  }
  modal_ = true;
  // Every other window of the thread is disabled while the dialog runs, and enabled again
  // however the loop ends.
  struct Disabler {
    HWND self;
    std::vector<HWND> disabled;
    void Restore() {
      for (HWND h : disabled)
        if (::IsWindow(h)) ::EnableWindow(h, TRUE);
      disabled.clear();
    }
    ~Disabler() { Restore(); }
  } state{hwnd_, {}};
  struct ModalMark {
    bool& modal;
    ~ModalMark() { modal = false; }
  } mark{modal_};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM p) CALLBACK -> BOOL {
        auto* st = reinterpret_cast<Disabler*>(p);
        if (h != st->self && ::IsWindowVisible(h) && ::IsWindowEnabled(h)) {
          st->disabled.push_back(h);
          ::EnableWindow(h, FALSE);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  MSG msg;
  bool quit = false;
  int quitCode = 0;
  while (ModalResult == 0 && ::IsWindow(hwnd_)) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      Application().Idle();
      if (ModalResult != 0) break;
      ::WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    Application().HandleMessage(msg);
  }
  // The owner comes back before this window hides, so the activation goes back to it.
  state.Restore();
  modal_ = false;
  if (hwnd_ && hideAfterwards) ::ShowWindow(hwnd_, SW_HIDE);
  if (quit) {
    ::PostQuitMessage(quitCode);
    if (ModalResult == 0) ModalResult = IDCANCEL;
  }
  return ModalResult;
}

void TForm::Close() { ::SendMessageA(hwnd_, WM_CLOSE, 0, 0); }

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->hwndFrom == tooltip_ && hdr->code == TTN_GETDISPINFOA) {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
      static std::string text;  // the tooltip copies it before the next request
      TWindow* ctl = TWindow::FromHandle(reinterpret_cast<HWND>(hdr->idFrom));
      text = ctl ? ctl->ShortHint() : std::string();
      info->lpszText = text.data();
      return 0;
    }
  }
  if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS && CommonMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (lp == 0 && DispatchMenuCommand(LOWORD(wp))) return 0;
      break;
    case WM_SIZE:
      Resize();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      if (MinWidth > 0) mmi->ptMinTrackSize.x = MinWidth;
      if (MinHeight > 0) mmi->ptMinTrackSize.y = MinHeight;
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = ::GetFocus();
        if (f && ::IsChild(hwnd_, f)) lastFocus_ = f;
      } else if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(hwnd_, lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_NEXTDLGCTL: {
      // Label mnemonics arrive as this dialog request; the form is no dialog class, so the
      // focus is moved here.
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : ::GetNextDlgTabItem(hwnd_, ::GetFocus(), wp != 0);
      if (target) {
        ::SetFocus(target);
        if (::SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(target, EM_SETSEL, 0, -1);
      }
      return 0;
    }
    case WM_CLOSE:
      if (modal_) {
        ModalResult = IDCANCEL;
        return 0;
      }
      if (!CloseQuery()) return 0;
      Closed();
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (Application().MainForm == this) ::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace qrx
