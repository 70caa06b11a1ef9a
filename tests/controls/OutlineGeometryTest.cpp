// Where the pieces of an outline row go, checked without a window. Expected numbers are
// worked out by hand from the row rules for one row size: text height 11, row height 13
// (so Half = 1, Mid = 6), cell left edge 5, level 2, text width W = 40.
#include "controls/GOutlineGeometry.h"

#include <gtest/gtest.h>

namespace qrx::outline {
namespace {

TEST(OutlineSizes, TextAndRowHeightFromPointsAndScreen) {
  struct Case {
    int32_t points, ppi, h, r;
  } cases[] = {
      {8, 96, 11, 13},    // 10.67 -> 11; 13.2 -> 13
      {9, 96, 12, 14},    // 12; 14.4 -> 14
      {10, 96, 13, 16},   // 13.33 -> 13; 15.6 -> 16
      {12, 120, 20, 24},  // 20; 24
      {8, 120, 13, 16},   // 13.33 -> 13
      {3, 84, 4, 5},      // 3.5 -> 4 (half away from zero); 4.8 -> 5
      {15, 96, 20, 24},
      {0, 96, 0, 0},
  };
  for (const Case& c : cases) {
    const TItemSizes s = StandardItemSizes(c.points, c.ppi);
    EXPECT_EQ(s.TextHeight, c.h) << c.points << "pt at " << c.ppi;
    EXPECT_EQ(s.RowHeight, c.r) << c.points << "pt at " << c.ppi;
  }
}

TEST(OutlineSizes, OwnerDrawTextHeightFollowsItemHeight) {
  struct Case {
    int32_t itemHeight, h;
  } cases[] = {{15, 13}, {16, 13}, {18, 15}, {3, 3}, {30, 25}, {1, 1}, {0, 0}};
  for (const Case& c : cases) {
    const TItemSizes s = OwnerDrawItemSizes(c.itemHeight);
    EXPECT_EQ(s.RowHeight, c.itemHeight);
    EXPECT_EQ(s.TextHeight, c.h) << c.itemHeight;
  }
}

TEST(OutlineSizes, PointsOfAFont) {
  struct Case {
    int32_t logHeight, leading, ppi, points;
  } cases[] = {
      {-11, 0, 96, 8},   // 8.25
      {-13, 2, 96, 10},  // 9.75: a character height ignores the leading
      {16, 3, 96, 10},   // a cell height loses its leading: 13 pixels, 9.75
      {-16, 0, 120, 10}, // 9.6
      {-20, 0, 96, 15},
      {-11, 0, 0, 0},    // no screen resolution: no size rather than a division by zero
  };
  for (const Case& c : cases) EXPECT_EQ(FontPoints(c.logHeight, c.leading, c.ppi), c.points) << c.logHeight;
  EXPECT_EQ(RoundDiv(-5, 2), -3);
  EXPECT_EQ(RoundDiv(-4, 3), -1);
  EXPECT_EQ(RoundDiv(7, 2), 4);
}

TEST(OutlineGeometry, DerivedSizesAndTheRootOptionOnlyForTreeStyles) {
  const TItemSizes sizes{11, 13};
  const TOutlineOptions withRoot{ooDrawTreeRoot};
  for (TOutlineStyle style : {osText, osPlusMinusText, osPictureText, osPlusMinusPictureText, osTreeText,
                              osTreePictureText}) {
    const TRowGeometry g = MakeRowGeometry(sizes, style, withRoot);
    EXPECT_EQ(g.Half, 1);
    EXPECT_EQ(g.Mid, 6);
    EXPECT_EQ(g.D, IsTreeStyle(style) ? 1 : 0) << style;
    EXPECT_EQ(MakeRowGeometry(sizes, style, {}).D, 0);
  }
  const TRowGeometry odd = MakeRowGeometry({12, 15}, osTreeText, {});
  EXPECT_EQ(odd.Half, 1);  // 3 div 2
  EXPECT_EQ(odd.Mid, 7);
}

TEST(OutlineGeometry, CellLayoutOfEveryStyle) {
  struct Case {
    TOutlineStyle style;
    TOutlineOptions options;
    bool hasChildren, expanded;
    int32_t slotCount;
    int32_t slot0, picture0, slot1, picture1;
    int32_t highlightEdge, textEdge, highlightEnd;
    bool lines;
  } cases[] = {
      {osText, {}, true, true, 0, 0, piNone, 0, piNone, 18, 18, 58, false},
      {osText, {ooDrawTreeRoot}, true, true, 0, 0, piNone, 0, piNone, 18, 18, 58, false},
      {osPlusMinusText, {}, true, true, 1, 18, piMinus, 0, piNone, 31, 31, 71, false},
      {osPlusMinusText, {}, true, false, 1, 18, piPlus, 0, piNone, 31, 31, 71, false},
      {osPlusMinusText, {}, false, false, 1, 18, piNone, 0, piNone, 31, 31, 71, false},
      {osPictureText, {}, true, true, 1, 18, piOpen, 0, piNone, 31, 31, 71, false},
      {osPictureText, {ooDrawTreeRoot}, true, false, 1, 18, piClosed, 0, piNone, 31, 31, 71, false},
      {osPictureText, {}, false, true, 1, 18, piLeaf, 0, piNone, 31, 31, 71, false},
      {osPlusMinusPictureText, {}, true, false, 2, 18, piPlus, 31, piClosed, 44, 44, 84, false},
      {osPlusMinusPictureText, {}, false, false, 2, 18, piNone, 31, piLeaf, 44, 44, 84, false},
      {osPlusMinusPictureText, {}, true, true, 2, 18, piMinus, 31, piOpen, 44, 44, 84, false},
      // x0 = 5 + (2 - 1 + D) * 13 - 1: 17 without the root lines, 30 with them.
      {osTreeText, {}, true, true, 0, 0, piNone, 0, piNone, 17, 18, 58, true},
      {osTreeText, {ooDrawTreeRoot}, true, true, 0, 0, piNone, 0, piNone, 30, 31, 71, true},
      {osTreePictureText, {}, true, true, 1, 18, piOpen, 0, piNone, 30, 30, 71, true},
      {osTreePictureText, {ooDrawTreeRoot}, false, false, 1, 31, piLeaf, 0, piNone, 43, 43, 84, true},
  };
  for (const Case& c : cases) {
    const TRowGeometry g = MakeRowGeometry({11, 13}, c.style, c.options);
    const TCellLayout l = LayoutCell(c.style, g, 5, 2, c.hasChildren, c.expanded, 40);
    SCOPED_TRACE(testing::Message() << "style " << c.style << " D " << g.D << " children " << c.hasChildren
                                    << " expanded " << c.expanded);
    EXPECT_EQ(l.SlotCount, c.slotCount);
    if (c.slotCount > 0) {
      EXPECT_EQ(l.SlotEdge[0], c.slot0);
      EXPECT_EQ(l.SlotPicture[0], c.picture0);
    }
    if (c.slotCount > 1) {
      EXPECT_EQ(l.SlotEdge[1], c.slot1);
      EXPECT_EQ(l.SlotPicture[1], c.picture1);
    }
    EXPECT_EQ(l.HighlightEdge, c.highlightEdge);
    EXPECT_EQ(l.TextEdge, c.textEdge);
    EXPECT_EQ(l.HighlightEnd, c.highlightEnd);
    EXPECT_EQ(l.TreeLines, c.lines);
  }
}

TEST(OutlineGeometry, AnchorAndLineColumns) {
  const TRowGeometry flat = MakeRowGeometry({11, 13}, osTreeText, {});
  const TRowGeometry rooted = MakeRowGeometry({11, 13}, osTreeText, {ooDrawTreeRoot});
  EXPECT_EQ(AnchorX(flat, 0, 1), -1);  // a top-level row starts at the cell's edge, less Half
  EXPECT_EQ(AnchorX(flat, 0, 3), 25);
  EXPECT_EQ(AnchorX(rooted, 0, 1), 12);
  EXPECT_EQ(AnchorX(rooted, 10, 3), 48);
  EXPECT_EQ(LineColumn(flat, 0, 2), 6);
  EXPECT_EQ(LineColumn(flat, 0, 3), 19);
  EXPECT_EQ(LineColumn(rooted, 0, 1), 6);
  EXPECT_EQ(LineColumn(rooted, 0, 3), 32);
  EXPECT_EQ(LineColumn(rooted, -20, 3), 12);  // scrolled to the right
}

TEST(OutlineGeometry, ColumnWidthIndents) {
  struct Case {
    TOutlineStyle style;
    TOutlineOptions options;
    int32_t level, w, width;
  } cases[] = {
      {osText, {}, 2, 40, 53},
      {osText, {ooDrawTreeRoot}, 2, 40, 53},
      {osPlusMinusText, {}, 2, 40, 66},
      {osPictureText, {}, 2, 40, 66},
      {osPlusMinusPictureText, {}, 2, 40, 79},
      {osTreeText, {}, 2, 40, 52},
      {osTreeText, {ooDrawTreeRoot}, 2, 40, 65},
      {osTreePictureText, {}, 2, 40, 65},
      {osTreePictureText, {ooDrawTreeRoot}, 2, 40, 78},
      {osTreePictureText, {}, 3, 100, 138},
      // Never below 0: the root, and a top-level tree row whose indent is -Half.
      {osText, {}, 0, 1, 0},
      {osTreeText, {}, 1, 0, 0},
      {osTreeText, {}, 1, 1, 0},
      {osTreeText, {}, 1, 2, 1},
  };
  for (const Case& c : cases) {
    const TRowGeometry g = MakeRowGeometry({11, 13}, c.style, c.options);
    EXPECT_EQ(DisplayWidth(c.style, g, c.level, c.w), c.width) << "style " << c.style << " level " << c.level;
  }
}

TEST(OutlineGeometry, ToggleHitIncludesBothEnds) {
  struct Case {
    TOutlineOptions options;
    int32_t level, x;
    bool hit;
  } cases[] = {
      {{}, 2, 11, false}, {{}, 2, 12, true},  {{}, 2, 18, true},  {{}, 2, 25, true},
      {{}, 2, 26, false}, {{}, 1, -1, true},  {{}, 1, 12, true},  {{}, 1, 13, false},
      {{ooDrawTreeRoot}, 2, 24, false},       {{ooDrawTreeRoot}, 2, 25, true},
      {{ooDrawTreeRoot}, 2, 38, true},        {{ooDrawTreeRoot}, 2, 39, false},
  };
  for (const Case& c : cases) {
    const TRowGeometry g = MakeRowGeometry({11, 13}, osTreePictureText, c.options);
    EXPECT_EQ(HitsToggle(g, 0, c.level, c.x), c.hit) << "D " << g.D << " level " << c.level << " x " << c.x;
  }
}

TEST(OutlineGeometry, TreeLines) {
  using Lines = std::vector<TLineSegment>;
  struct Case {
    TOutlineOptions options;
    int32_t level;
    std::vector<bool> last;  // [0] unused; [k]: the level-k ancestor (or the node) is a last child
    Lines expected;
  } cases[] = {
      // Without the root lines a top-level row has none.
      {{}, 1, {false, false}, {}},
      {{}, 1, {false, true}, {}},
      // Level 2, not last: through the row, plus the connector to x0.
      {{}, 2, {false, false, false}, {{6, 100, 6, 113}, {6, 106, 11, 106}}},
      // The last child's connector stops at the middle.
      {{}, 2, {false, false, true}, {{6, 100, 6, 106}, {6, 106, 11, 106}}},
      // An ancestor that is not a last child shows its line through the row; top-level
      // ancestors draw nothing without the root lines.
      {{}, 3, {false, false, false, true}, {{6, 100, 6, 113}, {19, 100, 19, 106}, {19, 106, 24, 106}}},
      {{}, 3, {false, false, true, false}, {{19, 100, 19, 113}, {19, 106, 24, 106}}},
      // With the root lines every level moves right by R and top-level rows get connectors.
      {{ooDrawTreeRoot}, 1, {false, false}, {{6, 100, 6, 113}, {6, 106, 11, 106}}},
      {{ooDrawTreeRoot}, 1, {false, true}, {{6, 100, 6, 106}, {6, 106, 11, 106}}},
      {{ooDrawTreeRoot}, 3, {false, false, true, true}, {{6, 100, 6, 113}, {32, 100, 32, 106}, {32, 106, 37, 106}}},
  };
  for (const Case& c : cases) {
    const TRowGeometry g = MakeRowGeometry({11, 13}, osTreePictureText, c.options);
    const Lines got = TreeLines(g, 0, 100, 113, c.level, c.last);
    ASSERT_EQ(got.size(), c.expected.size()) << "D " << g.D << " level " << c.level;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i], c.expected[i]) << "D " << g.D << " level " << c.level << " segment " << i << ": "
                                       << got[i].X1 << "," << got[i].Y1 << " " << got[i].X2 << "," << got[i].Y2;
    }
  }
}

