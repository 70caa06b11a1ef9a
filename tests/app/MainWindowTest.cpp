#include "app/MainWindowFixture.h"
#include "app/Win95dlg.h"
#include "engine/FileSearch.h"
#include "winlib/Clipboard.h"

namespace qrx {
namespace {

using MainWindow = test::MainWindowFixture;

TEST_F(MainWindow, StartIsEnabledOnlyWithMaskAndSearchText) {
  TKRESHForm& f = Form();
  const struct {
    int tab;
    const char* mask;
    const char* text;
    bool enabled;
  } cases[] = {
      {0, "*.*", "", false}, {0, "", "x", false}, {0, "*.c", "x", true},
      {2, "", "x", false},   {2, "*.*", "x", true}, {1, "*.*", "", false}, {1, "*.*", "y", true},
  };
  for (const auto& c : cases) {
    f.tabSearch.SetTabIndex(c.tab);
    f.tabSearchChange();
    Type(f.cbxMask, c.mask);
    Type(f.cbxSearchFor, c.text);
    EXPECT_EQ(f.btnStartSearch.Enabled(), c.enabled) << c.tab << " '" << c.mask << "' '" << c.text << "'";
  }
}

TEST_F(MainWindow, InvalidDirectoryStopsTheSearchWithAnInformationBox) {
  TKRESHForm& f = Form();
  Type(f.cbxMask, "*.*");
  Type(f.cbxSearchFor, "x");
  std::string missing = tmp.Path() + "\\no such dir";
  f.cbxDirectory.SetText(missing);
  f.btnStartSearchClick();
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "Invalid directory entered.");
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Information);
  EXPECT_EQ(ui.Beeps, 0);
  EXPECT_EQ(f.treResults.ItemCount(), 0);
  EXPECT_TRUE(f.cbxDirectory.Focused());
  EXPECT_EQ(f.cbxDirectory.Text(), missing) << "the wrong text stays for correction";
}

TEST_F(MainWindow, InsertButtonsGoThroughTheClipboard) {
  TKRESHForm& f = Form();
  f.rbnExprRegExp.SetChecked(true);
  f.CommonExprRbnClick(ekRegExp);
  SetClipboardText(f.Handle(), "old contents");
  Type(f.cbxSearchFor, "");
  Click(f.btnRegExp[8]);
  EXPECT_EQ(f.cbxSearchFor.Text(), "[-]");
  EXPECT_EQ(GetClipboardText(f.Handle()), "[-]");
  // The insert replaces the box's selection.
  f.cbxSearchFor.SetText("abc");
  f.cbxSearchFor.SetFocus();
  ::SendMessageA(f.cbxSearchFor.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(1, 2));
  Click(f.btnRegExp[0]);
  EXPECT_EQ(f.cbxSearchFor.Text(), "a^c");
  f.CommonExprRbnClick(ekDos);
  f.cbxSearchFor.SetText("");
  Click(f.btnDOS[1]);
  EXPECT_EQ(f.cbxSearchFor.Text(), "?");
}

TEST_F(MainWindow, ExpressionTypeDecidesWholeWordsAndTheInsertButtons) {
  TKRESHForm& f = Form();
  f.tabSearch.SetTabIndex(0);
  f.tabSearchChange();
  f.chkWholeWords.SetChecked(true);
  const struct {
    TRadioButton* button;
    bool wholeWordsEnabled, regExpShown, dosShown;
    uint8_t exprKind;
    bool bit;
  } cases[] = {
      {&f.rbnExprNone, true, false, false, 0, true},
      {&f.rbnExprRegExp, false, true, false, 1, false},
      {&f.rbnExprDOS, false, false, true, 2, false},
  };
  for (const auto& c : cases) {
    Click(*c.button);
    EXPECT_EQ(f.chkWholeWords.Enabled(), c.wholeWordsEnabled);
    EXPECT_EQ(f.btnRegExp[0].Visible(), c.regExpShown);
    EXPECT_EQ(f.btnDOS[0].Visible(), c.dosShown);
    EXPECT_EQ(f.chkLineStart.Visible(), c.exprKind == 0);
    TFileSearchObj search(f.treResults);
    f.FillRequest(search);
    EXPECT_EQ(search.ExprKind, c.exprKind);
    EXPECT_EQ((search.Options & optWholeWords) != 0, c.bit) << int(c.exprKind);
  }
}

