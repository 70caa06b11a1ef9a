#include "shared/RegRoutines.h"

#include "winlib/Handles.h"

#include <vector>

namespace qrx {
namespace {

HKEY RootOf(HKEY root) { return root ? root : HKEY_CURRENT_USER; }

// Key paths come from INI files too, where a leading or trailing backslash is common;
// the registry itself refuses a leading one.
std::string KeyPath(const std::string& key) {
  size_t first = key.find_first_not_of('\\');
  if (first == std::string::npos) return "";
  size_t last = key.find_last_not_of('\\');
  return key.substr(first, last - first + 1);
}

UniqueHKey OpenKey(HKEY root, const std::string& key, REGSAM access) {
  UniqueHKey k;
  if (::RegOpenKeyExA(RootOf(root), KeyPath(key).c_str(), 0, access, k.put()) != ERROR_SUCCESS) k.reset();
  return k;
}

const char* NameOf(const RegValueName& valueName) { return valueName ? valueName->c_str() : nullptr; }

}  // namespace

bool RegKeyExists(HKEY root, const std::string& key, const RegValueName& valueName) {
  UniqueHKey k = OpenKey(root, key, KEY_READ);
  if (!k) return false;
  if (!valueName) return true;
  return ::RegQueryValueExA(k.get(), valueName->c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegWriteLogged(HKEY root, const std::string& key, const std::string& valueName, bool tree, const std::string& data,
                    const TInstallLog& log) {
  {
    UniqueHKey k;
    if (::RegCreateKeyExA(RootOf(root), KeyPath(key).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, k.put(),
                          nullptr) != ERROR_SUCCESS)
      return false;
    if (::RegSetValueExA(k.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
      return false;
    ::RegFlushKey(k.get());
  }
  if (tree)
    log.AddTreeEntry(root, key);
  else
    log.AddValueEntry(root, key, data, valueName);
  return true;
}

bool RegDeleteEntry(HKEY root, const std::string& key, const RegValueName& valueName) {
  if (!valueName) {
    const std::string path = KeyPath(key);
    // The root itself is never deleted: an empty path would otherwise name it.
    return !path.empty() && RegDeleteTree(RootOf(root), path);
  }
  UniqueHKey k = OpenKey(root, key, KEY_READ | KEY_SET_VALUE);
  if (!k || ::RegDeleteValueA(k.get(), valueName->c_str()) != ERROR_SUCCESS) return false;
  ::RegFlushKey(k.get());
  return true;
}

bool RegReadString(HKEY root, const std::string& key, const RegValueName& valueName, std::string& data) {
  data.clear();
  UniqueHKey k = OpenKey(root, key, KEY_READ);
  if (!k) return false;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(k.get(), NameOf(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::string s(size + 1, '\0');
  DWORD got = size + 1;
  if (::RegQueryValueExA(k.get(), NameOf(valueName), nullptr, &type, reinterpret_cast<BYTE*>(s.data()), &got) !=
      ERROR_SUCCESS)
    return false;
  s.resize(strnlen(s.c_str(), got));
  data = std::move(s);
  return true;
}

bool RegDeleteTree(HKEY parent, const std::string& subkey) {
  {
    UniqueHKey key;
    if (::RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_READ | KEY_WRITE, key.put()) != ERROR_SUCCESS) return false;
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
      char name[256];
      DWORD len = sizeof name;
      if (::RegEnumKeyExA(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      children.push_back(name);
    }
    for (const auto& child : children) RegDeleteTree(key.get(), child);
  }
  if (::RegDeleteKeyA(parent, subkey.c_str()) != ERROR_SUCCESS) return false;
  ::RegFlushKey(parent);
  return true;
}

}  // namespace qrx
