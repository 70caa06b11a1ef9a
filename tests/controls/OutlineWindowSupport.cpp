#include "OutlineWindowSupport.h"

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

int32_t TextPixels(TGOutlineWindow& tree, const std::string& text) {
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  SelectGuard sel(dc.get(), tree.Font());
  SIZE size{};
  if (!text.empty()) ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace qrx::test
