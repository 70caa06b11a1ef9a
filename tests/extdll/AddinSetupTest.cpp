// Installing and removing the IDE add-ins in the registry, with their log records.
#include "extdll/AddinSetup.h"
#include "shared/RegRoutines.h"
#include "shared/RegistryScratch.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

using test::RegistryScratch;

TEST(AddinSetup, KeyAbove) {
  struct Case {
    const char* Key;
    int Levels;
    const char* Above;
  };
  const Case cases[] = {
      {"Software\\Borland\\Delphi\\2.0\\Experts", 1, "Software\\Borland\\Delphi\\2.0"},
      {"Software\\Borland\\Delphi\\2.0\\Experts\\", 1, "Software\\Borland\\Delphi\\2.0"},
      {"Software\\Borland\\BC\\5.0\\Addons\\Quarx", 3, "Software\\Borland\\BC"},
      {"A\\B\\C", 3, ""},
      {"Experts", 1, ""},
      {"\\Experts", 1, ""},
      {"", 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyAbove(c.Key, c.Levels), c.Above) << c.Key;
}

class Addins : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch.Active()); }
  void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, delphiRoot); }
  RegistryScratch scratch;
  test::TempDir dir;
  const std::string delphiRoot = "Software\\QrxDelphiTest_" + std::to_string(::GetCurrentProcessId());
};

TEST_F(Addins, BC5InstallsOnceAndUninstallsOnlyWhole) {
  const std::string regKey = "Software\\Borland\\Borland C++\\5.0\\AddOns\\Quarrix";
  TInstallLog log(dir.Write("INSTALL.LOG", ""));
  TBC5Addin addin(regKey, "C:\\Tools\\Quarrix");
  EXPECT_FALSE(addin.CanInstall());
  RegistryScratch::Create(HKEY_LOCAL_MACHINE, "Software\\Borland\\Borland C++");
  EXPECT_TRUE(addin.CanInstall());
  EXPECT_FALSE(addin.IsInstalled());

  ASSERT_TRUE(addin.Install(log));
  ASSERT_TRUE(addin.Install(log));
  EXPECT_TRUE(addin.IsInstalled());
  EXPECT_EQ(RegistryScratch::Read(HKEY_LOCAL_MACHINE, regKey, "Path"), "C:\\Tools\\Quarrix\\QUARXBC5.DLL");
  EXPECT_EQ(RegistryScratch::Read(HKEY_LOCAL_MACHINE, regKey, "Enabled"), "Yes");
  EXPECT_EQ(test::ReadFileBytes(log.Path()), "RegDB TREE: " + regKey + "\r\nRegDB Root: 2\r\nRegDB Key: " + regKey +
                                     "\r\nRegDB Val: Yes\r\nRegDB Name: Enabled\r\nRegDB Root: 2\r\n");

  // With "Enabled" already gone the removal stops there and the key stays.
  ASSERT_TRUE(RegDeleteEntry(HKEY_LOCAL_MACHINE, regKey, "Enabled"));
  EXPECT_FALSE(addin.Uninstall());
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, regKey));
  EXPECT_FALSE(addin.IsInstalled());

  ASSERT_TRUE(addin.Install(log));
  EXPECT_TRUE(addin.Uninstall());
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, regKey));
  EXPECT_TRUE(addin.CanInstall());
}

TEST_F(Addins, Delphi2InstallsWithoutALogAndUninstalls) {
  const std::string regKey = delphiRoot + "\\Delphi\\2.0\\Experts";
  TInstallLog log(dir.Path() + "\\INSTALL.LOG");  // not there
  TDelphi2Addin addin(regKey, "C:\\Tools\\Quarrix\\");
  EXPECT_FALSE(addin.CanInstall());
  RegistryScratch::Create(HKEY_CURRENT_USER, delphiRoot + "\\Delphi\\2.0");
  EXPECT_TRUE(addin.CanInstall());
  EXPECT_FALSE(addin.IsInstalled());

  ASSERT_TRUE(addin.Install(log));
  EXPECT_TRUE(addin.IsInstalled());
  EXPECT_EQ(RegistryScratch::Read(HKEY_CURRENT_USER, regKey, "KRESHZ30"), "C:\\Tools\\Quarrix\\DELPHI2.DLL");
  EXPECT_EQ(::GetFileAttributesA(log.Path().c_str()), INVALID_FILE_ATTRIBUTES) << "no log is created";

  EXPECT_TRUE(addin.Uninstall());
  EXPECT_FALSE(addin.IsInstalled());
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, regKey)) << "only the value goes";
  EXPECT_FALSE(addin.Uninstall());
}

}  // namespace
}  // namespace qrx
