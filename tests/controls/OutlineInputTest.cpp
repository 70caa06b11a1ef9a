// Keys, characters and the mouse on a real outline window (under Xvfb). The tree:
//   A (A1, A2 (A2a), A3), B (B1), C (C1)
// Each case arranges which nodes are expanded and which is selected, acts, and checks
// the selection, the expanded nodes and the beeps.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "OutlineWindowSupport.h"
#include "controls/GOutlineGeometry.h"
#include "winlib/UiRecorder.h"

namespace qrx::test {
namespace {

class OutlineInput : public ::testing::Test {
 protected:
  void SetUp() override {
    TGOutlineWindow& t = host.Tree;
    t.SetOptions({ooDrawFocusRect});
    const int32_t a = t.AddChild(0, "A");
    t.AddChild(a, "A1");
    const int32_t a2 = t.AddChild(a, "A2");
    t.AddChild(a2, "A2a");
    t.AddChild(a, "A3");
    t.AddChild(t.AddChild(0, "B"), "B1");
    t.AddChild(t.AddChild(0, "C"), "C1");
    ASSERT_EQ(t.ItemCount(), 9);
    host.Focus();
  }

  TGOutlineNode* N(const std::string& text) { return FindNode(host.Tree, text); }

  void Arrange(const std::vector<std::string>& expanded, const std::string& selected) {
    host.Tree.FullCollapse();
    for (const std::string& e : expanded) N(e)->Expand();
    host.Tree.SelectNode(N(selected));
    ui.Clear();
    clicks = 0;
  }

  std::string Selected() {
    TGOutlineNode* n = host.Tree.SelectedNode();
    return n ? std::string(n->StoredText()) : std::string();
  }

  std::string ExpandedNames() {
    std::string names;
    for (int32_t i = 1; i <= host.Tree.ItemCount(); ++i) {
      TGOutlineNode* n = host.Tree.Items(i);
      if (n->Expanded()) names += (names.empty() ? "" : ",") + std::string(n->StoredText());
    }
    return names;
  }

  // The current row is the selected node's row.
  void ExpectRowFollowsSelection() {
    TGOutlineNode* n = host.Tree.SelectedNode();
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(host.Tree.Row(), host.Tree.RowOfNode(n));
  }

  int RowY(const std::string& text) {
    const int32_t R = host.Tree.ItemHeight();
    return (host.Tree.RowOfNode(N(text)) - host.Tree.TopRow()) * R + R / 2;
  }

  void Click(int x, int y) {
    SendMouse(host.Tree, WM_LBUTTONDOWN, x, y);
    SendMouse(host.Tree, WM_LBUTTONUP, x, y);
  }

