#include "outline/NodeText.h"

#include <new>

namespace qrx::outline {

void TNodeText::Assign(std::string_view text) {
  unsigned char fresh[sizeof raw_] = {};
  if (text.size() <= kInlineMax) {
    if (!text.empty()) {
      fresh[0] = static_cast<unsigned char>(text.size() << 1 | kInlineTag);
      std::memcpy(fresh + 1, text.data(), text.size());
    }
  } else {
    const std::size_t length = text.size();
    char* block = new char[sizeof length + length];
    std::memcpy(block, &length, sizeof length);
    std::memcpy(block + sizeof length, text.data(), length);
    std::memcpy(fresh, &block, sizeof block);
  }
  Release();
  std::memcpy(raw_, fresh, sizeof raw_);
}

void TNodeText::Release() noexcept {
  if (!(raw_[0] & kInlineTag)) delete[] Block();
  std::memset(raw_, 0, sizeof raw_);
}

}  // namespace qrx::outline
