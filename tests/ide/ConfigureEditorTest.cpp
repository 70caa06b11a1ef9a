// The properties dialog's Editor/IDE page with the real QRXIDE32.DLL and a manager of the
// test's own: the rows, their buttons, disabling, moving and dragging rows, and the other
// editor's fields.
#include "ide/Grepcfg.h"
#include "ide/IDEMgr.h"
#include "shared/RegRoutines.h"
#include "winlib/Clipboard.h"
#include "common/TempDir.h"
#include "winlib/UiRecorder.h"

#include <gtest/gtest.h>

#include <memory>

namespace qrx {
namespace {

class ConfigureEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"QRXIDE32.DLL", "kresh32.dll"})
      ASSERT_TRUE(::CopyFileA(file, (dir.Path() + "\\" + file).c_str(), FALSE)) << file;
    dir.Write("EDITORS.INI", "[Editors]\r\nCustom_Desc=Custom\r\nZephyx_Desc=Maker\r\n");
    TIDEMgrUi ui;
    ui.AskYesNo = [](const std::string&) { return false; };
    ui.Inform = ui.Error = [](const std::string&) {};
    manager = std::make_unique<TIDEMgr>(nullptr, root, dir.Path(), dir.Path() + "\\KRESHTRN.DAT", ui);
    manager->ResetOrder();
    host.Ide = manager.get();
    host.EditorsIni = dir.Path() + "\\EDITORS.INI";
    host.Apply = [this](const TQrxSettings& s) { applied = s; };
    settings.EditorType = 0;
    dlg = std::make_unique<TdlgConfigure>(nullptr, settings, host);
    ::ShowWindow(dlg->Handle(), SW_SHOWNA);
  }
  void TearDown() override {
    dlg.reset();
    manager.reset();
    RegDeleteTree(HKEY_CURRENT_USER, root);
  }
  TPicListBox& list() { return dlg->lbxEditors; }
  std::string RowText(int row) { return list().Items().Get(row); }
  void Select(int row) {
    list().SetItemIndex(row);
    dlg->UpdateButtons();
  }

  test::TempDir dir;
  const std::string root = "Software\\Vortalis\\QrxConfigureTest_" + std::to_string(::GetCurrentProcessId());
  std::unique_ptr<TIDEMgr> manager;
  TConfigureHost host;
  TQrxSettings settings;
  TQrxSettings applied;
  std::unique_ptr<TdlgConfigure> dlg;
  test::UiRecorder ui;
};

TEST_F(ConfigureEditor, RowsFollowTheManagersOrderWithItsFlags) {
  ASSERT_EQ(static_cast<size_t>(list().Items().Count()), manager->Count());
  for (int i = 0; i < list().Items().Count(); ++i) {
    const TGrepIDE& ide = manager->IDE(static_cast<size_t>(i));
    EXPECT_EQ(RowText(i), ide.Description());
    const TPicListItem& item = list().Items().Item(i);
    EXPECT_EQ(item.Enabled(), ide.IsEnabled());
    EXPECT_EQ(item.Bold(), !ide.IsInstalled());
    EXPECT_EQ(item.PictureIndex, item.SelectedPictureIndex);
  }
  EXPECT_EQ(list().ItemIndex(), 0);
  EXPECT_EQ(list().Images() != nullptr, true);
  EXPECT_EQ(list().ItemHeight(), 17);
}

TEST_F(ConfigureEditor, ButtonsFollowTheSelectedRow) {
  const int last = list().Items().Count() - 1;
  for (int row = 0; row <= last; ++row) {
    Select(row);
    const TGrepIDE& ide = *dlg->RowIDE(row);
    EXPECT_EQ(dlg->btnInstall.Enabled(), ide.CanInstall()) << ide.Description();
    EXPECT_EQ(dlg->btnInstall.Text(), ide.IsInstalled() ? "&Uninstall" : "&Install");
    EXPECT_EQ(dlg->btnMoveUp.Enabled(), row > 0);
    EXPECT_EQ(dlg->btnMoveDown.Enabled(), row < last);
    if (ide.DriverIndex() == 0) {
      EXPECT_FALSE(dlg->btnInstall.Enabled()) << "the custom entry has no add-in";
    }
  }
  Select(0);
  EXPECT_EQ(dlg->btnEnable.Text(), "&Disable");
  dlg->btnEnable.Click();
  EXPECT_FALSE(list().Items().Item(0).Enabled());
  EXPECT_EQ(dlg->btnEnable.Text(), "&Enable");
  list().SetItemIndex(-1);
  dlg->UpdateButtons();
  for (TButton* b : {&dlg->btnEnable, &dlg->btnInstall, &dlg->btnMoveUp, &dlg->btnMoveDown}) EXPECT_FALSE(b->Enabled());
}