TEST_F(MainWindow, ReplaceRequestCarriesNoDisplayBits) {
  TKRESHForm& f = Form();
  for (TCheckBox* c : {&f.chkShowNumbers, &f.chkShowFilenames, &f.chkShowFilePath, &f.chkFileMatchCount})
    c->SetChecked(true);
  f.rbnExprRegExp.SetChecked(true);
  f.tabSearch.SetTabIndex(1);
  f.tabSearchChange();
  f.chkRplSubDirs.SetChecked(true);
  f.chkRplWholeWords.SetChecked(true);
  Type(f.cbxRplReplaceWith, "new");
  const struct {
    bool backup, overwrite;
    uint8_t mode;
  } cases[] = {{false, true, 0}, {true, true, 2}, {true, false, 1}};
  for (const auto& c : cases) {
    f.chkRplBackup.SetChecked(c.backup);
    f.chkRplBackupOvr.SetChecked(c.overwrite);
    TFileSearchObj search(f.treResults);
    f.FillRequest(search);
    EXPECT_EQ(search.SearchKind, 1);
    EXPECT_EQ(search.ExprKind, 0) << "replace always takes the text literally";
    EXPECT_EQ(search.Options, optSubDirs | optWholeWords);
    EXPECT_EQ(search.ReplaceText, "new");
    EXPECT_EQ(search.BackupMode, c.mode);
  }
  EXPECT_EQ(::GetParent(f.cbxSearchFor.Handle()), f.pnlRplExpression.Handle());
  EXPECT_EQ(f.cbxSearchFor.Left(), f.cbxRplReplaceWith.Left());
  EXPECT_EQ(f.cbxSearchFor.Width(), f.cbxRplReplaceWith.Width());
}

TEST_F(MainWindow, SearchResultsAndTheirMessages) {
  tmp.Write("one.txt", "alpha beta\r\ngamma\r\n");
  tmp.Write("two.txt", "beta again\r\n");
  TKRESHForm& f = Form();
  f.tabSearch.SetTabIndex(0);
  f.tabSearchChange();
  Type(f.cbxMask, "*.txt");
  f.cbxDirectory.SetText(tmp.Path());

  // Found: rows appear, the first match line is selected, the panels count.
  Click(f.rbnExprNone);
  Type(f.cbxSearchFor, "beta");
  f.btnStartSearchClick();
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_GE(f.treResults.RowCount(), 3);
  EXPECT_EQ(f.treResults.Row(), 2);
  EXPECT_EQ(f.pnlNumMatches.Text(), " Found : 2");
  EXPECT_EQ(f.pnlNumFiles.Text(), " # Files : 2");
  EXPECT_TRUE(f.btnStartSearch.Visible());
  EXPECT_FALSE(f.btnStop.Visible());
  EXPECT_EQ(f.cbxDirectory.Items().front(), f.cbxDirectory.Text()) << "the directory joined its history";

  // Nothing found: information, no beep.
  Type(f.cbxSearchFor, "zzz");
  f.btnStartSearchClick();
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "No matches found.");
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Information);
  EXPECT_EQ(ui.Beeps, 0);

  // A bad expression: error with a beep, focus to the search-for box.
  ui.Clear();
  Click(f.rbnExprRegExp);
  Type(f.cbxSearchFor, "a[");
  f.btnStartSearchClick();
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "Bad regular expression.");
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
  EXPECT_EQ(ui.Beeps, 1);
  EXPECT_TRUE(f.cbxSearchFor.Focused());
}

