#pragma once
// The file preview: an owner-drawn list box that shows a window of lines around one
// line of a file, with optional line numbers, the target line highlighted, the match on
// it coloured, and the target scrolled into the middle of the view. It holds only the
// lines it shows, never the whole file.
#include "winlib/Colors.h"
#include "controls/FilePrevLoad.h"
#include "winlib/Controls.h"
#include "winlib/Handles.h"

#include <cstdint>
#include <string>

class TFilePreview : public qrx::TListBox {
 public:
  // The font every preview starts with.
  static constexpr const char* kFontName = "Courier New";
  static constexpr int kFontHeight = -12;
  static constexpr int kDefaultItemHeight = 16;

  TFilePreview() = default;

  // Creates the list box as a child of parent. With integralHeight the control shrinks
  // to whole rows; the main window turns that off to fill its pane.
  void Create(HWND parent, int id, bool integralHeight = true);

  // Shows line of fileName, centred, with characters matchStart..matchStop (1-based,
  // inclusive) of it coloured. The same line of the same file only re-centres. Throws
  // std::runtime_error with the message for the user when the file cannot be read.
  void ShowFile(const std::string& fileName, int32_t line, int32_t matchStart, int32_t matchStop);
  // Empties the list and forgets the file, the target line and the match range.
  void Clear();

  int32_t TotalLines() const { return content_.TotalLines; }
  void SetTotalLines(int32_t lines) { content_.TotalLines = lines; }
  bool ShowNumbers() const { return showNumbers_; }
  void SetShowNumbers(bool show);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);

  // Colour values (0x00BBGGRR, or 0x80000000 plus a system colour index).
  int32_t Color() const { return color_; }
  void SetColor(int32_t color) { SetColour(color_, color); }
  int32_t TextColor() const { return textColor_; }
  void SetTextColor(int32_t color) { SetColour(textColor_, color); }
  int32_t MatchColor() const { return matchColor_; }
  void SetMatchColor(int32_t color) { SetColour(matchColor_, color); }
  int32_t MatchTextColor() const { return matchTextColor_; }
  void SetMatchTextColor(int32_t color) { SetColour(matchTextColor_, color); }
  int32_t TargetLineColor() const { return targetLineColor_; }
  void SetTargetLineColor(int32_t color) { SetColour(targetLineColor_, color); }
  int32_t TargetTextColor() const { return targetTextColor_; }
  void SetTargetTextColor(int32_t color) { SetColour(targetTextColor_, color); }
  int32_t LineNumColor() const { return lineNumColor_; }
  void SetLineNumColor(int32_t color) { SetColour(lineNumColor_, color); }

  // What is shown, for the window that drives the preview and for tests.
  const std::string& FileName() const { return content_.FileName(); }
  int32_t TargetLine() const { return content_.TargetLine(); }
  int32_t TargetIndex() const { return content_.TargetIndex(); }
  int32_t MatchStart() const { return content_.MatchStart(); }
  int32_t MatchStop() const { return content_.MatchStop(); }
  int32_t ItemNumber(int index) const;      // the line number of a row; -1 if none
  std::string ItemText(int index) const;    // the line's text as read, not expanded
  int VisibleRows() const;                  // whole rows the client area holds

  bool HandleDrawItem(DRAWITEMSTRUCT* dis) override;
  bool HandleMeasureItem(MEASUREITEMSTRUCT* mis) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  using qrx::TListBox::Add;  // rows come only from the file
  void SetColour(int32_t& field, int32_t value);
  void Changed();
  void FillItems();
  void Recentre(int visibleRows);
  void PaintClient(HDC dc);
  void DrawRow(HDC dc, int index, const RECT& rect, bool focused);

  qrx::preview::TPreviewContent content_;
  qrx::UniqueGdi<HFONT> font_;
  bool showNumbers_ = true;
  int itemHeight_ = kDefaultItemHeight;
  int32_t color_ = qrx::SysColor(COLOR_BTNFACE);
  int32_t textColor_ = qrx::SysColor(COLOR_WINDOWTEXT);
  int32_t matchColor_ = 0x00000000;      // black
  int32_t matchTextColor_ = 0x0000FFFF;  // yellow
  int32_t targetLineColor_ = qrx::SysColor(COLOR_HIGHLIGHT);
  int32_t targetTextColor_ = qrx::SysColor(COLOR_HIGHLIGHTTEXT);
  int32_t lineNumColor_ = 0x00FF0000;    // blue
};
