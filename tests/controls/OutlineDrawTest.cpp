// What the outline paints, read back as pixels (under Xvfb): the highlight, the focus
// rectangle, tree lines, pictures, row heights, owner drawing and the column width.
// The text is drawn in blue so that black pixels can only be tree lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "OutlineWindowSupport.h"
#include "controls/GOutlineGeometry.h"
#include "winlib/UiRecorder.h"

namespace qrx::test {
namespace {

using namespace outline;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBack = RGB(230, 240, 200);
constexpr COLORREF kText = RGB(0, 0, 255);
constexpr COLORREF kTransparent = RGB(255, 0, 255);  // the built-in pictures' transparent colour
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// Tree: A (A1, A2 (A2a), A3), B (B1); A and A2 expanded.
class OutlineDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    TGOutlineWindow& t = host.Tree;
    t.SetOptions({ooDrawFocusRect});
    t.SetColor(static_cast<int32_t>(kBack));
    t.SetFontColor(static_cast<int32_t>(kText));
    const int32_t a = t.AddChild(0, "A");
    t.AddChild(a, "A1");
    const int32_t a2 = t.AddChild(a, "A2");
    t.AddChild(a2, "A2a");
    t.AddChild(a, "A3");
    t.AddChild(t.AddChild(0, "B"), "B1");
    N("A")->Expand();
    N("A2")->Expand();
    ASSERT_EQ(t.RowCount(), 6);
    host.Focus();
  }

  TGOutlineNode* N(const std::string& text) { return FindNode(host.Tree, text); }
  RECT Cell(const std::string& text) { return host.Tree.CellRect(host.Tree.RowOfNode(N(text))); }
  static RECT Column(int x, int top, int bottom) { return RECT{x, top, x + 1, bottom}; }

  TCellLayout Layout(const std::string& text) {
    TGOutlineNode* n = N(text);
    return LayoutCell(host.Tree.OutlineStyle(), host.Tree.Geometry(), Cell(text).left, n->Level(), n->HasItems(),
                      n->Expanded(), TextPixels(host.Tree, text) + 1);
  }
  RECT Highlight(const std::string& text) {
    const TCellLayout l = Layout(text);
    const RECT cell = Cell(text);
    return RECT{l.HighlightEdge, cell.top, l.HighlightEnd, cell.bottom};
  }
  static RECT Row(const RECT& cell, int width) { return RECT{0, cell.top, width, cell.bottom}; }

  OutlineHost host;
};

int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

TEST_F(OutlineDraw, HighlightOnTheCurrentRowOnly) {
  host.Tree.SelectNode(N("A1"));
  const Canvas p = PaintedClient(host.Tree);
  const COLORREF hl = ::GetSysColor(COLOR_HIGHLIGHT);
  const RECT h = Highlight("A1");
  EXPECT_GT(p.Count(h, hl), Area(h) / 2);
  EXPECT_EQ(p.Count(Row(Cell("A1"), p.Width()), hl), p.Count(h, hl));  // nothing outside the rectangle
  for (const char* other : {"A", "A2", "A2a", "A3", "B"}) EXPECT_EQ(p.Count(Row(Cell(other), p.Width()), hl), 0) << other;
}

TEST_F(OutlineDraw, EmptyTextGetsNoHighlightAndNoFocusRectangle) {
  host.Tree.AddChild(0, "");
  const int32_t row = host.Tree.RowCount() - 1;
  host.Tree.SetRow(row);
  host.Tree.SelectNode(host.Tree.NodeAtRow(row));
  ASSERT_EQ(::GetFocus(), host.Tree.Handle());
  const Canvas current = PaintedClient(host.Tree);
  host.Tree.SelectNode(N("B"));
  const Canvas other = PaintedClient(host.Tree);
  const RECT cell = host.Tree.CellRect(row);
  EXPECT_EQ(current.Count(Row(cell, current.Width()), ::GetSysColor(COLOR_HIGHLIGHT)), 0);
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = 0; x < current.Width(); ++x) ASSERT_EQ(current.At(x, y), other.At(x, y)) << x << "," << y;
  }
}