TEST_F(ConfigureEditor, ADisabledTopIdeGoesAfterTheEnabledOnesOnApply) {
  const std::string top = RowText(0);
  Select(0);
  dlg->btnEnable.Click();
  dlg->btnApply.Click();
  const TGrepIDE* ide = nullptr;
  for (size_t i = 0; i < manager->Count(); ++i)
    if (manager->IDE(i).Description() == top) ide = &manager->IDE(i);
  ASSERT_NE(ide, nullptr);
  EXPECT_EQ(ide->OrderKey, "Z" + top);
  EXPECT_EQ(RowText(list().Items().Count() - 1), top) << "the page was loaded again";
  EXPECT_FALSE(list().Items().Item(list().Items().Count() - 1).Enabled());
  EXPECT_NE(manager->FirstIDE()->Description(), top);
}

TEST_F(ConfigureEditor, ARowDraggedToTheTopIsTriedFirstAfterApply) {
  const int from = 3;
  const std::string dragged = RowText(from);
  const int h = list().ItemHeight();
  const auto at = [&](int row) { return MAKELPARAM(30, row * h + h / 2); };
  ::SendMessageA(list().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(from));
  ::SendMessageA(list().Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(1));
  ::SendMessageA(list().Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(0));
  ::SendMessageA(list().Handle(), WM_LBUTTONUP, 0, at(0));
  EXPECT_EQ(RowText(0), dragged);
  EXPECT_EQ(list().ItemIndex(), 0);
  EXPECT_FALSE(dlg->btnMoveUp.Enabled());
  dlg->btnOK.Click();
  EXPECT_EQ(manager->FirstIDE()->Description(), dragged);
  EXPECT_EQ(manager->FirstIDE()->OrderKey, "000");
}

TEST_F(ConfigureEditor, MoveButtonsMoveTheSelectedRowByOne) {
  const std::string first = RowText(0), second = RowText(1);
  Select(0);
  dlg->btnMoveDown.Click();
  EXPECT_EQ(RowText(1), first);
  EXPECT_EQ(list().ItemIndex(), 1);
  dlg->btnMoveUp.Click();
  EXPECT_EQ(RowText(0), first);
  EXPECT_EQ(RowText(1), second);
}

TEST_F(ConfigureEditor, TheOtherTypeShowsItsFieldsAndHandsThemOver) {
  EXPECT_TRUE(list().Visible());
  EXPECT_FALSE(dlg->grpOtherEditor.Visible());
  dlg->rbOther.Click();
  EXPECT_FALSE(list().Visible());
  for (TWindow* w : std::initializer_list<TWindow*>{&dlg->btnInstall, &dlg->btnEnable, &dlg->btnMoveUp,
                                                    &dlg->btnMoveDown, &dlg->chkEditorAutoSearch})
    EXPECT_FALSE(w->Visible());
  EXPECT_TRUE(dlg->grpOtherEditor.Visible());
  dlg->edtOtherEditor.SetText("C:\\tools\\ed.exe");
  dlg->edtOtherEditorParams.SetText("-n");
  ::SendMessageA(dlg->edtOtherEditorParams.Handle(), EM_SETSEL, 2, 2);
  dlg->btnAddLineNum.Click();
  EXPECT_EQ(dlg->edtOtherEditorParams.Text(), "-n#LINENUM#");
  EXPECT_EQ(GetClipboardText(dlg->Handle()), "#LINENUM#");
  dlg->btnAddFilename.Click();
  EXPECT_EQ(dlg->edtOtherEditorParams.Text(), "-n#LINENUM##FILENAME#");
  dlg->chkOtherEditorUseLFN.SetChecked(false);
  dlg->btnApply.Click();
  EXPECT_EQ(applied.EditorType, 1);
  EXPECT_EQ(applied.EditorPath, "C:\\tools\\ed.exe");
  EXPECT_EQ(applied.EditorParams, "-n#LINENUM##FILENAME#");
  EXPECT_FALSE(applied.EditorUseLFN);
  EXPECT_TRUE(dlg->grpOtherEditor.Visible()) << "reloading keeps the type just applied";
}

}  // namespace
}  // namespace qrx
