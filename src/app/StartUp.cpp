#include "app/StartUp.h"

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "shared/ProgramPath.h"
#include "winlib/Win.h"

namespace qrx {
namespace {

std::string NewTempFile(const std::string& dir) {
  char name[MAX_PATH + 1] = {};
  if (!::GetTempFileNameA(dir.c_str(), "QZT", 0, name)) return {};
  return name;
}

void DeleteIfExists(const std::string& file) {
  if (!file.empty() && ::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) ::DeleteFileA(file.c_str());
}

}  // namespace

void ModuleStartUp(const std::string& commandLine) {
  RegistryRoot = kDefaultRegistryRoot;
  StartDirectory.clear();
  StartSearchText.clear();
  std::vector<std::string> args = SplitArguments(commandLine);
  if (!args.empty()) {
    StartArgs parsed = ParseStartArgs(args);
    RegistryRoot = parsed.RegistryRoot;
    StartDirectory = parsed.StartDirectory;
    StartSearchText = parsed.StartSearchText;
  }
  char tempDir[261] = {};
  ::GetTempPathA(sizeof tempDir, tempDir);
  PreviewFileName = NewTempFile(tempDir);
  WorkFileName = NewTempFile(tempDir);
  CM_QUARXOPENFILE = static_cast<uint16_t>(::RegisterWindowMessageA("CM_QUARXOPENFILE"));
  CM_QUARXSEARCHTEXT = static_cast<uint16_t>(::RegisterWindowMessageA("CM_QUARXSEARCHTEXT"));
  CM_QUARXRESTORE = static_cast<uint16_t>(::RegisterWindowMessageA("CM_QUARXRESTORE"));
  CM_QUARXSETDIRECTORY = static_cast<uint16_t>(::RegisterWindowMessageA("CM_QUARXSETDIRECTORY"));
  // The work file's directory is the temporary directory the system handed out.
  std::string dir = WorkFileName.empty() ? std::string(tempDir) : WorkFileName.substr(0, WorkFileName.rfind('\\') + 1);
  TransferFileName = dir + "KRESHTRN.DAT";
}

void ModuleShutDown() {
  DeleteIfExists(WorkFileName);
  DeleteIfExists(PreviewFileName);
  DeleteIfExists(TransferFileName);
}

std::string ProgramDirectory() {
  std::string dir = RunningProgramFolder();
  if (!dir.empty()) dir.pop_back();
  return dir;
}

}  // namespace qrx
