#include "app/PreviewSplit.h"

#include <algorithm>

namespace qrx {

PreviewPlace PlaceShownPreview(int top, int height, int areaHeight) {
  PreviewPlace place{top, height};
  if (top > areaHeight - kMinShownPreview || height < kMinShownPreview) {
    place = {areaHeight - kMinShownPreview, kMinShownPreview};
  } else if (top < 0 || height > areaHeight - kTreeRoomWhenShown) {
    place = {kTreeRoomWhenShown, areaHeight - kTreeRoomWhenShown};
  }
  place.Height = std::max(0, place.Height);
  return place;
}

int DragBarTop(int dragStart, int mouseY, int areaHeight) {
  // The lower limit wins in an area too low for both.
  int y = std::max(dragStart + mouseY, kDragTopLimit);
  return std::min(y, areaHeight - kDragBottomRoom);
}

int ReleasedPreviewHeight(int barTop, int areaHeight) {
  return std::max(0, areaHeight - (barTop + kDragBarHeight));
}

}  // namespace qrx
