#pragma once
// Byte searches over whole read blocks: where a search spends its time when most lines hold
// nothing of interest, so they look at 16 bytes a step where the processor allows it.
#include <array>
#include <cstddef>

namespace qrx {

// The first byte in [p, end) equal to a, b or c, or end.
const char* FindAnyOf(const char* p, const char* end, unsigned char a, unsigned char b, unsigned char c);
// The same one byte at a time: for processors without 16-byte compares, and to check against.
const char* FindAnyOfBytewise(const char* p, const char* end, unsigned char a, unsigned char b, unsigned char c);

// Two bytes of a needle at fixed offsets (Offset[0] < Offset[1]). A folded byte is a capital
// letter that stands for both cases.
struct TBytePairKey {
  size_t Offset[2] = {0, 0};
  unsigned char Byte[2] = {0, 0};
  bool Folded[2] = {false, false};
};

// Looks at 16 candidate starts a step, from p on, for starts whose two key bytes fit or a
// Ctrl-Z. Returns the start of the first step that found either: bit k of candidates is the
// start there + k, bit k of ctrlZ the byte there + Offset[1] + k; every byte from p up to
// that one was seen. When fewer than Offset[1] + 16 bytes are left (or the processor has no
// 16-byte compares) it returns where it stopped with both masks 0, and the rest is the
// caller's to look at.
const char* FindBytePair(const char* p, const char* end, const TBytePairKey& key, unsigned& candidates,
                         unsigned& ctrlZ);

// The lines that end in [begin, target), by the reader's rules (CR, LF, CR LF and LF CR each
// end one; a line of one NUL byte does not count, since another line follows it), and where
// the line holding target begins. The bytes hold no Ctrl-Z.
size_t CountLines(const char* begin, const char* target, const char*& lineStart);
size_t CountLinesBytewise(const char* begin, const char* target, const char*& lineStart);

// Finds the first byte that belongs to a set: 16 bytes a step when the set is a few runs of
// byte values (digits, letters), one byte at a time otherwise.
class TByteClassFinder {
 public:
  static constexpr int kMostRuns = 6;
  void Prepare(const std::array<bool, 256>& members);
  // The first member in [p, end), or end.
  const char* Find(const char* p, const char* end) const;
  const char* FindBytewise(const char* p, const char* end) const;

 private:
  std::array<bool, 256> members_{};
  unsigned char first_[kMostRuns] = {};
  unsigned char span_[kMostRuns] = {};  // last - first of each run
  int runs_ = 0;                        // kMostRuns + 1: too many for the wide compare
};

// out[i] = in[i] with a-z made A-Z, every other byte unchanged; out may equal in.
void UpperCaseCopy(const char* in, size_t n, char* out);

}  // namespace qrx
