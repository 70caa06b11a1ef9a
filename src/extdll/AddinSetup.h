#pragma once
// The add-ins through which some IDEs receive files: installing one registers it in
// the IDE's own registry key (RegKey of EDITORS.INI); the add-in DLL itself lies in
// the extension DLL's directory.
#include "shared/InstallLog.h"

#include <string>

namespace qrx {

// RegKey without its last `levels` components; empty when it has no more than that.
std::string KeyAbove(const std::string& key, int levels);

// One IDE's add-in, seen from its registry key.
class TAddinSetup {
 public:
  TAddinSetup(std::string regKey, std::string addinDirectory)
      : regKey_(std::move(regKey)), directory_(std::move(addinDirectory)) {}
  virtual ~TAddinSetup() = default;
  // Whether the IDE is there to take the add-in.
  virtual bool CanInstall() const = 0;
  virtual bool IsInstalled() const = 0;
  virtual bool Install(const TInstallLog& log = TInstallLog::OfProgram()) const = 0;
  virtual bool Uninstall() const = 0;

 protected:
  std::string AddinPath(const char* file) const;
  std::string regKey_, directory_;
};

// Delphi 2, Delphi 3 and C++Builder 1 load "DELPHI2.DLL", named by a value of the
// IDE's key under HKEY_CURRENT_USER.
class TDelphi2Addin : public TAddinSetup {
 public:
  using TAddinSetup::TAddinSetup;
  bool CanInstall() const override;
  bool IsInstalled() const override;
  bool Install(const TInstallLog& log = TInstallLog::OfProgram()) const override;
  bool Uninstall() const override;
};

// Borland C++ 5 loads "QUARXBC5.DLL" from an add-in key of its own under HKEY_LOCAL_MACHINE.
class TBC5Addin : public TAddinSetup {
 public:
  using TAddinSetup::TAddinSetup;
  bool CanInstall() const override;
  bool IsInstalled() const override;
  bool Install(const TInstallLog& log = TInstallLog::OfProgram()) const override;
  bool Uninstall() const override;
};

}  // namespace qrx
