#pragma once
// Device contexts the outline's window part draws with: a memory DC it owns, and the
// DC of a window borrowed for the scope.
#include "winlib/Handles.h"
#include "winlib/Win.h"

namespace qrx::outline {

struct MemoryDcTraits {
  static HDC Null() noexcept { return nullptr; }
  static bool Valid(HDC h) noexcept { return h != nullptr; }
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;  // CreateCompatibleDC

class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A DC's saved state (clip region, selections, colours), restored when the scope ends.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;
  ~SavedDc() {
    if (id_) ::RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

}  // namespace qrx::outline
