// The results tree's commands, menus, keys, display boxes, splitter and preview in the
// main window, driven as a user drives them.
#include "app/MainWindowFixture.h"
#include "app/PreviewSplit.h"
#include "app/WindowTestSupport.h"
#include "dfm/FormStreamWriter.h"
#include "engine/FileSearch.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <vector>

namespace qrx {
namespace {

using test::FindItem;
using test::ReadFileBytes;

// Line n reads "line n", except the lines given, which read "xx needle".
std::string NumberedFile(int count, std::initializer_list<int> needles) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    bool needle = std::find(needles.begin(), needles.end(), i) != needles.end();
    text += needle ? "xx needle\r\n" : "line " + std::to_string(i) + "\r\n";
  }
  return text;
}

class ResultsPane : public test::MainWindowFixture {
 protected:
  // A search on the Search tab for text in the masks, in the test's folder.
  void Search(const std::string& mask, const std::string& text) {
    TKRESHForm& f = Form();
    f.tabSearch.SetTabIndex(0);
    f.tabSearchChange();
    Click(f.rbnExprNone);
    Type(f.cbxMask, mask);
    Type(f.cbxSearchFor, text);
    f.cbxDirectory.SetText(tmp.Path());
    f.btnStartSearchClick();
  }
  std::vector<TGOutlineNode*> Rows(int level) {
    std::vector<TGOutlineNode*> rows;
    for (int32_t i = 1; i <= form->treResults.ItemCount(); ++i) {
      TGOutlineNode* n = form->treResults.Items(i);
      if (n->Level() == level) rows.push_back(n);
    }
    return rows;
  }
  // Makes the row visible and current, as a click on it would.
  void Select(TGOutlineNode* row) {
    std::vector<TGOutlineNode*> above;
    for (TGOutlineNode* p = row->Parent(); p && p->Level() > 0; p = p->Parent()) above.push_back(p);
    for (auto it = above.rbegin(); it != above.rend(); ++it) (*it)->Expand();
    form->treResults.SelectNode(row);
    form->treResultsClick();
  }
  void PressOnTree(WORD key, std::initializer_list<int> held = {}) {
    form->treResults.SetFocus();
    PressWithKeys(form->treResults.Handle(), key, held);
  }
  int AreaHeight() { return static_cast<int>(form->pnlSizer.ClientRect().bottom); }
};

