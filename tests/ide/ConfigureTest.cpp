// The properties dialog: its number fields and fonts without a window, then the dialog
// under Xvfb: what it loads, what OK and Apply hand over, what Cancel keeps, refused
// values, help per page and the Explorer entry.
#include "common/TempDir.h"
#include "ide/Grepcfg.h"
#include "ide/GrepcfgValues.h"
#include "winlib/Application.h"
#include "winlib/ModalDriver.h"
#include "winlib/UiRecorder.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace qrx {
namespace {

using test::TempDir;

TEST(ConfigureFields, AcceptOnlyWholeNumbersWithinTheirRange) {
  const struct {
    const TNumberField* field;
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {&kMaxFindsField, "1", 1},          {&kMaxFindsField, "15000", 15000}, {&kMaxFindsField, "15001", std::nullopt},
      {&kMaxFindsField, "0", std::nullopt}, {&kMaxFindsField, "", std::nullopt}, {&kMaxFindsField, "12a", std::nullopt},
      {&kMaxFindsField, "-5", std::nullopt}, {&kMaxFindsField, " 50 ", 50},
      {&kMaxFindsField, "99999999999999", std::nullopt},
      {&kPreviewLinesField, "1000", 1000}, {&kPreviewLinesField, "1001", std::nullopt},
      {&kMaxHistoryField, "0", 0},        {&kMaxHistoryField, "31", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseField(*c.field, c.text), c.value) << c.field->Label << " '" << c.text << "'";
}

TEST(ConfigureFields, TheMessageNamesTheFieldAndItsRange) {
  EXPECT_EQ(FieldMessage(kMaxFindsField, "20000"),
            "'20000' is not a valid value for Max. Matches Allowed. Enter a whole number from 1 to 15,000.");
  EXPECT_EQ(FieldMessage(kMaxHistoryField, "x"),
            "'x' is not a valid value for Max History Items Stored. Enter a whole number from 0 to 30.");
}

TEST(ConfigureFields, FontsSurviveTheFontDialogsForm) {
  for (int style = 0; style < 16; ++style) {
    const TFontSetting font{"Courier New", -13, style};
    const TFontSetting back = FromLogFont(ToLogFont(font));
    EXPECT_EQ(back.Name, font.Name);
    EXPECT_EQ(back.Height, font.Height);
    EXPECT_EQ(back.Style, font.Style);
  }
}

class Configure : public ::testing::Test {
 protected:
  Configure() {
    settings.MaxFinds = 250;
    settings.NumPreviewLines = 40;
    settings.MaxHistory = 12;
    settings.Preview = true;
    settings.ShowMainMenu = false;
    settings.StayOnTop = false;
    settings.ShowHints = true;
    settings.AllowMultInstances = true;
    settings.TreeBackColor = 0x00FFFF;  // yellow
    settings.PrevMatchTextColor = SysColor(COLOR_HIGHLIGHT);
    settings.TreeFont = {"Arial", -12, 1};
    host.Apply = [this](const TQrxSettings& s) { applied.push_back(s); };
    host.ApplyStayOnTop = [this](bool on) { stayOnTop = on; };
    host.ExplorerManageable = [this] { return explorerManageable; };
    host.ExplorerEntryPresent = [this] { return explorerEntry; };
    host.SetExplorerEntry = [this](bool on) { explorerEntry = on; };
    host.ShowHelp = [this](const std::string& topic) { topics.push_back(topic); };
    host.EditorsIni = dir / "EDITORS.INI";
    host.ReloadAll = [this] { ++reloads; };
  }
  std::string IniValue(const char* key) {
    char buf[256] = {};
    ::GetPrivateProfileStringA("Editors", key, "<missing>", buf, sizeof buf, host.EditorsIni.c_str());
    return buf;
  }

  TQrxSettings settings;
  TConfigureHost host;
  std::vector<TQrxSettings> applied;
  std::optional<bool> stayOnTop;
  bool explorerManageable = true, explorerEntry = false;
  std::vector<std::string> topics;
  int reloads = 0;
  TempDir dir;
  test::UiRecorder ui;
};

// A dialog on screen without its modal loop, so that its buttons can be pressed.
struct ShownDialog : TdlgConfigure {
  ShownDialog(const TQrxSettings& s, const TConfigureHost& h) : TdlgConfigure(nullptr, s, h) {
    ::ShowWindow(Handle(), SW_SHOWNA);
  }
};

TEST_F(Configure, ShowsTheCurrentSettingsOnItsPages) {
  TdlgConfigure dlg(nullptr, settings, host);
  EXPECT_EQ(dlg.Text(), "Quarrix Properties");
  EXPECT_EQ(dlg.ClientRect().right, 389);
  EXPECT_EQ(dlg.ClientRect().bottom, 371);
  EXPECT_EQ(dlg.edtMaxFinds.Text(), "250");
  EXPECT_EQ(dlg.edtNumPreviewLines.Text(), "40");
  EXPECT_EQ(dlg.edtMaxHistory.Text(), "12");
  EXPECT_TRUE(dlg.chkPreview.Checked());
  EXPECT_FALSE(dlg.chkShowMainMenu.Checked());
  EXPECT_TRUE(dlg.chkAllowMultipleInst.Checked());
  EXPECT_TRUE(dlg.chkAddToExplorer.Enabled());
  EXPECT_FALSE(dlg.chkAddToExplorer.Checked());
  EXPECT_EQ(dlg.cbxTreeBackColor.SelectedColor(), 0x00FFFF);
  EXPECT_EQ(dlg.cbxTreeBackColor.ItemIndex(), 11) << "Yellow";
  EXPECT_EQ(dlg.cbxQPMatchTextColor.SelectedColor(), SysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(dlg.lblFonts[TdlgConfigure::fkTree].Text(), "Arial");
  EXPECT_EQ(dlg.lblFonts[TdlgConfigure::fkPreview].Text(), "Courier New");
  EXPECT_EQ(dlg.PageIndex(), 0);
  EXPECT_TRUE(dlg.pages[0].Visible());
  EXPECT_FALSE(dlg.pages[TdlgConfigure::pgOptions].Visible());
  dlg.SetPageIndex(TdlgConfigure::pgColors);
  EXPECT_TRUE(dlg.pages[TdlgConfigure::pgColors].Visible());
  EXPECT_FALSE(dlg.pages[0].Visible());
}

TEST_F(Configure, ApplyHandsOverEveryPagesValues) {
  ShownDialog dlg(settings, host);
  dlg.edtMaxFinds.SetText("15000");
  dlg.edtNumPreviewLines.SetText("1");
  dlg.edtMaxHistory.SetText("0");
  dlg.chkPreview.SetChecked(false);
  dlg.chkShowMainMenu.SetChecked(true);
  dlg.chkStayOnTop.SetChecked(true);
  dlg.chkShowHints.SetChecked(false);
  dlg.chkAllowMultipleInst.SetChecked(false);
  dlg.chkAddToExplorer.SetChecked(true);
  dlg.cbxQPLineNumColor.SetSelectedColor(0x0000FF);
  dlg.SetChosenFont(TdlgConfigure::fkPrinter, {"Times New Roman", -15, 2});
  dlg.btnApply.Click();
  ASSERT_EQ(applied.size(), 1u);
  const TQrxSettings& s = applied[0];
  EXPECT_EQ(s.MaxFinds, 15000);
  EXPECT_EQ(s.NumPreviewLines, 1);
  EXPECT_EQ(s.MaxHistory, 0);
  EXPECT_FALSE(s.Preview);
  EXPECT_TRUE(s.ShowMainMenu);
  EXPECT_TRUE(s.StayOnTop);
  EXPECT_FALSE(s.ShowHints);
  EXPECT_FALSE(s.AllowMultInstances);
  EXPECT_EQ(s.PrevLineNumColor, 0x0000FF);
  EXPECT_EQ(s.TreeBackColor, 0x00FFFF);
  EXPECT_EQ(s.PrevMatchTextColor, SysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(s.PrinterFont.Name, "Times New Roman");
  EXPECT_EQ(s.PrinterFont.Style, 2);
  EXPECT_EQ(s.TreeFont.Name, "Arial");
  EXPECT_TRUE(explorerEntry);
  EXPECT_FALSE(stayOnTop.has_value()) << "staying on top waits for the dialog to close";
  EXPECT_TRUE(dlg.Applied());
}

TEST_F(Configure, AValueOutOfRangeIsRefusedAndNothingApplied) {
  ShownDialog dlg(settings, host);
  dlg.SetPageIndex(TdlgConfigure::pgFonts);
  dlg.chkPreview.SetChecked(false);
  dlg.edtMaxHistory.SetText("31");
  dlg.btnOK.Click();
  EXPECT_TRUE(applied.empty());
  EXPECT_FALSE(dlg.Applied());
  EXPECT_EQ(dlg.ModalResult, 0) << "the dialog stays open";
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text,
            "'31' is not a valid value for Max History Items Stored. Enter a whole number from 0 to 30.");
  EXPECT_EQ(dlg.PageIndex(), TdlgConfigure::pgOptions);
  dlg.edtMaxHistory.SetText("30");
  dlg.btnOK.Click();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].MaxHistory, 30);
  EXPECT_EQ(dlg.ModalResult, IDOK);
}

TEST_F(Configure, CancelAfterApplyKeepsWhatApplySetAndStayOnTopFollowsTheClose) {
  TdlgConfigure dlg(nullptr, settings, host);
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [](TdlgConfigure& d) {
        d.edtMaxFinds.SetText("77");
        d.chkStayOnTop.SetChecked(true);
        d.btnApply.Click();
        d.edtMaxFinds.SetText("88");
        d.chkStayOnTop.SetChecked(false);
        d.btnCancel.Click();
      },
      [&] { EXPECT_EQ(dlg.Execute(), IDCANCEL); });
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].MaxFinds, 77);
  EXPECT_EQ(stayOnTop, std::optional<bool>(true));
}

