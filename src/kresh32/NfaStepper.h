#pragma once
// Moves a set of automaton threads over the line one byte at a time: the
// Thompson simulation that the lazy DFA caches, and that it falls back on when
// its cache is full. All scratch space is sized to the program up front.
#include <cstdint>
#include <vector>

#include "kresh32/RegexProgram.h"
#include "kresh32/SparseSet.h"

namespace qrx::kresh {

class NfaStepper {
 public:
  // With `unanchored`, every step also starts a new thread, so a match may
  // begin at any position.
  NfaStepper(const Program& program, bool unanchored);

  const Program& program() const noexcept { return program_; }

  // Adds `pc` and everything reachable from it without consuming a byte, given
  // the edge conditions that hold at this position.
  void AddClosure(SparseSet& set, std::int32_t pc, unsigned edges) noexcept;
  // The threads at the start position, with its edge conditions.
  void Start(SparseSet& set, unsigned edges) noexcept;
  // The threads after consuming `byte` from `from`, at a position with no edge condition.
  void Step(const SparseSet& from, std::uint8_t byte, SparseSet& to) noexcept;
  bool HasMatch(const SparseSet& set) const noexcept { return set.Contains(program_.matchPc); }
  // Whether the set accepts at a position where `edges` hold: edge tests left
  // pending inside the set get their chance here.
  bool MatchesWithEdges(const SparseSet& set, unsigned edges) noexcept;

  // The members that matter for a set's identity (byte tests, edge tests,
  // match), sorted: the key under which the DFA caches the set.
  void CanonicalKey(const SparseSet& set, std::vector<std::int32_t>& key) const;

  SparseSet& ScratchA() noexcept { return a_; }
  SparseSet& ScratchB() noexcept { return b_; }

 private:
  const Program& program_;
  bool unanchored_;
  std::vector<std::int32_t> stack_;
  SparseSet a_;
  SparseSet b_;
  SparseSet edgeScratch_;
};

}  // namespace qrx::kresh
