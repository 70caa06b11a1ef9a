#include "kresh32/RegexMatcher.h"

#include <cstring>
#include <new>
#include <utility>

#include "kresh32/RegexCompiler.h"
#include "kresh32/RegexParser.h"

namespace qrx::kresh {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kOverBudget = kNone - 1;
constexpr int kMostSkipBytes = 64;

unsigned EdgesAt(std::size_t pos, std::size_t length) {
  unsigned edges = kNoEdge;
  if (pos == 0) edges |= kAtLineStart;
  if (pos == length) edges |= kAtLineEnd;
  return edges;
}

// Adds to `bytes` every byte a run of `program` can take first, under any edge conditions;
// false when it may accept before taking any.
bool FirstBytes(NfaStepper& stepper, const Program& program, ByteSet& bytes) {
  SparseSet& set = stepper.ScratchA();
  bool known = true;
  for (unsigned edges : {unsigned{kNoEdge}, unsigned{kAtLineStart}, unsigned{kAtLineEnd}, kAtLineStart | kAtLineEnd}) {
    stepper.Start(set, edges);
    if (stepper.HasMatch(set)) known = false;
    for (std::int32_t pc : set) {
      const Inst& inst = program.insts[pc];
      if (inst.op == Op::kBytes) bytes.Merge(program.sets[inst.set]);
    }
  }
  return known;
}

}  // namespace

CompileResult Regex::Compile(std::string_view pattern, std::size_t dfaBudget) {
  CompileResult result;
  try {
    ParseResult parsed = ParsePattern(pattern);
    if (parsed.error != RegexError::kNone) {
      result.error = parsed.error;
      return result;
    }
    std::optional<LiteralPlan> literal = LiteralPlan::From(parsed.ast);
    Program forward = CompileProgram(parsed.ast, Direction::kForward);
    Program reverse = CompileProgram(parsed.ast, Direction::kReverse);
    result.regex.reset(new Regex(std::move(forward), std::move(reverse), std::move(literal), dfaBudget));
    std::string required = RequiredRun(parsed.ast);
    if (required.size() >= 2) result.regex->required_ = std::move(required);
  } catch (const std::bad_alloc&) {
    result.error = RegexError::kOutOfMemory;
  }
  return result;
}

Regex::Regex(Program forward, Program reverse, std::optional<LiteralPlan> literal, std::size_t dfaBudget)
    : forward_(std::move(forward)),
      reverse_(std::move(reverse)),
      literal_(std::move(literal)),
      finder_(forward_, true, kAtLineEnd, dfaBudget),
      starter_(reverse_, true, kAtLineStart, dfaBudget),
      ender_(forward_, false, kAtLineEnd, dfaBudget) {
  NfaStepper& stepper = ender_.stepper();
  SparseSet& set = stepper.ScratchA();
  stepper.Start(set, kAtLineStart | kAtLineEnd);
  emptyLineMatches_ = stepper.HasMatch(set);

  // Where no thread is running, the finder can skip straight to the next byte
  // that could start a match, or give up when nothing but "^" can start one.
  stepper.Start(set, kNoEdge);
  if (!stepper.HasMatch(set)) {
    ByteSet first;
    bool endCanMatch = false;
    for (std::int32_t pc : set) {
      const Inst& inst = forward_.insts[pc];
      if (inst.op == Op::kBytes) first.Merge(forward_.sets[inst.set]);
      if (inst.op == Op::kLineEnd) endCanMatch = true;
    }
    if (first.Count() == 1) firstByte_ = first.First();
    // A wide set would stop the skip at nearly every byte, for nothing.
    skipByTable_ = first.Count() > 1 && first.Count() <= kMostSkipBytes;
    for (int b = 0; b < 256; ++b) firstTable_[b] = first.Contains(static_cast<std::uint8_t>(b));
    onlyAtLineStart_ = first.Count() == 0 && !endCanMatch;
  }

  // A match starts where the edge conditions of its first position hold: at a line's start,
  // its end, both (an empty line) or neither. Read backwards, the same gives the bytes a
  // match can end with.
  startBytesKnown_ = FirstBytes(stepper, forward_, startBytes_);
  for (int b = 0; b < 256; ++b) startTable_[b] = startBytes_.Contains(static_cast<std::uint8_t>(b));
  ByteSet endBytes;
  endBytesKnown_ = FirstBytes(starter_.stepper(), reverse_, endBytes);
  for (int b = 0; b < 256; ++b) endTable_[b] = endBytes.Contains(static_cast<std::uint8_t>(b));
}


std::size_t Regex::SkipIdle(const unsigned char* text, std::size_t pos, std::size_t length) const noexcept {
  if (!skipByTable_) {
    const void* hit = std::memchr(text + pos, firstByte_, length - pos);
    return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text) : length;
  }
  while (pos < length && !firstTable_[text[pos]]) ++pos;
  return pos;
}

