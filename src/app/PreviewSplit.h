#pragma once
// Where the preview pane sits in the upper area of the main window (the results tree
// above it, the splitter between), worked out without any window.
namespace qrx {

// The splitter between tree and preview, and the bar that follows the mouse while it
// is dragged.
constexpr int kSplitterHeight = 3;
constexpr int kDragBarHeight = 4;
// The smallest preview that turning it on leaves, and the room kept for the tree then.
constexpr int kMinShownPreview = 47;
constexpr int kTreeRoomWhenShown = 55;
// The drag bar stays this far from the top and from the bottom of the area.
constexpr int kDragTopLimit = 50;
constexpr int kDragBottomRoom = 24;

struct PreviewPlace {
  int Top;
  int Height;
};

// Turning the preview on: a preview lower than the smallest one, or whose top lies in
// the bottom strip, gets the smallest height at the bottom; one that reaches above the
// area or leaves the tree too little room is cut back to leave the tree its room.
// Never a negative height, however small the area.
PreviewPlace PlaceShownPreview(int top, int height, int areaHeight);

// The drag bar's top while the splitter, which the drag started at dragStart, is
// dragged to mouseY (the mouse's position relative to the splitter).
int DragBarTop(int dragStart, int mouseY, int areaHeight);

// The preview's height once the drag bar is released at barTop: it fills the area
// below the bar.
int ReleasedPreviewHeight(int barTop, int areaHeight);

}  // namespace qrx
