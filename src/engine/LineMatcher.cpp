#include "engine/LineMatcher.h"

#include <algorithm>
#include <cstring>

#include "engine/ByteScan.h"
#include "engine/RequiredText.h"

namespace qrx {

namespace {


// How often a byte turns up in program text, roughly: the finder skips on the rarest byte
// of the pattern, so only the order matters.
int ByteRank(unsigned char c) {
  static const char* const common = " etaoinsrlcdhupmfgbyw.,;()=_\"'\t";
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
  const char* hit = std::strchr(common, c);
  if (c != 0 && hit) return 255 - static_cast<int>(hit - common);
  if (c >= 'a' && c <= 'z') return 200;
  if (c >= '0' && c <= '9') return 150;
  if (c >= 32 && c < 127) return 120;
  return 10;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kUpperTable[static_cast<unsigned char>(c)]);
  return out;
}

std::string TrimText(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string ConvertDosPattern(const std::string& pattern) {
  std::string out;
  out.reserve(pattern.size() * 2);
  for (char c : pattern) {
    if (c == '*') {
      out += ".*";
    } else if (c == '?') {
      out += '.';
    } else {
      out += '\\';
      out += c;
    }
  }
  return out;
}

void TSubstringFinder::Prepare(std::string_view needle, bool caseFolded) {
  needle_.assign(needle);
  rareOffset_ = 0;
  folded_ = caseFolded;
  // After upper-casing, capitals are as common as small letters are in the original.
  auto rank = [&](size_t i) {
    const unsigned char c = static_cast<unsigned char>(needle_[i]);
    return ByteRank(c) - (!caseFolded && c >= 'A' && c <= 'Z' ? 80 : 0);
  };
  for (size_t i = 1; i < needle_.size(); ++i)
    if (rank(i) < rank(rareOffset_)) rareOffset_ = i;
  if (needle_.size() < 2) return;
  size_t next = rareOffset_ == 0 ? 1 : 0;
  for (size_t i = 0; i < needle_.size(); ++i)
    if (i != rareOffset_ && rank(i) < rank(next)) next = i;
  const size_t offsets[2] = {std::min(rareOffset_, next), std::max(rareOffset_, next)};
  for (int k = 0; k < 2; ++k) {
    const unsigned char c = static_cast<unsigned char>(needle_[offsets[k]]);
    pair_.Offset[k] = offsets[k];
    pair_.Byte[k] = c;
    pair_.Folded[k] = caseFolded && c >= 'A' && c <= 'Z';
  }
}

size_t TSubstringFinder::Find(std::string_view hay, size_t from) const {
  const size_t m = needle_.size();
  const size_t n = hay.size();
  if (m == 0) return from <= n ? from : std::string_view::npos;
  if (from > n || n - from < m) return std::string_view::npos;
  const char* base = hay.data();
  const char rare = needle_[rareOffset_];
  const char* p = base + from + rareOffset_;
  const char* last = base + (n - m) + rareOffset_;  // last place the rare byte may stand
  // The text is case-adjusted already: upper-casing it again leaves it as it is.
  while (p <= last) {
    const char* hit = FindAnyOf(p, last + 1, rare, rare, rare);
    if (hit > last) break;
    const char* cand = hit - rareOffset_;
    if (FitsAt(cand)) return static_cast<size_t>(cand - base);
    p = hit + 1;
  }
  return std::string_view::npos;
}

bool TSubstringFinder::BlockScannable() const {
  if (needle_.empty()) return false;
  for (char c : needle_)
    if (c == '\r' || c == '\n' || c == '\0' || c == 26) return false;
  return true;
}

bool TSubstringFinder::FitsAt(const char* at) const {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(at);
  const unsigned char* want = reinterpret_cast<const unsigned char*>(needle_.data());
  const size_t m = needle_.size();
  size_t i = 0;
  // Upper-cased needle: its capitals stand for both cases in the raw text.
  if (folded_) {
    while (i < m && kUpperTable[s[i]] == want[i]) ++i;
  } else {
    while (i < m && s[i] == want[i]) ++i;
  }
  return i == m;
}

TSubstringFinder::THit TSubstringFinder::ScanBlock(const char* p, const char* end, const char*& at,
                                                   const char* wordsFrom) const {
  if (needle_.size() >= 2) {
    // The bytes before the later key byte's first place are looked at for a Ctrl-Z only;
    // the steps see every byte from there on.
    const char* q = p + std::min(pair_.Offset[1], static_cast<size_t>(end - p));
    for (const char* z = p; z != q; ++z) {  // a few bytes: no call for them
      if (*z == 26) {
        at = z;
        return THit::CtrlZ;
      }
    }
    const size_t m = needle_.size();
    for (;;) {
      unsigned candidates, ctrlZ;
      p = FindBytePair(p, end, pair_, candidates, ctrlZ);
      if (!(candidates | ctrlZ)) break;
      // An occurrence holds no Ctrl-Z, so none starting before one can reach past it, and
      // none in a later step can start before it.
      const char* z = ctrlZ ? p + pair_.Offset[1] + __builtin_ctz(ctrlZ) : end;
      for (; candidates; candidates &= candidates - 1) {
        const char* cand = p + __builtin_ctz(candidates);
        if (cand > z) break;
        if (static_cast<size_t>(end - cand) >= m && FitsAt(cand) && !InWord(cand, end, wordsFrom)) {
          at = cand;
          return THit::Text;
        }
      }
      if (ctrlZ) {
        at = z;
        return THit::CtrlZ;
      }
      p += 16;
    }
  }
  return ScanBytewise(p, end, at, wordsFrom);
}

bool TSubstringFinder::InWord(const char* at, const char* end, const char* wordsFrom) const {
  if (!wordsFrom) return false;
  const char* after = at + needle_.size();
  return (at != wordsFrom && !kEndsWord[static_cast<unsigned char>(at[-1])]) ||
         (after < end && !kEndsWord[static_cast<unsigned char>(*after)]);
}

// One rare byte at a time: for short needles, the ends of blocks and processors without
// 16-byte compares.
TSubstringFinder::THit TSubstringFinder::ScanBytewise(const char* p, const char* end, const char*& at,
                                                      const char* wordsFrom) const {
  const size_t m = needle_.size();
  const unsigned char rare = static_cast<unsigned char>(needle_[rareOffset_]);
  const unsigned char other = folded_ && rare >= 'A' && rare <= 'Z' ? static_cast<unsigned char>(rare + 32) : rare;
  // The bytes before the rare byte's first possible place are looked at for a Ctrl-Z only:
  // an occurrence overlapping one would hold it.
  const char* q = p + std::min(rareOffset_, static_cast<size_t>(end - p));
  if (const char* z = FindAnyOf(p, q, 26, 26, 26); z != q) {
    at = z;
    return THit::CtrlZ;
  }
  while (q < end) {
    const char* hit = FindAnyOf(q, end, rare, other, 26);
    if (hit == end) break;
    if (static_cast<unsigned char>(*hit) == 26) {
      at = hit;
      return THit::CtrlZ;
    }
    const char* cand = hit - rareOffset_;
    if (static_cast<size_t>(end - cand) >= m && FitsAt(cand) && !InWord(cand, end, wordsFrom)) {
      at = cand;
      return THit::Text;
    }
    q = hit + 1;
  }
  return THit::None;
}

void TLineMatcher::Prepare(uint16_t options, uint8_t exprKind, const std::string& text,
                           long regexHandle) {
  options_ = options;
  caseSensitive_ = (options & optCaseSensitive) != 0;
  regex_ = exprKind == ekRegExp || exprKind == ekDos;
  handle_ = regexHandle;
  text_ = text;
  // For an expression, the finder looks for what every match holds: lines without it need
  // not be shown to the component.
  finder_.Prepare(regex_ ? RequiredText(text_) : text_, !caseSensitive_);
  PrepareStartFinder();
}

void TLineMatcher::PrepareStartFinder() {
  hasStartFinder_ = false;
  unsigned char starts[256];
  if (!regex_ || RegStartBytes(handle_, starts) != KRESH32_MATCH) return;
  std::array<bool, 256> members{};
  // The component sees upper-cased lines when case does not matter, and never sees a line
  // end or anything from a NUL on.
  for (int b = 0; b < 256; ++b) members[b] = starts[caseSensitive_ ? b : kUpperTable[b]] != 0;
  members['\r'] = members['\n'] = members['\0'] = false;
  members[26] = true;  // Ctrl-Z ends the data: the scan must stop there
  startFinder_.Prepare(members);
  hasStartFinder_ = true;
}

std::string_view TLineMatcher::CaseAdjust(std::string_view line) {
  if (caseSensitive_) return line;
  adjusted_.resize(line.size());
  UpperCaseCopy(line.data(), line.size(), adjusted_.data());
  return adjusted_;
}

bool TLineMatcher::MatchAdjusted(std::string_view line, int32_t& start, int32_t& stop) {
  start = stop = 0;
  return regex_ ? MatchExpression(line, start, stop) : MatchStandard(line, start, stop);
}

bool TLineMatcher::MatchExpression(std::string_view line, int32_t& start, int32_t& stop) {
  // The component sees the line up to its first NUL, where it lies.
  const char* end = line.data() + line.size();
  const auto seen = static_cast<long>(FindAnyOf(line.data(), end, 0, 0, 0) - line.data());
  long range[2] = {0, 0};
  if (RegExecLength(handle_, line.data(), seen, range) != 0) return false;
  start = static_cast<int32_t>(range[0]) + 1;
  stop = static_cast<int32_t>(range[1]);
  return true;
}

bool TLineMatcher::FindOccurrence(std::string_view line, size_t from, int32_t& start, int32_t& stop) const {
  start = stop = 0;
  const size_t m = text_.size();
  const size_t n = line.size();
  if (m == 0 || m > n || from > n - m) return false;
  const bool needStart = (options_ & optLineStart) != 0;
  const bool needEnd = (options_ & optLineEnd) != 0;
  const bool wholeWords = (options_ & optWholeWords) != 0;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line.data());

  auto passes = [&](size_t p) {
    const bool atStart = p == 0;
    const bool atEnd = p + m == n;
    if (needStart && !atStart) return false;
    if (needEnd && !atEnd) return false;
    if (!wholeWords) return true;
    if (!atStart && !IsDelimiter(bytes[p - 1])) return false;
    if (!atEnd && !IsDelimiter(bytes[p + m])) return false;
    return true;
  };
  auto accept = [&](size_t p) {
    start = static_cast<int32_t>(p) + 1;
    stop = static_cast<int32_t>(p + m);
    return true;
  };

  // Anchored searches have one place to look.
  if (needStart || needEnd) {
    const size_t p = needStart ? 0 : n - m;
    if (p < from || std::memcmp(line.data() + p, text_.data(), m) != 0) return false;
    return passes(p) && accept(p);
  }
  // Later occurrences are examined too: "ab a" holds the whole word "a".
  for (size_t p = finder_.Find(line, from); p != std::string_view::npos; p = finder_.Find(line, p + 1)) {
    if (passes(p)) return accept(p);
  }
  return false;
}

}  // namespace qrx
