#pragma once
// The text a tree row stores, in the room of one pointer. Rows whose text comes from their
// data store a single blank, and a search can make a million of them: a text that fits in
// the pointer's own bytes lives there, a longer one in a block of its own.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qrx::outline {

class TNodeText {
 public:
  TNodeText() = default;
  ~TNodeText() { Release(); }
  TNodeText(const TNodeText&) = delete;
  TNodeText& operator=(const TNodeText&) = delete;

  std::string_view View() const {
    if (raw_[0] & kInlineTag) return {reinterpret_cast<const char*>(raw_) + 1, static_cast<std::size_t>(raw_[0] >> 1)};
    const char* block = Block();
    if (!block) return {};
    std::size_t length;
    std::memcpy(&length, block, sizeof length);
    return {block + sizeof length, length};
  }

  // Any text, any length; throws std::bad_alloc and then keeps the text it had.
  void Assign(std::string_view text);

 private:
  // The first byte tells the two forms apart: a heap block is aligned, so a pointer's
  // lowest bit is clear, and an inline text sets it (x86 keeps the low byte first).
  static constexpr unsigned char kInlineTag = 1;
  static constexpr std::size_t kInlineMax = sizeof(void*) - 1;
  static_assert(kInlineMax < 128, "the length shares its byte with the tag");
  static_assert(std::endian::native == std::endian::little, "a pointer's low byte must come first");

  char* Block() const {
    char* block;
    std::memcpy(&block, raw_, sizeof block);
    return block;
  }
  void Release() noexcept;

  unsigned char raw_[sizeof(void*)] = {};  // a null pointer: the empty text
};

}  // namespace qrx::outline
