#pragma once
// Where the running program lies: both deliverables keep their files beside it.
#include <string>

namespace qrx {

// The running executable's full path.
std::string RunningProgramPath();
// Its directory, with a trailing backslash.
std::string RunningProgramFolder();

}  // namespace qrx
