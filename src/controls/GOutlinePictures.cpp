#include "controls/GOutlinePictures.h"

#include <cstdint>

namespace qrx::outline {
namespace {

// The bitmap's pixels as a top-down 32-bit DIB section; `bits` points at them.
HBITMAP ToDibSection(HBITMAP source, int width, int height, uint32_t*& bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &raw, nullptr, 0);
  if (!dib || !raw) {
    if (dib) ::DeleteObject(dib);
    return nullptr;
  }
  UniqueDC from(::CreateCompatibleDC(nullptr));
  UniqueDC to(::CreateCompatibleDC(nullptr));
  if (!from || !to) {
    ::DeleteObject(dib);
    return nullptr;
  }
  {
    SelectGuard selFrom(from.get(), source);
    SelectGuard selTo(to.get(), dib);
    ::BitBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  bits = static_cast<uint32_t*>(raw);
  return dib;
}

uint32_t PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF ColorOf(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

void TOutlinePicture::Assign(HBITMAP source) {
  if (!source) {
    Clear();
    return;
  }
  Take(static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, 0)));
}

void TOutlinePicture::LoadResource(HINSTANCE module, const char* name) {
  Take(::LoadBitmapA(module, name));
}

void TOutlinePicture::Clear() {
  bitmap_.reset();
  prepared_.reset();
  preparedFor_ = CLR_INVALID;
  width_ = height_ = 0;
}

void TOutlinePicture::Take(HBITMAP owned) {
  Clear();
  if (!owned) return;
  UniqueGdi<HBITMAP> bitmap(owned);
  BITMAP info{};
  if (!::GetObjectA(owned, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0) return;
  width_ = info.bmWidth;
  height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  bitmap_ = std::move(bitmap);
  uint32_t* bits = nullptr;
  UniqueGdi<HBITMAP> pixels(ToDibSection(bitmap_.get(), width_, height_, bits));
  transparent_ = pixels ? ColorOf(bits[static_cast<std::size_t>(height_ - 1) * width_]) : RGB(255, 255, 255);
}

bool TOutlinePicture::Prepare(COLORREF background) {
  if (prepared_ && preparedFor_ == background) return true;
  prepared_.reset();
  uint32_t* bits = nullptr;
  prepared_.reset(ToDibSection(bitmap_.get(), width_, height_, bits));
  if (!prepared_) return false;
  const uint32_t from = PixelOf(transparent_);
  const uint32_t to = PixelOf(background);
  const std::size_t count = static_cast<std::size_t>(width_) * height_;
  for (std::size_t i = 0; i < count; ++i) {
    if ((bits[i] & 0xFFFFFF) == from) bits[i] = to;
  }
  preparedFor_ = background;
  return true;
}

void TOutlinePicture::Draw(HDC dc, int left, int top, int width, int height, int sourceWidth, int sourceHeight,
                           COLORREF background) {
  if (Empty() || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  if (!Prepare(background)) return;
  UniqueDC mem(::CreateCompatibleDC(dc));
  if (!mem) return;
  SelectGuard sel(mem.get(), prepared_.get());
  if (width == sourceWidth && height == sourceHeight) {
    ::BitBlt(dc, left, top, width, height, mem.get(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, left, top, width, height, mem.get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
  }
}

}  // namespace qrx::outline
