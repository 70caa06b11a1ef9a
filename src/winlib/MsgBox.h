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
};

// The sink answers with the pressed button (IDOK, IDYES, ...).
using MessageSink = std::function<int(const MessageRequest&)>;
using BeepSink = std::function<void(UINT type)>;

// Installs a sink and returns the previous one; an empty sink restores the real boxes.
MessageSink SetMessageSink(MessageSink sink);
BeepSink SetBeepSink(BeepSink sink);

// The default beep of the system (or the installed sink).
void DefaultBeep();
// Shows a box of the given kind; the error kind sounds the default beep first.
int ShowMessageBox(HWND owner, const std::string& text, MsgKind kind, UINT buttons = MB_OK);
// The same with a caption of its own instead of the application title.
int ShowCaptionedBox(HWND owner, const std::string& text, const std::string& caption, MsgKind kind,
                     UINT buttons = MB_OK);
// The application's error box: what an escaped exception turns into.
void ShowErrorBox(const std::string& text);
// To be called inside a catch block at a boundary: reports the current exception.
void ReportCurrentException() noexcept;

// The caption boxes carry; the application title.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

}  // namespace qrx
