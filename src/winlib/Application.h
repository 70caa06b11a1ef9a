#pragma once
// The message loop of the user-interface thread: accelerators and dialog keys of
// the active form, hint tracking, idle processing, and nested loops.
#include "winlib/Win.h"

#include <functional>
#include <string>
#include <vector>

namespace qrx {

class TForm;
class TWindow;

class TApplication {
 public:
  // Runs until the main form closes or WM_QUIT arrives; returns the exit code.
  int Run(TForm& mainForm);
  // Handles every pending message and returns; a WM_QUIT seen here is posted again
  // so the outer loop ends too.
  void ProcessMessages();
  // One message through the form keys, translation and dispatch.
  void HandleMessage(MSG& msg);
  // Runs the idle hooks of every form, as when the queue has become empty.
  void Idle();
  bool Terminated() const { return terminated_; }

  TForm* MainForm = nullptr;
  bool ShowHints = true;
  int HintDelay = 0;   // milliseconds before a hint pops up
  // Receives the long hint of the control under the mouse whenever it changes.
  std::function<void(const std::string& longHint)> OnHint;

  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  const std::vector<TForm*>& Forms() const { return forms_; }
  void ApplyHintSettings();

 private:
  void TrackHint(const MSG& msg);
  TForm* FormOf(HWND hwnd) const;

  std::vector<TForm*> forms_;
  HWND lastHintWindow_ = nullptr;
  bool terminated_ = false;
};

TApplication& Application();

}  // namespace qrx
