#pragma once
// One picture of the outline (plus, minus, open, closed, leaf): the control's own copy of
// a bitmap, drawn with its transparent colour (the colour of its bottom-left pixel)
// replaced by the control's colour.
#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"
#include "winlib/Win.h"

namespace qrx::outline {

class TOutlinePicture {
 public:
  // Copies the bitmap; a null handle empties the picture.
  void Assign(HBITMAP source);
  // Takes a bitmap resource of the module; the picture stays empty when there is none.
  void LoadResource(HINSTANCE module, const char* name);
  void Clear();

  bool Empty() const { return !bitmap_; }
  HBITMAP Handle() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF TransparentColor() const { return transparent_; }

  // Copies the top-left sourceWidth by sourceHeight part of the picture into the
  // destination rectangle, scaling when the sizes differ.
  void Draw(HDC dc, int left, int top, int width, int height, int sourceWidth, int sourceHeight,
            COLORREF background);

 private:
  void Take(HBITMAP owned);
  bool Prepare(COLORREF background);

  UniqueGdi<HBITMAP> bitmap_;
  int width_ = 0;
  int height_ = 0;
  COLORREF transparent_ = 0;
  // The picture as 32-bit pixels with the transparent ones already in the background
  // colour it was made for.
  UniqueGdi<HBITMAP> prepared_;
  COLORREF preparedFor_ = CLR_INVALID;
};

}  // namespace qrx::outline