TEST_F(ResultsPane, MenusHoldEveryCommandAndEnableThemByTheTree) {
  tmp.Write("a.txt", "needle\r\n");
  TKRESHForm& f = Form();
  std::vector<std::string> bar;
  for (const auto& m : f.mnuMain.Root().Items()) bar.push_back(m->Caption());
  EXPECT_EQ(bar, (std::vector<std::string>{"&File", "Res&ults", "Hel&p"}));

  const struct {
    TMenu* menu;
    const char* caption;
    const char* shortcut;
    bool withoutRows, withRows;  // enabled on an empty tree, on a match row
  } items[] = {
      {&f.mnuMain, "&Open Search Match", "Ctrl+O", false, true},
      {&f.mnuMain, "&Show Editor / IDE", "F12", true, true},
      {&f.mnuMain, "&Save Search...", "F2", false, true},
      {&f.mnuMain, "&Export Search...", "Ctrl+F2", false, true},
      {&f.mnuMain, "&Load Search...", "F3", true, true},
      {&f.mnuMain, "Printer Se&tup...", "", true, true},
      {&f.mnuMain, "&Print...", "Ctrl+P", false, true},
      {&f.mnuMain, "P&roperties...", "", true, true},
      {&f.mnuMain, "E&xit", "Alt+X", true, true},
      {&f.mnuMain, "E&xpand Level", "", false, true},
      {&f.mnuMain, "Co&llapse Level", "", false, true},
      {&f.mnuMain, "&Expand All", "Ctrl+E", false, true},
      {&f.mnuMain, "&Collapse All", "Ctrl+L", false, true},
      {&f.mnuMain, "&Delete Node", "", false, true},
      {&f.mnuMain, "Clear &Window", "Ctrl+Del", false, true},
      {&f.mnuMain, "&Help Contents...", "F1", true, true},
      {&f.mnuMain, "&Regular Expressions...", "", true, true},
      {&f.mnuMain, "&About...", "", true, true},
      {&f.menOutlinePopup, "&Open Search Match", "", false, true},
      {&f.menOutlinePopup, "&Show Editor", "", true, true},
      {&f.menOutlinePopup, "Save Search...", "", false, true},
      {&f.menOutlinePopup, "&Export Search...", "", false, true},
      {&f.menOutlinePopup, "Load Search...", "", true, true},
      {&f.menOutlinePopup, "Printer Setu&p...", "", true, true},
      {&f.menOutlinePopup, "&Print...", "", false, true},
      {&f.menOutlinePopup, "&Expand Level", "", false, false},  // a match row has no children
      {&f.menOutlinePopup, "&Collapse Level", "-", false, false},
      {&f.menOutlinePopup, "Expand All", "", false, true},
      {&f.menOutlinePopup, "Collapse All", "", false, true},
      {&f.menOutlinePopup, "&Delete Node", "Del", false, true},
      {&f.menOutlinePopup, "C&lear Result Window", "", false, true},
      {&f.menOutlinePopup, "&Properties...", "", true, true},
      {&f.menOutlinePopup, "&Help", "", true, true},
      {&f.menFormPopup, "&Open Search Match", "", false, true},
      {&f.menFormPopup, "&Show Editor", "", true, true},
      {&f.menFormPopup, "C&lear Result Window", "", false, true},
      {&f.menFormPopup, "&Properties...", "", true, true},
      {&f.menFormPopup, "&Help", "", true, true},
      {&f.menFormPopup, "&About Quarrix...", "", true, true},
  };
  Application().Idle();
  for (const auto& c : items) {
    TMenuItem* item = FindItem(c.menu->Root(), c.caption);
    ASSERT_NE(item, nullptr) << c.caption;
    EXPECT_EQ(ShortCutText(item->Shortcut()), c.shortcut) << c.caption;
    EXPECT_EQ(item->Enabled(), c.withoutRows) << "empty tree: " << c.caption;
  }
  EXPECT_FALSE(f.btnOpen.Enabled());

  Search("*.txt", "needle");
  Select(Rows(3).front());
  Application().Idle();
  for (const auto& c : items)
    EXPECT_EQ(FindItem(c.menu->Root(), c.caption)->Enabled(), c.withRows) << "match row: " << c.caption;
  EXPECT_TRUE(f.btnOpen.Enabled());

  // The popup's level commands follow the current row's children and state.
  TMenuItem* expand = FindItem(f.menOutlinePopup.Root(), "&Expand Level");
  TMenuItem* collapse = FindItem(f.menOutlinePopup.Root(), "&Collapse Level");
  EXPECT_FALSE(expand->Visible);
  EXPECT_FALSE(collapse->Visible);
  TGOutlineNode* search = Rows(1).front();
  f.treResults.SelectNode(search);
  Application().Idle();
  EXPECT_FALSE(expand->Enabled());
  EXPECT_TRUE(collapse->Enabled());
  EXPECT_FALSE(FindItem(f.mnuMain.Root(), "&Open Search Match")->Enabled()) << "a search row opens nothing";
  PressOnTree(VK_OEM_MINUS);
  EXPECT_FALSE(search->Expanded()) << "the minus key collapses through the popup's item";
  Application().Idle();
  EXPECT_TRUE(expand->Enabled());
  EXPECT_FALSE(collapse->Enabled());

  // An external editor has no window to show.
  f.SetEditorType(1);
  Application().Idle();
  for (TMenu* m : {&f.mnuMain, &f.menOutlinePopup, &f.menFormPopup}) {
    const char* caption = m == &f.mnuMain ? "&Show Editor / IDE" : "&Show Editor";
    EXPECT_FALSE(FindItem(m->Root(), caption)->Enabled()) << caption;
  }
}

