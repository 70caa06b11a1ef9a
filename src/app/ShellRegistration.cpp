#include "app/ShellRegistration.h"

#include "shared/ProgramPath.h"
#include "shared/RegRoutines.h"

namespace qrx {
namespace {

const char* const kAppPaths = "Software\\MicroSoft\\Windows\\CurrentVersion\\App Paths\\";
const char* const kExplorerKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer";
const char* const kFolderVerb = "Folder\\shell\\Quarrix";
const char* const kFolderCommand = "Folder\\shell\\Quarrix\\command";

}  // namespace

TShellRegistration TShellRegistration::OfProgram() { return TShellRegistration(RunningProgramPath(), TInstallLog::OfProgram()); }

void TShellRegistration::RegisterAppPath() const {
  const size_t slash = programPath_.find_last_of('\\');
  const std::string key = kAppPaths + programPath_.substr(slash + 1);
  RegWriteLogged(HKEY_LOCAL_MACHINE, key, "", true, programPath_, log_);
  RegWriteLogged(HKEY_LOCAL_MACHINE, key, "Path", false, programPath_.substr(0, slash + 1), log_);
}

bool TShellRegistration::ExplorerPresent() const { return RegKeyExists(HKEY_LOCAL_MACHINE, kExplorerKey); }

bool TShellRegistration::FolderEntryInstalled() const { return RegKeyExists(HKEY_CLASSES_ROOT, kFolderCommand); }

bool TShellRegistration::InstallFolderEntry() const {
  if (!ExplorerPresent()) return false;
  const bool verb = RegWriteLogged(HKEY_CLASSES_ROOT, kFolderVerb, "", true, "", log_);
  const bool command = RegWriteLogged(HKEY_CLASSES_ROOT, kFolderCommand, "", false, FolderCommand(), log_);
  return verb && command;
}

bool TShellRegistration::RemoveFolderEntry() const {
  return ExplorerPresent() && RegDeleteEntry(HKEY_CLASSES_ROOT, kFolderVerb);
}

std::string TShellRegistration::FolderCommand() const {
  // Unquoted, a path with blanks lets Windows try "C:\Program.exe" and the like first.
  return "\"" + programPath_ + "\" /DIR=\"%1\"";
}

}  // namespace qrx
