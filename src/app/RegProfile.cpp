#include "app/RegProfile.h"

#include "shared/RegRoutines.h"

#include <stdexcept>

namespace qrx {

UniqueHKey OpenProfile(const std::string& root, bool create) {
  UniqueHKey key;
  if (create) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  } else {
    ::RegOpenKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, KEY_READ, key.put());
  }
  return key;
}

TRegSection::TRegSection(HKEY profile, const std::string& name, bool create) {
  if (!profile) return;
  if (create)
    ::RegCreateKeyExA(profile, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
  else
    ::RegOpenKeyExA(profile, name.c_str(), 0, KEY_READ, key_.put());
}

std::optional<std::string> TRegSection::ReadString(const std::string& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string s(size + 1, '\0');
  DWORD got = size + 1;
  if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(s.data()), &got) !=
      ERROR_SUCCESS)
    return std::nullopt;
  s.resize(strnlen(s.c_str(), got));
  return s;
}

void TRegSection::WriteString(const std::string& name, const std::string& value) {
  if (!key_ || ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw std::runtime_error("Failed to set data for '" + name + "'");
}

std::vector<std::pair<std::string, std::string>> TRegSection::Values() const {
  std::vector<std::pair<std::string, std::string>> out;
  if (!key_) return out;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameLen = sizeof name, type = 0, size = 0;
    LONG rc = ::RegEnumValueA(key_.get(), i, name, &nameLen, nullptr, &type, nullptr, &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    if (auto v = ReadString(name)) out.emplace_back(name, *v);
  }
  return out;
}

void DeleteRegTree(HKEY parent, const std::string& subkey) { RegDeleteTree(parent, subkey); }

}  // namespace qrx