TEST_F(MainWindow, EscPressesStopDuringARun) {
  for (int i = 0; i < 30; ++i) tmp.Write("f" + std::to_string(i) + ".txt", "needle\r\n");
  TKRESHForm& f = Form();
  Type(f.cbxMask, "*.txt");
  Click(f.rbnExprNone);
  Type(f.cbxSearchFor, "needle");
  f.cbxDirectory.SetText(tmp.Path());
  bool stopSeenRunning = false;
  auto stop = f.btnStop.OnClick;
  f.btnStop.OnClick = [&] {
    stopSeenRunning = f.Running() && f.btnStop.Showing() && !f.btnStartSearch.Visible();
    stop();
  };
  // Nothing handles messages before the engine's first progress report, so the key
  // arrives while the run is under way, as a user's key would.
  ::PostMessageA(::GetWindow(f.cbxSearchFor.Handle(), GW_CHILD), WM_KEYDOWN, VK_ESCAPE, 0);
  f.btnStartSearchClick();
  EXPECT_TRUE(stopSeenRunning);
  EXPECT_TRUE(ui.Boxes.empty()) << "a stopped search shows no message";
  EXPECT_FALSE(f.btnStop.Visible());
  EXPECT_FALSE(f.btnStop.Enabled()) << "Stop stays disabled until the next search";
  EXPECT_TRUE(f.btnStartSearch.Visible());
  std::string searched = f.pnlFilesSearched.Text();
  ASSERT_EQ(searched.rfind(" Searched : ", 0), 0u);
  EXPECT_LT(std::stoi(searched.substr(12)), 30);
}

// A run reports before every file; the window shows a report only once per pacing
// interval, and in between passes nothing on but a stop.
TEST_F(MainWindow, ProgressIsShownPacedAndAStopPassesAtOnce) {
  TKRESHForm& f = Form();
  uint32_t now = 1000;
  f.SetPacingClock([&now] { return now; });
  const struct Step {
    uint32_t advance;
    bool stop;  // Stop clicked before the report
    int32_t matches;
    const char* found;  // what the panel shows after the report
    const char* status;
    bool cancel;
  } steps[] = {
      {0, false, 5, " Found : 5", " a.txt", false},  // the first report of a run shows
      {10, false, 9, " Found : 5", " a.txt", false},
      {kBreathIntervalMs - 11, true, 10, " Found : 5", " a.txt", true},  // a stop does not wait for the pace
      {1, false, 11, " Found : 11", " d.txt", false},
      {kBreathIntervalMs - 1, false, 12, " Found : 11", " d.txt", false},
      {1, true, 13, " Found : 13", " f.txt", true},
  };
  const char* names[] = {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt"};
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(names[i]);
    now += s.advance;
    if (s.stop) f.btnStopClick();
    bool cancel = false;
    f.SearchProgress(nullptr, s.matches, 1, i + 1, names[i], cancel);
    EXPECT_EQ(f.pnlNumMatches.Text(), s.found);
    EXPECT_EQ(f.pnlStatus.Text(), s.status);
    EXPECT_EQ(cancel, s.cancel);
    ++i;
  }
}

// Reports between the paced times are not shown, yet the run ends showing the file of
// its last report, as it would had every report been shown.
TEST_F(MainWindow, ARunEndsShowingItsLastReportedFile) {
  tmp.Write("a.txt", "needle\r\n");
  tmp.MakeDir("sub");
  tmp.Write("sub\\b.txt", "needle\r\n");  // searched after the files above it
  TKRESHForm& f = Form();
  f.SetPacingClock([] { return 7u; });  // no time passes: only the first report shows
  f.chkSubDirs.SetChecked(true);
  StandardSearch("*.txt", "needle");
  const std::string status = f.pnlStatus.Text();
  EXPECT_TRUE(status.size() > 10 && status.compare(status.size() - 10, 10, "\\sub\\b.txt") == 0) << status;
  EXPECT_EQ(f.pnlNumMatches.Text(), " Found : 2");
}