TEST_F(Configure, CancelAloneAppliesNothing) {
  TdlgConfigure dlg(nullptr, settings, host);
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [](TdlgConfigure& d) {
        d.edtMaxFinds.SetText("77");
        d.btnCancel.Click();
      },
      [&] { dlg.Execute(); });
  EXPECT_TRUE(applied.empty());
  EXPECT_FALSE(stayOnTop.has_value());
}

// The font a window draws with.
HFONT FontOf(const TWindow& w) { return reinterpret_cast<HFONT>(::SendMessageA(w.Handle(), WM_GETFONT, 0, 0)); }

TEST_F(Configure, EditFieldsTakeTheMainWindowsEditFontAsShownAndAfterEachApply) {
  UniqueGdi<HFONT> first(::CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  UniqueGdi<HFONT> second(::CreateFontA(-9, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  HFONT current = first.get();
  host.EditFont = [&current] { return current; };
  // The main window makes a new font of the applied setting.
  host.Apply = [&](const TQrxSettings&) { current = second.get(); };
  TdlgConfigure dlg(nullptr, settings, host);
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [&](TdlgConfigure& d) {
        for (TWindow* field : d.EditFields()) EXPECT_EQ(FontOf(*field), first.get());
        EXPECT_NE(FontOf(d.lblMaxFinds), first.get()) << "labels keep the dialog's font";
        EXPECT_NE(FontOf(d.chkPreview), first.get());
        d.btnApply.Click();
        for (TWindow* field : d.EditFields()) EXPECT_EQ(FontOf(*field), second.get()) << "the old font is gone";
        d.btnCancel.Click();
      },
      [&] { dlg.Execute(); });
}

TEST_F(Configure, TheKeyboardStartsAtTheEditorListOrThePathField) {
  const struct {
    int32_t type;
    const char* expected;
  } cases[] = {{etIde, "editor list"}, {etExternal, "path field"}};
  for (const auto& c : cases) {
    settings.EditorType = c.type;
    TdlgConfigure dlg(nullptr, settings, host);
    bool focused = false;
    test::ModalDriver<TdlgConfigure>::Run(
        "TdlgConfigure",
        [&](TdlgConfigure& d) {
          focused = (c.type == etIde ? static_cast<TWindow&>(d.lbxEditors) : d.edtOtherEditor).Focused();
          d.btnCancel.Click();
        },
        [&] { dlg.Execute(); });
    EXPECT_TRUE(focused) << c.expected;
  }
}

// Tab pressed (with Ctrl, with Shift), through the application's loop.
void PressTab(bool ctrl, bool shift = false) {
  BYTE keys[256] = {}, saved[256] = {};
  ::GetKeyboardState(saved);
  std::copy(std::begin(saved), std::end(saved), keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(keys);
  MSG m{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  Application().HandleMessage(m);
  ::SetKeyboardState(saved);
}

TEST_F(Configure, TurningThePageTakesTheKeyboardAlongUnlessItIsOnTheTabs) {
  TdlgConfigure dlg(nullptr, settings, host);
  test::ModalDriver<TdlgConfigure>::Run(
      "TdlgConfigure",
      [&](TdlgConfigure& d) {
        ASSERT_TRUE(d.lbxEditors.Focused());
        const struct {
          bool back;
          int page;
          TWindow* focus;
        } turns[] = {
            {false, TdlgConfigure::pgCustomIde, &d.edtCustomClass}, {false, TdlgConfigure::pgOptions, &d.edtMaxFinds},
            {false, TdlgConfigure::pgColors, &d.cbxTreeBackColor},  {false, TdlgConfigure::pgFonts, &d.btnChangeFont[0]},
            {false, TdlgConfigure::pgEditor, &d.lbxEditors},        {true, TdlgConfigure::pgFonts, &d.btnChangeFont[0]},
        };
        for (const auto& t : turns) {
          PressTab(true, t.back);
          EXPECT_EQ(d.PageIndex(), t.page);
          EXPECT_TRUE(t.focus->Focused()) << "page " << t.page;
        }
        // On the tabs themselves the arrow keys turn the pages and the keyboard stays.
        d.nbkConfigure.SetFocus();
        ::SendMessageA(d.nbkConfigure.Handle(), WM_KEYDOWN, VK_LEFT, 0);
        EXPECT_EQ(d.PageIndex(), TdlgConfigure::pgColors);
        EXPECT_EQ(::GetFocus(), d.nbkConfigure.Handle()) << "the pages lie inside the tabs: only the tabs count";
        PressTab(false);
        EXPECT_TRUE(d.cbxTreeBackColor.Focused()) << "Tab on the tabs goes into the page";
        d.btnCancel.Click();
      },
      [&] { dlg.Execute(); });
}

TEST_F(Configure, HelpOpensTheTopicOfThePageShown) {
  ShownDialog dlg(settings, host);
  for (int page : {TdlgConfigure::pgFonts, TdlgConfigure::pgOptions, TdlgConfigure::pgColors}) {
    dlg.SetPageIndex(page);
    dlg.btnHelp.Click();
  }
  dlg.SetPageIndex(TdlgConfigure::pgCustomIde);
  dlg.btnHelp.Click();
  EXPECT_EQ(topics, (std::vector<std::string>{"Properties_Fonts", "Properties_Options", "Properties_Colors",
                                              "Properties_Custom_IDE"}));
}

TEST_F(Configure, TheExplorerEntryIsLeftAloneWhereItCannotBeManaged) {
  explorerManageable = false;
  explorerEntry = true;
  ShownDialog dlg(settings, host);
  EXPECT_FALSE(dlg.chkAddToExplorer.Enabled());
  EXPECT_FALSE(dlg.chkAddToExplorer.Checked());
  dlg.btnApply.Click();
  EXPECT_TRUE(explorerEntry);
}

TEST_F(Configure, AMissingEditorsIniReadsEmptyAndTheFirstApplyCreatesIt) {
  ShownDialog dlg(settings, host);
  EXPECT_EQ(dlg.edtCustomClass.Text(), "");
  EXPECT_EQ(dlg.edtCustomOpen.Text(), "");
  EXPECT_TRUE(dlg.chkCustomUseLFN.Checked());
  dlg.edtCustomClass.SetText("TMyEditor");
  dlg.edtCustomWinText.SetText("My Editor");
  dlg.edtCustomOpen.SetText("^O#FILENAME#{ENTER}");
  dlg.edtCustomGotoLine.SetText("^G#LINENUM#{ENTER}");
  dlg.chkCustomUseLFN.SetChecked(false);
  dlg.btnApply.Click();
  EXPECT_EQ(::GetFileAttributesA(host.EditorsIni.c_str()) != INVALID_FILE_ATTRIBUTES, true);
  EXPECT_EQ(IniValue("Custom_AppClass"), "TMyEditor");
  EXPECT_EQ(IniValue("Custom_AppText"), "My Editor");
  EXPECT_EQ(IniValue("Custom_Open"), "^O#FILENAME#{ENTER}");
  EXPECT_EQ(IniValue("Custom_Goto"), "^G#LINENUM#{ENTER}");
  EXPECT_EQ(IniValue("Custom_OpenWithLFN"), "0");
  EXPECT_EQ(reloads, 1) << "the drivers read the entry at once";
}

TEST_F(Configure, TheCustomEntryIsReadFromEditorsIni) {
  dir.Write("EDITORS.INI",
            "[Editors]\r\nCustom_AppClass=Notepad\r\nCustom_AppText=Untitled\r\nCustom_Open=^o\r\n"
            "Custom_Goto=^g\r\nCustom_OpenWithLFN=0\r\nOther=1\r\n");
  ShownDialog dlg(settings, host);
  EXPECT_EQ(dlg.edtCustomClass.Text(), "Notepad");
  EXPECT_EQ(dlg.edtCustomWinText.Text(), "Untitled");
  EXPECT_EQ(dlg.edtCustomOpen.Text(), "^o");
  EXPECT_EQ(dlg.edtCustomGotoLine.Text(), "^g");
  EXPECT_FALSE(dlg.chkCustomUseLFN.Checked());
  dlg.chkCustomUseLFN.SetChecked(true);
  dlg.btnOK.Click();
  EXPECT_EQ(IniValue("Custom_OpenWithLFN"), "1");
  EXPECT_EQ(IniValue("Other"), "1") << "other keys stay";
}

TEST_F(Configure, AnEditorsIniThatCannotBeWrittenIsReported) {
  host.EditorsIni = dir / "no such folder\\EDITORS.INI";
  ShownDialog dlg(settings, host);
  dlg.SetPageIndex(TdlgConfigure::pgFonts);
  dlg.edtCustomClass.SetText("X");
  dlg.btnOK.Click();
  EXPECT_EQ(dlg.ModalResult, 0);
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "The custom editor entry could not be written to " + host.EditorsIni + ".");
  EXPECT_EQ(dlg.PageIndex(), TdlgConfigure::pgCustomIde);
}

}  // namespace
}  // namespace qrx
