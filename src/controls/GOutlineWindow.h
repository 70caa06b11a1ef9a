#pragma once
// The results tree as a window: a one-column grid of rows of height R showing the
// visible nodes of the outline model, drawn in any of the six outline styles, with
// scroll bars, keys and mouse. Only the rows on screen are read and drawn; the texts'
// widths, which the column width needs for every visible row, are kept per node until
// the node's text or the font changes.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "outline/GOutline.h"
#include "winlib/GdiScopes.h"
#include "controls/GOutlineGeometry.h"
#include "controls/GOutlinePictures.h"
#include "controls/GOutlineWidths.h"
#include "winlib/Handles.h"
#include "winlib/Window.h"

namespace qrx {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// What an owner-drawn row is: the current row, and whether the control has the focus.
enum TOwnerDrawFlag : unsigned { odSelected = 1, odFocused = 2 };
using TOwnerDrawState = unsigned;

class TGOutlineWindow : public TGREPOutline, public TWindow {
 public:
  TGOutlineWindow();
  ~TGOutlineWindow() override;

  // A child window of 121 by 97 pixels.
  void Create(TWindow& parent);
  void Create(HWND parent);

  // OnKeyDown (the window base's) runs before the grid: a handler that sets the key to 0
  // leaves the grid moving no row and the outline's own keys doing nothing but take the
  // selection from the current row.
  std::function<void(char& key)> OnKeyPress;  // 0 swallows the character
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  // A press and release over the current row (a press moves it, dragging takes it
  // along), or keys that moved the current row.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;  // before the selected node toggles
  // Used instead of the outline's own drawing when Style is otOwnerDraw. The DC has the
  // control's font and colours selected; `row` is the grid row, not a node index.
  std::function<void(HDC dc, int32_t row, const RECT& cell, TOwnerDrawState state)> OnDrawItem;

  // The control's own copy of the font; the row height follows it in standard style.
  HFONT Font() const { return font_.get(); }
  void SetFont(HFONT font);
  // Colours as colour values: 0x00BBGGRR, or 0x80000000 plus a system colour index.
  int32_t Color() const { return color_; }
  void SetColor(int32_t color);
  int32_t FontColor() const { return fontColor_; }
  void SetFontColor(int32_t color);

  // R, the row height (in standard style worked out from the font, whatever was written;
  // the written value is the model's WrittenItemHeight).
  int32_t ItemHeight() const { return sizes_.RowHeight; }
  int32_t TextHeight() const { return sizes_.TextHeight; }
  outline::TRowGeometry Geometry() const;
  int32_t PixelsPerInch() const { return pixelsPerInch_; }

  int32_t ColumnWidth() const { return columnWidth_; }
  int32_t LeftOffset() const { return leftOffset_; }  // horizontal scroll position in pixels
  void SetLeftOffset(int32_t pixels);
  void ScrollTo(int32_t topRow);       // makes `topRow` the top row, as far as the rows allow
  int32_t VisibleRowCount() const;     // rows wholly inside the client area, at least 1
  RECT CellRect(int32_t row) const;    // in client coordinates
  int32_t RowAt(int y) const;          // the row under a client y, -1 when none

  // Pictures by number: 0 plus, 1 minus, 2 open, 3 closed, 4 leaf. Setting copies the
  // bitmap; a null handle empties the picture, which is then not drawn.
  HBITMAP Picture(int index) const;
  void SetPicture(int index, HBITMAP bitmap);
  void SetPicturePlus(HBITMAP b) { SetPicture(outline::piPlus, b); }
  void SetPictureMinus(HBITMAP b) { SetPicture(outline::piMinus, b); }
  void SetPictureOpen(HBITMAP b) { SetPicture(outline::piOpen, b); }
  void SetPictureClosed(HBITMAP b) { SetPicture(outline::piClosed, b); }
  void SetPictureLeaf(HBITMAP b) { SetPicture(outline::piLeaf, b); }

  // The texts OnGetNodeText gives changed without being stored (display options):
  // forget the measured widths and work the column width out again.
  void InvalidateTextWidths();
  // Repaints; the one override of the model's hook and the window base's, so every caller
  // reaches it.
  void Invalidate() override;

