#include "app/EditorCommand.h"

#include "winlib/Win.h"

#include <algorithm>

namespace qrx {
namespace {

constexpr size_t kTailMax = 255;

size_t FindNoCase(const std::string& text, const std::string& what) {
  auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
  auto it = std::search(text.begin(), text.end(), what.begin(), what.end(),
                        [&](char a, char b) { return upper(a) == upper(b); });
  return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

std::string ShortName(const std::string& path) {
  char buf[MAX_PATH + 1] = {};
  DWORD n = ::GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

}  // namespace

std::optional<std::string> ExternalEditorCommand(const std::string& editorPath, const std::string& params,
                                                 const std::string& fileName, int line, bool useLongNames) {
  std::string p = params;
  if (size_t at = FindNoCase(p, "#FILENAME#"); at != std::string::npos) {
    // A quote would end the quoted name early and turn the rest into arguments of their own.
    if (fileName.find('"') != std::string::npos) return std::nullopt;
    std::string name = useLongNames ? fileName : ShortName(fileName);
    // A name that starts with a dash would read as a switch; as a path it cannot.
    if (!name.empty() && (name[0] == '-' || name[0] == '/')) name = ".\\" + name;
    // A name the file system could not shorten may still hold blanks.
    if (useLongNames || name.find(' ') != std::string::npos) name = "\"" + name + "\"";
    p = p.substr(0, at) + name + p.substr(at + 10, kTailMax);
  }
  if (size_t at = FindNoCase(p, "#LINENUM#"); at != std::string::npos)
    p = p.substr(0, at) + std::to_string(line) + p.substr(at + 9, kTailMax);
  return editorPath + " " + p;
}

std::string EditorStartErrorText(unsigned code) {
  switch (code) {
    case 0: return "System was out of memory, executable file was corrupt, or relocations were invalid.";
    case 2:
    case 3: return "Path was not found.  Make sure that the path entered\rin the properties page is correct";
    case 5:
      return "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error.";
    case 6: return "Library required separate data segments for each task.";
    case 8: return "There was insufficient memory to start the application.";
    case 10: return "Windows version was incorrect.";
    case 11: return "Executable file was invalid. Either not a Windows application or error in the .EXE image.";
    case 14: return "Type of executable file was unknown.";
    case 20: return "DLL file was invalid. One of the DLLs required to run this application was corrupt.";
    default: return "Other error(" + std::to_string(code) + ")";
  }
}

}  // namespace qrx
