#pragma once
// How the Windows shell knows the program: its application path, written at every
// start, and on request a "Quarrix" entry in the context menu of folders in Explorer
// that starts a search in the clicked folder.
#include "shared/InstallLog.h"

#include <string>

namespace qrx {

class TShellRegistration {
 public:
  TShellRegistration(std::string programPath, TInstallLog log)
      : programPath_(std::move(programPath)), log_(std::move(log)) {}
  // The running program, logging to the INSTALL.LOG of its directory.
  static TShellRegistration OfProgram();

  // The program's path and directory under the shell's application paths. A key that
  // cannot be written is skipped: the start goes on.
  void RegisterAppPath() const;
  bool ExplorerPresent() const;
  bool FolderEntryInstalled() const;
  // Both do nothing without Explorer; true when the entry was written or removed.
  bool InstallFolderEntry() const;
  bool RemoveFolderEntry() const;
  // What the folder entry runs: the program, quoted, with the clicked folder.
  std::string FolderCommand() const;

 private:
  std::string programPath_;
  TInstallLog log_;
};

}  // namespace qrx