TEST_F(ResultsPane, DisplayBoxesChangeEverySearchInTheTree) {
  tmp.Write("alpha.txt", "needle one\r\n");
  tmp.Write("bravo.txt", "needle two\r\n");
  TKRESHForm& f = Form();
  for (TCheckBox* c : {&f.chkShowNumbers, &f.chkShowFilenames, &f.chkFileMatchCount}) c->SetChecked(true);
  f.chkShowFilePath.SetChecked(false);
  Search("*.txt", "needle");
  Search("*.txt", "one");
  Search("*.txt", "two");
  ASSERT_EQ(SearchNodes.size(), 3u);
  ASSERT_EQ(Rows(2).size(), 4u);
  for (TGOutlineNode* file : Rows(2)) EXPECT_NE(file->Text().find(".txt"), std::string::npos) << file->Text();

  Click(f.chkShowFilenames);
  for (TGOutlineNode* file : Rows(2)) EXPECT_EQ(file->Text().find(".txt"), std::string::npos) << file->Text();

  // Each box sets and clears its own bit in all three searches, and only that bit.
  const struct {
    TCheckBox* box;
    uint16_t bit;
  } boxes[] = {{&f.chkShowNumbers, optLineNumbers},
               {&f.chkShowFilenames, optFileLines},
               {&f.chkShowFilePath, optFullPaths},
               {&f.chkFileMatchCount, optMatchCounts}};
  for (const auto& b : boxes) {
    for (int round = 0; round < 2; ++round) {
      std::vector<uint16_t> others;
      for (TSearchNode* s : SearchNodes) others.push_back(s->Options & ~b.bit);
      Click(*b.box);
      size_t i = 0;
      for (TSearchNode* s : SearchNodes) {
        EXPECT_EQ((s->Options & b.bit) != 0, b.box->Checked()) << b.bit;
        EXPECT_EQ(s->Options & ~b.bit, others[i++]) << b.bit;
      }
    }
  }

  // Line numbers go from the rows and from the preview together.
  f.chkShowNumbers.SetChecked(true);
  Click(f.chkShowNumbers);
  EXPECT_FALSE(f.lbxFilePreview.ShowNumbers());
  for (TGOutlineNode* match : Rows(3)) EXPECT_EQ(match->Text().rfind("  needle", 0), 0u) << match->Text();
  Click(f.chkShowNumbers);
  EXPECT_TRUE(f.lbxFilePreview.ShowNumbers());
  for (TGOutlineNode* match : Rows(3)) EXPECT_EQ(match->Text().rfind("     1 : needle", 0), 0u) << match->Text();
}

TEST_F(ResultsPane, SpaceAndEnterToggleAFileRowAndLeaveAMatchRowAlone) {
  tmp.Write("a.txt", "needle\r\nneedle again\r\n");
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "needle");
  TGOutlineNode* file = Rows(2).front();
  f.treResults.SelectNode(file);
  const bool open = file->Expanded();
  for (WORD key : {VK_RETURN, VK_SPACE, VK_RETURN}) {
    bool before = file->Expanded();
    PressOnTree(key);
    EXPECT_NE(file->Expanded(), before) << key;
  }
  EXPECT_NE(file->Expanded(), open);
  if (!file->Expanded()) file->Expand();

  TGOutlineNode* match = file->Child(0);
  f.treResults.SelectNode(match);
  const int rows = f.treResults.RowCount();
  PressOnTree(VK_RETURN);
  EXPECT_EQ(f.treResults.RowCount(), rows);
  EXPECT_TRUE(file->Expanded());
  EXPECT_EQ(f.treResults.SelectedNode(), match);
}

