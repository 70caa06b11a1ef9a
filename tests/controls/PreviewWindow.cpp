#include "PreviewWindow.h"

namespace qrx::test {
namespace {

class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { ::ReleaseDC(hwnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : dc_(::CreateCompatibleDC(like)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() { ::DeleteDC(dc_); }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

PreviewHost::PreviewHost(int rows, int width) {
  CreateForm("QrxPreviewHost", "File preview", WS_OVERLAPPEDWINDOW);
  Preview.Create(Handle(), NextControlId());
  Preview.SetBounds(0, 0, width, 100);
  RECT client = Preview.ClientRect();
  const int extraWidth = width - client.right;
  const int extraHeight = 100 - client.bottom;
  Preview.SetBounds(0, 0, width + extraWidth, rows * Preview.ItemHeight() + extraHeight);
  SetBounds(0, 0, Preview.Width() + 40, Preview.Height() + 60);
  ::ShowWindow(Handle(), SW_SHOW);
  ::UpdateWindow(Handle());
}

int Picture::Count(COLORREF c, int left, int top, int right, int bottom) const {
  int n = 0;
  for (int y = top; y < bottom && y < Height; ++y)
    for (int x = left; x < right && x < Width; ++x)
      if (At(x, y) == c) ++n;
  return n;
}

int Picture::FirstX(COLORREF c, int top, int bottom) const {
  for (int x = 0; x < Width; ++x)
    for (int y = top; y < bottom && y < Height; ++y)
      if (At(x, y) == c) return x;
  return -1;
}

Picture Capture(const TFilePreview& preview, bool fromScreen) {
  RECT client = preview.ClientRect();
  Picture pic;
  pic.Width = client.right;
  pic.Height = client.bottom;
  WindowDC screen(nullptr);
  MemoryDC mem(screen.get());
  UniqueGdi<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.get(), pic.Width, pic.Height));
  {
    SelectGuard select(mem.get(), bitmap.get());
    if (fromScreen) {
      ::UpdateWindow(preview.Handle());
      WindowDC dc(preview.Handle());
      ::BitBlt(mem.get(), 0, 0, pic.Width, pic.Height, dc.get(), 0, 0, SRCCOPY);
    } else {
      ::SendMessageA(preview.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pic.Width;
  info.bmiHeader.biHeight = -pic.Height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<size_t>(pic.Width) * pic.Height);
  ::GetDIBits(mem.get(), bitmap.get(), 0, static_cast<UINT>(pic.Height), raw.data(), &info, DIB_RGB_COLORS);
  pic.Pixels.reserve(raw.size());
  for (DWORD p : raw) pic.Pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return pic;
}

int TextWidth(const TFilePreview& preview, const std::string& text) {
  WindowDC dc(preview.Handle());
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(preview.Handle(), WM_GETFONT, 0, 0));
  SelectGuard select(dc.get(), font);
  SIZE size{};
  ::GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace qrx::test
