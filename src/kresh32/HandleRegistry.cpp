#include "kresh32/HandleRegistry.h"

namespace qrx::kresh {

HandleRegistry::~HandleRegistry() {
  for (auto& chunkSlot : chunks_) {
    Chunk* chunk = chunkSlot.load();
    if (chunk == nullptr) continue;
    for (auto& slot : *chunk) delete slot.load();
    delete chunk;
  }
}

HandleRegistry& HandleRegistry::Process() {
  static HandleRegistry registry;
  return registry;
}

std::int32_t HandleRegistry::Add(std::unique_ptr<Regex> regex) {
  std::lock_guard<std::mutex> lock(addMutex_);
  if (used_ >= kCapacity) return 0;
  std::uint32_t index = used_;
  std::atomic<Chunk*>& chunkSlot = chunks_[index / kChunkSize];
  Chunk* chunk = chunkSlot.load(std::memory_order_relaxed);
  if (chunk == nullptr) {
    chunk = new Chunk();
    for (auto& slot : *chunk) slot.store(nullptr, std::memory_order_relaxed);
    chunkSlot.store(chunk, std::memory_order_release);
  }
  (*chunk)[index % kChunkSize].store(regex.release(), std::memory_order_release);
  ++used_;
  return kFirstHandle + static_cast<std::int32_t>(index);
}

Regex* HandleRegistry::Find(std::int32_t handle) const noexcept {
  if (handle < kFirstHandle) return nullptr;
  auto index = static_cast<std::uint32_t>(handle - kFirstHandle);
  if (index >= kCapacity) return nullptr;
  Chunk* chunk = chunks_[index / kChunkSize].load(std::memory_order_acquire);
  if (chunk == nullptr) return nullptr;
  return (*chunk)[index % kChunkSize].load(std::memory_order_acquire);
}

}  // namespace qrx::kresh
