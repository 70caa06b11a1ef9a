#pragma once
// A set of byte values, 0 to 255, as a 256-bit map.
#include <array>
#include <bit>
#include <cstdint>

namespace qrx::kresh {

class ByteSet {
 public:
  void Add(std::uint8_t b) noexcept { words_[b >> 6] |= std::uint64_t{1} << (b & 63); }
  void AddRange(std::uint8_t lo, std::uint8_t hi) noexcept {
    for (unsigned b = lo; b <= hi; ++b) Add(static_cast<std::uint8_t>(b));
  }
  void AddAll() noexcept { words_.fill(~std::uint64_t{0}); }
  void Invert() noexcept {
    for (auto& w : words_) w = ~w;
  }
  bool Contains(std::uint8_t b) const noexcept {
    return (words_[b >> 6] >> (b & 63)) & 1;
  }
  int Count() const noexcept {
    int n = 0;
    for (auto w : words_) n += std::popcount(w);
    return n;
  }
  // The smallest member; only meaningful when the set is not empty.
  std::uint8_t First() const noexcept {
    for (int i = 0; i < 4; ++i) {
      if (words_[i] != 0) return static_cast<std::uint8_t>(i * 64 + std::countr_zero(words_[i]));
    }
    return 0;
  }
  void Merge(const ByteSet& other) noexcept {
    for (int i = 0; i < 4; ++i) words_[i] |= other.words_[i];
  }
  bool operator==(const ByteSet&) const = default;

 private:
  std::array<std::uint64_t, 4> words_{};
};

}  // namespace qrx::kresh