TEST_F(ResultsPane, DeletingASearchRowTakesItsFilesAndMatchesAndLeavesSearchNodes) {
  tmp.Write("a.txt", "needle one\r\n");
  tmp.Write("b.txt", "needle two\r\n");
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "one");     // 1 search, 1 file, 1 match
  Search("*.txt", "needle");  // 1 search, 2 files, 2 matches, on top
  ASSERT_EQ(f.treResults.ItemCount(), 8);
  ASSERT_EQ(SearchNodes.size(), 2u);
  TGOutlineNode* newest = f.treResults.Items(1);
  const auto gone = reinterpret_cast<uintptr_t>(ResultNodeOf(newest));

  // Del in an input box edits the box, not the results.
  f.cbxMask.SetFocus();
  PressWithKeys(::GetFocus(), VK_DELETE);
  EXPECT_EQ(f.treResults.ItemCount(), 8);

  f.treResults.SelectNode(newest);
  PressOnTree(VK_DELETE);
  EXPECT_EQ(f.treResults.ItemCount(), 3);
  ASSERT_EQ(SearchNodes.size(), 1u);
  EXPECT_NE(reinterpret_cast<uintptr_t>(SearchNodes.front()), gone);
  EXPECT_EQ(ResultNodeOf(f.treResults.Items(1)), SearchNodes.front());
  EXPECT_EQ(f.lbxFilePreview.Count(), 0);

  // Deleting a match row keeps its search and file.
  Select(Rows(3).front());
  f.menDeleteNodeClick();
  EXPECT_EQ(f.treResults.ItemCount(), 2);
  EXPECT_EQ(SearchNodes.size(), 1u);

  PressOnTree(VK_DELETE, {VK_CONTROL});
  EXPECT_EQ(f.treResults.ItemCount(), 0);
  EXPECT_TRUE(SearchNodes.empty());
}

TEST_F(ResultsPane, SplitterDragStaysInsideItsLimits) {
  TKRESHForm& f = Form();
  const int h = AreaHeight();
  ASSERT_GT(h, 150);
  HWND splitter = f.pnlSplitter.Handle();
  const struct {
    int mouseY;  // relative to the splitter
    int barTop;  // -1: where the drag started plus mouseY
  } drags[] = {{-5000, kDragTopLimit}, {5000, h - kDragBottomRoom}, {-20, -1}, {1, -1}};
  for (const auto& d : drags) {
    const int start = f.pnlSplitter.Top();
    ::SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
    EXPECT_TRUE(f.pnlCursor.Visible());
    EXPECT_EQ(f.pnlCursor.Top(), start);
    ::SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, static_cast<WORD>(d.mouseY)));
    const int expected = d.barTop >= 0 ? d.barTop : start + d.mouseY;
    EXPECT_EQ(f.pnlCursor.Top(), expected) << d.mouseY;
    EXPECT_EQ(f.pnlCursor.Height(), kDragBarHeight);
    EXPECT_EQ(f.pnlCursor.Width(), f.pnlSizer.ClientRect().right);
    ::SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(5, static_cast<WORD>(d.mouseY)));
    EXPECT_FALSE(f.pnlCursor.Visible());
    EXPECT_FALSE(f.Dragging());
    EXPECT_EQ(f.PreviewHeight(), h - (expected + kDragBarHeight)) << d.mouseY;
    EXPECT_EQ(f.lbxFilePreview.Height(), f.PreviewHeight());
    EXPECT_EQ(f.pnlSplitter.Top() + kSplitterHeight, f.lbxFilePreview.Top());
    EXPECT_EQ(f.treResults.Height(), f.pnlSplitter.Top());
  }
  // A release at the very top: the preview takes all but the top 54 pixels.
  ::SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
  ::SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, static_cast<WORD>(-5000)));
  ::SendMessageA(splitter, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(f.PreviewHeight(), h - 54);
  // A move without a press drags nothing.
  ::SendMessageA(splitter, WM_MOUSEMOVE, 0, MAKELPARAM(5, 30));
  EXPECT_FALSE(f.pnlCursor.Visible());
  EXPECT_EQ(f.PreviewHeight(), h - 54);
}

