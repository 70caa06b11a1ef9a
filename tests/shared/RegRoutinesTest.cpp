// The registry routines against the test prefix's real registry, logging to a real
// INSTALL.LOG in a scratch folder.
#include "shared/RegRoutines.h"
#include "shared/RegistryScratch.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

using test::RegistryScratch;

class RegRoutines : public test::RegistryTest {
 protected:
  const std::string key = "Software\\Vortalis\\QrxRegTest";
};

TEST_F(RegRoutines, WriteReadExistsAndDelete) {
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, key));
  ASSERT_TRUE(RegWriteLogged(HKEY_LOCAL_MACHINE, key + "\\Sub", "Name", false, "data 1", log));
  ASSERT_TRUE(RegWriteLogged(HKEY_LOCAL_MACHINE, key, "", true, "default", log));
  struct Ask {
    const char* Key;
    RegValueName Name;
    bool Exists;
    const char* Read;  // nullptr: the read fails
  };
  const Ask asks[] = {
      {"", std::nullopt, true, "default"},
      {"", "", true, "default"},
      {"\\Sub", std::nullopt, true, nullptr},  // the sub key has no default value
      {"\\Sub", "Name", true, "data 1"},
      {"\\Sub", "NAME", true, "data 1"},
      {"\\Sub", "Other", false, nullptr},
      {"\\Gone", std::nullopt, false, nullptr},
      {"\\Gone", "Name", false, nullptr},
  };
  for (const Ask& a : asks) {
    const std::string k = key + a.Key;
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, k, a.Name), a.Exists) << k << " " << a.Name.value_or("<none>");
    std::string data = "stale";
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, k, a.Name, data), a.Read != nullptr) << k;
    EXPECT_EQ(data, a.Read ? a.Read : "") << k;
  }
  // Keys as INI files give them, with backslashes around.
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "\\" + key + "\\Sub\\", "Name"));

  EXPECT_TRUE(RegDeleteEntry(HKEY_LOCAL_MACHINE, key + "\\Sub", "Name"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, key + "\\Sub", "Name"));
  EXPECT_FALSE(RegDeleteEntry(HKEY_LOCAL_MACHINE, key + "\\Sub", "Name")) << "already gone";
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, key + "\\Sub"));
  // The whole key goes with its sub keys.
  EXPECT_TRUE(RegDeleteEntry(HKEY_LOCAL_MACHINE, key));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_FALSE(RegDeleteEntry(HKEY_LOCAL_MACHINE, key));
  EXPECT_FALSE(RegDeleteEntry(HKEY_LOCAL_MACHINE, "\\")) << "never the root itself";

  EXPECT_EQ(test::ReadFileBytes(log.Path()),
            "RegDB Key: Software\\Vortalis\\QrxRegTest\\Sub\r\nRegDB Val: data 1\r\nRegDB Name: Name\r\nRegDB Root: 2\r\n"
            "RegDB TREE: Software\\Vortalis\\QrxRegTest\r\nRegDB Root: 2\r\n");
}

TEST_F(RegRoutines, FailuresAreFalseAndUnlogged) {
  // A value that is not a string reads as an error, with empty data.
  {
    UniqueHKey k;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
              ERROR_SUCCESS);
    DWORD n = 7;
    ::RegSetValueExA(k.get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
  }
  std::string data = "stale";
  EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, key, "Number", data));
  EXPECT_EQ(data, "");
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, key, "Number"));
  // A root that is no key at all.
  HKEY bogus = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7654320));
  EXPECT_FALSE(RegWriteLogged(bogus, key, "V", true, "x", log));
  EXPECT_FALSE(RegKeyExists(bogus, key));
  EXPECT_FALSE(RegDeleteEntry(bogus, key, "V"));
  EXPECT_EQ(test::ReadFileBytes(log.Path()), "");
}

}  // namespace
}  // namespace qrx
