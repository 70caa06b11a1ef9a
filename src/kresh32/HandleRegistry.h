#pragma once
// The process-wide table of compiled expressions behind RegComp's handles.
// Handles are never released, so entries live until the process ends; a
// handle that was never issued is recognised and refused.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "kresh32/RegexMatcher.h"

namespace qrx::kresh {

class HandleRegistry {
 public:
  static constexpr std::uint32_t kChunkSize = 256;
  static constexpr std::uint32_t kChunkCount = 256;
  static constexpr std::uint32_t kCapacity = kChunkSize * kChunkCount;
  // Handles start here rather than at 1, so that small numbers passed by
  // mistake are not taken for real handles.
  static constexpr std::int32_t kFirstHandle = 0x4B520000;

  HandleRegistry() = default;
  HandleRegistry(const HandleRegistry&) = delete;
  HandleRegistry& operator=(const HandleRegistry&) = delete;
  ~HandleRegistry();

  static HandleRegistry& Process();

  // Takes ownership; 0 when the table is full (the expression is then freed).
  std::int32_t Add(std::unique_ptr<Regex> regex);
  // Null for any value that Add did not return. Lock-free.
  Regex* Find(std::int32_t handle) const noexcept;

 private:
  using Chunk = std::array<std::atomic<Regex*>, kChunkSize>;

  std::mutex addMutex_;
  std::uint32_t used_ = 0;  // guarded by addMutex_
  std::array<std::atomic<Chunk*>, kChunkCount> chunks_{};
};

}  // namespace qrx::kresh
