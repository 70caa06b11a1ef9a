#pragma once
// A 32-bit bitmap with a DC to draw into it, its pixels read straight from memory: what
// owner-drawn controls paint, checked pixel by pixel.
#include "controls/GOutlineGdi.h"
#include "winlib/Handles.h"
#include "winlib/Window.h"

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace qrx::test {

struct Canvas {
  Canvas(int width, int height) : w(width), h(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bmp.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc.reset(::CreateCompatibleDC(nullptr));
    if (!bmp || !dc || !bits) throw std::runtime_error("cannot make a bitmap to draw into");
  }
  COLORREF at(int x, int y) const {
    const uint32_t v = static_cast<const uint32_t*>(bits)[static_cast<size_t>(y * w + x)];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // Leftmost column holding colour c at or after from; -1 when none.
  int FirstColumnOf(COLORREF c, int from = 0) const {
    for (int x = from; x < w; ++x)
      for (int y = 0; y < h; ++y)
        if (at(x, y) == c) return x;
    return -1;
  }
  // Leftmost column, at or after from, with a pixel other than back; -1 when none.
  int FirstChanged(COLORREF back, int from = 0) const {
    for (int x = from; x < w; ++x)
      for (int y = 0; y < h; ++y)
        if (at(x, y) != back) return x;
    return -1;
  }
  int w, h;
  void* bits = nullptr;
  UniqueGdi<HBITMAP> bmp;
  outline::UniqueMemoryDc dc;
};

// What an owner-drawn control paints for item index when the system asks it to, on a
// canvas of w by h.
inline std::unique_ptr<Canvas> DrawOwnerItem(TWindow& control, UINT ctlType, int w, int h, int index, UINT state,
                                             UINT action = ODA_DRAWENTIRE) {
  auto c = std::make_unique<Canvas>(w, h);
  SelectGuard sel(c->dc.get(), c->bmp.get());
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ctlType;
  dis.itemID = static_cast<UINT>(index);
  dis.itemAction = action;
  dis.itemState = state;
  dis.hwndItem = control.Handle();
  dis.hDC = c->dc.get();
  dis.rcItem = RECT{0, 0, w, h};
  control.HandleDrawItem(&dis);
  ::GdiFlush();
  return c;
}

}  // namespace qrx::test
