#pragma once
// The parsed form of a pattern: a flat list of nodes that refer to each other
// by index, so that deep patterns need no recursive destruction.
#include <vector>

#include "kresh32/ByteSet.h"

namespace qrx::kresh {

enum class NodeKind : unsigned char {
  kEmpty,      // matches the empty string
  kBytes,      // one byte out of a set
  kLineStart,  // "^": only at offset 0
  kLineEnd,    // "$": only at the end of the line
  kConcat,     // children one after another
  kAlternate,  // any one of the children
  kStar,       // child zero or more times
  kPlus,       // child one or more times
  kOptional,   // child zero or one time
};

struct AstNode {
  NodeKind kind = NodeKind::kEmpty;
  int set = -1;               // kBytes: index into Ast::sets
  std::vector<int> children;  // kConcat, kAlternate: two or more; repeats: exactly one
};

struct Ast {
  std::vector<AstNode> nodes;
  std::vector<ByteSet> sets;
  int root = -1;
  int instructionCount = 0;  // size of the automaton this compiles to, counted while parsing
};

}  // namespace qrx::kresh
