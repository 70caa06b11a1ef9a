#include "extdll/KeyRecorder.h"

#include <cstdio>

namespace qrx::test {

KeyRecorder::KeyRecorder() {
  frame_ = ::CreateWindowExA(0, "STATIC", "Key recorder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 120, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  edit_ = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 360, 24,
                            frame_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  oldProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyRecorder::EditProc)));
}

KeyRecorder::~KeyRecorder() {
  ::SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
  ::DestroyWindow(frame_);
}

void KeyRecorder::Focus() {
  ::SetForegroundWindow(frame_);
  ::SetActiveWindow(frame_);
  ::SetFocus(edit_);
  // The display server answers a change of focus with a keyboard state of its own, a
  // moment later; taken after the first typed key, it would let go of a held modifier.
  // So the thread's input settles (nothing arrives for a while) before typing starts.
  for (int round = 0; round < 50; ++round) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 150, QS_ALLINPUT) == WAIT_TIMEOUT) break;
  }
  ::SetWindowTextA(edit_, "");
  Events.clear();
}

std::string KeyRecorder::Text() const {
  char buf[1024] = {};
  ::GetWindowTextA(edit_, buf, sizeof buf);
  return buf;
}

LRESULT CALLBACK KeyRecorder::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<KeyRecorder*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
      self->Events.push_back({msg, wp, (lp & (1 << 24)) != 0, (::GetKeyState(VK_SHIFT) & 0x8000) != 0,
                              (::GetKeyState(VK_CONTROL) & 0x8000) != 0, (::GetKeyState(VK_MENU) & 0x8000) != 0});
      // Alt keys would open the frame's (absent) system menu and steal the focus.
      if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR) return 0;
      break;
    default: break;
  }
  return ::CallWindowProcA(self->oldProc_, h, msg, wp, lp);
}

std::string Describe(const std::vector<TKeyEvent>& events, bool withChars) {
  std::string out;
  for (const TKeyEvent& e : events) {
    const char* kind = "??";
    switch (e.Message) {
      case WM_KEYDOWN: kind = "Kd"; break;
      case WM_KEYUP: kind = "Ku"; break;
      case WM_SYSKEYDOWN: kind = "Sd"; break;
      case WM_SYSKEYUP: kind = "Su"; break;
      case WM_CHAR: kind = "Ch"; break;
      case WM_SYSCHAR: kind = "Sc"; break;
      default: break;
    }
    if (!withChars && (e.Message == WM_CHAR || e.Message == WM_SYSCHAR)) continue;
    char code[8];
    std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(e.Code));
    std::string flags = std::string(e.Extended ? "E" : "") + (e.Shift ? "S" : "") + (e.Ctrl ? "C" : "") +
                        (e.Alt ? "A" : "");
    if (!out.empty()) out += ' ';
    out += kind + std::string(code) + (flags.empty() ? "" : " " + flags);
  }
  return out;
}

}  // namespace qrx::test