TEST(OutlineGeometry, PicturePlacement) {
  struct Case {
    const char* what;
    int32_t slot, offset, bw, bh;
    bool stretch;
    TPicturePlacement expected;  // Left, Top, Width, Height, SourceWidth, SourceHeight, NextOffset
  } cases[] = {
      {"as tall as the text", 18, 1, 11, 11, false, {19, 101, 11, 11, 11, 11, 1}},
      {"small: centred in the row", 18, 1, 9, 7, false, {19, 103, 9, 7, 9, 7, 1}},
      {"one short of the text: at the box top", 18, 1, 9, 10, false, {19, 101, 9, 10, 9, 10, 1}},
      {"wide: only the left H columns", 18, 1, 20, 10, false, {19, 101, 11, 10, 11, 10, 1}},
      {"stretched into the H by H box", 18, 1, 9, 7, true, {19, 101, 11, 11, 9, 7, 1}},
      {"later slot after a tall picture", 31, 2, 9, 7, false, {33, 103, 9, 7, 9, 7, 2}},
      // Taller than the text: o = (bh - H) div 2 moves it right and sets the later offset.
      {"tall", 18, 1, 14, 14, false, {19, 100, 11, 14, 11, 14, 1}},
      {"taller", 18, 1, 16, 16, false, {20, 101, 11, 16, 11, 16, 2}},
      {"taller, stretch makes no difference", 18, 1, 16, 16, true, {20, 101, 11, 16, 11, 16, 2}},
      {"tall and narrow", 18, 1, 5, 15, false, {20, 101, 5, 15, 5, 15, 2}},
  };
  const TRowGeometry g = MakeRowGeometry({11, 13}, osTreePictureText, {});
  for (const Case& c : cases) {
    const TPicturePlacement p = PlacePicture(g, c.slot, c.offset, 100, c.bw, c.bh, c.stretch);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(p.Left, c.expected.Left);
    EXPECT_EQ(p.Top, c.expected.Top);
    EXPECT_EQ(p.Width, c.expected.Width);
    EXPECT_EQ(p.Height, c.expected.Height);
    EXPECT_EQ(p.SourceWidth, c.expected.SourceWidth);
    EXPECT_EQ(p.SourceHeight, c.expected.SourceHeight);
    EXPECT_EQ(p.NextOffset, c.expected.NextOffset);
  }
}

}  // namespace
}  // namespace qrx::outline
