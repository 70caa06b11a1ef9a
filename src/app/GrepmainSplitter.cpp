// The upper area of the main window: the results tree above the preview, the splitter
// between them with its drag bar, and turning the preview on and off.
#include "app/Grepmain.h"
#include "app/PreviewSplit.h"

#include <algorithm>

namespace qrx {

void TKRESHForm::LayoutSizer() {
  RECT r = pnlSizer.ClientRect();
  int w = r.right, h = r.bottom;
  if (!lbxFilePreview.Visible()) {
    treResults.SetBounds(0, 0, w, h);
    return;
  }
  // The preview keeps its height at the bottom; an area too low for it shows what fits.
  int ph = std::clamp(previewHeight_, 0, std::max(0, h - kSplitterHeight));
  int treeHeight = h - ph - kSplitterHeight;
  treResults.SetBounds(0, 0, w, treeHeight);
  pnlSplitter.SetBounds(0, treeHeight, w, kSplitterHeight);
  lbxFilePreview.SetBounds(0, treeHeight + kSplitterHeight, w, ph);
}

void TKRESHForm::SetShowPreview(bool show) {
  settings_.Preview = show;
  lbxFilePreview.SetVisible(show);
  pnlSplitter.SetVisible(show);
  if (!show) {
    LayoutSizer();
    return;
  }
  int h = pnlSizer.ClientRect().bottom;
  previewHeight_ = PlaceShownPreview(h - previewHeight_, previewHeight_, h).Height;
  LayoutSizer();
  pnlCursor.SetBounds(0, pnlSplitter.Top(), pnlSizer.ClientRect().right, kDragBarHeight);
  treResultsClick();
}

void TKRESHForm::pnlSplitterMouseDown(int, int) {
  dragStart_ = pnlSplitter.Top();
  pnlCursor.SetBounds(0, dragStart_, pnlSizer.ClientRect().right, kDragBarHeight);
  pnlCursor.SetVisible(true);
  pnlCursor.BringToFront();
  dragging_ = true;
}

void TKRESHForm::pnlSplitterMouseMove(int, int y) {
  if (!dragging_) return;
  RECT area = pnlSizer.ClientRect();
  pnlCursor.SetBounds(0, DragBarTop(dragStart_, y, area.bottom), area.right, kDragBarHeight);
}

void TKRESHForm::pnlSplitterMouseUp(int, int) {
  if (!dragging_) return;
  dragging_ = false;
  // A click that did not move the bar leaves the preview as it was.
  if (pnlCursor.Top() != dragStart_)
    previewHeight_ = ReleasedPreviewHeight(pnlCursor.Top(), pnlSizer.ClientRect().bottom);
  pnlCursor.SetVisible(false);
  LayoutSizer();
  if (lbxFilePreview.Visible()) treResultsClick();
}

void TKRESHForm::pnlSplitterCaptureLost() {
  if (!dragging_) return;
  dragging_ = false;
  pnlCursor.SetVisible(false);
}

}  // namespace qrx
