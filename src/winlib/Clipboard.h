#pragma once
// Plain text on the system clipboard.
#include "winlib/Win.h"

#include <string>

namespace qrx {

// Replaces the clipboard's contents with text; false when the clipboard is busy.
bool SetClipboardText(HWND owner, const std::string& text);
std::string GetClipboardText(HWND owner);

}  // namespace qrx
