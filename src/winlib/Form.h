#pragma once
// Top-level windows: the main form and dialogs. A form owns the keyboard rules of
// its controls (default and cancel buttons, tab order, accelerators), its hints,
// its idle hook, and runs its own loop when shown modally.
#include "winlib/Handles.h"
#include "winlib/Window.h"

#include <string>
#include <vector>

namespace qrx {

class TButton;
class TMenu;

class TForm : public TWindow {
 public:
  TForm();
  ~TForm() override;

  // Creates the window hidden; className names the window class.
  void CreateForm(const char* className, const std::string& caption, DWORD style, HWND owner = nullptr);

  // Runs the form's own loop until ModalResult is set, every other window of the thread
  // disabled. A form asked not to hide stays on screen afterwards.
  int ShowModal(bool hideAfterwards = true);
  int ModalResult = 0;
  bool Modal() const { return modal_; }
  void Close();  // as the user closing the window

  TButton* DefaultButton() const { return default_; }
  void SetDefaultButton(TButton* button);
  TButton* CancelButton = nullptr;

  // Menu bar and shortcuts. The form keeps the bar while it is detached, and frees it.
  void SetMainMenu(TMenu* menu);
  void ShowMainMenu(bool show);
  void SetShortcutMenus(const std::vector<TMenu*>& menus);

  void AddHint(TWindow& control);
  void ApplyHintSettings(bool show, int delay);

  int MinWidth = 0, MinHeight = 0;
  HFONT DefaultFont() const { return font_.get(); }
  // Sets the form's font on every child window.
  void ApplyFont();

  // Keys, accelerators and dialog navigation; true when the message was used.
  virtual bool PreTranslateMessage(MSG& msg);
  // Runs when the application becomes idle.
  virtual void DoIdle() {}

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void Resize() {}
  // Runs as ShowModal begins, before the form appears.
  virtual void ShowingModal() {}
  // Return false to keep the window open.
  virtual bool CloseQuery() { return true; }
  virtual void Closed() {}
  // Keys the form looks at after its own dialog keys; handled stops them.
  virtual void KeyPreview(WORD key, bool& handled) {}

 private:
  bool modal_ = false;
  TButton* default_ = nullptr;
  HMENU menuBar_ = nullptr;
  bool barShown_ = false;  // attached to the window, which then frees it with itself
  UniqueAccel accel_;
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;
  UniqueGdi<HFONT> font_;
};

// The focused window, or the combo box whose edit has the focus.
HWND FocusedControl();

}  // namespace qrx
