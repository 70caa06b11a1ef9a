#pragma once
// The command line: split as the platform's runtime splits it, then read for the
// profile or start-directory switch and the search text.
#include <string>
#include <vector>

namespace qrx {

// Arguments after the program name: blanks separate, a double-quoted stretch may hold
// blanks and loses its quotes, backslashes count only before a quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
// The whole command line without the program name.
std::vector<std::string> SplitArguments(const std::string& commandLine);

struct StartArgs {
  std::string RegistryRoot;
  std::string StartDirectory;
  std::string StartSearchText;
};

StartArgs ParseStartArgs(const std::vector<std::string>& args);

}  // namespace qrx
