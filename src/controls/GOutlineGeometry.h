#pragma once
// Where each piece of an outline row goes: text and row heights, the tree anchor, the
// picture slots, the highlight, the tree lines, the column width and the toggle spot.
// Plain numbers in, plain numbers out, so the window part draws and hit-tests with the
// same arithmetic that tests check without a window.
#include <array>
#include <cstdint>
#include <vector>

#include "outline/GOutline.h"

namespace qrx::outline {

// num / den rounded to the nearest integer, halves away from zero; den > 0.
int32_t RoundDiv(int64_t num, int64_t den);

struct TItemSizes {
  int32_t TextHeight;  // H
  int32_t RowHeight;   // R
};

// Standard style: the text is as tall as the font's point size on this screen, and a
// row leaves a fifth of that again for air.
TItemSizes StandardItemSizes(int32_t points, int32_t pixelsPerInch);
// Owner-drawn: the row height is given and the text height follows from it.
TItemSizes OwnerDrawItemSizes(int32_t itemHeight);
// The point size of a font of the given LOGFONT height: negative heights are character
// heights, positive ones cell heights that still hold the internal leading.
int32_t FontPoints(int32_t logHeight, int32_t internalLeading, int32_t pixelsPerInch);

// What every cell of one outline shares.
struct TRowGeometry {
  int32_t H = 0;     // text height
  int32_t R = 0;     // row height
  int32_t Half = 0;  // (R - H) div 2
  int32_t Mid = 0;   // R div 2
  int32_t D = 0;     // 1 when the tree styles draw lines to the root
};
TRowGeometry MakeRowGeometry(TItemSizes sizes, TOutlineStyle style, TOutlineOptions options);

bool IsTreeStyle(TOutlineStyle style);

// x0: where a tree row's connector ends and its picture or text begins.
int32_t AnchorX(const TRowGeometry& g, int32_t cellLeft, int32_t level);
// cx(k): the column of the vertical tree line of level k.
int32_t LineColumn(const TRowGeometry& g, int32_t cellLeft, int32_t level);

// Picture numbers, as the control numbers its pictures.
enum TPictureIndex : int32_t { piPlus = 0, piMinus = 1, piOpen = 2, piClosed = 3, piLeaf = 4, piNone = -1 };
inline constexpr int kPictureCount = 5;

struct TCellLayout {
  int32_t SlotEdge[2] = {0, 0};           // left edges of the picture slots
  int32_t SlotPicture[2] = {piNone, piNone};  // what each slot shows (piNone: nothing)
  int32_t SlotCount = 0;
  bool TreeLines = false;
  int32_t HighlightEdge = 0;
  int32_t TextEdge = 0;
  int32_t HighlightEnd = 0;
};
// `textWidth` is W, the text's width plus one.
TCellLayout LayoutCell(TOutlineStyle style, const TRowGeometry& g, int32_t cellLeft, int32_t level,
                       bool hasChildren, bool expanded, int32_t textWidth);

// The width a node needs in the single column: its indent plus W, never below 0.
int32_t DisplayWidth(TOutlineStyle style, const TRowGeometry& g, int32_t level, int32_t textWidth);

// A press toggles a tree-picture row when it lands in [x0, x0 + R], both ends included.
bool HitsToggle(const TRowGeometry& g, int32_t cellLeft, int32_t level, int32_t x);

// One straight piece of the tree lines, drawn from (X1, Y1) up to but not including
// (X2, Y2), as a pen draws it.
struct TLineSegment {
  int32_t X1, Y1, X2, Y2;
  bool operator==(const TLineSegment&) const = default;
};
// The tree lines of a node of `level`: lastChild[k] (k = 1 .. level) tells whether the
// node's ancestor at level k, or the node itself at k = level, is the last child of its
// parent. Element 0 is unused.
std::vector<TLineSegment> TreeLines(const TRowGeometry& g, int32_t cellLeft, int32_t cellTop, int32_t cellBottom,
                                    int32_t level, const std::vector<bool>& lastChild);

// Where a bitmap of bw by bh goes in a slot whose left edge is `slotLeft`. `offset` is
// the horizontal offset inside the slot (Half for a cell's first picture); a bitmap
// taller than the text hands its own offset on to the later slots of the cell.
struct TPicturePlacement {
  int32_t Left = 0, Top = 0;           // destination
  int32_t Width = 0, Height = 0;       // destination size
  int32_t SourceWidth = 0, SourceHeight = 0;  // the part of the bitmap taken, from its top-left
  int32_t NextOffset = 0;
};
TPicturePlacement PlacePicture(const TRowGeometry& g, int32_t slotLeft, int32_t offset, int32_t cellTop,
                               int32_t bw, int32_t bh, bool stretch);

}  // namespace qrx::outline
