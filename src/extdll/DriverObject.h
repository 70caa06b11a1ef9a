#pragma once
// A driver as the program sees it: the table of operations over one driver of the
// family, with every operation fenced so that nothing thrown leaves the DLL.
#include "extdll/Drivers.h"
#include "shared/IdeDriver.h"

#include <memory>

namespace qrx {

class TDriverObject final : public TBaseIDE {
 public:
  explicit TDriverObject(std::unique_ptr<TIDE> ide) : ide_(std::move(ide)) {}
  virtual ~TDriverObject() = default;
  TIDE& Driver() { return *ide_; }

  BOOL __stdcall StartsItself() override;
  BOOL __stdcall ActivateWindow(HWND window) override;
  int __stdcall Reserved2() override { return 0; }
  BOOL __stdcall Reserved3() override { return FALSE; }
  const char* __stdcall GetAppClass() override;
  const char* __stdcall GetAppText() override;
  const char* __stdcall GetEditClass() override;
  int __stdcall GetIDEType() override;
  BOOL __stdcall CanInstall() override;
  BOOL __stdcall IsInstalled() override;
  BOOL __stdcall Install() override;
  BOOL __stdcall Uninstall() override;
  BOOL __stdcall Reserved12() override { return FALSE; }
  BOOL __stdcall IsIDEReady() override;
  BOOL __stdcall SyncIDE(const char* file, int line, int start, int stop) override;
  BOOL __stdcall Load() override;
  const char* __stdcall GetDescription() override;
  HBITMAP __stdcall GetBitmap() override;
  BOOL __stdcall Save() override;
  BOOL __stdcall OpenFile(const char* file) override;
  BOOL __stdcall GotoLine(int line) override;
  BOOL __stdcall SelectMatch(int start, int stop) override;

 private:
  std::unique_ptr<TIDE> ide_;
};

}  // namespace qrx