TEST_F(ResultsPane, TurningThePreviewOnKeepsItBetweenItsLimits) {
  const struct {
    int stored;
    int shown;  // -1: the area less the tree's room
  } cases[] = {{10, kMinShownPreview}, {46, kMinShownPreview}, {47, 47}, {90, 90}, {5000, -1}};
  for (const auto& c : cases) {
    form.reset();
    key.Set("Main", "PreviewHeight", std::to_string(c.stored));
    key.Set("Options", "Preview", "0");
    TKRESHForm& f = Form();
    EXPECT_FALSE(f.lbxFilePreview.Visible());
    EXPECT_FALSE(f.pnlSplitter.Visible());
    EXPECT_EQ(f.treResults.Height(), AreaHeight());
    f.SetShowPreview(true);
    const int expected = c.shown >= 0 ? c.shown : AreaHeight() - kTreeRoomWhenShown;
    EXPECT_TRUE(f.lbxFilePreview.Visible());
    EXPECT_TRUE(f.pnlSplitter.Visible());
    EXPECT_EQ(f.PreviewHeight(), expected) << c.stored;
    EXPECT_EQ(f.lbxFilePreview.Height(), expected) << c.stored;
    EXPECT_EQ(f.lbxFilePreview.Top() + expected, AreaHeight());
  }
}

TEST_F(ResultsPane, PreviewShowsTheCurrentMatchInItsFile) {
  const std::string file = tmp.Write("hundred.txt", NumberedFile(100, {3, 80}));
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "needle");
  Select(Rows(3).front());
  const struct {
    WORD key;
    int32_t line, firstNumber, targetIndex, count;
  } steps[] = {
      {0, 3, 1, 2, 50},              // lines 1 to 50
      {VK_DOWN, 80, 55, 25, 46},     // lines 55 to 100: the file ends first
      {VK_UP, 3, 1, 2, 50},
  };
  std::string lowered = file;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& s : steps) {
    if (s.key) PressOnTree(s.key);
    EXPECT_EQ(f.lbxFilePreview.FileName(), lowered);
    EXPECT_EQ(f.lbxFilePreview.TargetLine(), s.line);
    EXPECT_EQ(f.lbxFilePreview.TargetIndex(), s.targetIndex) << s.line;
    EXPECT_EQ(f.lbxFilePreview.ItemNumber(0), s.firstNumber) << s.line;
    EXPECT_EQ(f.lbxFilePreview.Count(), s.count) << s.line;
    EXPECT_EQ(f.lbxFilePreview.MatchStart(), 4);
    EXPECT_EQ(f.lbxFilePreview.MatchStop(), 9);
    EXPECT_EQ(f.lbxFilePreview.ItemText(s.targetIndex), "xx needle");
  }
  EXPECT_TRUE(ui.Boxes.empty());

  // A file row, or a hidden preview, leaves the preview empty.
  Select(Rows(2).front());
  EXPECT_EQ(f.lbxFilePreview.Count(), 0);
  Select(Rows(3).front());
  EXPECT_EQ(f.lbxFilePreview.Count(), 50);
  f.SetShowPreview(false);
  Select(Rows(3).back());
  EXPECT_EQ(f.lbxFilePreview.Count(), 0);
  // Shown again, it shows the current match at once.
  f.SetShowPreview(true);
  EXPECT_EQ(f.lbxFilePreview.TargetLine(), 80);

  // A file gone since the search: the reader's error in a box, the tree goes on.
  ::DeleteFileA(file.c_str());
  Select(Rows(3).front());
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text.rfind("Error previewing file : ", 0), 0u) << ui.Boxes[0].Text;
  EXPECT_GT(f.treResults.ItemCount(), 0);
}

