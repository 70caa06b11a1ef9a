#include "engine/ByteScan.h"

#include <cstring>

#include "engine/LineMatcher.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define QRX_HAVE_SSE2_PATH 1
#endif

namespace qrx {

const char* FindAnyOfBytewise(const char* p, const char* end, unsigned char a, unsigned char b, unsigned char c) {
  for (; p != end; ++p) {
    const unsigned char x = static_cast<unsigned char>(*p);
    if (x == a || x == b || x == c) return p;
  }
  return end;
}

namespace {

// Takes the line ends in order; the second byte of a CR LF or LF CR pair ends no line.
struct TLineCounter {
  const char* lineStart;
  const char* last = nullptr;  // the previous line end, while it may still take a mate
  size_t lines = 0;
  void Break(const char* at) {
    if (last && at == last + 1 && *at != *last) {
      last = nullptr;
      lineStart = at + 1;
      return;
    }
    lines += !(at - lineStart == 1 && *lineStart == '\0');
    last = at;
    lineStart = at + 1;
  }
};

void CountBytewise(const char* p, const char* end, TLineCounter& counter) {
  for (; p != end; ++p)
    if (*p == '\r' || *p == '\n') counter.Break(p);
}

void UpperCaseBytewise(const char* in, size_t n, char* out) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(in);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>(kUpperTable[s[i]]);
}

#ifdef QRX_HAVE_SSE2_PATH
// The 32-bit build targets processors that may lack these instructions: they are used only
// where the processor reports them.
// Asked before every scan, so it is worked out once, at start-up, and is then a plain load.
#if defined(__x86_64__)
constexpr bool HaveSse2() { return true; }
#else
const bool kHaveSse2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2") != 0;
}();
inline bool HaveSse2() { return kHaveSse2; }
#endif

__attribute__((target("sse2"))) const char* FindAnyOfSse2(const char* p, const char* end, unsigned char a,
                                                          unsigned char b, unsigned char c) {
  const __m128i va = _mm_set1_epi8(static_cast<char>(a));
  const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
  const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
  while (end - p >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)), _mm_cmpeq_epi8(x, vc));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (mask) return p + __builtin_ctz(mask);
    p += 16;
  }
  return FindAnyOfBytewise(p, end, a, b, c);
}

// Bytes in runs: x - first <= span, unsigned, is (x - first) - span saturating at 0.
__attribute__((target("sse2"))) const char* FindInRunsSse2(const char* p, const char* end, const unsigned char* first,
                                                           const unsigned char* span, int runs) {
  __m128i lo[TByteClassFinder::kMostRuns], width[TByteClassFinder::kMostRuns];
  for (int r = 0; r < runs; ++r) {
    lo[r] = _mm_set1_epi8(static_cast<char>(first[r]));
    width[r] = _mm_set1_epi8(static_cast<char>(span[r]));
  }
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = zero;
    for (int r = 0; r < runs; ++r)
      hit = _mm_or_si128(hit, _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(x, lo[r]), width[r]), zero));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (mask) return p + __builtin_ctz(mask);
    p += 16;
  }
  return p;
}

__attribute__((target("sse2"))) inline __m128i FitsKey(__m128i x, unsigned char byte, bool folded) {
  if (!folded) return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(byte)));
  const __m128i bit = _mm_set1_epi8(0x20);
  return _mm_cmpeq_epi8(_mm_or_si128(x, bit), _mm_set1_epi8(static_cast<char>(byte | 0x20)));
}

__attribute__((target("sse2"))) const char* FindBytePairSse2(const char* p, const char* end, const TBytePairKey& key,
                                                             unsigned& candidates, unsigned& ctrlZ) {
  const __m128i z = _mm_set1_epi8(26);
  const size_t hi = key.Offset[1];
  for (; static_cast<size_t>(end - p) >= hi + 16; p += 16) {
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + hi));
    ctrlZ = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(second, z)));
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + key.Offset[0]));
    const __m128i both =
        _mm_and_si128(FitsKey(first, key.Byte[0], key.Folded[0]), FitsKey(second, key.Byte[1], key.Folded[1]));
    candidates = static_cast<unsigned>(_mm_movemask_epi8(both));
    if (candidates | ctrlZ) return p;
  }
  candidates = ctrlZ = 0;
  return p;
}

// Any text: the line ends are taken one by one, 16 bytes a step between them.
__attribute__((target("sse2"))) void CountSse2(const char* p, const char* end, TLineCounter& counter) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, cr)) |
                                          _mm_movemask_epi8(_mm_cmpeq_epi8(x, lf)));
    for (; mask; mask &= mask - 1) counter.Break(p + __builtin_ctz(mask));
  }
  CountBytewise(p, end, counter);
}

