// The install log in a scratch folder: records appended once, never a new file, and
// the duplicate check reading what others (or older versions) left.
#include "shared/InstallLog.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(InstallLog, RecordsAreAppendedOnceInTheirFormat) {
  test::TempDir dir;
  const std::string path = dir.Write("INSTALL.LOG", "Setup log\r\n");
  TInstallLog log(path);
  log.AddTreeEntry(HKEY_LOCAL_MACHINE, "Software\\Borland\\Addins\\Quarx");
  log.AddValueEntry(HKEY_LOCAL_MACHINE, "Software\\Borland\\Addins\\Quarx", "Yes", "Enabled");
  log.AddValueEntry(nullptr, "Software\\Delphi\\Experts", "C:\\Q\\DELPHI2.DLL", "KRESHZ30");
  const std::string once = test::ReadFileBytes(path);
  EXPECT_EQ(once,
            "Setup log\r\n"
            "RegDB TREE: Software\\Borland\\Addins\\Quarx\r\nRegDB Root: 2\r\n"
            "RegDB Key: Software\\Borland\\Addins\\Quarx\r\nRegDB Val: Yes\r\nRegDB Name: Enabled\r\nRegDB Root: 2\r\n"
            "RegDB Key: Software\\Delphi\\Experts\r\nRegDB Val: C:\\Q\\DELPHI2.DLL\r\nRegDB Name: KRESHZ30\r\n"
            "RegDB Root: 1\r\n");
  // The same records again, keys and names in other cases and other data: nothing new.
  log.AddTreeEntry(HKEY_LOCAL_MACHINE, "SOFTWARE\\borland\\addins\\quarx");
  log.AddValueEntry(HKEY_LOCAL_MACHINE, "Software\\Borland\\Addins\\Quarx", "No", "ENABLED");
  log.AddValueEntry(HKEY_CURRENT_USER, "Software\\Delphi\\Experts", "D:\\DELPHI2.DLL", "kreshz30");
  EXPECT_EQ(test::ReadFileBytes(path), once);
}

TEST(InstallLog, WhatMakesARecordNew) {
  struct Case {
    const char* What;
    HKEY Root;
    const char* Key;
    const char* Name;
    bool Tree;
  };
  // Each differs from the one record in the log by one thing.
  const Case cases[] = {
      {"another root", HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix", "", false},
      {"another key", HKEY_CURRENT_USER, "Folder\\shell\\Quarrix2", "", false},
      {"another value name", HKEY_CURRENT_USER, "Folder\\shell\\Quarrix", "Path", false},
      {"a tree record of the key", HKEY_CURRENT_USER, "Folder\\shell\\Quarrix", "", true},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    TInstallLog log(dir.Write("INSTALL.LOG", ""));
    log.AddValueEntry(HKEY_CURRENT_USER, "Folder\\shell\\Quarrix", "x", "");
    const std::string before = test::ReadFileBytes(log.Path());
    if (c.Tree)
      log.AddTreeEntry(c.Root, c.Key);
    else
      log.AddValueEntry(c.Root, c.Key, "x", c.Name);
    EXPECT_GT(test::ReadFileBytes(log.Path()).size(), before.size()) << c.What;
    EXPECT_TRUE(log.FindEntry(c.Root, c.Tree ? kLogTreeTag : kLogKeyTag, c.Key, c.Name)) << c.What;
  }
}

TEST(InstallLog, NeverCreatesTheFile) {
  test::TempDir dir;
  TInstallLog log(dir.Path() + "\\INSTALL.LOG");
  log.AddTreeEntry(HKEY_LOCAL_MACHINE, "Software\\X");
  log.AddValueEntry(HKEY_LOCAL_MACHINE, "Software\\X", "1", "Y");
  EXPECT_FALSE(Exists(log.Path()));
  EXPECT_FALSE(log.FindEntry(HKEY_LOCAL_MACHINE, kLogTreeTag, "Software\\X", ""));
  // A folder of that name is no log either.
  dir.MakeDir("INSTALL.LOG");
  log.AddTreeEntry(HKEY_LOCAL_MACHINE, "Software\\X");
  EXPECT_FALSE(log.FindEntry(HKEY_LOCAL_MACHINE, kLogTreeTag, "Software\\X", ""));
}

TEST(InstallLog, ReadsLogsOthersLeft) {
  test::TempDir dir;
  // LF line ends, a record cut short before a whole one, and no line end at the very end.
  const std::string path = dir.Write("INSTALL.LOG",
                                        "RegDB TREE: Software\\Cut\n"
                                        "RegDB TREE: Software\\Whole\nRegDB Root: 2\n"
                                        "RegDB Key: Software\\V\nRegDB Val: 1\nRegDB Name: N\nRegDB Root: 1");
  TInstallLog log(path);
  EXPECT_TRUE(log.FindEntry(HKEY_LOCAL_MACHINE, kLogTreeTag, "software\\whole", ""));
  EXPECT_FALSE(log.FindEntry(HKEY_LOCAL_MACHINE, kLogTreeTag, "Software\\Cut", ""));
  EXPECT_TRUE(log.FindEntry(nullptr, kLogKeyTag, "Software\\V", "n"));
  EXPECT_FALSE(log.FindEntry(HKEY_LOCAL_MACHINE, kLogKeyTag, "Software\\V", "N"));
  // The last line had no line end: the new record still starts a line of its own.
  log.AddTreeEntry(HKEY_USERS, "Software\\New");
  EXPECT_TRUE(log.FindEntry(HKEY_USERS, kLogTreeTag, "Software\\New", ""));
  const std::string tail = "RegDB Root: 1\r\nRegDB TREE: Software\\New\r\nRegDB Root: 3\r\n";
  const std::string all = test::ReadFileBytes(path);
  ASSERT_GE(all.size(), tail.size());
  EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
}

}  // namespace
}  // namespace qrx