TEST_F(ResultsPane, TheSameLineOfTheSameFileInAnotherCaseIsNotReadAgain) {
  const std::string file = tmp.Write("hundred.txt", NumberedFile(100, {3}));
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "needle");  // line 3, columns 4 to 9
  Search("*.txt", "xx");      // line 3, columns 1 to 2; on top
  Select(Rows(3).front());
  ASSERT_EQ(f.lbxFilePreview.MatchStart(), 1);
  const std::string shown = f.lbxFilePreview.FileName();
  // The older search's file row, in capitals, with the file gone from the disk: a
  // reload would fail loudly.
  TGOutlineNode* olderMatch = Rows(3).back();
  auto* node = static_cast<TMatchNode*>(ResultNodeOf(olderMatch));
  ASSERT_EQ(node->MatchStart, 4);
  for (char& c : node->FileNode()->FileName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ::DeleteFileA(file.c_str());
  Select(olderMatch);
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_EQ(f.lbxFilePreview.FileName(), shown);
  EXPECT_EQ(f.lbxFilePreview.MatchStart(), 1) << "the shown match range stays";
  EXPECT_EQ(f.lbxFilePreview.Count(), 50);
}

TEST_F(ResultsPane, FormFilesArePreviewedApartFromTheRunsWorkFile) {
  auto makeForm = [](const char* caption) {
    test::FormStreamWriter w;
    w.Signature().Object("TForm1", "Form1").Prop("Caption").Str(caption).EndProps().EndObject();
    return test::WithResourceHeader("TFORM1", w.Bytes());
  };
  tmp.Write("alpha.dfm", makeForm("alpha"));
  tmp.Write("bravo.dfm", makeForm("bravo"));
  const std::string broken = tmp.Write("broken.dfm", "object Broken: TForm1\r\n  Caption = 'x'\r\nend\r\n");
  WorkFileName = tmp.Path() + "\\work.tmp";
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  f.tabSearch.SetTabIndex(2);
  f.tabSearchChange();
  Type(f.cbxSearchFor, "Caption");
  f.cbxDirectory.SetText(tmp.Path());
  f.btnStartSearchClick();
  // Every form has its caption on line 2; each shows its own text, though all of them
  // pass through one file of the preview's own: a run reading the work file meanwhile
  // must find it as it left it.
  tmp.Write("work.tmp", "the run's own input");
  std::vector<TGOutlineNode*> matches = Rows(3);
  ASSERT_EQ(matches.size(), 2u) << "the text form is no binary form and is not searched";
  for (TGOutlineNode* m : matches) {
    auto* node = static_cast<TMatchNode*>(ResultNodeOf(m));
    ASSERT_TRUE(dynamic_cast<TDFMFileNode*>(node->FileNode()));
    Select(m);
    std::string expected = node->FileNode()->FileName.find("alpha") != std::string::npos ? "alpha" : "bravo";
    EXPECT_NE(f.lbxFilePreview.FileName(), WorkFileName);
    ASSERT_EQ(f.lbxFilePreview.TargetLine(), 2);
    EXPECT_NE(f.lbxFilePreview.ItemText(1).find(expected), std::string::npos) << f.lbxFilePreview.ItemText(1);
  }
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_EQ(ReadFileBytes(WorkFileName), "the run's own input");

  // A form that cannot be converted: the box names it, the preview stays empty.
  auto* node = static_cast<TMatchNode*>(ResultNodeOf(matches.front()));
  std::string lowered = broken;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  node->FileNode()->FileName = lowered;
  Select(matches.front());
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "Error previewing DFM file.\rFile : " + lowered);
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
  EXPECT_EQ(f.lbxFilePreview.Count(), 0);
  WorkFileName.clear();
}

