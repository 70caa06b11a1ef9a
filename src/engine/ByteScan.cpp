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
bool HaveSse2() {
#if defined(__x86_64__)
  return true;
#else
  static const bool have = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") != 0;
  }();
  return have;
#endif
}

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

__attribute__((target("sse2"))) void CountSse2(const char* p, const char* end, TLineCounter& counter) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i nul = _mm_setzero_si128();
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, cr)));
    const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, lf)));
    unsigned mask = crs | lfs;
    if (!mask) continue;
    // Most text has one kind of line end. A stretch that neither begins with a line end
    // (which might be the mate of one before it) nor holds a NUL (a line of one NUL does not
    // count), and whose line ends are all LF, or all CR LF pairs within it, counts
    // one line per LF without looking at each.
    if (!(mask & 1) && !_mm_movemask_epi8(_mm_cmpeq_epi8(x, nul))) {
      if (!crs) {
        counter.lines += static_cast<size_t>(__builtin_popcount(lfs));
        counter.last = p + (31 - __builtin_clz(lfs));
        counter.lineStart = counter.last + 1;
        continue;
      }
      if (lfs == crs << 1) {  // a CR in the last byte has no LF in the mask to answer it
        counter.lines += static_cast<size_t>(__builtin_popcount(crs));
        counter.last = nullptr;
        counter.lineStart = p + (31 - __builtin_clz(lfs)) + 1;
        continue;
      }
    }
    while (mask) {
      counter.Break(p + __builtin_ctz(mask));
      mask &= mask - 1;
    }
  }
  CountBytewise(p, end, counter);
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
