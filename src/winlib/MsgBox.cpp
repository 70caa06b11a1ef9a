#include "winlib/MsgBox.h"

#include <exception>

namespace qrx {
namespace {

struct MsgState {
  MessageSink Message;
  BeepSink Beep;
  std::string Title = "Quarrix";
};

MsgState& State() {
  static MsgState state;
  return state;
}

UINT IconOf(MsgKind kind) {
  switch (kind) {
    case MsgKind::Error: return MB_ICONERROR;
    case MsgKind::Information: return MB_ICONINFORMATION;
    case MsgKind::Question: return MB_ICONQUESTION;
    case MsgKind::Plain: return 0;
  }
  return 0;
}

}  // namespace

MessageSink SetMessageSink(MessageSink sink) {
  std::swap(State().Message, sink);
  return sink;
}

BeepSink SetBeepSink(BeepSink sink) {
  std::swap(State().Beep, sink);
  return sink;
}

void DefaultBeep() {
  if (State().Beep)
    State().Beep(0);
  else
    ::MessageBeep(0);
}

int ShowMessageBox(HWND owner, const std::string& text, MsgKind kind, UINT buttons) {
  return ShowCaptionedBox(owner, text, State().Title, kind, buttons);
}

int ShowCaptionedBox(HWND owner, const std::string& text, const std::string& caption, MsgKind kind, UINT buttons) {
  if (kind == MsgKind::Error) DefaultBeep();
  MessageRequest req{owner, text, caption, kind, buttons};
  if (State().Message) return State().Message(req);
  return ::MessageBoxA(owner, text.c_str(), req.Caption.c_str(), buttons | IconOf(kind) | MB_TASKMODAL);
}

void ShowErrorBox(const std::string& text) {
  HWND owner = ::GetActiveWindow();
  ShowMessageBox(owner, text, MsgKind::Error, MB_OK);
}

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      ShowErrorBox(e.what());
    } catch (...) {
      ShowErrorBox("Unknown error.");
    }
  } catch (...) {
    // Reporting must never throw out of a boundary; nothing more can be done here.
  }
}

void SetApplicationTitle(const std::string& title) { State().Title = title; }
const std::string& ApplicationTitle() { return State().Title; }

}  // namespace qrx
