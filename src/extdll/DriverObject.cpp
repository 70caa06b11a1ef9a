#include "extdll/DriverObject.h"

#include "extdll/DllContext.h"

#include <exception>

namespace qrx {
namespace {

// Runs one operation; what it throws ends here. An operation the driver lacks answers
// the fallback quietly; any other failure is told to the user in the driver's error box.
template <typename R, typename F>
R Fenced(R fallback, F&& op) noexcept {
  try {
    return op();
  } catch (const EAbstractOperation&) {
    return fallback;
  } catch (const std::exception& e) {
    try {
      DriverErrorBox(e.what());
    } catch (...) {
      // Nothing more can be reported.
    }
    return fallback;
  } catch (...) {
    return fallback;
  }
}

BOOL B(bool b) { return b ? TRUE : FALSE; }

}  // namespace

BOOL TDriverObject::StartsItself() { return Fenced(FALSE, [&] { return B(ide_->StartsItself()); }); }
BOOL TDriverObject::ActivateWindow(HWND w) { return Fenced(FALSE, [&] { return B(ide_->ActivateWindow(w)); }); }
const char* TDriverObject::GetAppClass() { return ide_->GetAppClass(); }
const char* TDriverObject::GetAppText() { return ide_->GetAppText(); }
const char* TDriverObject::GetEditClass() { return ide_->GetEditClass(); }
int TDriverObject::GetIDEType() { return ide_->GetIDEType(); }
BOOL TDriverObject::CanInstall() { return Fenced(FALSE, [&] { return B(ide_->CanInstall()); }); }
BOOL TDriverObject::IsInstalled() { return Fenced(FALSE, [&] { return B(ide_->IsInstalled()); }); }
BOOL TDriverObject::Install() { return Fenced(FALSE, [&] { return B(ide_->Install()); }); }
BOOL TDriverObject::Uninstall() { return Fenced(FALSE, [&] { return B(ide_->Uninstall()); }); }
BOOL TDriverObject::IsIDEReady() { return Fenced(FALSE, [&] { return B(ide_->IsIDEReady()); }); }
BOOL TDriverObject::SyncIDE(const char* file, int line, int start, int stop) {
  return Fenced(FALSE, [&] { return B(ide_->SyncIDE(file, line, start, stop)); });
}
BOOL TDriverObject::Load() { return Fenced(FALSE, [&] { return B(ide_->Load()); }); }
const char* TDriverObject::GetDescription() { return ide_->GetDescription(); }
HBITMAP TDriverObject::GetBitmap() { return ide_->GetBitmap(); }
BOOL TDriverObject::Save() { return Fenced(FALSE, [&] { return B(ide_->Save()); }); }
BOOL TDriverObject::OpenFile(const char* file) { return Fenced(FALSE, [&] { return B(ide_->OpenFile(file)); }); }
BOOL TDriverObject::GotoLine(int line) { return Fenced(FALSE, [&] { return B(ide_->GotoLine(line)); }); }
BOOL TDriverObject::SelectMatch(int start, int stop) {
  return Fenced(FALSE, [&] { return B(ide_->SelectMatch(start, stop)); });
}

}  // namespace qrx