TEST_F(OutlineDraw, HighlightStaysWithoutFocusOnlyTheFocusRectangleGoes) {
  host.Tree.SelectNode(N("A2"));
  ASSERT_EQ(::GetFocus(), host.Tree.Handle());
  const Canvas focused = PaintedClient(host.Tree);
  host.Unfocus();
  ASSERT_NE(::GetFocus(), host.Tree.Handle());
  const Canvas unfocused = PaintedClient(host.Tree);
  const RECT h = Highlight("A2");
  const COLORREF hl = ::GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_GT(unfocused.Count(h, hl), Area(h) / 2);
  int onBorder = 0;
  for (int y = 0; y < focused.Height(); ++y) {
    for (int x = 0; x < focused.Width(); ++x) {
      if (focused.At(x, y) == unfocused.At(x, y)) continue;
      const bool border = x >= h.left && x < h.right && y >= h.top && y < h.bottom &&
                          (x == h.left || x == h.right - 1 || y == h.top || y == h.bottom - 1);
      ASSERT_TRUE(border) << "focus changed a pixel off the highlight's border at " << x << "," << y;
      ++onBorder;
    }
  }
  EXPECT_GT(onBorder, 0);

  // Without the option there is no focus rectangle at all.
  host.Tree.SetOptions({});
  host.Focus();
  const Canvas noRectFocused = PaintedClient(host.Tree);
  host.Unfocus();
  const Canvas noRectUnfocused = PaintedClient(host.Tree);
  for (int y = h.top; y < h.bottom; ++y) {
    for (int x = 0; x < noRectFocused.Width(); ++x) ASSERT_EQ(noRectFocused.At(x, y), noRectUnfocused.At(x, y));
  }
}

TEST_F(OutlineDraw, TreeLinesWithoutTheRootOption) {
  const TRowGeometry g = host.Tree.Geometry();
  ASSERT_EQ(g.D, 0);
  host.Tree.SelectNode(N("B"));
  host.Unfocus();  // no focus rectangle among the lines
  const Canvas p = PaintedClient(host.Tree);
  const int cx2 = LineColumn(g, 0, 2);
  const int cx3 = LineColumn(g, 0, 3);
  // A1: not the last child, so its line runs through; then its connector to x0.
  RECT c = Cell("A1");
  EXPECT_EQ(p.Count(Column(cx2, c.top, c.bottom), kBlack), g.R);
  EXPECT_EQ(p.Count(RECT{cx2, c.top + g.Mid, cx2 + g.H / 2, c.top + g.Mid + 1}, kBlack), g.H / 2);
  // A3, the last child: only to the middle.
  c = Cell("A3");
  EXPECT_EQ(p.Count(Column(cx2, c.top, c.top + g.Mid + 1), kBlack), g.Mid + 1);
  EXPECT_EQ(p.Count(Column(cx2, c.top + g.Mid + 1, c.bottom), kBlack), 0);
  // A2a: A2 has a sibling below, so A2's line runs through A2a's row beside A2a's own.
  c = Cell("A2a");
  EXPECT_EQ(p.Count(Column(cx2, c.top, c.bottom), kBlack), g.R);
  EXPECT_EQ(p.Count(Column(cx3, c.top, c.top + g.Mid + 1), kBlack), g.Mid + 1);
  EXPECT_EQ(p.Count(Column(cx3, c.top + g.Mid + 1, c.bottom), kBlack), 0);
  // Top-level rows have no lines at all.
  for (const char* top : {"A", "B"}) EXPECT_EQ(p.Count(Row(Cell(top), p.Width()), kBlack), 0) << top;
}

