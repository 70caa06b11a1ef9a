#include "shared/TextTools.h"

#include "winlib/Win.h"

#include <algorithm>

namespace qrx {

size_t FindNoCase(const std::string& text, const std::string& what) {
  auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
  auto it = std::search(text.begin(), text.end(), what.begin(), what.end(),
                        [&](char a, char b) { return upper(a) == upper(b); });
  return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

bool IsFile(const std::string& path) {
  DWORD attr = ::GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ShortPathOf(const std::string& path) {
  char buf[MAX_PATH + 1] = {};
  DWORD n = ::GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

std::string StartErrorText(unsigned long code, const std::string& pathNotFound) {
  switch (code) {
    case 0: return "System was out of memory, executable file was corrupt, or relocations were invalid.";
    case 2:
    case 3: return pathNotFound;
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
