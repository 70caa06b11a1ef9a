#pragma once
// A DFA built lazily from a Program: each state is a set of automaton threads,
// made the first time a scan reaches it and cached with its transitions. The
// cache has a memory budget; a scan that needs a state when the budget is spent
// goes on by plain simulation (Cursor below), and the next scan starts with an
// empty cache. Either way the work per byte is bounded by the program's size.
//
// A state is named by where its row begins in the transition table: the row holds the
// next state for each byte class and then the state's flags, so a step is one add and one
// load, with no multiply on the path from one byte to the next.
#include <array>
#include <cstdint>
#include <vector>

#include "kresh32/NfaStepper.h"
#include "kresh32/RegexProgram.h"

namespace qrx::kresh {

class LazyDfa {
 public:
  static constexpr std::int32_t kUnknown = -1;
  static constexpr std::int32_t kFull = -2;

  enum StateFlags : std::uint8_t {
    kMatchHere = 1,       // a match ends at the current position
    kMatchAtFarEdge = 2,  // ... or would, if this position were the scan's last
    kDead = 4,            // no thread left: nothing further can match
  };

  // `farEdge` is the edge condition that holds where scans in this direction
  // end: kAtLineEnd reading forwards, kAtLineStart reading backwards.
  LazyDfa(const Program& program, bool unanchored, unsigned farEdge, std::size_t memoryBudget);
  LazyDfa(const LazyDfa&) = delete;
  LazyDfa& operator=(const LazyDfa&) = delete;

  // Called before each scan: empties a cache that ran out of room last time. A line may
  // start several scans, so the common case costs no call.
  void BeginScan() noexcept {
    if (full_) Reset();
  }
  // The state at a scan's first position, where `edges` hold; kFull if no room.
  std::int32_t StartState(unsigned edges) noexcept {
    const std::int32_t cached = starts_[edges & 3];
    return cached >= 0 ? cached : MakeStartState(edges);
  }
  // The state after consuming `byte`; kFull if it is new and there is no room.
  std::int32_t Next(std::int32_t state, std::uint8_t byte) noexcept {
    std::int32_t next = transitions_[static_cast<std::size_t>(state) + program_.classOf[byte]];
    return next >= 0 ? next : Build(state, byte);
  }
  std::uint8_t Flags(std::int32_t state) const noexcept {
    return static_cast<std::uint8_t>(transitions_[static_cast<std::size_t>(state) + classCount_]);
  }

  // Follows cached transitions over text[pos...] and stops, with `pos` on the
  // first byte not consumed, at the end of the text, at a state where a match
  // ends, at `stopState`, or where a transition is not cached yet. The loop
  // every line goes through, so it touches nothing but the tables.
  std::int32_t RunCached(std::int32_t state, const unsigned char* text, std::size_t& pos, std::size_t length,
                         std::int32_t stopState) const noexcept {
    const std::int32_t* transitions = transitions_.data();
    const std::int32_t* flags = transitions_.data() + classCount_;  // flags[state]: the row's last slot
    const std::uint8_t* classOf = program_.classOf.data();
    std::size_t at = pos;
    while (at < length && (flags[state] & kMatchHere) == 0 && state != stopState) {
      std::int32_t next = transitions[static_cast<std::size_t>(state) + classOf[text[at]]];
      if (next < 0) break;
      state = next;
      ++at;
    }
    pos = at;
    return state;
  }

  // The same backwards over text[stop...pos), for a scan that wants every accepting
  // position rather than the first: each position > stop where the state accepts is noted
  // in `best` (so the last noted is the smallest). Stops at `stop` or where a transition is
  // not cached.
  std::int32_t RunCachedBack(std::int32_t state, const unsigned char* text, std::size_t& pos, std::size_t stop,
                             std::size_t& best) const noexcept {
    const std::int32_t* transitions = transitions_.data();
    const std::int32_t* flags = transitions_.data() + classCount_;  // flags[state]: the row's last slot
    const std::uint8_t* classOf = program_.classOf.data();
    std::size_t at = pos;
    std::size_t found = best;  // a local: a store through `best` could alias the tables
    while (at > stop) {
      if (flags[state] & kMatchHere) found = at;
      std::int32_t next = transitions[static_cast<std::size_t>(state) + classOf[text[at - 1]]];
      if (next < 0) break;
      state = next;
      --at;
    }
    pos = at;
    best = found;
    return state;
  }

