#pragma once
// Small helpers the main window's tests share: files, menu items and the folders ctest names.
#include "app/MainWindowFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace qrx::test {

inline TMenuItem* FindItem(const TMenuItem& parent, const std::string& caption) {
  for (const auto& item : parent.Items()) {
    if (item->Caption() == caption) return item.get();
    if (TMenuItem* inner = FindItem(*item, caption)) return inner;
  }
  return nullptr;
}

// The Windows name of the Unix path an environment variable holds ("" when unset):
// under Wine the Linux root is drive Z:.
inline std::string WineNameFromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  if (!value || !*value) return {};
  std::string name = "Z:" + std::string(value);
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

}  // namespace qrx::test
