#pragma once
// HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT of this process turned, for the scope, to
// fresh keys of the test's own under HKEY_CURRENT_USER: writes the program makes there
// land in the real registry, where nothing else sees them, and go with the scope.
#include "shared/RegRoutines.h"
#include "winlib/Handles.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace qrx::test {

class RegistryScratch {
 public:
  RegistryScratch() {
    static int counter = 0;
    root_ = "Software\\QrxScratch_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
    machine_ = Override(HKEY_LOCAL_MACHINE, "LM");
    classes_ = Override(HKEY_CLASSES_ROOT, "CR");
  }
  RegistryScratch(const RegistryScratch&) = delete;
  RegistryScratch& operator=(const RegistryScratch&) = delete;
  ~RegistryScratch() {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    machine_.reset();
    classes_.reset();
    RegDeleteTree(HKEY_CURRENT_USER, root_);
  }
  // False when the process could not be turned: a test must not go on then.
  bool Active() const { return active_; }
  // The key whose presence says the Windows shell is Explorer.
  void AddExplorer() const { Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer"); }
  static void Create(HKEY root, const std::string& key) {
    UniqueHKey k;
    ::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr);
  }
  // A string value straight from the registry; "<none>" when missing.
  static std::string Read(HKEY root, const std::string& key, const char* name) {
    std::string data;
    return RegReadString(root, key, name ? RegValueName(name) : std::nullopt, data) ? data : "<none>";
  }

 private:
  // The key stays open for as long as the predefined one is turned to it.
  UniqueHKey Override(HKEY predefined, const char* name) {
    UniqueHKey k;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (root_ + "\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(),
                      nullptr);
    if (!k || ::RegOverridePredefKey(predefined, k.get()) != ERROR_SUCCESS) active_ = false;
    return k;
  }

  std::string root_;
  bool active_ = true;
  UniqueHKey machine_, classes_;
};

// A test over scratch roots, with an empty INSTALL.LOG in a folder of its own.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch.Active()); }
  RegistryScratch scratch;
  TempDir dir;
  TInstallLog log{dir.Write("INSTALL.LOG", "")};
};

}  // namespace qrx::test
