// The search's fast way through a file: the text is looked for over whole read blocks, and
// lines are split, counted and matched only around what is found. The lines, their numbers
// and every result come out as the line reader gives them one by one: CR, LF, CR LF and
// LF CR each end a line, a line of one NUL byte takes no number unless it is the last,
// nothing after a Ctrl-Z exists, and a line may be longer than any block.
#include <array>
#include <cstring>

#include "engine/ByteScan.h"
#include "engine/FileSearch.h"

namespace {

struct TLineSpan {
  size_t Begin = 0;  // first byte
  size_t End = 0;    // its line end (or the end of the data)
  size_t Next = 0;   // the next line's first byte
  bool Numbered = true;
};

constexpr unsigned char kCtrlZ = 26;

// The unread part of one file in a buffer: the bytes [Pos, Have) of Data, Final once the file
// has nothing more to give.
class TBlockLines {
 public:
  TBlockLines(std::vector<char>& data, size_t have, bool final) : data_(data), Have(have), Final(final) {}

  // Nothing after a Ctrl-Z exists.
  void EndAt(size_t at) {
    Have = at;
    Final = true;
  }

  // The line at Pos, once it can be told whole: false when more bytes are needed or no
  // line is left. Its end is looked for from `clear` on, where the caller knows there is
  // no line end and no Ctrl-Z in [Pos, clear).
  bool Next(TLineSpan& line, size_t clear = 0) {
    if (Pos >= Have) return false;
    char* base = data_.data();
    const size_t from = clear > Pos ? clear : Pos;
    const size_t brk = static_cast<size_t>(qrx::FindAnyOf(base + from, base + Have, '\r', '\n', kCtrlZ) - base);
    if (brk < Have && static_cast<unsigned char>(base[brk]) == kCtrlZ) EndAt(brk);
    if (brk >= Have) {
      if (!Final || Pos == Have) return false;
      line = TLineSpan{Pos, Have, Have, true};
      return true;
    }
    // A line end that is the last byte known may have its mate in the next block.
    if (brk + 1 == Have && !Final) return false;
    size_t next = brk + 1;
    const char mate = base[brk] == '\r' ? '\n' : '\r';
    if (next < Have && base[next] == mate) ++next;
    if (next < Have && static_cast<unsigned char>(base[next]) == kCtrlZ) EndAt(next);
    const bool nulLine = brk - Pos == 1 && base[Pos] == '\0';
    // Whether a NUL line is the last one decides its number.
    if (nulLine && next == Have && !Final) return false;
    line = TLineSpan{Pos, brk, next, !(nulLine && next < Have)};
    return true;
  }

  std::string_view Text(const TLineSpan& line) const {
    return std::string_view(data_.data() + line.Begin, line.End - line.Begin);
  }

  std::vector<char>& data_;
  size_t Pos = 0;
  size_t Have;
  bool Final;
};

// Where the last run of text in [pos, have) begins after a line end, or pos: every line
// before it is whole (the byte after its end is text, so no mate can follow) and not the last.
size_t LastTextLineStart(const char* base, size_t pos, size_t have) {
  auto isEnd = [&](size_t i) { return base[i] == '\r' || base[i] == '\n'; };
  size_t i = have;
  while (i > pos && isEnd(i - 1)) --i;
  while (i > pos && !isEnd(i - 1)) --i;
  return i;
}

}  // namespace

