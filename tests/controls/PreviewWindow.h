#pragma once
// A top-level window holding one preview sized to a whole number of rows, and a picture
// of what the preview draws, for the GUI test and the screenshot program.
#include "controls/FilePrev.h"
#include "winlib/Form.h"

#include <string>
#include <vector>

namespace qrx::test {

class PreviewHost : public TForm {
 public:
  // The preview's client area holds rows rows of the default height and is width wide.
  PreviewHost(int rows, int width);
  TFilePreview Preview;
};

// The preview's client area as drawn for WM_PRINTCLIENT (fromScreen false) or as it
// stands on the screen (fromScreen true).
struct Picture {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  // Pixels of colour c in the rectangle [left, right) x [top, bottom).
  int Count(COLORREF c, int left, int top, int right, int bottom) const;
  // The leftmost x in rows [top, bottom) holding colour c, or -1.
  int FirstX(COLORREF c, int top, int bottom) const;
};
Picture Capture(const TFilePreview& preview, bool fromScreen);

// Width of text in the preview's font.
int TextWidth(const TFilePreview& preview, const std::string& text);

}  // namespace qrx::test
