#pragma once
// Message boxes of the application's three kinds, routed through one replaceable
// sink so that tests can record them instead of blocking on a modal box.
#include "winlib/Win.h"

#include <functional>
#include <string>

namespace qrx {

// Plain boxes carry no icon: the extension DLL's notes to the user.
enum class MsgKind { Error, Information, Question, Plain };

struct MessageRequest {
  HWND Owner;
  std::string Text;
  std::string Caption;
  MsgKind Kind;
  UINT Buttons;  // MB_OK, MB_YESNO, ...
  bool Sound;    // the box sounds its kind's sound itself
};

// The sink answers with the pressed button (IDOK, IDYES, ...).
using MessageSink = std::function<int(const MessageRequest&)>;
using BeepSink = std::function<void(UINT type)>;

// Installs a sink and returns the previous one; an empty sink restores the real boxes.
MessageSink SetMessageSink(MessageSink sink);
BeepSink SetBeepSink(BeepSink sink);

// The default beep of the system (or the installed sink).
void DefaultBeep();
// Shows a box of the given kind with its kind's icon. The box is silent: a caller that wants
// a sound (a failed search beeps) sounds it first, so a box never sounds twice.
int ShowMessageBox(HWND owner, const std::string& text, MsgKind kind, UINT buttons = MB_OK);
// The same with a caption of its own instead of the application title; the error kind
// sounds the default beep first (the extension DLL's error boxes), once.
int ShowCaptionedBox(HWND owner, const std::string& text, const std::string& caption, MsgKind kind,
                     UINT buttons = MB_OK);
// The application's error box: what an escaped exception turns into. It sounds the
// system's error sound, once.
void ShowErrorBox(const std::string& text);
// To be called inside a catch block at a boundary: reports the current exception.
void ReportCurrentException() noexcept;

// The caption boxes carry; the application title.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

}  // namespace qrx