  // How often the window did its costly work (each is a round trip to the window system),
  // for tests and benchmarks that check it follows the paints rather than the rows added.
  struct TWorkCounts {
    int64_t ScrollBarUpdates = 0;  // the scroll bars set from the rows and the column
    int64_t Invalidations = 0;     // the whole window marked for repainting
    int64_t Paints = 0;            // paint requests answered
  };
  const TWorkCounts& WorkCounts() const { return work_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  void RowCountChanged() override;
  void ColumnWidthChanged() override;
  void NodeWidthChanged(TGOutlineNode* node) override;
  void CurrentRowChanged() override;
  void ItemSizeChanged() override;
  void NodeTextStored(TGOutlineNode* node) override;
  void NodeDestroying(TGOutlineNode* node) override;

 private:
  // GOutlinePaint.cpp
  void Paint();
  int32_t PaintArea(HDC target, const RECT& area);  // answers the widest row drawn
  void WidenTo(int32_t widest);
  void DrawCell(HDC dc, int32_t row, const RECT& cell, bool focused, int32_t& widest);
  void DrawOwnerCell(HDC dc, int32_t row, const RECT& cell, bool focused);
  void DrawTreeLines(HDC dc, TGOutlineNode* node, const outline::TRowGeometry& g, const RECT& cell);
  void DrawPictures(HDC dc, const outline::TCellLayout& layout, const outline::TRowGeometry& g, const RECT& cell);

  // GOutlineInput.cpp
  void KeyDown(WORD key, TShiftState shift);
  bool GridKey(WORD key, TShiftState shift);
  void OutlineKey(WORD key, TShiftState shift);
  void KeyPress(char key);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl);
  void MouseMove(int y);
  void MouseUp(int x, int y);
  void Toggle(TGOutlineNode* node);
  void SelectAndShow(TGOutlineNode* node);

  // GOutlineWindow.cpp: sizes, widths and scrolling
  void FontChanged();
  void SizesChanged();
  int32_t MeasureText(HDC dc, std::string_view text) const;
  // A node's text as drawn and measured: tabs expanded (the font would draw boxes).
  std::string ShownText(TGOutlineNode* node);
  int32_t TextWidth(TGOutlineNode* node);
  bool ColumnFollowsTexts() const;
  bool CanMeasure() const;
  void RecomputeColumnWidth();
  void SetColumnWidth(int32_t width);
  void Resized();
  void UpdateScrollBars();
  void ScrollBarsChanged();
  int32_t MaxTopRow() const;
  void ScrollToRow(int32_t top);
  void EnsureRowVisible(int32_t row);
  void InvalidateRow(int32_t row);
  void VScroll(int code);
  void HScroll(int code);
  int TrackPos(int bar) const;
  void Wheel(int delta);
  void SyncBorder();

  UniqueGdi<HFONT> font_;
  UniqueDC measureDc_;
  outline::TAdvanceTable advances_;  // of font_
  std::string measured_;             // the text of the row being measured
  int32_t pixelsPerInch_ = 96;
  int32_t points_ = 8;
  outline::TItemSizes sizes_{11, 13};
  TOutlineType sizedStyle_ = otStandard;  // the Style the sizes were last worked out for
  TOutlineOptions measuredOptions_;        // the Options the column width was worked out for
  int32_t color_;
  int32_t fontColor_;
  std::array<outline::TOutlinePicture, outline::kPictureCount> pictures_;

  // W (text width + 1) of each node measured so far lives in the node, under this stamp;
  // a new stamp forgets them all at once.
  uint32_t widthStamp_ = 1;
  void ForgetAllWidths() { widthStamp_ = widthStamp_ == UINT32_MAX ? 1 : widthStamp_ + 1; }
  bool widestChanged_ = false;  // a node as wide as the column lost its width
  bool nodesDestroyed_ = false;
  int32_t columnWidth_ = 0;
  int32_t leftOffset_ = 0;
  int wheelRest_ = 0;
  int scrollDepth_ = 0;  // scroll bars being updated; their own WM_SIZE waits
  bool resizeWaiting_ = false;
  bool pressed_ = false;          // the left button went down on a row and holds the mouse
  bool scrollBarsStale_ = false;  // set at the next paint
  bool repaintPending_ = false;   // the whole window is invalid and its paint not yet done
  TOutlineBorderStyle shownBorder_ = TOutlineBorderStyle::None;  // the border the window has
  int32_t shownRows_ = 0;         // RowCount() when RowCountChanged last ran
  TWorkCounts work_;
};

}  // namespace qrx
