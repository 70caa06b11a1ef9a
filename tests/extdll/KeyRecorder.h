#pragma once
// A window with an edit control that has the keyboard focus and records every key and
// character message that reaches it, with the modifiers down at that moment.
#include "winlib/Win.h"

#include <string>
#include <vector>

namespace qrx::test {

struct TKeyEvent {
  UINT Message;  // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR, WM_SYSCHAR
  WPARAM Code;   // virtual key or character
  bool Extended;
  bool Shift, Ctrl, Alt;
};

class KeyRecorder {
 public:
  KeyRecorder();
  ~KeyRecorder();
  KeyRecorder(const KeyRecorder&) = delete;
  KeyRecorder& operator=(const KeyRecorder&) = delete;

  // Brings the window forward with the focus in the edit, and forgets what was recorded.
  void Focus();
  std::string Text() const;
  HWND Edit() const { return edit_; }
  std::vector<TKeyEvent> Events;

 private:
  static LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC oldProc_ = nullptr;
};

// "Kd41 S", "Ku10", "Ch61", "Sd12 A": message, code in hex, then E for the extended flag
// and S, C, A for the modifiers held; events joined by blanks.
std::string Describe(const std::vector<TKeyEvent>& events, bool withChars = true);

}  // namespace qrx::test