void TFileSearchObj::SearchBlocks(bool& firstMatch) {
  const uint32_t blockSize = reader_.BlockSize();
  const qrx::TSubstringFinder& finder = matcher_.Finder();
  // Plain text, or what every match of the expression holds, is looked for in the raw bytes;
  // else the bytes an expression's match can begin with; else every line is tried.
  const bool byText = finder.BlockScannable() && (!matcher_.IsExpression() || finder.Length() >= 2);
  const qrx::TByteClassFinder* starts = byText ? nullptr : matcher_.StartFinder();
  const bool byCandidates = byText || starts;
  using THit = qrx::TSubstringFinder::THit;
  // An occurrence inside a longer word cannot make its line match: the scan passes over it
  // without splitting lines. One whose end is not known yet is left to the line.
  const bool wordsOnly = byText && matcher_.WholeWordsOnly();
  auto scan = [&](const char* p, const char* end, const char*& at, const char* lineStart) {
    if (byText) return finder.ScanBlock(p, end, at, wordsOnly ? lineStart : nullptr);
    at = starts->Find(p, end);
    if (at == end) return THit::None;
    return static_cast<unsigned char>(*at) == kCtrlZ ? THit::CtrlZ : THit::Text;
  };
  const bool announce = static_cast<bool>(OnProcessMessages);
  LineNumber = 0;
  size_t kept = 0;  // bytes of an unfinished line moved to the front
  for (;;) {
    if (block_.size() < kept + blockSize) block_.resize(kept + blockSize);
    uint32_t got;
    try {
      got = reader_.ReadBlock(block_.data() + kept, blockSize);
    } catch (const EInOutError&) {
      return;  // the unfinished line is lost, as with the line reader
    }
    TBlockLines lines(block_, kept + got, got < blockSize);
    TLineSpan line;
    // Every numbered line passes here once, in order.
    auto number = [&](const TLineSpan& l) {
      lines.Pos = l.Next;
      if (!l.Numbered) return false;
      ++LineNumber;
      if (announce && LineNumber % 100 == 0) OnProcessMessages();
      return true;
    };
    // Counts the lines that end in [from, to), with a break at each hundredth, and gives
    // where the line holding `to` begins.
    auto countTo = [&](const char* from, const char* to) {
      const char* lineStart = nullptr;
      const int32_t counted = LineNumber + static_cast<int32_t>(qrx::CountLines(from, to, lineStart));
      if (announce) {
        for (int32_t next = (LineNumber / 100 + 1) * 100; next <= counted; next += 100) {
          LineNumber = next;  // each break sees the number of the line it comes at
          OnProcessMessages();
        }
      }
      LineNumber = counted;
      return lineStart;
    };
    int32_t start, stop;
    if (!byCandidates) {
      while (lines.Next(line)) {
        if (number(line) && matcher_.Match(lines.Text(line), start, stop))
          ReportMatch(lines.Text(line), start, stop, firstMatch);
      }
    } else {
      const char* from = block_.data() + lines.Pos;
      for (;;) {
        const char* at = nullptr;
        char* base = block_.data();
        auto hit = scan(from, base + lines.Have, at, base + lines.Pos);
        if (hit == THit::CtrlZ) {
          lines.EndAt(static_cast<size_t>(at - base));
          hit = THit::None;
        }
        if (hit == THit::None) {
          // Line numbers are needed later only while the file goes on, or for the breaks.
          if (lines.Final && !announce) return;
          const size_t whole = LastTextLineStart(base, lines.Pos, lines.Have);
          if (whole > lines.Pos) lines.Pos = static_cast<size_t>(countTo(base + lines.Pos, base + whole) - base);
          while (lines.Next(line)) number(line);
          break;
        }
        // The lines before the one with the text (or the byte) are only counted. That line
        // begins after the last line end before the text, and the scan would have stopped at
        // a Ctrl-Z before it, so the line's end is looked for from the text on.
        lines.Pos = static_cast<size_t>(countTo(base + lines.Pos, at) - base);
        if (!lines.Next(line, static_cast<size_t>(at - base))) break;  // the line goes on in the next block
        number(line);
        from = base + lines.Pos;
        // The whole line decides: whole words, anchors, the first fitting occurrence, the expression.
        if (matcher_.Match(lines.Text(line), start, stop))
          ReportMatch(lines.Text(line), start, stop, firstMatch);
      }
    }
    if (lines.Final) return;
    kept = lines.Have - lines.Pos;
    std::memmove(block_.data(), block_.data() + lines.Pos, kept);
  }
}