TEST_F(OutlineDraw, TreeLinesToTheRoot) {
  host.Tree.SetOptions({ooDrawTreeRoot});
  const TRowGeometry g = host.Tree.Geometry();
  ASSERT_EQ(g.D, 1);
  host.Unfocus();
  const Canvas p = PaintedClient(host.Tree);
  const int cx1 = LineColumn(g, 0, 1);
  const int cx2 = LineColumn(g, 0, 2);
  EXPECT_EQ(cx2, cx1 + g.R);
  RECT c = Cell("A");  // not the last top-level node
  EXPECT_EQ(p.Count(Column(cx1, c.top, c.bottom), kBlack), g.R);
  c = Cell("A1");  // A's line passes A's children
  EXPECT_EQ(p.Count(Column(cx1, c.top, c.bottom), kBlack), g.R);
  EXPECT_EQ(p.Count(Column(cx2, c.top, c.bottom), kBlack), g.R);
  c = Cell("B");  // the last top-level node
  EXPECT_EQ(p.Count(Column(cx1, c.top, c.top + g.Mid + 1), kBlack), g.Mid + 1);
  EXPECT_EQ(p.Count(Column(cx1, c.top + g.Mid + 1, c.bottom), kBlack), 0);
}

TEST_F(OutlineDraw, PicturesWithTheControlsColourForTheTransparentOne) {
  host.Tree.SelectNode(N("B"));
  const TRowGeometry g = host.Tree.Geometry();
  // The slot, less the last Half columns where the text begins.
  auto slot = [&](const std::string& text) {
    const RECT c = Cell(text);
    const TCellLayout l = Layout(text);
    return RECT{l.SlotEdge[0], c.top, l.SlotEdge[0] + g.R - g.Half, c.bottom};
  };
  Canvas p = PaintedClient(host.Tree);
  EXPECT_GT(p.Count(slot("A1"), kGrey), 0);  // the leaf page's border
  EXPECT_GT(p.Count(slot("A"), kYellow), 0);  // an open folder
  EXPECT_GT(p.Count(slot("B"), kYellow), 0);  // a closed one
  for (const char* text : {"A", "A1", "A2", "B"}) {
    EXPECT_EQ(p.Count(slot(text), kTransparent), 0) << text;
    EXPECT_GT(p.Count(slot(text), kBack), 0) << text;
  }
  // Pictures never take the highlight.
  EXPECT_EQ(p.Count(RECT{slot("B").left, slot("B").top, Highlight("B").left, slot("B").bottom},
                    ::GetSysColor(COLOR_HIGHLIGHT)),
            0);

  // An empty picture leaves its slot to the background.
  host.Tree.SetPictureLeaf(nullptr);
  EXPECT_EQ(host.Tree.Picture(piLeaf), nullptr);
  p = PaintedClient(host.Tree);
  EXPECT_EQ(p.Count(slot("A1"), kBack), Area(slot("A1")));
}

TEST_F(OutlineDraw, BuiltInPicturesAndOwnCopies) {
  for (int i = 0; i < kPictureCount; ++i) {
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectA(host.Tree.Picture(i), sizeof bm, &bm)) << i;
    EXPECT_EQ(bm.bmWidth, 14);
    EXPECT_EQ(bm.bmHeight, 14);
  }
  // The control keeps a copy: the caller may delete its bitmap at once.
  HBITMAP red = nullptr;
  {
    WindowDc screen(nullptr);
    red = ::CreateCompatibleBitmap(screen.get(), 6, 6);
    UniqueDC dc(::CreateCompatibleDC(screen.get()));
    SelectGuard sel(dc.get(), red);
    UniqueGdi<HBRUSH> brush(::CreateSolidBrush(RGB(255, 0, 0)));
    RECT r{0, 0, 6, 6};
    ::FillRect(dc.get(), &r, brush.get());
    ::SetPixel(dc.get(), 0, 5, RGB(0, 255, 0));  // bottom-left: the transparent colour
  }
  host.Tree.SetPictureLeaf(red);
  ::DeleteObject(red);
  ASSERT_NE(host.Tree.Picture(piLeaf), nullptr);
  const Canvas p = PaintedClient(host.Tree);
  const RECT c = Cell("A1");
  const RECT slot{Layout("A1").SlotEdge[0], c.top, Layout("A1").SlotEdge[0] + host.Tree.ItemHeight(), c.bottom};
  EXPECT_EQ(p.Count(slot, RGB(255, 0, 0)), 6 * 6 - 1);
  EXPECT_EQ(p.Count(slot, RGB(0, 255, 0)), 0);
}

