#include "OutlineWindowSupport.h"

#include <algorithm>
#include <stdexcept>

namespace qrx::test {
namespace {

constexpr char kHostClass[] = "QrxOutlineTestHost";

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterHost() {
  WNDCLASSA wc{};
  if (::GetClassInfoA(::GetModuleHandleA(nullptr), kHostClass, &wc)) return;
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  if (!::RegisterClassA(&wc)) throw std::runtime_error("cannot register the test host");
}

}  // namespace

OutlineHost::OutlineHost(int width, int height) {
  RegisterHost();
  host_ = ::CreateWindowExA(0, kHostClass, "Outline test", WS_POPUP | WS_VISIBLE, 0, 0, width + 20, height + 20,
                            nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!host_) throw std::runtime_error("cannot create the test host");
  Tree.Create(host_);
  Tree.SetBounds(0, 0, width, height);
}

OutlineHost::~OutlineHost() {
  ::DestroyWindow(host_);
}

void OutlineHost::Focus() {
  ::SetActiveWindow(host_);
  ::SetFocus(Tree.Handle());
}

void OutlineHost::Unfocus() {
  ::SetActiveWindow(host_);
  ::SetFocus(host_);
}

void SendKey(TGOutlineWindow& tree, WORD key, bool ctrl) {
  BYTE state[256];
  ::GetKeyboardState(state);
  const BYTE old = state[VK_CONTROL];
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  ::SetKeyboardState(state);
  ::SendMessageA(tree.Handle(), WM_KEYDOWN, key, 1);
  ::GetKeyboardState(state);
  state[VK_CONTROL] = old;
  ::SetKeyboardState(state);
}

void SendChar(TGOutlineWindow& tree, char c) {
  ::SendMessageA(tree.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void SendMouse(TGOutlineWindow& tree, UINT message, int x, int y) {
  ::SendMessageA(tree.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

TGOutlineNode* FindNode(TGCustomOutline& outline, const std::string& text) {
  for (int32_t i = 1; i <= outline.ItemCount(); ++i) {
    TGOutlineNode* node = outline.Items(i);
    if (node->StoredText() == text) return node;
  }
  return nullptr;
}

Pixels::Pixels(TGOutlineWindow& tree) {
  const RECT client = tree.ClientRect();
  width_ = client.right;
  height_ = client.bottom;
  if (width_ <= 0 || height_ <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdi<HBITMAP> dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  outline::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dib || !dc || !bits) throw std::runtime_error("cannot make a bitmap to paint into");
  {
    SelectGuard sel(dc.get(), dib.get());
    ::SendMessageA(tree.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
  }
  const auto* p = static_cast<const uint32_t*>(bits);
  data_.assign(p, p + static_cast<std::size_t>(width_) * height_);
}

COLORREF Pixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t v = data_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Pixels::Count(const RECT& r, COLORREF color) const {
  int n = 0;
  for (int y = std::max<int>(0, r.top); y < std::min<int>(height_, r.bottom); ++y) {
    for (int x = std::max<int>(0, r.left); x < std::min<int>(width_, r.right); ++x) {
      if (At(x, y) == color) ++n;
    }
  }
  return n;
}

int32_t TextPixels(TGOutlineWindow& tree, const std::string& text) {
  outline::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  SelectGuard sel(dc.get(), tree.Font());
  SIZE size{};
  if (!text.empty()) ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace qrx::test
