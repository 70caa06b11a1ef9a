#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "outline/ChunkPool.h"

namespace {

using qrx::outline::TChunkPool;

struct Block {
  unsigned char* bytes;
  size_t size;
  unsigned char mark;
};

void Fill(const Block& b) { std::fill(b.bytes, b.bytes + b.size, b.mark); }
bool Intact(const Block& b) { return std::all_of(b.bytes, b.bytes + b.size, [&](unsigned char c) { return c == b.mark; }); }

// Blocks are freed in random order, some after their pool is gone, while the heap is kept
// busy: a chunk given back while a block in it lives would be handed out again and
// overwritten, and overlapping or misaligned blocks show at once.
TEST(ChunkPool, BlocksStayTheirsUntilFreedInAnyOrder) {
  const size_t sizes[] = {1, 7, 8, 40, 88, 300, 1000, 1023, 1024, 1025, 4080, 4096, 5000, 70000};
  std::mt19937 rng(3);
  for (int trial = 0; trial < 6; ++trial) {
    auto pool = std::make_unique<TChunkPool>();
    std::vector<Block> live;
    std::vector<std::unique_ptr<char[]>> noise;
    // Zeros over any memory the heap takes back too early: no block is ever marked 0.
    auto addNoise = [&](size_t n) { noise.emplace_back(new char[n]()); };
    unsigned char mark = 1;
    for (int step = 0; step < 3000; ++step) {
      if (live.empty() || rng() % 3 != 0) {
        const size_t size = sizes[rng() % std::size(sizes)];
        void* p = rng() % 50 == 0 ? TChunkPool::AllocateAlone(size) : pool->Allocate(size);
        ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % TChunkPool::kAlign, 0u) << size;
        live.push_back({static_cast<unsigned char*>(p), size, mark});
        Fill(live.back());
        mark = static_cast<unsigned char>(mark % 250 + 1);
      } else {
        const size_t k = rng() % live.size();
        ASSERT_TRUE(Intact(live[k])) << "trial " << trial << " step " << step;
        TChunkPool::Free(live[k].bytes);
        live[k] = live.back();
        live.pop_back();
        addNoise(1 + rng() % 4096);
      }
      if (step == 2000 && trial % 2 == 0) pool.reset();  // the rest outlive their pool
      if (!pool) pool = std::make_unique<TChunkPool>();
    }
    pool.reset();
    for (size_t n : sizes) addNoise(n);
    for (int i = 0; i < 100; ++i) addNoise(64 * 1024);
    for (const Block& b : live) {
      EXPECT_TRUE(Intact(b)) << "trial " << trial << " size " << b.size;
      TChunkPool::Free(b.bytes);
    }
  }
  TChunkPool::Free(nullptr);
}

}  // namespace
