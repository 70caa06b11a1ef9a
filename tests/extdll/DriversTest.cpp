// The drivers of the extension DLL, linked in: EDITORS.INI reading, the commands they
// would type, and their failures with the boxes they show.
#include "extdll/DllContext.h"
#include "extdll/Drivers.h"
#include "common/TempDir.h"
#include "winlib/UiRecorder.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

class Drivers : public ::testing::Test {
 protected:
  void SetUp() override { Dll().IniPath = dir.Path() + "\\EDITORS.INI"; }
  void TearDown() override { Dll().IniPath.clear(); }
  void Ini(const std::string& body) { dir.Write("EDITORS.INI", "[Editors]\r\n" + body); }
  test::TempDir dir;
  test::UiRecorder ui;
};

TEST_F(Drivers, LoadReadsTheEntryAndKeepsOldTextsWhenTheFileIsGone) {
  TIDE ide("Custom_");
  EXPECT_EQ(ide.GetDescription(), nullptr) << "nothing before the first load";
  EXPECT_FALSE(ide.Load());
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "Could not find Editor/IDE initialization file : " + Dll().IniPath);
  EXPECT_EQ(ui.Boxes[0].Caption, "Error");
  EXPECT_EQ(ui.Beeps, 1);

  Ini("Custom_AppClass=Notepad\r\nCustom_Open=^o#FileName#~\r\n");
  EXPECT_TRUE(ide.Load());
  EXPECT_STREQ(ide.GetDescription(), "Unknown Editor/IDE");
  EXPECT_STREQ(ide.GetAppClass(), "Notepad");
  EXPECT_STREQ(ide.GetAppText(), "");
  ::DeleteFileA(Dll().IniPath.c_str());
  EXPECT_FALSE(ide.Load());
  EXPECT_STREQ(ide.GetAppClass(), "Notepad");
}

TEST_F(Drivers, CommandsFromTheTemplates) {
  const std::string file = dir.Write("A Long File Name.pas", "x");
  char shortName[MAX_PATH] = {};
  ::GetShortPathNameA(file.c_str(), shortName, MAX_PATH);
  struct Case {
    const char* Open;
    const char* Goto;
    bool LongNames;
    std::string OpenCommand, GotoCommand;
  };
  const Case cases[] = {
      {"^o#filename#~", "^g#LINENUM#~", false, "^o\"" + std::string(shortName) + "\"~", "^g12~"},
      {"{F3}#FILENAME#{ENTER}", "#linenum#", true, "{F3}\"" + file + "\"{ENTER}", "12"},
      {"^o", "^g", false, "", ""},
  };
  for (const Case& c : cases) {
    Ini(std::string("Custom_Open=") + c.Open + "\r\nCustom_Goto=" + c.Goto + "\r\nCustom_OpenWithLFN=" +
        (c.LongNames ? "1" : "0") + "\r\n");
    TIDE ide("Custom_");
    ASSERT_TRUE(ide.Load());
    EXPECT_EQ(ide.OpenCommand(file), c.OpenCommand) << c.Open;
    EXPECT_EQ(ide.GotoCommand(12), c.GotoCommand) << c.Goto;
  }
}

TEST_F(Drivers, WhatSucceedsWithoutTypingAndWhatFails) {
  Ini("Custom_Open=^o\r\nCustom_Goto=^g\r\n");
  TIDE ide("Custom_");
  ASSERT_TRUE(ide.Load());
  EXPECT_TRUE(ide.OpenFile("C:\\x.pas")) << "no placeholder: nothing to open";
  EXPECT_TRUE(ide.OpenFile(nullptr));
  EXPECT_TRUE(ide.GotoLine(0));
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_FALSE(ide.GotoLine(3)) << "no placeholder: an empty command";
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "Error going to line number.");
  EXPECT_FALSE(ide.SyncIDE("C:\\x.pas", 3, 1, 2));
}

TEST_F(Drivers, AddinDriverWithoutItsWindowSaysSoAndGoesOn) {
  Ini("Delphi_2X_Desc=Delphi 2.0\r\nDelphi_2X_Util_AppClass=QrxNoSuchAddin\r\nDelphi_2X_Util_AppText=None\r\n");
  TDelphi2IDE ide("Delphi_2X_");
  ASSERT_TRUE(ide.Load());
  EXPECT_FALSE(ide.IsIDEReady());
  EXPECT_TRUE(ide.SyncIDE("C:\\x.pas", 1, 1, 1));
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text,
            "The Quarrix extension for Delphi 2.0 has not been installed.\rInstall the extension and try again.");
}

TEST_F(Drivers, MakersEditorNotInstalledAsksToStartIt) {
  Ini("Zephyx_Desc=Vortalis Editor\r\nZephyx_AppClass=QrxNoSuchEditor\r\n");
  TZephyxIDE ide("Zephyx_");
  ASSERT_TRUE(ide.Load());
  EXPECT_FALSE(ide.ActivateWindow(nullptr));
  EXPECT_FALSE(ide.SyncIDE("C:\\x.pas", 1, 1, 1));
  ASSERT_EQ(ui.Boxes.size(), 2u);
  EXPECT_EQ(ui.Boxes[0].Text, "Start The Vortalis Editor and try again.");
  EXPECT_EQ(ui.Boxes[0].Caption, "Quarrix");
  EXPECT_EQ(ui.Boxes[1].Text, "Error opening file in Vortalis Editor.\rCould not find window during call to OpenFile.");
  EXPECT_EQ(ui.Beeps, 1) << "only the error box beeps";
}

TEST_F(Drivers, TheDriverListAndTheirActivationStyles) {
  Ini("");
  const int styles[kDriverCount] = {0, 0, 1, 0, 2, 2, 0, 0, 1, 3, 0, 1, 2, 0, 2, 2, 3, 3};
  for (int i = 0; i < kDriverCount; ++i) {
    auto ide = CreateDriver(i);
    ASSERT_TRUE(ide) << i;
    EXPECT_EQ(ide->GetIDEType(), styles[i]) << ide->Prefix();
    EXPECT_EQ(ide->StartsItself(), i == 1) << ide->Prefix();
    EXPECT_EQ(ide->CanInstall(), false) << ide->Prefix();
  }
  EXPECT_FALSE(CreateDriver(-1));
  EXPECT_FALSE(CreateDriver(kDriverCount));
}

}  // namespace
}  // namespace qrx
