// What a user met in the main window: silent limits, stale counters, a popup that never
// came, dead mnemonics, a window that would not close, a splitter that crept.
#include "app/MainWindowFixture.h"
#include "app/PreviewSplit.h"
#include "engine/FileSearch.h"

namespace qrx {
namespace {

class WindowFaults : public test::MainWindowFixture {
 protected:
  TKRESHForm& Searched(const std::string& text, const std::string& mask = "*.txt") {
    TKRESHForm& f = Form();
    Type(f.cbxMask, mask);
    Click(f.rbnExprNone);
    f.chkShowFilenames.SetChecked(true);
    Type(f.cbxSearchFor, text);
    f.cbxDirectory.SetText(tmp.Path());
    f.btnStartSearchClick();
    return f;
  }
};

TEST_F(WindowFaults, TheLimitSaysSoAndThePanelsShowWhatTheRunCounted) {
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "needle\r\n";
  tmp.Write("a.txt", ten);
  key.Set("Options", "MaxFinds", "5");
  TKRESHForm& f = Searched("needle");
  // One file line and four matches make the five lines.
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, LineLimitMessage(5));
  EXPECT_NE(ui.Boxes[0].Text.find("limit of 5 result lines"), std::string::npos);
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Information);
  EXPECT_EQ(f.pnlNumMatches.Text(), " Found : 4");
  EXPECT_EQ(f.pnlNumFiles.Text(), " # Files : 1");
  EXPECT_EQ(f.pnlFilesSearched.Text(), " Searched : 1");
  EXPECT_EQ(f.pnlStatus.Text(), " Search stopped at the limit of 5 result lines.");

  // A search that cannot start leaves no counters of the last one; nor does Clear Window.
  ui.Clear();
  Click(f.rbnExprRegExp);
  Type(f.cbxSearchFor, "a[");
  f.btnStartSearchClick();
  EXPECT_EQ(ui.Beeps, 1) << "a failed search beeps once, and its box makes no sound of its own";
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_FALSE(ui.Boxes[0].Sound);
  EXPECT_EQ(f.pnlNumMatches.Text(), " Found : 0");
  EXPECT_EQ(f.pnlFilesSearched.Text(), " Searched : 0");
  f.pnlNumMatches.SetText(" Found : 9");
  f.menDeleteAllClick();
  EXPECT_EQ(f.pnlNumMatches.Text(), " Found : 0");
  EXPECT_EQ(f.pnlStatus.Text(), "<No Search Data>");
}

TEST_F(WindowFaults, AfterASearchItsFirstMatchIsCurrentAndShown) {
  tmp.Write("a.txt", "one needle\r\n");
  tmp.Write("b.txt", "two needle\r\n");
  TKRESHForm& f = Searched("needle");
  ASSERT_GE(f.treResults.ItemCount(), 5);
  EXPECT_EQ(f.treResults.SelectedItem(), 3);
  EXPECT_EQ(f.lbxFilePreview.TargetLine(), 1) << "the preview shows the match";
  const int32_t row = f.treResults.Row();
  EXPECT_GE(row, f.treResults.TopRow());
  EXPECT_LT(row, f.treResults.TopRow() + f.treResults.VisibleRowCount());
}

TEST_F(WindowFaults, FilesThatCouldNotBeOpenedAreNamed) {
  const std::string locked = tmp.Write("locked.txt", "needle\r\n");
  tmp.Write("open.txt", "needle\r\n");
  UniqueFile lock(::CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  Searched("needle");
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text.rfind("1 file could not be opened and was not searched:\r", 0), 0u) << ui.Boxes[0].Text;
  EXPECT_NE(ui.Boxes[0].Text.find("locked.txt"), std::string::npos);
}

// Ends whatever popup menu is open, as a user's Esc would, so the test goes on.
void CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

