#pragma once
// A Thompson automaton: instructions that consume one byte, branch without
// consuming, test a line edge, or accept.
#include <array>
#include <cstdint>
#include <vector>

#include "kresh32/ByteSet.h"

namespace qrx::kresh {

enum class Op : unsigned char {
  kBytes,      // consume one byte out of sets[set], go to out
  kSplit,      // go to out and to out1
  kJump,       // go to out
  kLineStart,  // go to out if at offset 0
  kLineEnd,    // go to out if at the end of the line
  kMatch,      // accept
};

struct Inst {
  Op op = Op::kMatch;
  std::int32_t out = -1;
  std::int32_t out1 = -1;
  std::int32_t set = -1;
};

// Edge conditions that hold at a position, as bits.
enum EdgeFlags : unsigned {
  kNoEdge = 0,
  kAtLineStart = 1,
  kAtLineEnd = 2,
};

struct Program {
  std::vector<Inst> insts;
  std::vector<ByteSet> sets;
  std::int32_t start = 0;
  std::int32_t matchPc = 0;
  // Bytes that no instruction tells apart share a class, so the DFA keeps one
  // transition per class instead of one per byte.
  std::array<std::uint8_t, 256> classOf{};
  std::vector<std::uint8_t> representative;  // one byte of each class
  int ClassCount() const { return static_cast<int>(representative.size()); }
};

}  // namespace qrx::kresh