TEST_F(ResultsPane, RowTextsFollowTheSavingAndLoadingFlags) {
  tmp.Write("a.txt", "needle one\r\n\tneedle two\r\n");
  tmp.Write("b.txt", "needle three\r\n");
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "one");
  Search("*.txt", "needle");
  const std::string saved = tmp.Path() + "\\saved.qzt", shown = tmp.Path() + "\\shown.txt";
  {
    TKRESHForm::Saving saving(f);
    EXPECT_TRUE(f.IsSaving());
    f.treResults.SaveToFile(saved);
  }
  EXPECT_FALSE(f.IsSaving());
  f.treResults.SaveToFile(shown);
  const std::string records = ReadFileBytes(saved), display = ReadFileBytes(shown);
  EXPECT_EQ(records.rfind(std::string("QRXF300\0", 8), 0), 0u);
  EXPECT_EQ(display.rfind(" Search for \"needle\" in *.txt", 0), 0u) << display;

  // Outside a load a stored text makes no node.
  f.treResults.Items(1)->SetText("QRXF300");
  EXPECT_EQ(SearchNodes.size(), 2u);

  {
    TKRESHForm::Loading loading(f);
    EXPECT_TRUE(f.IsLoading());
    f.treResults.LoadFromFile(saved);
  }
  EXPECT_FALSE(f.IsLoading());
  EXPECT_EQ(SearchNodes.size(), 2u) << "the old searches left, the loaded ones joined";
  for (int32_t i = 1; i <= f.treResults.ItemCount(); ++i) {
    EXPECT_NE(ResultNodeOf(f.treResults.Items(i)), nullptr) << i;
    EXPECT_EQ(f.treResults.Items(i)->StoredText(), " ");
  }
  f.treResults.SaveToFile(shown);
  EXPECT_EQ(ReadFileBytes(shown), display) << "loaded rows show what they showed";
  {
    TKRESHForm::Saving saving(f);
    f.treResults.SaveToFile(shown);
  }
  EXPECT_EQ(ReadFileBytes(shown), records);

  // A file that is no results file: the load fails, and every row left has its node.
  const std::string bad = tmp.Write("bad.qzt", std::string("F\0x\r\n", 5));
  {
    TKRESHForm::Loading loading(f);
    EXPECT_THROW(f.treResults.LoadFromFile(bad), EInvalidFormat);
  }
  EXPECT_FALSE(f.IsLoading());
  size_t searches = 0;
  for (int32_t i = 1; i <= f.treResults.ItemCount(); ++i)
    if (dynamic_cast<TSearchNode*>(ResultNodeOf(f.treResults.Items(i)))) ++searches;
  EXPECT_EQ(searches, SearchNodes.size());
}

TEST_F(ResultsPane, ARunningSearchKeepsItsRowsAndEndsBeforeTheWindowCloses) {
  for (int i = 0; i < 30; ++i) tmp.Write("f" + std::to_string(i) + ".txt", "needle\r\n");
  TKRESHForm& f = Form();
  Search("f0.txt", "needle");
  ASSERT_GT(f.treResults.ItemCount(), 0);
  Application().Idle();
  TMenuItem* clear = FindItem(f.mnuMain.Root(), "Clear &Window");
  ASSERT_TRUE(clear->Enabled());
  // Both arrive while the next run is under way, as a user's would.
  ::PostMessageA(f.Handle(), WM_COMMAND, MAKEWPARAM(clear->Id(), 1), 0);
  ::PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
  const int32_t before = f.treResults.ItemCount();
  Search("*.txt", "needle");
  EXPECT_GT(f.treResults.ItemCount(), before) << "the clear was refused";
  EXPECT_EQ(SearchNodes.size(), 2u);
  EXPECT_TRUE(::IsWindow(f.Handle())) << "the close waited for the run";
  std::string searched = f.pnlFilesSearched.Text();
  EXPECT_LT(std::stoi(searched.substr(12)), 30) << "the close stopped the run";
  Application().ProcessMessages();
  EXPECT_FALSE(::IsWindow(f.Handle())) << "the window closed once the run ended";
}