TEST_F(MainWindow, CtrlTabCyclesTheTabsBothWays) {
  TKRESHForm& f = Form();
  f.tabSearch.SetTabIndex(0);
  f.tabSearchChange();
  f.cbxMask.SetFocus();
  PressWithKeys(f.cbxMask.Handle(), VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(f.tabSearch.TabIndex(), 2);
  EXPECT_FALSE(f.cbxMask.Visible());
  EXPECT_TRUE(f.lblDfmMask.Visible());
  PressWithKeys(f.cbxMask.Handle(), VK_TAB, {VK_CONTROL});
  EXPECT_EQ(f.tabSearch.TabIndex(), 0);
  EXPECT_TRUE(f.cbxMask.Visible());
  PressWithKeys(f.cbxMask.Handle(), VK_TAB, {VK_CONTROL});
  EXPECT_EQ(f.tabSearch.TabIndex(), 1);
  EXPECT_TRUE(f.pagReplace.Visible());
  EXPECT_FALSE(f.pagSearch.Visible());
}

TEST_F(MainWindow, WindowKeepsAUsableSize) {
  TKRESHForm& f = Form();
  MINMAXINFO mmi{};
  ::SendMessageA(f.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  EXPECT_EQ(mmi.ptMinTrackSize.x, 560);
  EXPECT_EQ(mmi.ptMinTrackSize.y, 440);
  ::SetWindowPos(f.Handle(), nullptr, 0, 0, 50, 50, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(f.Width(), 560);
  // At the smallest size the boxes of the last row stay inside their page and apart, and
  // the tree shows several rows.
  const int page = f.pagSearch.ClientRect().right;
  EXPECT_LE(f.chkShowFilePath.Left(), f.chkFileMatchCount.Left());
  EXPECT_LE(f.chkFileMatchCount.Left() + f.chkFileMatchCount.Width(), page);
  EXPECT_GE(f.treResults.Height(), 4 * f.treResults.ItemHeight());
}

TEST_F(MainWindow, DefaultButtonStepsAsideForTheDirectoryListAndTree) {
  TKRESHForm& f = Form();
  f.lbxDirectory.SetFocus();
  EXPECT_EQ(f.DefaultButton(), nullptr);
  f.cbxMask.SetFocus();
  EXPECT_EQ(f.DefaultButton(), &f.btnStartSearch);
  f.treResults.SetFocus();
  EXPECT_EQ(f.DefaultButton(), nullptr);
  f.cbxMask.SetFocus();
  EXPECT_EQ(f.DefaultButton(), &f.btnStartSearch);
}

TEST_F(MainWindow, StoredSettingsReachTheControlsAndComeBack) {
  tmp.MakeDir("sub");
  key.Set("Search", "SubDirs", "1");
  key.Set("Search", "ExprType", "2");
  key.Set("Search", "FileMask", "*.cpp");
  key.Set("Main", "CurPage", "1");
  key.Set("Replace", "WholeWords", "0");
  key.Set("MaskHistory", "History0", "*.cpp");
  key.Set("MaskHistory", "History1", "*.h");
  key.Set("Options", "MaxHistory", "2");
  TKRESHForm& f = Form();
  EXPECT_FALSE(f.chkSubDirs.Checked());
  EXPECT_TRUE(f.rbnExprDOS.Checked());
  EXPECT_TRUE(f.btnDOS[0].Visible());
  EXPECT_EQ(f.cbxMask.Text(), "*.cpp");
  EXPECT_EQ(f.tabSearch.TabIndex(), 1);
  EXPECT_FALSE(f.chkRplWholeWords.Checked());
  EXPECT_EQ(f.cbxMask.Items(), (std::vector<std::string>{"*.cpp", "*.h"}));
  EXPECT_EQ(f.lbxDirectory.Directory(), tmp.Path());

  Type(f.cbxMask, "*.txt");
  ::SendMessageA(f.grpInputs.Handle(), WM_COMMAND, MAKEWPARAM(f.cbxMask.Id(), CBN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(f.cbxMask.Handle()));
  EXPECT_EQ(f.cbxMask.Items(), (std::vector<std::string>{"*.txt", "*.cpp"}));
  f.chkSubDirs.SetChecked(true);
  f.SaveAllSettings();
  EXPECT_EQ(key.Get("Search", "SubDirs"), "1");
  EXPECT_EQ(key.Get("Search", "ExprType"), "2");
  EXPECT_EQ(key.Get("Main", "CurPage"), "1");
  EXPECT_EQ(key.Get("MaskHistory", "History0"), "*.txt");
  EXPECT_EQ(key.Get("Search", "Directory"), tmp.Path());
}

// Whatever the system's fonts, at the stored default size every box shows its whole
// caption, inside its page and clear of its neighbours.
TEST_F(MainWindow, BoxCaptionsFitAtTheDefaultSize) {
  TKRESHForm& f = Form();
  RECT window{};
  ::GetWindowRect(f.Handle(), &window);
  ASSERT_EQ(window.right - window.left, 582);
  auto needed = [](TWindow& box) {
    std::string text;
    for (char c : box.Text())
      if (c != '&') text += c;
    HDC dc = ::GetDC(box.Handle());
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(box.Handle(), WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(box.Handle(), dc);
    return size.cx + ::GetSystemMetrics(SM_CXMENUCHECK);
  };
  for (int tab : {0, 1}) {
    f.tabSearch.SetTabIndex(tab);
    f.tabSearchChange();
    TPanel& page = tab == 0 ? f.pagSearch : f.pagReplace;
    std::vector<TWindow*> boxes;
    if (tab == 0)
      boxes = {&f.rbnExprNone, &f.rbnExprRegExp, &f.rbnExprDOS, &f.chkCheckCase, &f.chkSubDirs, &f.chkWholeWords,
               &f.chkShowNumbers, &f.chkShowFilenames, &f.chkShowFilePath, &f.chkFileMatchCount};
    else
      boxes = {&f.chkRplLineStart, &f.chkRplLineEnd, &f.chkRplCheckCase, &f.chkRplSubDirs,
               &f.chkRplWholeWords, &f.chkRplBackup, &f.chkRplBackupOvr};
    std::vector<RECT> placed;
    for (TWindow* box : boxes) {
      EXPECT_GE(box->Width(), needed(*box)) << box->Text();
      RECT r{};
      ::GetWindowRect(box->Handle(), &r);
      ::MapWindowPoints(nullptr, page.Handle(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_GE(r.left, 0) << box->Text();
      EXPECT_LE(r.right, page.ClientRect().right) << box->Text();
      EXPECT_LE(r.bottom, page.ClientRect().bottom) << box->Text();
      for (const RECT& other : placed) {
        RECT overlap{};
        EXPECT_FALSE(::IntersectRect(&overlap, &r, &other)) << box->Text();
      }
      placed.push_back(r);
    }
  }
}

// However it is run (through the form base's ShowModal too), a dialog of the program
// opens centred over the main window.
TEST_F(MainWindow, DialogsOpenCentredOverTheMainWindow) {
  TKRESHForm& f = Form();
  ::SetWindowPos(f.Handle(), nullptr, 40, 30, 600, 450, SWP_NOZORDER | SWP_NOACTIVATE);
  struct Probe : TdlgWin95Dlg {
    explicit Probe(TForm* main) : TdlgWin95Dlg(main) { CreateDialogWindow("QrxCentreProbe", "Probe", 200, 120); }
    void DoIdle() override { ModalResult = IDOK; }
  } dialog(&f);
  TForm& base = dialog;
  EXPECT_EQ(base.ShowModal(false), IDOK);
  RECT main{}, shown{};
  ::GetWindowRect(f.Handle(), &main);
  ::GetWindowRect(dialog.Handle(), &shown);
  const POINT at = CenterOver(main, 200, 120);
  EXPECT_EQ(shown.left, at.x);
  EXPECT_EQ(shown.top, at.y);
}

TEST(MainWindowHelpers, TimeFormatAndDialogCentring) {
  const struct {
    int32_t ms;
    const char* text;
  } times[] = {{0, "0.0"}, {49, "0.0"}, {50, "0.1"}, {1234, "1.2"}, {999949, "999.9"},
               {1234567, "1,234.6"}, {123456789, "123,456.8"}, {-5, "0.0"}};
  for (auto& t : times) EXPECT_EQ(FormatSeconds(t.ms), t.text) << t.ms;
  POINT p = CenterOver(RECT{100, 50, 683, 491}, 300, 200);
  EXPECT_EQ(p.x, 100 + (583 - 300) / 2);
  EXPECT_EQ(p.y, 50 + (441 - 200) / 2);
  p = CenterOver(RECT{0, 0, 100, 100}, 301, 201);
  EXPECT_EQ(p.x, -100);  // (100 - 301) / 2 truncates toward zero
  EXPECT_EQ(p.y, -50);
}

}  // namespace
}  // namespace qrx
