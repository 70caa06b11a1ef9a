#pragma once
// One extension DLL found beside the program, and one editor/IDE driver it made.
#include "shared/IdeDriver.h"
#include "winlib/Handles.h"

#include <string>

namespace qrx {

class TExtensionDLL {
 public:
  // Loads directory + fileName with the system's critical-error boxes off.
  TExtensionDLL(const std::string& directory, const std::string& fileName);
  TExtensionDLL(const TExtensionDLL&) = delete;
  TExtensionDLL& operator=(const TExtensionDLL&) = delete;

  // Loaded, and offering the three exports a driver needs (QUARX_Init is optional).
  bool IsValid() const;
  const std::string& DLLFileName() const { return fileName_; }
  int IDECount() const;
  // Initialises the DLL once, before its first driver; null when it makes none.
  TBaseIDE* CreateIDE(int index, HWND parent);
  void DestroyIDE(TBaseIDE* ide) const;

 private:
  std::string fileName_;
  UniqueModule module_;
  bool initialized_ = false;
  QuarxInitProc init_ = nullptr;
  QuarxIDECountProc ideCount_ = nullptr;
  QuarxCreateIDEProc createIDE_ = nullptr;
  QuarxDestroyIDEProc destroyIDE_ = nullptr;
};

// A driver with the program's view of it: every answer is false, 0 or empty when the
// DLL made no driver; texts are copied out of the DLL.
class TGrepIDE {
 public:
  TGrepIDE(TExtensionDLL& extension, int index, HWND parent);
  ~TGrepIDE();
  TGrepIDE(const TGrepIDE&) = delete;
  TGrepIDE& operator=(const TGrepIDE&) = delete;

  bool StartsItself() const { return driver_ && driver_->StartsItself(); }
  bool ActivateWindow(HWND window) const { return driver_ && driver_->ActivateWindow(window); }
  std::string AppClass() const { return driver_ ? Copy(driver_->GetAppClass()) : ""; }
  std::string AppText() const { return driver_ ? Copy(driver_->GetAppText()) : ""; }
  std::string EditClass() const { return driver_ ? Copy(driver_->GetEditClass()) : ""; }
  std::string Description() const { return driver_ ? Copy(driver_->GetDescription()) : ""; }
  int IDEType() const { return driver_ ? driver_->GetIDEType() : 0; }
  bool CanInstall() const { return driver_ && driver_->CanInstall(); }
  bool IsInstalled() const { return driver_ && driver_->IsInstalled(); }
  bool Install() const { return driver_ && driver_->Install(); }
  bool Uninstall() const { return driver_ && driver_->Uninstall(); }
  bool IsIDEReady() const { return driver_ && driver_->IsIDEReady(); }
  // A null file: the file is open already, only the line is wanted.
  bool SyncIDE(const char* file, int line, int start, int stop) const {
    return driver_ && driver_->SyncIDE(file, line, start, stop);
  }
  bool Load() const { return driver_ && driver_->Load(); }
  HBITMAP Bitmap() const { return driver_ ? driver_->GetBitmap() : nullptr; }

  bool HasDriver() const { return driver_ != nullptr; }
  const std::string& DLLFileName() const { return extension_.DLLFileName(); }
  int DriverIndex() const { return index_; }
  // Enabled IDEs carry their position as three digits; disabled ones "Z" and their description.
  bool IsEnabled() const { return !OrderKey.empty() && OrderKey[0] != 'Z'; }
  std::string OrderKey = "Z";

 private:
  static std::string Copy(const char* text) { return text ? text : ""; }

  TExtensionDLL& extension_;
  int index_;
  TBaseIDE* driver_ = nullptr;
};

}  // namespace qrx
