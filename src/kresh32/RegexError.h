#pragma once
// The error numbers RegComp reports. Users see them in the engine's message
// ("Error (n) compiling ..."), so each keeps its one meaning for good.

namespace qrx::kresh {

enum class RegexError : int {
  kNone = 0,
  kEmptyPattern = 1,       // nothing to compile
  kTrailingBackslash = 2,  // "\" is the last character of the pattern
  kUnterminatedSet = 3,    // "[" without its "]"
  kMissingParen = 4,       // "(" without its ")"
  kUnmatchedParen = 5,     // ")" without a "(" before it
  kNothingToRepeat = 6,    // "*", "+" or "?" with no item before it, or after "^" / "$"
  kInvalidRange = 7,       // a range inside "[ ]" whose end comes before its start
  kTooComplex = 8,         // too many automaton states, or groups nested too deeply
  kNullArgument = 9,       // no pattern given at all
  kOutOfMemory = 10,       // the compiled form could not be allocated
  kTooManyExpressions = 11 // the process has used up its expression handles
};

}  // namespace qrx::kresh
