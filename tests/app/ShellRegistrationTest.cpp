// The application path and Explorer's folder entry, written into HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT turned to scratch keys, with a real INSTALL.LOG beside them.
#include "app/ShellRegistration.h"
#include "shared/RegistryScratch.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

using test::RegistryScratch;

const char* const kAppKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\App Paths\\quarrix.exe";
const char* const kCommandKey = "Folder\\shell\\Quarrix\\command";

using ShellRegistration = test::RegistryTest;

TEST_F(ShellRegistration, AppPathFollowsTheProgramWhereverItRuns) {
  TShellRegistration("C:\\Old Place\\quarrix.exe", log).RegisterAppPath();
  TShellRegistration("D:\\Tools\\Quarrix 3\\quarrix.exe", log).RegisterAppPath();
  EXPECT_EQ(RegistryScratch::Read(HKEY_LOCAL_MACHINE, kAppKey, nullptr), "D:\\Tools\\Quarrix 3\\quarrix.exe");
  EXPECT_EQ(RegistryScratch::Read(HKEY_LOCAL_MACHINE, kAppKey, "Path"), "D:\\Tools\\Quarrix 3\\");
  // One tree record of the key, one value record of the first directory written.
  EXPECT_EQ(test::ReadFileBytes(log.Path()), std::string("RegDB TREE: ") + kAppKey + "\r\nRegDB Root: 2\r\nRegDB Key: " + kAppKey +
                           "\r\nRegDB Val: C:\\Old Place\\\r\nRegDB Name: Path\r\nRegDB Root: 2\r\n");
}

TEST_F(ShellRegistration, WithoutExplorerNothingIsWritten) {
  TShellRegistration shell("C:\\Q\\quarrix.exe", log);
  EXPECT_FALSE(shell.ExplorerPresent());
  EXPECT_FALSE(shell.InstallFolderEntry());
  EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix"));
  EXPECT_FALSE(shell.FolderEntryInstalled());
  // An entry from a system that had Explorer stays: without it nothing is removed either.
  RegistryScratch::Create(HKEY_CLASSES_ROOT, kCommandKey);
  EXPECT_FALSE(shell.RemoveFolderEntry());
  EXPECT_TRUE(shell.FolderEntryInstalled());
  EXPECT_EQ(test::ReadFileBytes(log.Path()), "");
}

TEST_F(ShellRegistration, FolderEntryInstalledOnceQuotedAndRemoved) {
  scratch.AddExplorer();
  TShellRegistration shell("C:\\Program Files\\Quarrix\\quarrix.exe", log);
  EXPECT_TRUE(shell.ExplorerPresent());
  EXPECT_FALSE(shell.FolderEntryInstalled());
  ASSERT_TRUE(shell.InstallFolderEntry());
  ASSERT_TRUE(shell.InstallFolderEntry());
  EXPECT_TRUE(shell.FolderEntryInstalled());
  EXPECT_EQ(RegistryScratch::Read(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix", nullptr), "");
  // Quoted: a path with blanks must not let Windows try "C:\Program.exe" first.
  EXPECT_EQ(RegistryScratch::Read(HKEY_CLASSES_ROOT, kCommandKey, nullptr),
            "\"C:\\Program Files\\Quarrix\\quarrix.exe\" /DIR=\"%1\"");
  EXPECT_EQ(test::ReadFileBytes(log.Path()), std::string("RegDB TREE: Folder\\shell\\Quarrix\r\nRegDB Root: 0\r\nRegDB Key: ") + kCommandKey +
                           "\r\nRegDB Val: \"C:\\Program Files\\Quarrix\\quarrix.exe\" /DIR=\"%1\"\r\nRegDB Name: "
                           "\r\nRegDB Root: 0\r\n");

  EXPECT_TRUE(shell.RemoveFolderEntry());
  EXPECT_FALSE(shell.FolderEntryInstalled());
  EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix"));
  EXPECT_TRUE(RegKeyExists(HKEY_CLASSES_ROOT, "Folder\\shell")) << "only our verb goes";
}

TEST_F(ShellRegistration, AnOlderUnquotedEntryCountsAsInstalled) {
  scratch.AddExplorer();
  ASSERT_TRUE(RegWriteLogged(HKEY_CLASSES_ROOT, kCommandKey, "", false, "C:\\Q\\quarrix.exe /DIR=\"%1\"", log));
  TShellRegistration shell("C:\\Q\\quarrix.exe", log);
  EXPECT_TRUE(shell.FolderEntryInstalled());
}

}  // namespace
}  // namespace qrx
