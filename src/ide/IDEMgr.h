#pragma once
// The IDE manager: the extension DLLs beside the program, their drivers in the user's
// order, and the hand-over of a match to a running editor or IDE.
#include "ide/DelphiTools.h"
#include "ide/ExtensionDLL.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qrx {

// How the manager talks to the user: boxes owned by the main window.
struct TIDEMgrUi {
  std::function<bool(const std::string&)> AskYesNo;
  std::function<void(const std::string&)> Inform;
  std::function<void(const std::string&)> Error;
  std::function<void()> ProcessMessages;  // lets the program catch up once
};

class TIDEMgr {
 public:
  // Loads every usable "*.DLL" of directory (the program's own) and its drivers, in the
  // order saved under registryRoot\IDE.
  TIDEMgr(HWND mainWindow, std::string registryRoot, std::string directory, std::string transferFile, TIDEMgrUi ui);
  ~TIDEMgr();
  TIDEMgr(const TIDEMgr&) = delete;
  TIDEMgr& operator=(const TIDEMgr&) = delete;

  bool AutoSearch = true;

  size_t Count() const { return ides_.size(); }
  TGrepIDE& IDE(size_t i) const { return *ides_[i]; }
  size_t ExtensionCount() const { return extensions_.size(); }

  void OpenInIDE(const std::string& file, int line, int start, int stop);
  TGrepIDE* FirstIDE() const { return ides_.empty() ? nullptr : ides_.front().get(); }
  bool ActivateIDE(TGrepIDE* ide);
  HWND FindIDEWindow(const TGrepIDE& ide) const;
  bool CheckSetup(const TGrepIDE& ide);

  // Writes the "IDE" section of the profile key: one value per enabled IDE.
  void SaveOrder(HKEY profile) const;
  // Descriptions in list order, with their IDEs.
  std::vector<std::pair<std::string, TGrepIDE*>> FillList() const;
  // Re-sorts after the IDEs' order keys were changed.
  void ApplyOrder();
  // Enables every IDE in its present position.
  void ResetOrder();
  void ReloadAll();
  void FirstRunSteps(const std::string& delphiIni, const std::string& programPath);

 private:
  void LoadExtensions(const std::string& directory);
  void AddIDEs(TExtensionDLL& extension);
  void SortIDEs();
  bool WriteTransferInfo(const std::string& file, int line, int start, int stop);
  bool Dispatch(TGrepIDE& ide, const std::string& file, int line, int start, int stop);
  bool DispatchMDI(TGrepIDE& ide, const std::string& file, int line, int start, int stop);
  void BringForward(HWND window);

  HWND mainWindow_;
  std::string registryRoot_;
  std::string transferFile_;
  TIDEMgrUi ui_;
  std::vector<std::unique_ptr<TExtensionDLL>> extensions_;
  std::vector<std::unique_ptr<TGrepIDE>> ides_;
};

// Restores a window from the minimised state and sets its placement back to normal.
void RestoreWindow(HWND window);

}  // namespace qrx