TEST(PreviewSplit, ShownPreviewAndDragRules) {
  const int h = 300;
  const struct {
    int top, height, wantTop, wantHeight;
  } shown[] = {
      {290, 10, 253, 47},  {254, 46, 253, 47},  {260, 40, 253, 47},  {253, 47, 253, 47}, {200, 100, 200, 100},
      {55, 245, 55, 245},  {54, 246, 55, 245},  {-10, 310, 55, 245}, {-5, 40, 253, 47},
  };
  for (const auto& c : shown) {
    PreviewPlace p = PlaceShownPreview(c.top, c.height, h);
    EXPECT_EQ(p.Top, c.wantTop) << c.top << "," << c.height;
    EXPECT_EQ(p.Height, c.wantHeight) << c.top << "," << c.height;
  }
  EXPECT_EQ(PlaceShownPreview(-100, 100, 40).Height, 0) << "never negative";

  const struct {
    int start, mouse, area, top;
  } drags[] = {{200, -500, h, 50}, {200, 0, h, 200}, {200, 80, h, 276}, {200, 76, h, 276},
               {200, 75, h, 275},  {60, -10, h, 50}, {40, 0, 60, 36}};
  for (const auto& d : drags) EXPECT_EQ(DragBarTop(d.start, d.mouse, d.area), d.top) << d.start << "+" << d.mouse;
  EXPECT_EQ(ReleasedPreviewHeight(50, h), h - 54);
  EXPECT_EQ(ReleasedPreviewHeight(276, h), 20);
  EXPECT_EQ(ReleasedPreviewHeight(400, h), 0);
}

}  // namespace
}  // namespace qrx

namespace qrx {
namespace {

using test::ReadFileBytes;

// The external editor: qrxfake writes the command line it was started with.
TEST_F(ResultsPane, OpenCommandsStartTheExternalEditorAtTheLine) {
  const std::string file = tmp.Write("some file.txt", NumberedFile(20, {3}));
  const std::string out = tmp.Path() + "\\args.txt";
  char fake[MAX_PATH] = {};
  ::GetFullPathNameA("qrxfake.exe", MAX_PATH, fake, nullptr);
  key.Set("Options", "EditorType", "1");
  key.Set("Options", "EditorPath", fake);
  key.Set("Options", "EditorParams", "args \"" + out + "\" -l#LINENUM# #filename#");
  key.Set("Options", "EditorUseLFN", "1");
  TKRESHForm& f = Form();
  f.chkShowFilenames.SetChecked(true);
  Search("*.txt", "needle");
  std::string lowered = file;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  auto opened = [&](auto action) {
    ::DeleteFileA(out.c_str());
    action();
    Application().ProcessMessages();
    std::string got;
    for (int i = 0; i < 200 && (got = ReadFileBytes(out)).empty(); ++i) ::Sleep(50);
    return got;
  };
  // A double click on a file row asks for no open.
  Select(Rows(2).front());
  f.treResultsDblClick();
  MSG pending;
  EXPECT_FALSE(::PeekMessageA(&pending, f.Handle(), WM_OPENMATCH, WM_OPENMATCH, PM_NOREMOVE));
  Select(Rows(3).front());
  EXPECT_NE(opened([&] { Click(f.btnOpen); }).find(" -l3 \"" + lowered + "\""), std::string::npos);
  // The preview's current line: its own number, no match range.
  ::SendMessageA(f.lbxFilePreview.Handle(), LB_SETCURSEL, 9, 0);
  const std::string line = std::to_string(f.lbxFilePreview.ItemNumber(9));
  EXPECT_NE(opened([&] { f.lbxFilePreviewDblClick(); }).find(" -l" + line + " \"" + lowered + "\""),
            std::string::npos);
  EXPECT_TRUE(ui.Boxes.empty());

  // A program that is not there: the box names the command and the reason.
  f.SetEditorPath(tmp.Path() + "\\missing.exe");
  Select(Rows(3).front());
  Click(f.btnOpen);
  Application().ProcessMessages();
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text.rfind("Could not start Editor: " + tmp.Path() + "\\missing.exe args", 0), 0u);
  EXPECT_NE(ui.Boxes[0].Text.find(".\rPath was not found."), std::string::npos);
}

}  // namespace
}  // namespace qrx
