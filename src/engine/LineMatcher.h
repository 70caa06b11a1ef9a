#pragma once
// Decides whether one line matches the prepared pattern, and where.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/ByteScan.h"
#include "engine/SearchKinds.h"
#include "kresh32/kresh32.h"

namespace qrx {

// a-z to A-Z, every other byte unchanged, so columns survive the case adjustment.
inline constexpr std::array<unsigned char, 256> kUpperTable = [] {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
  return t;
}();
std::string UpperCase(std::string_view text);
// Without leading and trailing blanks and control characters.
std::string TrimText(std::string_view text);

// TAB, blank and ASCII punctuation except the underscore separate words.
inline constexpr std::array<bool, 256> kDelimiterTable = [] {
  std::array<bool, 256> t{};
  for (const char* p = "\t !\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~"; *p; ++p) t[static_cast<unsigned char>(*p)] = true;
  return t;
}();
constexpr bool IsDelimiter(unsigned char c) { return kDelimiterTable[c]; }
// What ends a word in the raw bytes of a file: a delimiter, a line end or a Ctrl-Z.
inline constexpr std::array<bool, 256> kEndsWord = [] {
  std::array<bool, 256> t = kDelimiterTable;
  t['\r'] = t['\n'] = t[26] = true;
  return t;
}();

// DOS wildcards to a regular expression: every other character is escaped, "*" becomes
// ".*" and "?" becomes ".".
std::string ConvertDosPattern(const std::string& pattern);

// Finds a fixed byte string, skipping ahead on its rarest bytes 16 places at a time.
class TSubstringFinder {
 public:
  void Prepare(std::string_view needle, bool caseFolded);
  // Offset of the first occurrence at or after from, or npos.
  size_t Find(std::string_view hay, size_t from = 0) const;

  // Scans raw (not case-adjusted) bytes for the first occurrence, or for a Ctrl-Z, whichever
  // comes first; at is where it begins. The needle must not hold CR, LF, NUL or Ctrl-Z.
  enum class THit { None, Text, CtrlZ };
  // With `wordsFrom`, occurrences inside longer words are passed over, save one whose next
  // byte lies at `end`, not known yet; the byte before `wordsFrom` is not looked at.
  THit ScanBlock(const char* p, const char* end, const char*& at, const char* wordsFrom = nullptr) const;
  // True when ScanBlock can stand for a line-by-line search with this needle.
  bool BlockScannable() const;
  size_t Length() const { return needle_.size(); }

 private:
  bool FitsAt(const char* at) const;
  THit ScanBytewise(const char* p, const char* end, const char*& at, const char* wordsFrom) const;
  bool InWord(const char* at, const char* end, const char* wordsFrom) const;

  std::string needle_;
  size_t rareOffset_ = 0;
  bool folded_ = false;
  // The rarest byte and the next rarest, for needles of two bytes or more.
  TBytePairKey pair_;
};

class TLineMatcher {
 public:
  // text is the working pattern: converted and, without case sensitivity, upper-cased.
  // For expression kinds 1 and 2 regexHandle is the compiled expression.
  void Prepare(uint16_t options, uint8_t exprKind, const std::string& text, long regexHandle);

  // The line itself when case matters, else its upper-case copy (held until the next call).
  std::string_view CaseAdjust(std::string_view line);
  bool IsExpression() const { return regex_; }
  // Plain text that only counts as a whole word.
  bool WholeWordsOnly() const { return !regex_ && (options_ & optWholeWords) != 0; }
  // The search text's finder; for an expression, the finder of what every match holds.
  const TSubstringFinder& Finder() const { return finder_; }
  // For an expression: finds the raw bytes a match can begin with, and Ctrl-Z; nullptr when
  // any line may match. Lines holding none of them need not be shown to the component.
  const TByteClassFinder* StartFinder() const { return hasStartFinder_ ? &startFinder_ : nullptr; }
  // Matches an already case-adjusted line; on success start and stop are the 1-based first
  // and last column of the match.
  bool MatchAdjusted(std::string_view line, int32_t& start, int32_t& stop);
  bool Match(std::string_view line, int32_t& start, int32_t& stop) {
    return MatchAdjusted(CaseAdjust(line), start, stop);
  }
  // Plain text only: the first occurrence that begins at or after index from (0-based) of
  // an already case-adjusted line. The anchor and whole-word tests look at the whole line,
  // so every occurrence found this way is one a search of the line would accept.
  bool FindOccurrence(std::string_view line, size_t from, int32_t& start, int32_t& stop) const;

 private:
  bool MatchStandard(std::string_view line, int32_t& start, int32_t& stop) const {
    return FindOccurrence(line, 0, start, stop);
  }
  bool MatchExpression(std::string_view line, int32_t& start, int32_t& stop);
  void PrepareStartFinder();

  uint16_t options_ = 0;
  bool regex_ = false;
  bool caseSensitive_ = false;
  long handle_ = 0;
  std::string text_;
  TSubstringFinder finder_;
  TByteClassFinder startFinder_;
  bool hasStartFinder_ = false;
  std::string adjusted_;  // reused: no allocation per line once it is large enough
};

}  // namespace qrx
