#pragma once
// Pixels that tests can read: a 32-bit bitmap with a DC to draw into it, read straight from
// memory; what a window's client area paints or shows, and what an owner-drawn control
// paints for one item.
#include "winlib/GdiScopes.h"
#include "winlib/Handles.h"
#include "winlib/Window.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace qrx::test {

class Canvas {
 public:
  Canvas(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
    dc_.reset(::CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_ || !bits_) throw std::runtime_error("cannot make a bitmap to draw into");
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  HDC Dc() const { return dc_.get(); }
  HBITMAP Bitmap() const { return bitmap_.get(); }

  // CLR_INVALID outside the picture.
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const uint32_t v = static_cast<const uint32_t*>(bits_)[static_cast<size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // How many pixels of the rectangle (clipped to the picture) have the colour.
  int Count(const RECT& r, COLORREF color) const {
    int n = 0;
    for (int y = std::max<int>(0, r.top); y < std::min<int>(height_, r.bottom); ++y)
      for (int x = std::max<int>(0, r.left); x < std::min<int>(width_, r.right); ++x)
        if (At(x, y) == color) ++n;
    return n;
  }
  // The leftmost column at or after from holding colour c in rows [top, bottom); -1 when none.
  int FirstColumnOf(COLORREF c, int from = 0, int top = 0, int bottom = INT_MAX) const {
    return FirstColumn(from, top, bottom, [c](COLORREF p) { return p == c; });
  }
  // The leftmost column at or after from with a pixel other than back; -1 when none.
  int FirstChanged(COLORREF back, int from = 0) const {
    return FirstColumn(from, 0, INT_MAX, [back](COLORREF p) { return p != back; });
  }
  bool SamePixels(const Canvas& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           std::memcmp(bits_, other.bits_, static_cast<size_t>(width_) * height_ * 4) == 0;
  }

 private:
  template <typename Match>
  int FirstColumn(int from, int top, int bottom, Match match) const {
    for (int x = std::max(from, 0); x < width_; ++x)
      for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
        if (match(At(x, y))) return x;
    return -1;
  }

  int width_, height_;
  void* bits_ = nullptr;
  UniqueGdi<HBITMAP> bitmap_;
  UniqueDC dc_;
};

// The client area as the window paints it when asked to (WM_PRINTCLIENT).
inline Canvas PaintedClient(const TWindow& window) {
  const RECT client = window.ClientRect();
  Canvas c(client.right, client.bottom);
  {
    SelectGuard sel(c.Dc(), c.Bitmap());
    ::SendMessageA(window.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.Dc()), PRF_CLIENT);
    ::GdiFlush();
  }
  return c;
}

// The client area as it stands on the screen, once pending paints are done.
inline Canvas ShownClient(const TWindow& window) {
  const RECT client = window.ClientRect();
  Canvas c(client.right, client.bottom);
  ::UpdateWindow(window.Handle());
  {
    SelectGuard sel(c.Dc(), c.Bitmap());
    WindowDc screen(window.Handle());
    ::BitBlt(c.Dc(), 0, 0, c.Width(), c.Height(), screen.get(), 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  return c;
}

// What an owner-drawn control paints for item index when the system asks it to, on a
// canvas of w by h.
inline std::unique_ptr<Canvas> DrawOwnerItem(TWindow& control, UINT ctlType, int w, int h, int index, UINT state,
                                             UINT action = ODA_DRAWENTIRE) {
  auto c = std::make_unique<Canvas>(w, h);
  SelectGuard sel(c->Dc(), c->Bitmap());
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ctlType;
  dis.itemID = static_cast<UINT>(index);
  dis.itemAction = action;
  dis.itemState = state;
  dis.hwndItem = control.Handle();
  dis.hDC = c->Dc();
  dis.rcItem = RECT{0, 0, w, h};
  control.HandleDrawItem(&dis);
  ::GdiFlush();
  return c;
}

}  // namespace qrx::test