TEST_F(OutlineDraw, RowHeightFollowsTheFontInStandardStyle) {
  ASSERT_EQ(host.Tree.PixelsPerInch(), 96) << "the expected sizes are for a 96 dpi screen";
  auto font = [](int height) {
    return UniqueGdi<HFONT>(::CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
  };
  UniqueGdi<HFONT> small = font(-11), large = font(-20);
  host.Tree.SetFont(small.get());
  EXPECT_EQ(host.Tree.TextHeight(), 11);  // 8 points
  EXPECT_EQ(host.Tree.ItemHeight(), 13);
  host.Tree.SetFont(large.get());
  EXPECT_EQ(host.Tree.TextHeight(), 20);  // 15 points
  EXPECT_EQ(host.Tree.ItemHeight(), 24);
  EXPECT_EQ(host.Tree.CellRect(2).top - host.Tree.CellRect(1).top, 24);
  EXPECT_NE(host.Tree.Font(), large.get());  // its own copy

  // Written heights do not count in standard style; owner drawing keeps the font's height
  // until one is written; back in standard style the font rules again.
  host.Tree.SetItemHeight(15);
  EXPECT_EQ(host.Tree.ItemHeight(), 24);
  host.Tree.SetStyle(otOwnerDraw);
  EXPECT_EQ(host.Tree.ItemHeight(), 24);
  host.Tree.SetItemHeight(30);
  EXPECT_EQ(host.Tree.ItemHeight(), 30);
  EXPECT_EQ(host.Tree.TextHeight(), 25);
  host.Tree.SetFont(small.get());
  EXPECT_EQ(host.Tree.ItemHeight(), 30);
  host.Tree.SetStyle(otStandard);
  EXPECT_EQ(host.Tree.ItemHeight(), 13);
  // A row of no height cannot be: it would leave nothing to click or scroll.
  host.Tree.SetStyle(otOwnerDraw);
  host.Tree.SetItemHeight(0);
  EXPECT_EQ(host.Tree.ItemHeight(), 1);
  EXPECT_GE(host.Tree.VisibleRowCount(), 1);
}

TEST_F(OutlineDraw, OwnerDrawnRows) {
  struct Call {
    int32_t row;
    RECT cell;
    TOwnerDrawState state;
  };
  std::vector<Call> calls;
  const COLORREF green = RGB(0, 200, 0);
  host.Tree.OnDrawItem = [&calls, green](HDC dc, int32_t row, const RECT& cell, TOwnerDrawState state) {
    calls.push_back({row, cell, state});
    UniqueGdi<HBRUSH> brush(::CreateSolidBrush(green));
    ::FillRect(dc, &cell, brush.get());
  };
  host.Tree.SetStyle(otOwnerDraw);
  host.Tree.SetItemHeight(20);
  host.Tree.SetBounds(0, 0, 280, 200);  // a resize makes the column as wide as the window
  host.Tree.SelectNode(N("A1"));
  const int width = host.Tree.ClientRect().right;
  EXPECT_EQ(host.Tree.ColumnWidth(), width);

  calls.clear();
  Canvas focused = PaintedClient(host.Tree);
  ASSERT_EQ(calls.size(), 6u);
  for (const Call& c : calls) {
    EXPECT_EQ(c.cell.bottom - c.cell.top, 20);
    EXPECT_EQ(c.cell.right - c.cell.left, width);
    EXPECT_EQ(c.state, c.row == 1 ? (odSelected | odFocused) : 0u) << c.row;
  }
  const RECT current = host.Tree.CellRect(1);
  EXPECT_LT(focused.Count(current, green), Area(current));  // the focus rectangle round the cell
  EXPECT_EQ(focused.Count(host.Tree.CellRect(0), green), Area(host.Tree.CellRect(0)));

  calls.clear();
  host.Unfocus();
  Canvas unfocused = PaintedClient(host.Tree);
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[1].state, odSelected);
  EXPECT_EQ(unfocused.Count(current, green), Area(current));

  // Owner drawing without a handler is the outline's own drawing at the written height.
  host.Tree.OnDrawItem = nullptr;
  const Canvas own = PaintedClient(host.Tree);
  EXPECT_GT(own.Count(host.Tree.CellRect(1), ::GetSysColor(COLOR_HIGHLIGHT)), 0);
}

