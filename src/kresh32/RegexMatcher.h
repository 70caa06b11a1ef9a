#pragma once
// A compiled expression and its search: the leftmost match, and of the matches
// that start there the longest. Search runs in time linear in the line's
// length and never backtracks.
//
// Not thread-safe: Search updates the expression's caches, so each object is
// used by one thread at a time.
#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "kresh32/ByteSet.h"
#include "kresh32/LazyDfa.h"
#include "kresh32/LiteralPlan.h"
#include "kresh32/RegexError.h"
#include "kresh32/RegexProgram.h"

namespace qrx::kresh {

class Regex;

struct CompileResult {
  std::unique_ptr<Regex> regex;  // null on error
  RegexError error = RegexError::kNone;
};

class Regex {
 public:
  // Each DFA's cache is capped at this many bytes by default.
  static constexpr std::size_t kDfaBudget = 512 * 1024;

  // A smaller `dfaBudget` makes scans fall back to simulation sooner; tests
  // use it to exercise that path.
  static CompileResult Compile(std::string_view pattern, std::size_t dfaBudget = kDfaBudget);

  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  bool Search(const unsigned char* text, std::size_t length, MatchRange& range) noexcept;
  bool Search(std::string_view line, MatchRange& range) noexcept {
    return Search(reinterpret_cast<const unsigned char*>(line.data()), line.size(), range);
  }

  // The bytes a match can begin with, wherever in a line it starts; false when a match may
  // be empty, so that a line holding none of them could still match.
  bool StartBytes(ByteSet& bytes) const noexcept {
    bytes = startBytes_;
    return startBytesKnown_;
  }

 private:
  Regex(Program forward, Program reverse, std::optional<LiteralPlan> literal, std::size_t dfaBudget);

  bool AnyMatch(const unsigned char* text, std::size_t length) noexcept;
  std::size_t LeftmostStart(const unsigned char* text, std::size_t length) noexcept;
  // kOverBudget (from the .cpp) once `budget` bytes are read.
  std::size_t LongestEnd(const unsigned char* text, std::size_t length, std::size_t start,
                         std::size_t& budget) noexcept;

  Program forward_;
  Program reverse_;
  std::optional<LiteralPlan> literal_;
  std::string required_;  // bytes every match contains (two or more), or empty
  LazyDfa finder_;   // forwards, unanchored: is there any match at all?
  LazyDfa starter_;  // backwards, unanchored: where does the leftmost match start?
  LazyDfa ender_;    // forwards, anchored: where does the longest match from there end?
  // Where no thread is running, the next byte that can start a match: the one byte (by
  // memchr), or one of a few (by table).
  std::size_t SkipIdle(const unsigned char* text, std::size_t pos, std::size_t length) const noexcept;

  int firstByte_ = -1;  // the one byte every match starts with, if there is one
  bool skipByTable_ = false;
  std::array<bool, 256> firstTable_{};
  ByteSet startBytes_;
  std::array<bool, 256> startTable_{};
  bool startBytesKnown_ = false;
  // The bytes a match can end with: no match ends after the last of them in a line.
  std::array<bool, 256> endTable_{};
  bool endBytesKnown_ = false;
  bool onlyAtLineStart_ = false;  // every match starts at offset 0 ("^..." patterns)
  bool emptyLineMatches_ = false;
};

}  // namespace qrx::kresh
