#include "winlib/Application.h"

#include "winlib/Form.h"
#include "winlib/MsgBox.h"

#include <algorithm>

namespace qrx {

TApplication& Application() {
  static TApplication app;
  return app;
}

void TApplication::AddForm(TForm* form) { forms_.push_back(form); }

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (MainForm == form) MainForm = nullptr;
}

TForm* TApplication::FormOf(HWND hwnd) const {
  HWND top = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  for (TForm* f : forms_)
    if (f->Handle() == top) return f;
  return nullptr;
}

void TApplication::ApplyHintSettings() {
  for (TForm* f : forms_) f->ApplyHintSettings(ShowHints, HintDelay);
}

void TApplication::TrackHint(const MSG& msg) {
  if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) return;
  HWND owner = nullptr;
  for (HWND h = msg.hwnd; h; h = ::GetParent(h)) {
    TWindow* w = TWindow::FromHandle(h);
    if (w && !w->Hint.empty()) {
      owner = h;
      break;
    }
    if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  if (owner == lastHintWindow_) return;
  lastHintWindow_ = owner;
  if (ShowHints && OnHint) {
    TWindow* w = TWindow::FromHandle(owner);
    OnHint(w ? w->LongHint() : std::string());
  }
}

void TApplication::HandleMessage(MSG& msg) {
  // Hints and key previews run here, outside any window procedure: what they throw is
  // shown as the window procedures show it, and the message still goes its way.
  try {
    TrackHint(msg);
    if (TForm* form = FormOf(msg.hwnd); form && form->PreTranslateMessage(msg)) return;
  } catch (...) {
    ReportCurrentException();
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
}

void TApplication::Idle() {
  // No mouse message comes once the mouse has left our windows: its hint goes here.
  if (lastHintWindow_) {
    POINT at{};
    ::GetCursorPos(&at);
    HWND under = ::WindowFromPoint(at);
    if (under != lastHintWindow_ && !::IsChild(lastHintWindow_, under)) {
      lastHintWindow_ = nullptr;
      if (ShowHints && OnHint) {
        try {
          OnHint(std::string());
        } catch (...) {
          ReportCurrentException();
        }
      }
    }
  }
  std::vector<TForm*> forms = forms_;
  for (TForm* f : forms) {
    try {
      f->DoIdle();
    } catch (...) {
      ReportCurrentException();
    }
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    HandleMessage(msg);
  }
}

int TApplication::Run(TForm& mainForm) {
  MainForm = &mainForm;
  MSG msg;
  for (;;) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        terminated_ = true;
        return static_cast<int>(msg.wParam);
      }
      HandleMessage(msg);
    }
    Idle();
    ::WaitMessage();
  }
}

}  // namespace qrx
