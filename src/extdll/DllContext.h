#pragma once
// The extension DLL's process-wide values: where it lies (EDITORS.INI and the add-ins
// sit beside it), the window that owns its message boxes, and the two messages it posts.
#include "winlib/Win.h"

#include <string>

namespace qrx {

struct TDllContext {
  HMODULE Module = nullptr;    // the DLL (bitmaps); null in a program that links the drivers
  HWND ParentWindow = nullptr;  // set by QUARX_CreateIDE
  std::string DllPath;         // full path of the DLL
  std::string IniPath;         // the DLL's directory + "EDITORS.INI"
  UINT OpenFileMessage = 0;    // "CM_QUARXOPENFILE", set by QUARX_Init
  UINT RestoreMessage = 0;     // "CM_QUARXRESTORE", set by QUARX_Init
  // The directory of DllPath, with a trailing backslash.
  std::string Directory() const;
};

TDllContext& Dll();
// Fills the context for a module (the DLL itself, or the program that links the drivers).
void InitDllContext(HMODULE module);
void RegisterDllMessages();

// The drivers' boxes: the error box beeps and is captioned "Error"; the information box
// is captioned "Quarrix"; both are owned by ParentWindow.
void DriverErrorBox(const std::string& text);
void DriverInfoBox(const std::string& text);

}  // namespace qrx
