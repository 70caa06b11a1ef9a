#pragma once
// The add-ins through which some IDEs receive files: installing one registers it in
// the IDE's own registry key (RegKey of EDITORS.INI); the add-in DLL itself lies in
// the extension DLL's directory.
#include "shared/InstallLog.h"

#include <string>

namespace qrx {

// RegKey without its last `levels` components; empty when it has no more than that.
std::string KeyAbove(const std::string& key, int levels);

// Delphi 2, Delphi 3 and C++Builder 1 load "DELPHI2.DLL", named by a value of the
// IDE's key under HKEY_CURRENT_USER.
class TDelphi2Addin {
 public:
  TDelphi2Addin(std::string regKey, std::string addinDirectory)
      : regKey_(std::move(regKey)), directory_(std::move(addinDirectory)) {}
  bool CanInstall() const;
  bool IsInstalled() const;
  bool Install(const TInstallLog& log = TInstallLog::OfProgram()) const;
  bool Uninstall() const;

 private:
  std::string regKey_, directory_;
};

// Borland C++ 5 loads "QUARXBC5.DLL" from an add-in key of its own under HKEY_LOCAL_MACHINE.
class TBC5Addin {
 public:
  TBC5Addin(std::string regKey, std::string addinDirectory)
      : regKey_(std::move(regKey)), directory_(std::move(addinDirectory)) {}
  bool CanInstall() const;
  bool IsInstalled() const;
  bool Install(const TInstallLog& log = TInstallLog::OfProgram()) const;
  bool Uninstall() const;

 private:
  std::string regKey_, directory_;
};

}  // namespace qrx