// Text where every CR is followed by an LF, with no NUL: each line end then holds exactly
// one LF (CR LF, LF CR, LF), so the lines are the LFs and each ends at one. Counts them
// 16 bytes a step without a branch; false, with nothing counted, for any other text.
__attribute__((target("sse2"))) bool CountPlainSse2(const char* begin, const char* target, size_t& lines,
                                                    const char*& lineStart) {
  if (begin == target) {
    lines = 0;
    lineStart = begin;
    return true;
  }
  if (target[-1] == '\r') return false;  // its LF, if any, is not ours to see
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  __m128i bad = zero;
  __m128i sums = zero;  // per 8-byte half
  const char* p = begin;
  // The byte after each stretch is read too, so a stretch ends a byte short of target.
  while (target - p >= 17) {
    __m128i counts = zero;  // -1 per LF in each byte lane, at most 255 steps
    for (int step = 0; step < 255 && target - p >= 17; ++step, p += 16) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(x, lf));
      bad = _mm_or_si128(bad, _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(x, cr)));
      bad = _mm_or_si128(bad, _mm_cmpeq_epi8(x, zero));
    }
    sums = _mm_add_epi64(sums, _mm_sad_epu8(counts, zero));
    if (_mm_movemask_epi8(bad)) return false;  // within 4 KiB of where it turned out otherwise
  }
  size_t count = static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  // What is left, at most 16 bytes, is one more stretch where the text reaches back far
  // enough: the 16 bytes before the last one, of which those before p were counted above.
  // Its line ends also tell, mostly, where the target's line begins.
  const char* const stretch = target - begin >= 17 ? target - 17 : nullptr;
  unsigned stretchEnds = 0;
  if (stretch) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stretch));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stretch + 1));
    const unsigned fresh = 0xFFFFu << (p - stretch);  // p - stretch is 1 to 17
    const unsigned badLanes = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(x, cr)), _mm_cmpeq_epi8(x, zero))));
    if (badLanes & fresh) return false;
    stretchEnds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, lf)));
    for (unsigned ends = stretchEnds & fresh; ends; ends &= ends - 1) ++count;
  } else {
    for (; p != target - 1; ++p) {
      if (*p == '\0' || (*p == '\r' && p[1] != '\n')) return false;  // p + 1 < target
      count += *p == '\n';
    }
  }
  // The last byte is no CR (see above), so only its own value counts.
  if (target[-1] == '\0') return false;
  count += target[-1] == '\n';

  const char* last = target;
  if (target[-1] != '\n') {
    if (stretchEnds) {
      last = stretch + (31 - __builtin_clz(stretchEnds)) + 1;
    } else if (stretch) {
      // A long line: back 16 bytes a step while there is room, then byte by byte.
      const char* q = stretch;
      while (q - begin >= 16) {
        q -= 16;
        const unsigned ends =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), lf)));
        if (ends) {
          last = q + (31 - __builtin_clz(ends)) + 1;
          break;
        }
        last = q;
      }
      if (last == target) last = stretch;
      while (last != begin && last[-1] != '\n') --last;
    } else {
      --last;
      while (last != begin && last[-1] != '\n') --last;
    }
  }
  lines = count;
  lineStart = last;
  return true;
}

__attribute__((target("sse2"))) void UpperCaseSse2(const char* in, size_t n, char* out) {
  // Signed compares: bytes from 0x80 up are negative and so never taken for small letters.
  const __m128i below = _mm_set1_epi8('a' - 1);
  const __m128i above = _mm_set1_epi8('z' + 1);
  const __m128i bit = _mm_set1_epi8(0x20);
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i small = _mm_and_si128(_mm_cmpgt_epi8(x, below), _mm_cmplt_epi8(x, above));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_sub_epi8(x, _mm_and_si128(small, bit)));
  }
  UpperCaseBytewise(in + i, n - i, out + i);
}
#endif

}  // namespace

const char* FindAnyOf(const char* p, const char* end, unsigned char a, unsigned char b, unsigned char c) {
#ifdef QRX_HAVE_SSE2_PATH
  if (HaveSse2()) return FindAnyOfSse2(p, end, a, b, c);
#endif
  return FindAnyOfBytewise(p, end, a, b, c);
}

const char* FindBytePair(const char* p, const char* end, const TBytePairKey& key, unsigned& candidates,
                         unsigned& ctrlZ) {
#ifdef QRX_HAVE_SSE2_PATH
  if (HaveSse2()) return FindBytePairSse2(p, end, key, candidates, ctrlZ);
#endif
  candidates = ctrlZ = 0;
  return p;
}

void TByteClassFinder::Prepare(const std::array<bool, 256>& members) {
  members_ = members;
  runs_ = 0;
  for (int b = 0; b < 256;) {
    if (!members[b]) {
      ++b;
      continue;
    }
    int last = b;
    while (last + 1 < 256 && members[last + 1]) ++last;
    if (runs_ == kMostRuns) {
      runs_ = kMostRuns + 1;
      return;
    }
    first_[runs_] = static_cast<unsigned char>(b);
    span_[runs_] = static_cast<unsigned char>(last - b);
    ++runs_;
    b = last + 1;
  }
}

const char* TByteClassFinder::FindBytewise(const char* p, const char* end) const {
  while (p != end && !members_[static_cast<unsigned char>(*p)]) ++p;
  return p;
}

const char* TByteClassFinder::Find(const char* p, const char* end) const {
#ifdef QRX_HAVE_SSE2_PATH
  if (runs_ <= kMostRuns && HaveSse2()) p = FindInRunsSse2(p, end, first_, span_, runs_);
#endif
  return FindBytewise(p, end);
}

size_t CountLinesBytewise(const char* begin, const char* target, const char*& lineStart) {
  TLineCounter counter{begin};
  CountBytewise(begin, target, counter);
  lineStart = counter.lineStart;
  return counter.lines;
}

size_t CountLines(const char* begin, const char* target, const char*& lineStart) {
#ifdef QRX_HAVE_SSE2_PATH
  if (HaveSse2()) {
    size_t lines;
    if (CountPlainSse2(begin, target, lines, lineStart)) return lines;
    TLineCounter counter{begin};
    CountSse2(begin, target, counter);
    lineStart = counter.lineStart;
    return counter.lines;
  }
#endif
  return CountLinesBytewise(begin, target, lineStart);
}

void UpperCaseCopy(const char* in, size_t n, char* out) {
#ifdef QRX_HAVE_SSE2_PATH
  if (HaveSse2()) return UpperCaseSse2(in, n, out);
#endif
  UpperCaseBytewise(in, n, out);
}

}  // namespace qrx
