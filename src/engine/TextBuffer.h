#pragma once
// Text put together from many short pieces: the rows of a results tree as they are written
// out. Under the C runtime we link against, every memcpy is a library call that costs more
// than copying a line's few dozen bytes itself, and a search may write a million rows, so
// short pieces are copied here without one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace qrx {

// Copies n bytes between buffers that do not overlap; a line's worth in words.
inline void CopyBytes(char* out, const char* in, std::size_t n) noexcept {
  if (n > 256) {
    std::memcpy(out, in, n);
  } else if (n >= 8) {
    // Whole words, then the last word again where the length is not a multiple of eight.
    const char* const last = in + n - 8;
    char* const outLast = out + n - 8;
    for (; in < last; in += 8, out += 8) {
      std::uint64_t w;
      __builtin_memcpy(&w, in, 8);
      __builtin_memcpy(out, &w, 8);
    }
    std::uint64_t w;
    __builtin_memcpy(&w, last, 8);
    __builtin_memcpy(outLast, &w, 8);
  } else if (n >= 4) {
    std::uint32_t a, b;
    __builtin_memcpy(&a, in, 4);
    __builtin_memcpy(&b, in + n - 4, 4);
    __builtin_memcpy(out, &a, 4);
    __builtin_memcpy(out + n - 4, &b, 4);
  } else if (n > 0) {
    const char a = in[0], b = in[n / 2], c = in[n - 1];
    out[0] = a;
    out[n / 2] = b;
    out[n - 1] = c;
  }
}

// A row's text mostly fits the buffer's own room, so that putting one together takes no
// allocation; longer texts move to the heap.
class TTextBuffer {
 public:
  TTextBuffer() = default;
  TTextBuffer(const TTextBuffer&) = delete;
  TTextBuffer& operator=(const TTextBuffer&) = delete;

  void Append(const char* text, std::size_t n) {
    if (n > capacity_ - size_) Grow(n);
    CopyBytes(data_ + size_, text, n);
    size_ += n;
  }
  void Append(std::string_view text) { Append(text.data(), text.size()); }
  void Append(char c) { Append(&c, 1); }
  // `count` copies of `c`.
  void Append(std::size_t count, char c) {
    if (count > capacity_ - size_) Grow(count);
    for (std::size_t k = 0; k < count; ++k) data_[size_ + k] = c;
    size_ += count;
  }

  const char* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  std::string_view View() const { return std::string_view(data_, size_); }
  std::string Str() const { return std::string(View()); }
  void Clear() { size_ = 0; }

 private:
  static constexpr std::size_t kInline = 240;

  void Grow(std::size_t more) {
    if (more > static_cast<std::size_t>(-1) / 2 - size_) throw std::bad_alloc();
    std::size_t wanted = 2 * capacity_;
    if (wanted < size_ + more) wanted = size_ + more;
    std::unique_ptr<char[]> bigger(new char[wanted]);
    std::memcpy(bigger.get(), data_, size_);
    heap_ = std::move(bigger);
    data_ = heap_.get();
    capacity_ = wanted;
  }

  char inline_[kInline];
  std::unique_ptr<char[]> heap_;
  char* data_ = inline_;
  std::size_t size_ = 0;
  std::size_t capacity_ = kInline;
};

}  // namespace qrx