  OutlineHost host;
  UiRecorder ui;
  int clicks = 0;
};

TEST_F(OutlineInput, KeyTable) {
  struct Case {
    std::vector<std::string> expanded;
    const char* selected;
    WORD key;
    bool ctrl;
    const char* expectSelected;
    int beeps;
    const char* expectExpanded;
  } cases[] = {
      // Row movement of the grid, then the selection follows the row.
      {{"A"}, "A1", VK_DOWN, false, "A2", 0, "A"},
      {{"A"}, "A2", VK_UP, false, "A1", 0, "A"},
      {{"A"}, "A1", VK_NEXT, false, "C", 0, "A"},
      {{"A"}, "C", VK_PRIOR, false, "A", 0, "A"},
      {{"A"}, "C", VK_DOWN, false, "C", 0, "A"},
      // Home and End.
      {{"A"}, "A3", VK_HOME, false, "A", 0, "A"},
      {{"A"}, "A1", VK_END, false, "C", 0, "A"},
      {{"A", "C"}, "A1", VK_END, false, "C1", 0, "A,C"},
      // Left: the parent; a top-level node beeps.
      {{"A", "A2"}, "A2a", VK_LEFT, false, "A2", 0, "A,A2"},
      {{"A"}, "A", VK_LEFT, false, "A", 1, "A"},
      // Right: the first child of an expanded node, else a beep.
      {{"A"}, "A", VK_RIGHT, false, "A1", 0, "A"},
      {{}, "B", VK_RIGHT, false, "B", 1, ""},
      {{"A", "C", "C1"}, "C1", VK_RIGHT, false, "C1", 1, "A,C,C1"},
      // Ctrl+Up and Ctrl+Down: siblings, with a beep at either end.
      {{"A"}, "A1", VK_DOWN, true, "A2", 0, "A"},
      {{"A"}, "A", VK_DOWN, true, "B", 0, "A"},
      {{"A"}, "A3", VK_DOWN, true, "A3", 1, "A"},
      {{"A"}, "A3", VK_UP, true, "A2", 0, "A"},
      {{"A"}, "A1", VK_UP, true, "A1", 1, "A"},
      {{}, "A", VK_UP, true, "A", 1, ""},
      // Enter toggles, also a node without children (no visible change).
      {{"A"}, "A2", VK_RETURN, false, "A2", 0, "A,A2"},
      {{"A", "A2"}, "A2", VK_RETURN, false, "A2", 0, "A"},
      {{"A"}, "A1", VK_RETURN, false, "A1", 0, "A,A1"},
      // Ctrl with the keypad's multiply expands everything; without Ctrl it only selects.
      {{"A"}, "A1", VK_MULTIPLY, true, "A1", 0, "A,A2,B,C"},
      {{"A"}, "A1", VK_MULTIPLY, false, "A1", 0, "A"},
      {{"A"}, "A1", 'X', false, "A1", 0, "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selected << " key " << c.key << (c.ctrl ? " with Ctrl" : ""));
    Arrange(c.expanded, c.selected);
    SendKey(host.Tree, c.key, c.ctrl);
    EXPECT_EQ(Selected(), c.expectSelected);
    EXPECT_EQ(ui.Beeps, c.beeps);
    EXPECT_EQ(ExpandedNames(), c.expectExpanded);
    ExpectRowFollowsSelection();
  }
}

TEST_F(OutlineInput, KeyHandlerSeesShiftAndCanClearTheKey) {
  std::vector<std::pair<WORD, TShiftState>> seen;
  host.Tree.OnKeyDown = [&seen](WORD& key, TShiftState shift) {
    seen.push_back({key, shift});
    if (key == VK_RETURN || key == VK_DOWN || key == VK_END) key = 0;
  };
  host.Tree.OnClick = [this] { ++clicks; };

  Arrange({"A"}, "A2");
  SendKey(host.Tree, VK_RETURN);
  EXPECT_EQ(ExpandedNames(), "A");  // a cleared Enter does not toggle
  SendKey(host.Tree, VK_DOWN);
  SendKey(host.Tree, VK_END);
  EXPECT_EQ(Selected(), "A2");  // nor do cleared keys move the row
  EXPECT_EQ(clicks, 0);
  SendKey(host.Tree, VK_UP, true);
  EXPECT_EQ(Selected(), "A1");
  EXPECT_EQ(clicks, 1);  // the current row moved
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].first, VK_RETURN);
  EXPECT_EQ(seen[0].second & ssCtrl, 0u);
  EXPECT_EQ(seen[3].first, VK_UP);
  EXPECT_NE(seen[3].second & ssCtrl, 0u);
  EXPECT_EQ(ui.Beeps, 0);
}

TEST_F(OutlineInput, Characters) {
  std::string pressed;
  host.Tree.OnKeyPress = [&pressed](char& key) {
    pressed += key;
    if (key == '!') key = 0;
  };
  Arrange({"A"}, "A2");
  SendChar(host.Tree, '+');
  EXPECT_EQ(ExpandedNames(), "A,A2");
  SendChar(host.Tree, '-');
  EXPECT_EQ(ExpandedNames(), "A");
  host.Tree.SelectNode(N("A"));
  SendChar(host.Tree, '-');
  EXPECT_EQ(ExpandedNames(), "");
  SendChar(host.Tree, '*');
  EXPECT_EQ(ExpandedNames(), "A,A2");  // A's whole subtree, not B or C
  SendChar(host.Tree, '!');
  SendChar(host.Tree, 'x');
  EXPECT_EQ(ExpandedNames(), "A,A2");
  EXPECT_EQ(pressed, "+--*!x");

  // A handler that swallows the character stops it.
  host.Tree.OnKeyPress = [](char& key) { key = 0; };
  host.Tree.SelectNode(N("B"));
  SendChar(host.Tree, '+');
  EXPECT_FALSE(N("B")->Expanded());
}

TEST_F(OutlineInput, KeysAndCharactersOnAnEmptyTreeDoNothing) {
  host.Tree.Clear();
  for (WORD key : {VK_RETURN, VK_HOME, VK_END, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_NEXT, VK_PRIOR, VK_MULTIPLY}) {
    SendKey(host.Tree, key);
    SendKey(host.Tree, key, true);
  }
  for (char c : {'+', '-', '*'}) SendChar(host.Tree, c);
  SendMouse(host.Tree, WM_LBUTTONDOWN, 5, 5);
  SendMouse(host.Tree, WM_LBUTTONDBLCLK, 5, 5);
  EXPECT_EQ(host.Tree.ItemCount(), 0);
  EXPECT_EQ(host.Tree.SelectedItem(), 0);
  EXPECT_EQ(ui.Beeps, 0);
}

TEST_F(OutlineInput, PressTogglesOnlyInsideTheToggleSpot) {
  std::vector<std::pair<int, int>> downs;
  std::string selectedAtClick;
  host.Tree.OnMouseDown = [&downs](TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  host.Tree.OnClick = [this, &selectedAtClick] {
    ++clicks;
    selectedAtClick = Selected();
  };
  struct Case {
    TOutlineStyle style;
    TOutlineOptions options;
    int rows, pixels;  // the press lands rows * R + pixels right of x0 of the D = 0 layout
    bool toggles;
  } cases[] = {
      {osTreePictureText, {ooDrawFocusRect}, 0, -1, false},
      {osTreePictureText, {ooDrawFocusRect}, 0, 0, true},
      {osTreePictureText, {ooDrawFocusRect}, 0, 6, true},
      {osTreePictureText, {ooDrawFocusRect}, 1, 0, true},
      {osTreePictureText, {ooDrawFocusRect}, 1, 1, false},
      // With the root lines the spot moves right by R.
      {osTreePictureText, {ooDrawTreeRoot}, 0, 0, false},
      {osTreePictureText, {ooDrawTreeRoot}, 0, -1, false},
      {osTreePictureText, {ooDrawTreeRoot}, 1, 0, true},
      {osTreePictureText, {ooDrawTreeRoot}, 2, 0, true},
      {osTreePictureText, {ooDrawTreeRoot}, 2, 1, false},
      // Only the tree-picture style toggles on a press.
      {osTreeText, {ooDrawFocusRect}, 0, 6, false},
      {osPictureText, {ooDrawFocusRect}, 0, 6, false},
  };
  const int32_t R = host.Tree.ItemHeight();
  ASSERT_GT(R, 6);
  for (const Case& c : cases) {
    host.Tree.SetOutlineStyle(c.style);
    host.Tree.SetOptions(c.options);
    Arrange({"A"}, "A");
    downs.clear();
    selectedAtClick.clear();
    const outline::TRowGeometry flat = outline::MakeRowGeometry({host.Tree.TextHeight(), R}, osTreePictureText, {});
    const int x = outline::AnchorX(flat, 0, 2) + c.rows * R + c.pixels;
    const int y = RowY("A2");
    SCOPED_TRACE(testing::Message() << "style " << c.style << " at x0 + " << c.rows << "R + " << c.pixels);
    Click(x, y);
    EXPECT_EQ(Selected(), "A2");
    EXPECT_EQ(N("A2")->Expanded(), c.toggles);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(selectedAtClick, "A2");
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], std::make_pair(x, y));
  }
}

