#pragma once
// Starting a program from a command line and waiting until it takes input.
#include <string>

namespace qrx {

// True when the program started and became idle for input within four seconds; a start
// that fails is reported in an error box ("Error Starting Editor: ...").
bool StartProgram(const std::string& commandLine);

}  // namespace qrx
