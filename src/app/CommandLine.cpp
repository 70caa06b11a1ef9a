#include "app/CommandLine.h"

#include "app/Globals.h"
#include "shared/TextTools.h"

#include <algorithm>
#include <cctype>

namespace qrx {
namespace {

std::string Upper(std::string s) { return AsciiUpper(std::move(s)); }

// The part of a switch argument behind "/KEY=" or "/DIR=": from the sixth character on.
std::string SwitchValue(const std::string& arg) {
  std::string value = arg.size() > 5 ? arg.substr(5) : std::string();
  if (value.size() > 255) value.resize(255);
  return value;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0, n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
      if (line[i] == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\') {
          ++slashes;
          ++i;
        }
        if (i < n && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (line[i] == '"') {
        if (quoted && i + 1 < n && line[i + 1] == '"') {  // "" inside quotes is one quote
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
      } else {
        arg += line[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::vector<std::string> SplitArguments(const std::string& commandLine) {
  // The program name follows simpler rules: up to the closing quote or the first blank.
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    i = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    i = commandLine.find_first_of(" \t");
    if (i == std::string::npos) i = commandLine.size();
  }
  return SplitCommandLine(commandLine.substr(i));
}

StartArgs ParseStartArgs(const std::vector<std::string>& args) {
  StartArgs out;
  out.RegistryRoot = kDefaultRegistryRoot;
  size_t textFrom = 0;
  if (!args.empty()) {
    std::string first = Upper(args[0]);
    if (first.find("/KEY=") != std::string::npos) {
      std::string name = SwitchValue(args[0]);
      if (!name.empty()) out.RegistryRoot = kRegistryBase + name;
      textFrom = 1;
    } else if (first.find("/DIR=") != std::string::npos) {
      out.StartDirectory = SwitchValue(args[0]);
      textFrom = 1;
    }
  }
  for (size_t i = textFrom; i < args.size(); ++i) {
    if (i > textFrom) out.StartSearchText += ' ';
    out.StartSearchText += args[i];
  }
  return out;
}

}  // namespace qrx