TEST_F(WindowFaults, TheTreeHasItsOwnPopup) {
  tmp.Write("a.txt", "needle\r\nneedle\r\n");
  TKRESHForm& f = Searched("needle");
  std::vector<std::string> shown;
  f.menOutlinePopup.OnPopup = [&] { shown.push_back("tree"); };
  f.menFormPopup.OnPopup = [&] { shown.push_back("window"); };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &EndAnyMenu);
  // A right click on the last row: the row becomes current, then the tree's popup.
  const int32_t last = f.treResults.RowCount() - 1;
  const RECT cell = f.treResults.CellRect(last);
  const LPARAM at = MAKELPARAM(cell.left + 5, (cell.top + cell.bottom) / 2);
  ::SendMessageA(f.treResults.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  ::SendMessageA(f.treResults.Handle(), WM_RBUTTONUP, 0, at);
  EXPECT_EQ(f.treResults.Row(), last);
  // Shift+F10 or the menu key: the system asks at (-1, -1) for the focused control.
  f.treResults.SetFocus();
  ::SendMessageA(f.treResults.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.treResults.Handle()), -1);
  f.cbxMask.SetFocus();
  ::SendMessageA(f.cbxMask.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.cbxMask.Handle()), -1);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(shown, (std::vector<std::string>{"tree", "tree", "window"}));
}

TEST_F(WindowFaults, LabelMnemonicsMoveTheFocus) {
  TKRESHForm& f = Form();
  struct Case {
    int tab;
    char key;
    TWindow* target;
  } cases[] = {{0, 'm', &f.cbxMask}, {1, 'm', &f.cbxMask}, {1, 's', &f.cbxSearchFor}, {1, 'r', &f.cbxRplReplaceWith}};
  for (const Case& c : cases) {
    f.tabSearch.SetTabIndex(c.tab);
    f.tabSearchChange();
    f.lbxDirectory.SetFocus();
    MSG m{f.lbxDirectory.Handle(), WM_SYSCHAR, static_cast<WPARAM>(c.key), 1 << 29, 0, {}};
    Application().HandleMessage(m);
    EXPECT_TRUE(c.target->Focused()) << "Alt+" << c.key << " on tab " << c.tab;
  }
  // The replace-with label shows its whole caption on one line.
  EXPECT_GE(f.lblRplReplaceWith.Width() + f.lblRplReplaceWith.Left(), 0);
  EXPECT_LE(f.lblRplReplaceWith.Left() + f.lblRplReplaceWith.Width(), f.cbxRplReplaceWith.Left());
}

TEST_F(WindowFaults, SplitterClicksAndLostDrags) {
  tmp.Write("a.txt", "needle\r\n");
  TKRESHForm& f = Searched("needle");
  const int before = f.PreviewHeight();
  for (int i = 0; i < 3; ++i) {
    ::SendMessageA(f.pnlSplitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    ::SendMessageA(f.pnlSplitter.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 1));
  }
  EXPECT_EQ(f.PreviewHeight(), before) << "clicks without a drag leave the height";
  // A drag whose capture is taken away ends there, the height as it was.
  ::SendMessageA(f.pnlSplitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
  ::SendMessageA(f.pnlSplitter.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -40));
  ASSERT_TRUE(f.Dragging());
  ::SetCapture(f.Handle());
  ::ReleaseCapture();
  EXPECT_FALSE(f.Dragging());
  EXPECT_FALSE(f.pnlCursor.Visible());
  EXPECT_EQ(f.PreviewHeight(), before);
  // A real drag still works.
  ::SendMessageA(f.pnlSplitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
  ::SendMessageA(f.pnlSplitter.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -40));
  ::SendMessageA(f.pnlSplitter.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, -40));
  EXPECT_GT(f.PreviewHeight(), before);
}

TEST_F(WindowFaults, PositionsAreScreenCoordinates) {
  struct Case {
    RECT monitor, work;
    POINT offset;
  } cases[] = {
      {{0, 0, 1280, 1024}, {0, 0, 1280, 994}, {0, 0}},          // taskbar at the bottom
      {{0, 0, 1280, 1024}, {0, 30, 1280, 1024}, {0, 30}},       // at the top
      {{0, 0, 1280, 1024}, {60, 0, 1280, 1024}, {60, 0}},       // at the left
      {{1280, 0, 2560, 1024}, {1340, 0, 2560, 1024}, {60, 0}},  // on a second monitor
  };
  for (const Case& c : cases) {
    POINT p = WorkspaceOffset(c.monitor, c.work);
    EXPECT_EQ(p.x, c.offset.x);
    EXPECT_EQ(p.y, c.offset.y);
  }
  // Stored, restored and stored again: the same place.
  key.Set("Main", "Left", "33");
  key.Set("Main", "Top", "44");
  TKRESHForm& f = Form();
  TQrxSettings s = f.CollectSettings();
  EXPECT_EQ(s.Left, 33);
  EXPECT_EQ(s.Top, 44);
}

}  // namespace
}  // namespace qrx
