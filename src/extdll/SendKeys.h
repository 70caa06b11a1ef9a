#pragma once
// Types a key string into whichever window has the keyboard focus, as synthetic
// key events in the system's keyboard input.
namespace qrx {

// True when the whole text was typed; false for a null or empty text, an unclosed brace
// or a repeat count that is not a number. A key that cannot be typed is reported in a
// message box and skipped. With processMessages the thread's keyboard messages are
// dispatched after every event, so its own windows see the keys as they arrive.
bool SendKeyString(const char* text, bool processMessages);

}  // namespace qrx
