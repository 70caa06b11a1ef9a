// The four exports of QRXIDE32.DLL. Nothing thrown crosses them: they answer null or false.
#include "extdll/DllContext.h"
#include "extdll/DriverObject.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    try {
      qrx::InitDllContext(module);
    } catch (...) {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL __stdcall QUARX_Init() {
  qrx::RegisterDllMessages();
  return TRUE;
}

int __stdcall QUARX_IDECount() { return qrx::kDriverCount; }

qrx::TBaseIDE* __stdcall QUARX_CreateIDE(int index, HWND parent) {
  try {
    qrx::Dll().ParentWindow = parent;
    std::unique_ptr<qrx::TIDE> ide = qrx::CreateDriver(index);
    return ide ? new qrx::TDriverObject(std::move(ide)) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

BOOL __stdcall QUARX_DestroyIDE(qrx::TBaseIDE* ide) {
  try {
    delete static_cast<qrx::TDriverObject*>(ide);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // extern "C"
