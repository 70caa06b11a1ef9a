#include "extdll/DllContext.h"

#include "winlib/MsgBox.h"

namespace qrx {

std::string TDllContext::Directory() const { return DllPath.substr(0, DllPath.find_last_of('\\') + 1); }

TDllContext& Dll() {
  static TDllContext context;
  return context;
}

void InitDllContext(HMODULE module) {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  Dll().Module = module;
  Dll().DllPath.assign(path, n);
  Dll().IniPath = Dll().Directory() + "EDITORS.INI";
}

void RegisterDllMessages() {
  Dll().OpenFileMessage = ::RegisterWindowMessageA("CM_QUARXOPENFILE");
  Dll().RestoreMessage = ::RegisterWindowMessageA("CM_QUARXRESTORE");
}

void DriverErrorBox(const std::string& text) {
  ShowCaptionedBox(Dll().ParentWindow, text, "Error", MsgKind::Error, MB_OK);
}

void DriverInfoBox(const std::string& text) {
  ShowCaptionedBox(Dll().ParentWindow, text, "Quarrix", MsgKind::Information, MB_OK);
}

}  // namespace qrx
