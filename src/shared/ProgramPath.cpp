#include "shared/ProgramPath.h"

#include "winlib/Win.h"

namespace qrx {

std::string RunningProgramPath() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::string RunningProgramFolder() {
  std::string path = RunningProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace qrx
