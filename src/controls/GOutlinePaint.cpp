// Drawing: the rows that the paint request touches, each into an off-screen bitmap first
// so that scrolling and moving the current row do not flicker.
#include <algorithm>
#include <vector>

#include "controls/GOutlineWindow.h"
#include "winlib/Colors.h"
#include "winlib/GdiScopes.h"

namespace qrx {
namespace {

using namespace outline;

// The control's colours; "no colour" draws as the system's window and text colours.
COLORREF Background(int32_t color) { return ResolveColor(color, ::GetSysColor(COLOR_WINDOW)); }
COLORREF Foreground(int32_t color) { return ResolveColor(color, ::GetSysColor(COLOR_WINDOWTEXT)); }

void Fill(HDC dc, const RECT& r, COLORREF color) {
  UniqueGdi<HBRUSH> brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, brush.get());
}

}  // namespace

void TGOutlineWindow::Paint() {
  ++work_.Paints;
  // The bars first: showing one changes the client area the rows are drawn into.
  if (scrollBarsStale_) UpdateScrollBars();
  repaintPending_ = false;
  int32_t widest = 0;
  {
    PaintScope paint(hwnd_);
    if (!paint.dc()) return;
    widest = PaintArea(paint.dc(), paint.area());
  }
  WidenTo(widest);
}

// A row on screen turned out wider than the column: its text changed without being
// stored (a count that grew, say). Widen once the paint is over.
void TGOutlineWindow::WidenTo(int32_t widest) {
  if (widest > columnWidth_ && ColumnFollowsTexts() && CanMeasure()) SetColumnWidth(widest);
}

int32_t TGOutlineWindow::PaintArea(HDC target, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  int32_t widest = columnWidth_;
  if (width <= 0 || height <= 0) return widest;
  UniqueDC mem(::CreateCompatibleDC(target));
  UniqueGdi<HBITMAP> buffer(::CreateCompatibleBitmap(target, width, height));
  // Without an off-screen bitmap the rows go straight to the target.
  HDC dc = mem && buffer ? mem.get() : target;
  SelectGuard selBuffer(mem.get(), buffer.get());
  {
    SavedDc saved(dc);
    if (dc == mem.get()) ::SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    Fill(dc, area, Background(color_));
    ::SelectObject(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    const bool focused = ::GetFocus() == hwnd_;
    const int32_t rows = RowCount();
    const int32_t first = TopRow() + std::max<int32_t>(0, area.top / sizes_.RowHeight);
    for (int32_t row = first; row < rows; ++row) {
      const RECT cell = CellRect(row);
      if (cell.top >= area.bottom) break;
      if (Style() == otOwnerDraw && OnDrawItem) {
        DrawOwnerCell(dc, row, cell, focused);
      } else {
        DrawCell(dc, row, cell, focused, widest);
      }
    }
  }
  if (dc == mem.get()) ::BitBlt(target, area.left, area.top, width, height, mem.get(), 0, 0, SRCCOPY);
  return widest;
}

void TGOutlineWindow::DrawOwnerCell(HDC dc, int32_t row, const RECT& cell, bool focused) {
  const bool current = row == Row();
  TOwnerDrawState state = 0;
  if (current) state = focused ? (odSelected | odFocused) : odSelected;
  {
    SavedDc saved(dc);
    ::SetTextColor(dc, Foreground(fontColor_));
    ::SetBkColor(dc, Background(color_));
    OnDrawItem(dc, row, cell, state);
  }
  if (current && focused && Options().Contains(ooDrawFocusRect)) ::DrawFocusRect(dc, &cell);
}

void TGOutlineWindow::DrawCell(HDC dc, int32_t row, const RECT& cell, bool focused, int32_t& widest) {
  TGOutlineNode* node = NodeAtRow(row);
  if (!node) return;
  const std::string text = ShownText(node);
  // The handler may have taken the node away.
  if (!node->InTree()) return;
  const int32_t W = MeasureText(dc, text) + 1;
  KeepWidth(node, widthStamp_, W);
  const TRowGeometry g = Geometry();
  const TOutlineStyle style = OutlineStyle();
  widest = std::max(widest, DisplayWidth(style, g, node->Level(), W));

  SavedDc saved(dc);
  ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
  const COLORREF back = Background(color_);
  Fill(dc, cell, back);
  const TCellLayout layout =
      LayoutCell(style, g, cell.left, node->Level(), node->HasItems(), node->Expanded(), W);
  if (layout.TreeLines) DrawTreeLines(dc, node, g, cell);
  DrawPictures(dc, layout, g, cell);

  const bool current = row == Row();
  const bool highlighted = current && !text.empty();
  const RECT highlight{layout.HighlightEdge, cell.top, layout.HighlightEnd, cell.bottom};
  if (highlighted) Fill(dc, highlight, ::GetSysColor(COLOR_HIGHLIGHT));
  ::SetTextColor(dc, current ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : Foreground(fontColor_));
  RECT textRect{layout.TextEdge, cell.top, cell.right, cell.bottom};
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (highlighted && focused && Options().Contains(ooDrawFocusRect)) ::DrawFocusRect(dc, &highlight);
}

void TGOutlineWindow::DrawTreeLines(HDC dc, TGOutlineNode* node, const TRowGeometry& g, const RECT& cell) {
  const int32_t level = node->Level();
  std::vector<bool> lastChild(static_cast<std::size_t>(level) + 1, false);
  for (TGOutlineNode* n = node; n && n->Level() >= 1; n = n->Parent()) {
    lastChild[static_cast<std::size_t>(n->Level())] = n->IsLastChild();
  }
  UniqueGdi<HPEN> pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  SelectGuard sel(dc, pen.get());
  for (const TLineSegment& s : TreeLines(g, cell.left, cell.top, cell.bottom, level, lastChild)) {
    ::MoveToEx(dc, s.X1, s.Y1, nullptr);
    ::LineTo(dc, s.X2, s.Y2);
  }
}

void TGOutlineWindow::DrawPictures(HDC dc, const TCellLayout& layout, const TRowGeometry& g, const RECT& cell) {
  const COLORREF back = Background(color_);
  const bool stretch = Options().Contains(ooStretchBitmaps);
  int32_t offset = g.Half;
  for (int32_t i = 0; i < layout.SlotCount; ++i) {
    const int32_t index = layout.SlotPicture[i];
    if (index == piNone) continue;
    TOutlinePicture& picture = pictures_[static_cast<std::size_t>(index)];
    if (picture.Empty()) continue;
    const TPicturePlacement p =
        PlacePicture(g, layout.SlotEdge[i], offset, cell.top, picture.Width(), picture.Height(), stretch);
    picture.Draw(dc, p.Left, p.Top, p.Width, p.Height, p.SourceWidth, p.SourceHeight, back);
    offset = p.NextOffset;
  }
}

}  // namespace qrx
