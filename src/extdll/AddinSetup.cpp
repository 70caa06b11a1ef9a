#include "extdll/AddinSetup.h"

#include "shared/RegRoutines.h"

namespace qrx {
namespace {

const char* const kDelphi2Value = "KRESHZ30";

}  // namespace

std::string TAddinSetup::AddinPath(const char* file) const {
  return directory_.empty() || directory_.back() == '\\' ? directory_ + file : directory_ + "\\" + file;
}

std::string KeyAbove(const std::string& key, int levels) {
  std::string k = key;
  while (!k.empty() && k.back() == '\\') k.pop_back();
  for (int i = 0; i < levels; ++i) {
    size_t slash = k.find_last_of('\\');
    if (slash == std::string::npos) return "";
    k.resize(slash);
    while (!k.empty() && k.back() == '\\') k.pop_back();
  }
  // A key of no components would ask about the root itself, which always exists.
  return k.find_first_not_of('\\') == std::string::npos ? "" : k;
}

bool TDelphi2Addin::CanInstall() const {
  std::string parent = KeyAbove(regKey_, 1);
  return !parent.empty() && RegKeyExists(HKEY_CURRENT_USER, parent);
}

bool TDelphi2Addin::IsInstalled() const { return RegKeyExists(HKEY_CURRENT_USER, regKey_, kDelphi2Value); }

bool TDelphi2Addin::Install(const TInstallLog& log) const {
  return RegWriteLogged(HKEY_CURRENT_USER, regKey_, kDelphi2Value, false, AddinPath("DELPHI2.DLL"), log);
}

bool TDelphi2Addin::Uninstall() const { return RegDeleteEntry(nullptr, regKey_, kDelphi2Value); }

bool TBC5Addin::CanInstall() const {
  std::string above = KeyAbove(regKey_, 3);
  return !above.empty() && RegKeyExists(HKEY_LOCAL_MACHINE, above);
}

bool TBC5Addin::IsInstalled() const { return RegKeyExists(HKEY_LOCAL_MACHINE, regKey_, "Path"); }

bool TBC5Addin::Install(const TInstallLog& log) const {
  if (!RegWriteLogged(HKEY_LOCAL_MACHINE, regKey_, "Path", true, AddinPath("QUARXBC5.DLL"), log))
    return false;
  return RegWriteLogged(HKEY_LOCAL_MACHINE, regKey_, "Enabled", false, "Yes", log);
}

bool TBC5Addin::Uninstall() const {
  return RegDeleteEntry(HKEY_LOCAL_MACHINE, regKey_, "Path") && RegDeleteEntry(HKEY_LOCAL_MACHINE, regKey_, "Enabled") &&
         RegDeleteEntry(HKEY_LOCAL_MACHINE, regKey_);
}

}  // namespace qrx
