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

LPCSTR SystemIconOf(MsgKind kind) {
  switch (kind) {
    case MsgKind::Error: return IDI_HAND;
    case MsgKind::Information: return IDI_ASTERISK;
    case MsgKind::Question: return IDI_QUESTION;
    case MsgKind::Plain: return nullptr;
  }
  return nullptr;
}

int Show(const MessageRequest& req) {
  if (State().Message) return State().Message(req);
  if (req.Sound || req.Kind == MsgKind::Plain) return ::MessageBoxA(req.Owner, req.Text.c_str(), req.Caption.c_str(), req.Buttons | IconOf(req.Kind) | MB_TASKMODAL);
  // The same icon, drawn as the box's own picture: a box plays its icon's sound only for
  // the standard icon styles.
  MSGBOXPARAMSA p{};
  p.cbSize = sizeof p;
  p.hwndOwner = req.Owner;
  p.lpszText = req.Text.c_str();
  p.lpszCaption = req.Caption.c_str();
  p.dwStyle = req.Buttons | MB_USERICON | MB_TASKMODAL;
  p.lpszIcon = SystemIconOf(req.Kind);
  return ::MessageBoxIndirectA(&p);
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
  return Show(MessageRequest{owner, text, State().Title, kind, buttons, false});
}

int ShowCaptionedBox(HWND owner, const std::string& text, const std::string& caption, MsgKind kind, UINT buttons) {
  if (kind == MsgKind::Error) DefaultBeep();
  return Show(MessageRequest{owner, text, caption, kind, buttons, false});
}

void ShowErrorBox(const std::string& text) {
  Show(MessageRequest{::GetActiveWindow(), text, State().Title, MsgKind::Error, MB_OK, true});
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
