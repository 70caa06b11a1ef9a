#pragma once
// A plain window over the results tree's model: one text line per visible row,
// indented by level, with keys and clicks that move the current row. The full
// drawing of the outline control replaces it later.
#include "controls/GOutline.h"
#include "winlib/Window.h"

namespace qrx {

class TResultsView : public TGREPOutline, public TWindow {
 public:
  void Create(TWindow& parent);
  std::function<void()> OnClick;     // the current row changed by the user
  std::function<void()> OnDblClick;
  void SetColors(COLORREF back, COLORREF text);
  void SetViewFont(HFONT font);
  void Refresh();
  int VisibleRows() const;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void RowCountChanged() override;
  void Invalidate() override;
  void ColumnWidthChanged() override {}
  void CurrentRowChanged() override;

 private:
  void Paint(HDC dc);
  void UpdateScrollBar();
  void EnsureRowVisible();
  void MoveRow(int row);
  int RowHeight() const { return ItemHeight() > 0 ? ItemHeight() : 15; }

  COLORREF back_ = RGB(255, 255, 255), text_ = RGB(0, 0, 0);
  HFONT font_ = nullptr;
};

}  // namespace qrx
