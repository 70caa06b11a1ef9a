#include "outline/ChunkPool.h"

#include <new>

namespace qrx::outline {

// Its blocks follow the header; `live` counts them, plus one while a pool carves from it.
struct TChunkPool::TChunk {
  std::size_t live;
};

namespace {

constexpr std::size_t RoundUp(std::size_t n) {
  return (n + TChunkPool::kAlign - 1) & ~(TChunkPool::kAlign - 1);
}

// Each block is preceded by its chunk's address, in a slot of the block alignment.
constexpr std::size_t kSlot = RoundUp(sizeof(void*));
constexpr std::size_t kHeader = RoundUp(sizeof(std::size_t));
// Blocks bigger than this take a chunk of their own rather than waste the rest of one.
constexpr std::size_t kLargest = TChunkPool::kFirstChunk / 4;

}  // namespace

TChunkPool::TChunk* TChunkPool::NewChunk(std::size_t bytes) {
  static_assert(kHeader >= sizeof(TChunk));
  auto* chunk = static_cast<TChunk*>(::operator new(bytes));
  chunk->live = 0;
  return chunk;
}

void TChunkPool::Release(TChunk* chunk) noexcept {
  if (--chunk->live == 0) ::operator delete(chunk);
}

void TChunkPool::Retire() noexcept {
  if (!chunk_) return;
  TChunk* chunk = chunk_;
  chunk_ = nullptr;
  next_ = end_ = nullptr;
  Release(chunk);
}

void* TChunkPool::AllocateAlone(std::size_t size) {
  if (size > static_cast<std::size_t>(-1) - kHeader - kSlot - kAlign) throw std::bad_alloc();
  TChunk* chunk = NewChunk(kHeader + kSlot + RoundUp(size));
  chunk->live = 1;
  char* slot = reinterpret_cast<char*>(chunk) + kHeader;
  *reinterpret_cast<TChunk**>(slot) = chunk;
  return slot + kSlot;
}

void* TChunkPool::Allocate(std::size_t size) {
  if (size > kLargest) return AllocateAlone(size);
  const std::size_t need = kSlot + RoundUp(size);
  if (static_cast<std::size_t>(end_ - next_) < need) {
    const std::size_t bytes = nextChunk_;
    TChunk* fresh = NewChunk(bytes);
    fresh->live = 1;  // the pool's own hold
    Retire();
    chunk_ = fresh;
    next_ = reinterpret_cast<char*>(fresh) + kHeader;
    end_ = reinterpret_cast<char*>(fresh) + bytes;
    if (nextChunk_ < kLargestChunk) nextChunk_ *= 2;
  }
  char* slot = next_;
  next_ += need;
  *reinterpret_cast<TChunk**>(slot) = chunk_;
  ++chunk_->live;
  return slot + kSlot;
}

void TChunkPool::Free(void* block) noexcept {
  if (!block) return;
  Release(*reinterpret_cast<TChunk**>(static_cast<char*>(block) - kSlot));
}

}  // namespace qrx::outline
