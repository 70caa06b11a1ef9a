#pragma once
// A set of small integers with O(1) insert, lookup and clear, and members kept
// in insertion order. Sized once; never allocates afterwards.
#include <cstdint>
#include <vector>

namespace qrx::kresh {

class SparseSet {
 public:
  explicit SparseSet(std::size_t capacity) : dense_(capacity), sparse_(capacity) {}

  bool Contains(std::int32_t value) const noexcept {
    std::uint32_t slot = sparse_[value];
    return slot < size_ && dense_[slot] == value;
  }
  void Insert(std::int32_t value) noexcept {
    sparse_[value] = size_;
    dense_[size_++] = value;
  }
  void Clear() noexcept { size_ = 0; }
  std::uint32_t Size() const noexcept { return size_; }
  const std::int32_t* begin() const noexcept { return dense_.data(); }
  const std::int32_t* end() const noexcept { return dense_.data() + size_; }

 private:
  std::vector<std::int32_t> dense_;
  std::vector<std::uint32_t> sparse_;
  std::uint32_t size_ = 0;
};

}  // namespace qrx::kresh
