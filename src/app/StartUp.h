#pragma once
// Start-up and end of the process: the command line, the temporary files and the
// messages that running copies exchange.
#include <string>

namespace qrx {

// Reads the command line into the start-up values, creates the two temporary files,
// names the transfer file and registers the four messages.
void ModuleStartUp(const std::string& commandLine);
// Deletes the temporary files and the transfer file, whichever exist.
void ModuleShutDown();
// The program's own directory, without a trailing backslash.
std::string ProgramDirectory();

}  // namespace qrx
