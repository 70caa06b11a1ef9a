#pragma once
// Memory for many small objects freed one by one, in any order, at any time: a search can
// make hundreds of thousands of tree rows and result nodes, and the heap's own price per
// block is most of what they cost. Objects are carved one after another from chunks of whole
// pages; each page starts with its chunk's address, so an object finds its chunk from the
// page it starts in, and the chunk goes back to the heap with its last object. Freeing
// therefore needs no pool, and an object may outlive the pool that carved it.
// One thread only: like the tree, the pool is used from the thread that owns it.
#include <cstddef>
#include <cstdint>

namespace qrx::outline {

class TChunkPool {
 public:
  // Chunks start small, for the many trees that stay small, and grow with each new one:
  // a big tree then takes fresh memory in large steps, which the heap and the system serve
  // cheapest. A chunk's pages are touched when it is made, so at most about as much memory
  // as the blocks hold is touched ahead of them.
  static constexpr std::size_t kFirstChunk = 4 * 1024;
  static constexpr std::size_t kLargestChunk = 4 * 1024 * 1024;
  // Every block is aligned for pointers and 32-bit numbers, which is all the rows and
  // result nodes hold; a wider alignment would cost each of a million rows its padding.
  static constexpr std::size_t kAlign = alignof(void*) > 4 ? alignof(void*) : 4;

  TChunkPool() = default;
  ~TChunkPool() { Retire(); }
  TChunkPool(const TChunkPool&) = delete;
  TChunkPool& operator=(const TChunkPool&) = delete;

  // A block of `size` bytes; one too big to share a chunk gets one of its own.
  void* Allocate(std::size_t size);
  // A block in a chunk of its own, for an object made without a pool at hand.
  static void* AllocateAlone(std::size_t size);
  // Frees a block of either kind; nullptr is ignored.
  static void Free(void* block) noexcept;

 private:
  struct TChunk;
  static TChunk* NewChunk(std::size_t bytes);
  static void Release(TChunk* chunk) noexcept;
  static void MarkPage(char* page, TChunk* chunk);
  void Retire() noexcept;  // stops carving from the current chunk

  TChunk* chunk_ = nullptr;
  char* next_ = nullptr;
  char* end_ = nullptr;  // of the page carved from
  char* chunkEnd_ = nullptr;
  std::size_t nextChunk_ = kFirstChunk;
};

}  // namespace qrx::outline
