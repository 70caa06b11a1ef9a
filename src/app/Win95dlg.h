#pragma once
// Base of the program's dialogs: a plain (not bold) font, and centred over the
// main window each time it is shown.
#include "winlib/Form.h"

namespace qrx {

// Left/top of a dialog of the given size centred over the main window's bounds.
POINT CenterOver(const RECT& main, int width, int height);

class TdlgWin95Dlg : public TForm {
 public:
  explicit TdlgWin95Dlg(TForm* mainForm) : mainForm_(mainForm) {}
  void CreateDialogWindow(const char* className, const std::string& caption, int width, int height);
  int ShowModal();

 private:
  TForm* mainForm_;
  UniqueGdi<HFONT> font_;
};

}  // namespace qrx
