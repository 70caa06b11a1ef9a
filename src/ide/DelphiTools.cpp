#include "ide/DelphiTools.h"

#include "shared/TextTools.h"
#include "winlib/Win.h"

#include <algorithm>

namespace qrx {
namespace {

const char* const kSection = "Transfer";
// More entries than any Tools menu holds: a Count beyond it means the file is not what
// we take it for, and it is left alone.
constexpr UINT kMaxCount = 1000;

std::string ReadIni(const std::string& ini, const std::string& key) {
  char buf[1024] = {};
  ::GetPrivateProfileStringA(kSection, key.c_str(), "", buf, sizeof buf, ini.c_str());
  return buf;
}

bool WriteIni(const std::string& ini, const std::string& key, const std::string& value) {
  return ::WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), ini.c_str()) != FALSE;
}

UINT EntryCount(const std::string& ini) { return ::GetPrivateProfileIntA(kSection, "Count", 0, ini.c_str()); }

}  // namespace

bool DelphiToolsEntryExists(const std::string& iniPath) {
  const UINT count = std::min(EntryCount(iniPath), kMaxCount);
  for (UINT i = 0; i < count; ++i) {
    const std::string path = AsciiUpper(ReadIni(iniPath, "Path" + std::to_string(i)));
    if (path.find("QUARRIX.EXE") != std::string::npos || path.find("QUARRX32.EXE") != std::string::npos) return true;
  }
  return false;
}

bool OfferDelphiToolsEntry(const std::string& iniPath, const std::string& programPath, const AskYesNo& ask) {
  if (!IsFile(iniPath)) return false;
  const UINT count = EntryCount(iniPath);
  if (count > kMaxCount || DelphiToolsEntryExists(iniPath)) return false;
  if (!ask(
          "Delphi 1.0 was detected on this computer.\r\rWould you like Quarrix to add itself to\rthe Delphi Tools "
          "menu?"))
    return false;
  const std::string n = std::to_string(count);
  const std::string dir = programPath.substr(0, programPath.find_last_of('\\') + 1);
  // The entry's own keys first: a Count raised over a half-written entry would show a
  // broken item in Delphi's menu.
  return WriteIni(iniPath, "Title" + n, "Quarrix") && WriteIni(iniPath, "Path" + n, programPath) &&
         WriteIni(iniPath, "WorkingDir" + n, dir) && WriteIni(iniPath, "Params" + n, "$CURTOKEN") &&
         WriteIni(iniPath, "Count", std::to_string(count + 1));
}

std::string DelphiIniPath() {
  char dir[MAX_PATH] = {};
  UINT n = ::GetWindowsDirectoryA(dir, MAX_PATH);
  std::string d(dir, n);
  if (!d.empty() && d.back() != '\\') d += '\\';
  return d + "DELPHI.INI";
}

}  // namespace qrx
