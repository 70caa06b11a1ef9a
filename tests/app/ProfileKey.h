#pragma once
// A registry profile of the test's own, removed afterwards.
#include "app/Globals.h"
#include "app/RegProfile.h"

#include <string>

namespace qrx::test {

class ProfileKey {
 public:
  ProfileKey() {
    static int counter = 0;
    name_ = "QrxTest_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(::GetTickCount()) + "_" +
            std::to_string(++counter);
    root_ = std::string(kRegistryBase) + name_;
  }
  ProfileKey(const ProfileKey&) = delete;
  ProfileKey& operator=(const ProfileKey&) = delete;
  ~ProfileKey() { DeleteRegTree(HKEY_CURRENT_USER, root_); }
  const std::string& Root() const { return root_; }
  const std::string& Name() const { return name_; }
  void Set(const std::string& section, const std::string& name, const std::string& value) const {
    UniqueHKey profile = OpenProfile(root_, true);
    TRegSection(profile.get(), section, true).WriteString(name, value);
  }
  std::optional<std::string> Get(const std::string& section, const std::string& name) const {
    UniqueHKey profile = OpenProfile(root_, false);
    return TRegSection(profile.get(), section, false).ReadString(name);
  }

 private:
  std::string name_, root_;
};

}  // namespace qrx::test