TEST_F(OutlineInput, DoubleClickFiresThenToggles) {
  std::vector<std::string> log;
  host.Tree.OnDblClick = [this, &log] { log.push_back("dbl " + Selected() + (N("A2")->Expanded() ? " open" : "")); };
  host.Tree.OnClick = [this, &log] { log.push_back("click " + Selected()); };
  Arrange({"A"}, "A");
  const outline::TRowGeometry g = host.Tree.Geometry();
  const int x = outline::AnchorX(g, 0, 2) + g.R + 20;  // on the text, away from the toggle spot
  const int y = RowY("A2");
  Click(x, y);
  SendMouse(host.Tree, WM_LBUTTONDBLCLK, x, y);
  SendMouse(host.Tree, WM_LBUTTONUP, x, y);
  EXPECT_EQ(log, (std::vector<std::string>{"click A2", "dbl A2"}));
  EXPECT_TRUE(N("A2")->Expanded());
  SendMouse(host.Tree, WM_LBUTTONDBLCLK, x, y);
  EXPECT_FALSE(N("A2")->Expanded());
}

// The press moves the current row; only the release makes the click, so a press dragged
// across rows takes the current row along and the click reports where it ended.
TEST_F(OutlineInput, ClickFiresOnTheReleaseOverTheCurrentRow) {
  std::vector<std::string> log;
  host.Tree.OnClick = [this, &log] { log.push_back("click " + Selected()); };
  const int x = 60;  // on the texts, right of every toggle spot
  const int below = host.Tree.ItemHeight() * 7 + 2;  // A, A1, A2, A3, B, C: six rows
  struct Case {
    const char* name;
    std::vector<std::pair<UINT, std::string>> steps;  // message, and the row it is over
    std::string current;                              // the current row afterwards
    std::vector<std::string> clicks;
  } cases[] = {
      {"press alone", {{WM_LBUTTONDOWN, "A2"}}, "A2", {}},
      {"press and release", {{WM_LBUTTONDOWN, "A2"}, {WM_LBUTTONUP, "A2"}}, "A2", {"click A2"}},
      {"dragged down",
       {{WM_LBUTTONDOWN, "A1"}, {WM_MOUSEMOVE, "A2"}, {WM_MOUSEMOVE, "A3"}, {WM_LBUTTONUP, "A3"}},
       "A3",
       {"click A3"}},
      {"dragged up", {{WM_LBUTTONDOWN, "B"}, {WM_MOUSEMOVE, "A"}, {WM_LBUTTONUP, "A"}}, "A", {"click A"}},
      {"released below the rows", {{WM_LBUTTONDOWN, "A1"}, {WM_MOUSEMOVE, "A3"}, {WM_LBUTTONUP, ""}}, "A3", {}},
      {"capture lost", {{WM_LBUTTONDOWN, "A1"}, {WM_CAPTURECHANGED, ""}, {WM_MOUSEMOVE, "A3"}, {WM_LBUTTONUP, "A3"}},
       "A1", {}},
      {"moved without a press", {{WM_MOUSEMOVE, "A3"}, {WM_LBUTTONUP, "A3"}}, "B", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Arrange({"A"}, "B");
    log.clear();
    for (const auto& [message, over] : c.steps) {
      const int y = over.empty() ? below : RowY(over);
      if (message == WM_CAPTURECHANGED) {
        ::ReleaseCapture();
      } else if (message == WM_MOUSEMOVE) {
        ::SendMessageA(host.Tree.Handle(), WM_MOUSEMOVE, ::GetCapture() == host.Tree.Handle() ? MK_LBUTTON : 0,
                       MAKELPARAM(x, y));
      } else {
        SendMouse(host.Tree, message, x, y);
      }
    }
    EXPECT_EQ(host.Tree.NodeAtRow(host.Tree.Row())->StoredText(), c.current);
    EXPECT_EQ(log, c.clicks);
    // Only a button still down holds the mouse.
    EXPECT_EQ(::GetCapture(), c.steps.back().first == WM_LBUTTONDOWN ? host.Tree.Handle() : nullptr);
    ::ReleaseCapture();
  }
}

TEST_F(OutlineInput, PressBelowTheRowsChangesNothing) {
  host.Tree.OnClick = [this] { ++clicks; };
  Arrange({}, "B");
  Click(30, host.Tree.ItemHeight() * 3 + 2);  // three rows: A, B, C
  EXPECT_EQ(Selected(), "B");
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(ExpandedNames(), "");
}

TEST_F(OutlineInput, WheelAndScrollBarMoveTheTopRow) {
  host.Tree.Clear();
  for (int i = 0; i < 60; ++i) host.Tree.AddChild(0, "row " + std::to_string(i));
  ASSERT_EQ(host.Tree.TopRow(), 0);
  UINT lines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SendMessageA(host.Tree.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(host.Tree.TopRow(), static_cast<int32_t>(std::min<UINT>(lines, 60 - host.Tree.VisibleRowCount())));
  ::SendMessageA(host.Tree.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(host.Tree.TopRow(), 60 - host.Tree.VisibleRowCount());
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(host.Tree.Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nPos, host.Tree.TopRow());
  EXPECT_EQ(si.nMax, 59);
  EXPECT_EQ(static_cast<int32_t>(si.nPage), host.Tree.VisibleRowCount());
  // Moving the current row above the view scrolls it back.
  SendKey(host.Tree, VK_HOME);
  EXPECT_EQ(host.Tree.TopRow(), 0);
  SendKey(host.Tree, VK_END);
  EXPECT_EQ(host.Tree.Row(), 59);
  EXPECT_EQ(host.Tree.TopRow(), 60 - host.Tree.VisibleRowCount());
}

}  // namespace
}  // namespace qrx::test
