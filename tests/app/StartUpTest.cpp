#include "app/Globals.h"
#include "app/Instance.h"
#include "app/StartUp.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

TEST(StartUp, MakesTwoTempFilesAndNamesTheTransferFile) {
  ModuleStartUp("quarrix.exe \"/DIR=C:\\My Files\" foo bar");
  EXPECT_EQ(StartDirectory, "C:\\My Files");
  EXPECT_EQ(StartSearchText, "foo bar");
  EXPECT_EQ(RegistryRoot, kDefaultRegistryRoot);
  ASSERT_FALSE(PreviewFileName.empty());
  ASSERT_FALSE(WorkFileName.empty());
  EXPECT_NE(PreviewFileName, WorkFileName);
  EXPECT_TRUE(FileExists(PreviewFileName));
  EXPECT_TRUE(FileExists(WorkFileName));
  std::string name = WorkFileName.substr(WorkFileName.rfind('\\') + 1);
  EXPECT_EQ(name.substr(0, 3), "QZT");
  EXPECT_EQ(TransferFileName, WorkFileName.substr(0, WorkFileName.rfind('\\') + 1) + "KRESHTRN.DAT");
  EXPECT_NE(CM_QUARXRESTORE, 0);
  EXPECT_NE(CM_QUARXSEARCHTEXT, CM_QUARXSETDIRECTORY);
  EXPECT_EQ(CM_QUARXOPENFILE, static_cast<uint16_t>(::RegisterWindowMessageA("CM_QUARXOPENFILE")));

  std::string transfer = TransferFileName;
  WriteTransfer(transfer, "SEARCHTEXT", "hello world");
  EXPECT_EQ(ReadTransfer(transfer, "SEARCHTEXT", "none"), "hello world");
  EXPECT_EQ(ReadTransfer(transfer, "DIRECTORY", "fallback"), "fallback");

  ModuleShutDown();
  EXPECT_FALSE(FileExists(PreviewFileName));
  EXPECT_FALSE(FileExists(WorkFileName));
  EXPECT_FALSE(FileExists(transfer));
}

TEST(StartUp, ProfileSwitchAndNoArguments) {
  ModuleStartUp("quarrix.exe /KEY=Work hello");
  EXPECT_EQ(RegistryRoot, std::string(kRegistryBase) + "Work");
  EXPECT_EQ(StartSearchText, "hello");
  ModuleShutDown();
  ModuleStartUp("quarrix.exe");
  EXPECT_EQ(RegistryRoot, kDefaultRegistryRoot);
  EXPECT_TRUE(StartSearchText.empty());
  EXPECT_TRUE(StartDirectory.empty());
  ModuleShutDown();
}

}  // namespace
}  // namespace qrx
