#pragma once
// Acts inside a modal form's own loop, as a user would while it shows: once this thread's
// visible window of the class appears, the steps run on its object. A form the steps
// leave open is cancelled, so a failing test cannot hang in the loop. The driver keeps
// looking for as long as open() runs: a slow machine may take seconds to show a form, and
// giving up early would leave the form waiting for a user who never comes.
#include "winlib/Form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qrx::test {

template <typename Form>
class ModalDriver {
 public:
  // Arms the driver, then calls open, which is to show the form modally.
  static void Run(const char* className, const std::function<void(Form&)>& steps, const std::function<void()>& open) {
    className_ = className;
    steps_ = steps;
    ran_ = false;
    timer_ = ::SetTimer(nullptr, 0, 10, &ModalDriver::Tick);
    open();
    if (timer_) ::KillTimer(nullptr, timer_);
    timer_ = 0;
    EXPECT_TRUE(ran_) << className << " did not show";
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
          char cls[64] = {};
          ::GetClassNameA(h, cls, sizeof cls);
          if (className_ != cls || !::IsWindowVisible(h)) return TRUE;
          *reinterpret_cast<HWND*>(p) = h;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    auto* form = dynamic_cast<Form*>(TWindow::FromHandle(found));
    if (!form) return;  // not shown yet
    ::KillTimer(nullptr, id);
    timer_ = 0;
    ran_ = true;
    steps_(*form);
    if (form->ModalResult == 0) form->ModalResult = IDCANCEL;
  }
  static inline std::string className_;
  static inline std::function<void(Form&)> steps_;
  static inline bool ran_ = false;
  static inline UINT_PTR timer_ = 0;
};

}  // namespace qrx::test