bool Regex::Search(const unsigned char* text, std::size_t length, MatchRange& range) noexcept {
  if (literal_) return literal_->Search(text, length, range);
  if (length == 0) {
    range = {0, 0};
    return emptyLineMatches_;
  }
  // A match holds what every match holds at or after its start: the next place holding it,
  // from where the tries have come to, tells when no later try can match. A line holding it
  // mostly holds a match too, found by the first try or the next, so it is looked for only
  // once a try has failed, and the pass that only asks whether there is a match at all
  // would be paid twice over.
  const bool required = !required_.empty();
  std::size_t nextPlace = 0;
  if (onlyAtLineStart_) {
    if (required && NextPlaceOf(text, length, required_, 0) == kNotFound) return false;
    if (!AnyMatch(text, length)) return false;
  } else if (!required && !AnyMatch(text, length)) {
    return false;
  }
  std::size_t unlimited = kNone;
  if (!onlyAtLineStart_) {
    // Trying each place a match can begin, from the left, finds the leftmost match and its
    // longest end at once, and a place that cannot begin one is mostly left after a few
    // bytes. Where the tries read more than about twice the line, it is read backwards
    // instead: one pass, whatever the pattern.
    std::size_t budget = 2 * length + 32;
    bool tried = false;
    for (std::size_t start = 0;; ++start) {
      if (startBytesKnown_) {
        while (start < length && !startTable_[text[start]]) ++start;
        if (start == length) return false;
      }
      if (required && tried && start > nextPlace) {
        nextPlace = NextPlaceOf(text, length, required_, start);
        if (nextPlace == kNotFound) return false;
      }
      const std::size_t end = LongestEnd(text, length, start, budget);
      tried = true;
      if (end == kOverBudget) break;
      if (end != kNone) {
        range = {start, end};
        return true;
      }
      if (start == length) return false;
    }
  }
  std::size_t start = onlyAtLineStart_ ? 0 : LeftmostStart(text, length);
  if (start == kNone) return false;  // no match at all
  std::size_t end = LongestEnd(text, length, start, unlimited);
  if (end == kNone) return false;
  range = {start, end};
  return true;
}

// The common case is a line without any match, so this scan is the one kept
// tight: cached transitions, and memchr while no thread is running.
bool Regex::AnyMatch(const unsigned char* text, std::size_t length) noexcept {
  finder_.BeginScan();
  const std::int32_t idle = finder_.StartState(kNoEdge);
  const bool watchIdle = idle >= 0 && (firstByte_ >= 0 || skipByTable_ || onlyAtLineStart_);
  Cursor cursor(finder_, kAtLineStart);
  std::size_t pos = 0;
  for (;;) {
    if (cursor.InDfa()) {
      cursor.SetState(finder_.RunCached(cursor.state(), text, pos, length, watchIdle ? idle : LazyDfa::kUnknown));
    }
    if (cursor.MatchHere()) return true;
    if (pos == length) return cursor.MatchAtFarEdge();
    if (watchIdle && cursor.state() == idle) {
      if (onlyAtLineStart_) return false;
      pos = SkipIdle(text, pos, length);
      if (pos == length) continue;  // still idle at the end, where "$" may yet match
    }
    cursor.Advance(text[pos]);
    ++pos;
  }
}

// Reading backwards from the end with matches allowed to end anywhere, the
// automaton accepts at exactly those positions where some match starts.
std::size_t Regex::LeftmostStart(const unsigned char* text, std::size_t length) noexcept {
  // No match starts before the first byte that can begin one, nor ends after the last byte
  // that can end one, so the scan runs between the two.
  std::size_t stop = 0;
  if (startBytesKnown_) {
    while (stop < length && !startTable_[text[stop]]) ++stop;
    if (stop == length) return kNone;
  }
  std::size_t from = length;
  if (endBytesKnown_) {
    while (from > stop && !endTable_[text[from - 1]]) --from;
    if (from == stop) return kNone;
  }
  starter_.BeginScan();
  Cursor cursor(starter_, EdgesAt(from, length));
  std::size_t best = kNone;
  for (std::size_t pos = from;; --pos) {
    if (cursor.InDfa()) cursor.SetState(starter_.RunCachedBack(cursor.state(), text, pos, stop, best));
    if (pos == 0) {
      if (cursor.MatchAtFarEdge()) best = 0;
      return best;
    }
    if (cursor.MatchHere()) best = pos;
    if (pos == stop) return best;
    cursor.Advance(text[pos - 1]);
  }
}

std::size_t Regex::LongestEnd(const unsigned char* text, std::size_t length, std::size_t start,
                              std::size_t& budget) noexcept {
  ender_.BeginScan();
  Cursor cursor(ender_, EdgesAt(start, length));
  std::size_t best = kNone;
  for (std::size_t pos = start;; ++pos) {
    if (cursor.InDfa()) cursor.SetState(ender_.RunCachedLongest(cursor.state(), text, pos, length, best, budget));
    if (pos == length) {
      if (cursor.MatchAtFarEdge()) best = length;
      return best;
    }
    if (cursor.MatchHere()) best = pos;
    if (cursor.Dead()) return best;
    if (budget == 0) return kOverBudget;
    --budget;
    cursor.Advance(text[pos]);
  }
}

}  // namespace qrx::kresh