TEST_F(OutlineDraw, ColumnWidthIsTheWidestVisibleRow) {
  TGOutlineWindow& t = host.Tree;
  const TRowGeometry g = t.Geometry();
  auto widthOf = [&](const std::string& text, int32_t level) {
    return DisplayWidth(t.OutlineStyle(), g, level, TextPixels(t, text) + 1);
  };
  auto horizontalBar = [&t] {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(t.Handle(), SB_HORZ, &si);
    return si;
  };
  const int32_t narrow = t.ColumnWidth();
  EXPECT_EQ(narrow, widthOf("A2a", 3));

  const std::string wide(80, 'W');
  t.AddChild(FindNode(t, "A2")->Index(), wide);
  EXPECT_EQ(t.ColumnWidth(), widthOf(wide, 3));
  ASSERT_GT(t.ColumnWidth(), t.ClientRect().right);
  ::UpdateWindow(t.Handle());  // the bars follow the column when the window paints
  SCROLLINFO si = horizontalBar();
  EXPECT_EQ(si.nMax, t.ColumnWidth() - 1);
  EXPECT_EQ(static_cast<int>(si.nPage), t.ClientRect().right);
  ::SendMessageA(t.Handle(), WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(t.LeftOffset(), t.ColumnWidth() - t.ClientRect().right);

  // Hidden rows do not count.
  N("A2")->Collapse();
  EXPECT_EQ(t.ColumnWidth(), std::max({widthOf("A1", 2), widthOf("A2", 2), widthOf("A3", 2)}));
  EXPECT_EQ(t.LeftOffset(), 0);
  N("A2")->Expand();
  EXPECT_EQ(t.ColumnWidth(), widthOf(wide, 3));

  // A stored text is measured again, both when it grows and when the widest shrinks.
  const std::string wider = wide + std::string(10, 'W');
  TGOutlineNode* b = N("B");
  b->SetText(wider);
  EXPECT_EQ(t.ColumnWidth(), widthOf(wider, 1));
  b->SetText("B");
  EXPECT_EQ(t.ColumnWidth(), widthOf(wide, 3));
  TGOutlineNode* wideNode = FindNode(t, wide);
  ASSERT_NE(wideNode, nullptr);
  t.Delete(wideNode->Index());
  EXPECT_EQ(t.ColumnWidth(), narrow);

  // The root lines move every row of the tree styles right by a row.
  t.SetOptions({ooDrawTreeRoot, ooDrawFocusRect});
  EXPECT_EQ(t.ColumnWidth(), narrow + t.ItemHeight());
  t.SetOptions({ooDrawFocusRect});
  EXPECT_EQ(t.ColumnWidth(), narrow);

  // A larger font widens everything.
  UniqueGdi<HFONT> large(::CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
  t.SetFont(large.get());
  EXPECT_EQ(t.ColumnWidth(), DisplayWidth(t.OutlineStyle(), t.Geometry(), 3, TextPixels(t, "A2a") + 1));
  EXPECT_GT(t.ColumnWidth(), narrow);

  // Without a horizontal scroll bar the column is as wide as the window.
  t.SetScrollBars(TOutlineScrollBars::Vertical);
  t.SetBounds(0, 0, 250, 150);
  EXPECT_EQ(t.ColumnWidth(), t.ClientRect().right);
}

// A matched line often holds tabs: they are drawn and measured as the spaces up to the
// next stop of eight characters, never as the font's box for a control character.
TEST_F(OutlineDraw, TabsAreDrawnAndMeasuredAsSpacesToTheNextStop) {
  TGOutlineWindow& t = host.Tree;
  struct Case {
    std::string withTabs, expanded;
  } cases[] = {
      {"int\t\tdata_phase;", "int             data_phase;"},
      {"\tx = 1;\t// eight", "        x = 1;  // eight"},
      {"12345678\tnine", "12345678        nine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expanded);
    t.Clear();
    t.AddChild(0, c.withTabs);
    t.AddChild(0, c.expanded);
    t.AddChild(0, "current");
    t.SelectNode(N("current"));
    const Canvas p = PaintedClient(t);
    const RECT tabbed = Row(t.CellRect(0), p.Width());
    const RECT spaced = Row(t.CellRect(1), p.Width());
    int same = 0;
    for (int y = 0; y < tabbed.bottom - tabbed.top; ++y) {
      for (int x = 0; x < p.Width(); ++x) same += p.At(x, tabbed.top + y) == p.At(x, spaced.top + y);
    }
    EXPECT_EQ(same, Area(tabbed));
    EXPECT_GT(p.Count(tabbed, kText), 0);
    EXPECT_EQ(t.ColumnWidth(), DisplayWidth(t.OutlineStyle(), t.Geometry(), 1, TextPixels(t, c.expanded) + 1));
  }
}

TEST_F(OutlineDraw, ShownTextsThatChangeWithoutAStore) {
  TGOutlineWindow& t = host.Tree;
  std::string suffix;
  t.OnGetNodeText = [&suffix](TGOutlineNode*, std::string& text) { text += suffix; };
  const int32_t before = t.ColumnWidth();
  suffix = std::string(40, 'M');
  // The application says so...
  t.InvalidateTextWidths();
  const int32_t after = DisplayWidth(t.OutlineStyle(), t.Geometry(), 3, TextPixels(t, "A2a" + suffix) + 1);
  EXPECT_EQ(t.ColumnWidth(), after);
  // ...or a row on screen shows it when painted.
  suffix += std::string(10, 'M');
  EXPECT_EQ(t.ColumnWidth(), after);
  const Canvas p = PaintedClient(t);
  EXPECT_EQ(t.ColumnWidth(), DisplayWidth(t.OutlineStyle(), t.Geometry(), 3, TextPixels(t, "A2a" + suffix) + 1));
  EXPECT_GT(after, before);
}

TEST_F(OutlineDraw, AFailingTextHandlerEndsThePaintWithAnErrorBox) {
  UiRecorder ui;
  host.Tree.OnGetNodeText = [](TGOutlineNode*, std::string&) { throw std::runtime_error("no text today"); };
  ::InvalidateRect(host.Tree.Handle(), nullptr, FALSE);
  ::UpdateWindow(host.Tree.Handle());
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Text, "no text today");
  EXPECT_FALSE(::GetUpdateRect(host.Tree.Handle(), nullptr, FALSE));  // the paint was closed
}

TEST(OutlineWindow, NewControlSizeAndBorder) {
  OutlineHost host;
  TGOutlineWindow tree;
  tree.Create(host.Handle());
  EXPECT_EQ(tree.Width(), 121);
  EXPECT_EQ(tree.Height(), 97);
  EXPECT_NE(::GetWindowLongPtrA(tree.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  tree.SetBorderStyle(TOutlineBorderStyle::None);
  EXPECT_EQ(::GetWindowLongPtrA(tree.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(tree.OutlineStyle(), osTreePictureText);
  EXPECT_EQ(tree.Options(), (TOutlineOptions{ooDrawTreeRoot, ooDrawFocusRect}));
}

}  // namespace
}  // namespace qrx::test