  // Forwards over text[pos...length) for the longest match from a fixed start: notes in
  // `best` each position where the state accepts, and stops at the end of the text, at a
  // dead state, when `budget` bytes are read, or where a transition is not cached.
  std::int32_t RunCachedLongest(std::int32_t state, const unsigned char* text, std::size_t& pos, std::size_t length,
                                std::size_t& best, std::size_t& budget) const noexcept {
    const std::int32_t* transitions = transitions_.data();
    const std::int32_t* flags = transitions_.data() + classCount_;  // flags[state]: the row's last slot
    const std::uint8_t* classOf = program_.classOf.data();
    // Reading stops at whichever comes first, the text's end or the budget's.
    const std::size_t limit = length - pos < budget ? length : pos + budget;
    std::size_t at = pos;
    std::size_t found = best;  // locals: stores through the references could alias the tables
    while (at < limit) {
      const std::int32_t f = flags[state];
      if (f & (kMatchHere | kDead)) {
        if (f & kMatchHere) found = at;
        if (f & kDead) break;
      }
      const std::int32_t next = transitions[static_cast<std::size_t>(state) + classOf[text[at]]];
      if (next < 0) break;
      state = next;
      ++at;
    }
    budget -= at - pos;
    pos = at;
    best = found;
    return state;
  }

  // For simulation: the state's threads, and the stepper that moves them.
  void LoadSet(std::int32_t state, SparseSet& set) const noexcept;
  NfaStepper& stepper() noexcept { return stepper_; }
  unsigned farEdge() const noexcept { return farEdge_; }
  bool unanchored() const noexcept { return unanchored_; }
  std::size_t StateCount() const noexcept { return hashes_.size(); }

 private:
  std::int32_t MakeStartState(unsigned edges) noexcept;
  std::int32_t Build(std::int32_t state, std::uint8_t byte) noexcept;
  // Finds or adds the state for `set`; kFull if it is new and there is no room.
  std::int32_t Intern(const SparseSet& set) noexcept;
  // States are numbered 0, 1, 2... in the tables beside the transitions.
  std::int32_t Find(std::uint32_t hash) const noexcept;  // a number, or kUnknown
  bool KeyEquals(std::size_t number) const noexcept;
  std::size_t NumberOf(std::int32_t state) const noexcept { return static_cast<std::size_t>(state) / (classCount_ + 1); }
  void Reset() noexcept;
  void Rehash(std::size_t slots);

  const Program& program_;
  bool unanchored_;
  unsigned farEdge_;
  std::size_t budget_;
  std::size_t classCount_;
  NfaStepper stepper_;
  std::vector<std::int32_t> key_;           // scratch: the key being looked up
  std::vector<std::int32_t> transitions_;   // state + class: the next state; state + classCount: flags
  std::vector<std::uint32_t> keyOffsets_;   // number n's key is keys_[offset[n], offset[n+1])
  std::vector<std::int32_t> keys_;
  std::vector<std::uint32_t> hashes_;       // by number
  std::vector<std::int32_t> table_;         // numbers by open addressing, kUnknown when free
  std::array<std::int32_t, 4> starts_{};
  bool full_ = false;
};

// One scan's position in the automaton: a cached DFA state while the cache has
// room, a simulated thread set after that.
class Cursor {
 public:
  Cursor(LazyDfa& dfa, unsigned startEdges) noexcept : dfa_(dfa), stepper_(dfa.stepper()) {
    state_ = dfa.StartState(startEdges);
    if (state_ < 0) {
      current_ = &stepper_.ScratchA();
      other_ = &stepper_.ScratchB();
      stepper_.Start(*current_, startEdges);
    }
  }

  bool InDfa() const noexcept { return state_ >= 0; }
  std::int32_t state() const noexcept { return state_; }
  // Moves to a state the DFA reached by itself (RunCached).
  void SetState(std::int32_t state) noexcept { state_ = state; }
  bool MatchHere() const noexcept {
    return InDfa() ? (dfa_.Flags(state_) & LazyDfa::kMatchHere) != 0 : stepper_.HasMatch(*current_);
  }
  bool MatchAtFarEdge() noexcept {
    return InDfa() ? (dfa_.Flags(state_) & LazyDfa::kMatchAtFarEdge) != 0
                   : stepper_.MatchesWithEdges(*current_, dfa_.farEdge());
  }
  bool Dead() const noexcept {
    return InDfa() ? (dfa_.Flags(state_) & LazyDfa::kDead) != 0 : current_->Size() == 0;
  }
  void Advance(std::uint8_t byte) noexcept {
    if (InDfa()) {
      std::int32_t next = dfa_.Next(state_, byte);
      if (next >= 0) {
        state_ = next;
        return;
      }
      current_ = &stepper_.ScratchA();
      other_ = &stepper_.ScratchB();
      dfa_.LoadSet(state_, *current_);
      state_ = LazyDfa::kFull;
    }
    stepper_.Step(*current_, byte, *other_);
    std::swap(current_, other_);
  }

 private:
  LazyDfa& dfa_;
  NfaStepper& stepper_;
  std::int32_t state_ = LazyDfa::kFull;
  SparseSet* current_ = nullptr;
  SparseSet* other_ = nullptr;
};

}  // namespace qrx::kresh
