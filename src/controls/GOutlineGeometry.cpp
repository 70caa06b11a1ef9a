#include "controls/GOutlineGeometry.h"

#include <algorithm>

namespace qrx::outline {

int32_t RoundDiv(int64_t num, int64_t den) {
  const int64_t q = (2 * (num < 0 ? -num : num) + den) / (2 * den);
  return static_cast<int32_t>(num < 0 ? -q : q);
}

TItemSizes StandardItemSizes(int32_t points, int32_t pixelsPerInch) {
  const int32_t h = RoundDiv(static_cast<int64_t>(points) * pixelsPerInch, 72);
  return {h, RoundDiv(static_cast<int64_t>(h) * 120, 100)};
}

TItemSizes OwnerDrawItemSizes(int32_t itemHeight) {
  return {RoundDiv(static_cast<int64_t>(itemHeight) * 100, 120), itemHeight};
}

int32_t FontPoints(int32_t logHeight, int32_t internalLeading, int32_t pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  const int64_t pixels = logHeight < 0 ? -static_cast<int64_t>(logHeight) : static_cast<int64_t>(logHeight) - internalLeading;
  return RoundDiv(pixels * 72, pixelsPerInch);
}

bool IsTreeStyle(TOutlineStyle style) { return style == osTreeText || style == osTreePictureText; }

TRowGeometry MakeRowGeometry(TItemSizes sizes, TOutlineStyle style, TOutlineOptions options) {
  TRowGeometry g;
  g.H = sizes.TextHeight;
  g.R = sizes.RowHeight;
  g.Half = (g.R - g.H) / 2;
  g.Mid = g.R / 2;
  g.D = IsTreeStyle(style) && options.Contains(ooDrawTreeRoot) ? 1 : 0;
  return g;
}

int32_t AnchorX(const TRowGeometry& g, int32_t cellLeft, int32_t level) {
  return cellLeft + (level - 1 + g.D) * g.R - g.Half;
}

int32_t LineColumn(const TRowGeometry& g, int32_t cellLeft, int32_t level) {
  return cellLeft + (level - 2 + g.D) * g.R + g.Mid;
}

namespace {

int32_t PlusMinus(bool hasChildren, bool expanded) {
  if (!hasChildren) return piNone;
  return expanded ? piMinus : piPlus;
}

int32_t FolderOrLeaf(bool hasChildren, bool expanded) {
  if (!hasChildren) return piLeaf;
  return expanded ? piOpen : piClosed;
}

}  // namespace

TCellLayout LayoutCell(TOutlineStyle style, const TRowGeometry& g, int32_t cellLeft, int32_t level,
                       bool hasChildren, bool expanded, int32_t textWidth) {
  TCellLayout c;
  const int32_t x = cellLeft;
  const int32_t L = level;
  const int32_t R = g.R;
  auto slot = [&c](int32_t edge, int32_t picture) {
    c.SlotEdge[c.SlotCount] = edge;
    c.SlotPicture[c.SlotCount] = picture;
    ++c.SlotCount;
  };
  switch (style) {
    case osText:
      c.TextEdge = x + (L - 1) * R;
      c.HighlightEdge = c.TextEdge;
      c.HighlightEnd = c.TextEdge + textWidth;
      break;
    case osPlusMinusText:
      slot(x + (L - 1) * R, PlusMinus(hasChildren, expanded));
      c.TextEdge = x + L * R;
      c.HighlightEdge = c.TextEdge;
      c.HighlightEnd = c.TextEdge + textWidth;
      break;
    case osPictureText:
      slot(x + (L - 1) * R, FolderOrLeaf(hasChildren, expanded));
      c.TextEdge = x + L * R;
      c.HighlightEdge = c.TextEdge;
      c.HighlightEnd = c.TextEdge + textWidth;
      break;
    case osPlusMinusPictureText:
      slot(x + (L - 1) * R, PlusMinus(hasChildren, expanded));
      slot(x + L * R, FolderOrLeaf(hasChildren, expanded));
      c.TextEdge = x + (L + 1) * R;
      c.HighlightEdge = c.TextEdge;
      c.HighlightEnd = c.TextEdge + textWidth;
      break;
    case osTreeText: {
      const int32_t x0 = AnchorX(g, x, L);
      c.TreeLines = true;
      c.HighlightEdge = x0;
      c.TextEdge = x0 + g.Half;
      c.HighlightEnd = x0 + g.Half + textWidth;
      break;
    }
    case osTreePictureText: {
      const int32_t x0 = AnchorX(g, x, L);
      c.TreeLines = true;
      slot(x + (L - 1 + g.D) * R, FolderOrLeaf(hasChildren, expanded));
      c.HighlightEdge = x0 + R;
      c.TextEdge = x0 + R;
      c.HighlightEnd = x0 + R + g.Half + textWidth;
      break;
    }
  }
  return c;
}

int32_t DisplayWidth(TOutlineStyle style, const TRowGeometry& g, int32_t level, int32_t textWidth) {
  const int32_t L = level;
  const int32_t R = g.R;
  int32_t indent = 0;
  switch (style) {
    case osText: indent = (L - 1) * R; break;
    case osPlusMinusText:
    case osPictureText: indent = L * R; break;
    case osPlusMinusPictureText: indent = (L + 1) * R; break;
    case osTreeText: indent = (L - 1) * R - g.Half + g.D * R; break;
    case osTreePictureText: indent = L * R - g.Half + g.D * R; break;
  }
  return std::max(0, indent + textWidth);
}

bool HitsToggle(const TRowGeometry& g, int32_t cellLeft, int32_t level, int32_t x) {
  const int32_t x0 = AnchorX(g, cellLeft, level);
  return x >= x0 && x <= x0 + g.R;
}

std::vector<TLineSegment> TreeLines(const TRowGeometry& g, int32_t cellLeft, int32_t cellTop, int32_t cellBottom,
                                    int32_t level, const std::vector<bool>& lastChild) {
  std::vector<TLineSegment> lines;
  auto isLast = [&lastChild](int32_t k) {
    return k >= 0 && static_cast<std::size_t>(k) < lastChild.size() && lastChild[static_cast<std::size_t>(k)];
  };
  // The lines of the ancestors that still have siblings below run through the row.
  const int32_t highest = g.D == 1 ? 1 : 2;
  for (int32_t k = level - 1; k >= highest; --k) {
    if (isLast(k)) continue;
    const int32_t cx = LineColumn(g, cellLeft, k);
    lines.push_back({cx, cellTop, cx, cellBottom});
  }
  if (level >= 2 || g.D == 1) {
    const int32_t cx = LineColumn(g, cellLeft, level);
    const int32_t middle = cellTop + g.Mid;
    lines.push_back({cx, cellTop, cx, isLast(level) ? middle : cellBottom});
    lines.push_back({cx, middle, cx + g.H / 2, middle});
  }
  return lines;
}

TPicturePlacement PlacePicture(const TRowGeometry& g, int32_t slotLeft, int32_t offset, int32_t cellTop,
                               int32_t bw, int32_t bh, bool stretch) {
  TPicturePlacement p;
  if (bh <= g.H) {
    p.Left = slotLeft + offset;
    p.NextOffset = offset;
    if (stretch) {
      p.Top = cellTop + g.Half;
      p.Width = p.Height = g.H;
      p.SourceWidth = bw;
      p.SourceHeight = bh;
    } else {
      p.Top = (g.H - bh) / 2 > 0 ? cellTop + (g.R - bh) / 2 : cellTop + g.Half;
      p.Width = p.SourceWidth = std::min(bw, g.H);
      p.Height = p.SourceHeight = bh;
    }
  } else {
    const int32_t o = (bh - g.H) / 2;
    p.Left = slotLeft + o;
    p.Top = cellTop + o - 1;
    p.Width = p.SourceWidth = std::min(bw, g.H);
    p.Height = p.SourceHeight = bh;
    p.NextOffset = o;
  }
  return p;
}

}  // namespace qrx::outline
