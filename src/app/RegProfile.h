#pragma once
// The registry profile: the key under HKEY_CURRENT_USER that holds every setting,
// opened once per load or save, with its sections as subkeys.
#include "winlib/Handles.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qrx {

class TRegSection {
 public:
  TRegSection() = default;
  TRegSection(HKEY profile, const std::string& name, bool create);
  bool IsOpen() const { return static_cast<bool>(key_); }
  std::optional<std::string> ReadString(const std::string& name) const;
  // Throws "Failed to set data for '<name>'" when the value cannot be written.
  void WriteString(const std::string& name, const std::string& value);
  // Every string value in the order the registry lists them.
  std::vector<std::pair<std::string, std::string>> Values() const;

 private:
  UniqueHKey key_;
};

UniqueHKey OpenProfile(const std::string& root, bool create);
// Removes a key and everything below it.
void DeleteRegTree(HKEY parent, const std::string& subkey);

}  // namespace qrx
