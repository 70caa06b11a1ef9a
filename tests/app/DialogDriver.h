#pragma once
// Plays the user at the system's modal dialogs (file, print, message boxes) and at our
// own modal forms: while the program waits inside a dialog's loop, a thread timer finds
// the dialog that is in front and acts on it, step by step. A dialog that no step
// expects is cancelled and recorded, so a test fails instead of hanging.
#include "winlib/Win.h"

#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace qrx::test {

class DialogDriver {
 public:
  // act runs once on the first enabled, visible window of the thread whose caption is
  // title (and whose class is className, when given).
  struct Step {
    std::string Title;
    std::function<void(HWND)> Act;
    std::string ClassName;
  };

  explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }

  bool Done() const { return next_ == steps_.size(); }
  std::vector<std::string> Unexpected;  // captions of dialogs cancelled because no step wanted them

  // ---- what a user reads and does in a dialog ----
  static std::string Text(HWND w) {
    char buf[4096] = {};
    ::GetWindowTextA(w, buf, sizeof buf);
    return buf;
  }
  static std::string ItemText(HWND dialog, int id) { return Text(::GetDlgItem(dialog, id)); }
  static std::string ClassOf(HWND w) {
    char buf[256] = {};
    ::GetClassNameA(w, buf, sizeof buf);
    return buf;
  }
  // Every static text of a window and its children, in creation order.
  static std::vector<std::string> Labels(HWND w) {
    std::vector<std::string> texts;
    ::EnumChildWindows(
        w,
        [](HWND child, LPARAM p) CALLBACK -> BOOL {
          if (ClassOf(child) == "Static") reinterpret_cast<std::vector<std::string>*>(p)->push_back(Text(child));
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
  }
  static void Press(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
  }
  static void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }
  // Clicks the child button with this caption.
  static void ClickButton(HWND dialog, const std::string& caption) {
    struct Find {
      const std::string* caption;
      HWND found;
    } f{&caption, nullptr};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM p) CALLBACK -> BOOL {
          auto* f = reinterpret_cast<Find*>(p);
          if (ClassOf(child) == "Button" && Text(child) == *f->caption) f->found = child;
          return f->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.found) Click(f.found);
  }
  // The file name box of a file dialog.
  static HWND FileNameBox(HWND dialog) {
    HWND box = ::GetDlgItem(dialog, edt1);
    return box ? box : ::GetDlgItem(dialog, cmb13);
  }
  static std::string FolderOf(HWND fileDialog) {
    char buf[MAX_PATH * 2] = {};
    ::SendMessageA(fileDialog, CDM_GETFOLDERPATH, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  // Types a name into a file dialog and confirms it.
  static void ChooseFile(HWND dialog, const std::string& name) {
    ::SetWindowTextA(FileNameBox(dialog), name.c_str());
    Press(dialog, IDOK);
  }

 private:
  static HWND FrontWindow(const std::string& title, const std::string& className) {
    struct Search {
      const std::string* title;
      const std::string* className;
      HWND found;
      HWND any;
    } s{&title, &className, nullptr, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM p) CALLBACK -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          if (!::IsWindowVisible(w) || !::IsWindowEnabled(w) || ClassOf(w) == "tooltips_class32") return TRUE;
          std::string cls = ClassOf(w);
          if (Text(w) == *s->title && (s->className->empty() || cls == *s->className)) s->found = w;
          if ((cls == "#32770" || cls.rfind("Tdlg", 0) == 0) && !s->any) s->any = w;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found ? s.found : title.empty() ? s.any : nullptr;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* d = current_;
    if (!d || d->busy_) return;
    d->busy_ = true;
    if (d->next_ < d->steps_.size()) {
      Step& step = d->steps_[d->next_];
      if (HWND w = FrontWindow(step.Title, step.ClassName)) {
        ++d->next_;
        step.Act(w);
      } else if (++d->idleTicks_ > 600) {
        d->CancelStray();  // 30 seconds without the expected dialog
      }
    } else {
      d->CancelStray();
    }
    d->busy_ = false;
  }

  void CancelStray() {
    if (HWND w = FrontWindow("", "")) {
      Unexpected.push_back(Text(w));
      if (ClassOf(w) == "#32770")
        Press(w, IDCANCEL);
      else
        ::PostMessageA(w, WM_CLOSE, 0, 0);
    }
  }

  static inline DialogDriver* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
  int idleTicks_ = 0;
  bool busy_ = false;
};

}  // namespace qrx::test
