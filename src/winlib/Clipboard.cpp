#include "winlib/Clipboard.h"

#include <cstring>

namespace qrx {
namespace {

// Opens the clipboard for the scope; another program may hold it for a moment.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) {
    for (int i = 0; i < 10 && !open_; ++i) {
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_) ::Sleep(10);
    }
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ~ClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool SetClipboardText(HWND owner, const std::string& text) {
  ClipboardScope clip(owner);
  if (!clip.Open() || !::EmptyClipboard()) return false;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!mem) return false;
  if (void* p = ::GlobalLock(mem)) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    ::GlobalUnlock(mem);
  }
  if (!::SetClipboardData(CF_TEXT, mem)) {
    ::GlobalFree(mem);  // still ours when the clipboard refused it
    return false;
  }
  return true;
}

std::string GetClipboardText(HWND owner) {
  ClipboardScope clip(owner);
  if (!clip.Open()) return {};
  HANDLE data = ::GetClipboardData(CF_TEXT);
  if (!data) return {};
  std::string text;
  if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
    text.assign(p, strnlen(p, ::GlobalSize(data)));
    ::GlobalUnlock(data);
  }
  return text;
}

}  // namespace qrx
