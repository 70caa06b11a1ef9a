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

 protected:
  // Centred over the main window, every control in the plain font.
  void ShowingModal() override;

 protected:
  // As the dialog shows, once its own font has reached every control: where a dialog gives
  // some controls another font.
  virtual void Showing() {}
  // The control that takes the keyboard when the dialog becomes active with the focus
  // nowhere inside it; none leaves the focus to the window.
  virtual TWindow* FirstFocus() { return nullptr; }
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  TForm* mainForm_;
  UniqueGdi<HFONT> font_;
};

}  // namespace qrx
