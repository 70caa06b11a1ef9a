#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "engine/TextReader.h"

namespace {

using qrx::test::TempDir;

struct Line {
  std::string text;
  TLineEnd end;
  uint64_t offset;
  bool operator==(const Line&) const = default;
};

std::vector<Line> ReadAll(TTextReader& r) {
  std::vector<Line> lines;
  std::string_view v;
  while (!r.Eof()) {
    if (!r.ReadLine(v)) break;
    lines.push_back({std::string(v), r.LastLineEnd(), r.LastLineOffset()});
  }
  return lines;
}

std::vector<std::string> Texts(const std::vector<Line>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.text);
  return out;
}

std::vector<std::string> ReadMemory(std::string_view data) {
  TTextReader r;
  r.OpenMemory(data);
  return Texts(ReadAll(r));
}

// The line rules written out the slow, obvious way, to check the reader against.
std::vector<Line> Reference(const std::string& data) {
  std::vector<Line> lines;
  size_t n = data.find('\x1a');
  if (n == std::string::npos) n = data.size();
  size_t i = 0;
  while (i < n) {
    size_t start = i;
    while (i < n && data[i] != '\r' && data[i] != '\n') ++i;
    Line l{data.substr(start, i - start), TLineEnd::None, start};
    if (i < n) {
      char c = data[i++];
      char mate = c == '\r' ? '\n' : '\r';
      if (i < n && data[i] == mate) {
        ++i;
        l.end = c == '\r' ? TLineEnd::CRLF : TLineEnd::LFCR;
      } else {
        l.end = c == '\r' ? TLineEnd::CR : TLineEnd::LF;
      }
    }
    lines.push_back(l);
  }
  // A Ctrl-Z right at the start of a line leaves no line; inside one, the line ends there.
  return lines;
}

using V = std::vector<std::string>;

TEST(TextReader, EveryLineEndSplitsTheSameWay) {
  struct Case {
    std::string bytes;
    V lines;
  } cases[] = {
      {"x\ny", {"x", "y"}},
      {"x\ry", {"x", "y"}},
      {"x\r\ny", {"x", "y"}},
      {"x\n\ry", {"x", "y"}},
      {"x\r\ry", {"x", "", "y"}},
      {"x\n\ny", {"x", "", "y"}},
      {"x\r\n\r\ny", {"x", "", "y"}},
      {"x\n\r\ny", {"x", "", "y"}},  // LF CR pairs, then a lone LF
      {"x\n", {"x"}},
      {"x", {"x"}},
      {"", {}},
      {"\n", {""}},
      {"ab\x1a" "cd\nef", {"ab"}},
      {"ab\n\x1a" "cd", {"ab"}},
      {"\x1a" "abc", {}},
      {std::string("a\0b\n\0\nc", 7), {std::string("a\0b", 3), std::string(1, '\0'), "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadMemory(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

TEST(TextReader, BufferSizeIsClampedAndEven) {
  struct {
    int32_t requested, expected;
  } cases[] = {{100, 1024}, {20000, 16384}, {4097, 4096}, {4096, 4096}, {-5, 1024}, {1025, 1024}};
  for (auto c : cases) EXPECT_EQ(TTextReader::ClampBufferSize(c.requested), c.expected) << c.requested;
}

TEST(TextReader, BlockBoundariesNeverChangeTheLines) {
  // Random data rich in line ends, read from a real file with tiny blocks so that every
  // pair falls across a boundary somewhere; compared with the reference rules.
  TempDir dir;
  std::mt19937 rng(12345);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', '\0', 'z'};
  for (int round = 0; round < 40; ++round) {
    std::string data;
    int len = static_cast<int>(rng() % 200);
    for (int i = 0; i < len; ++i) data += alphabet[rng() % sizeof alphabet];
    if (round % 5 == 0) data.insert(rng() % (data.size() + 1), 1, '\x1a');
    std::string file = dir.Write("f" + std::to_string(round) + ".txt", data);
    for (uint32_t block : {16u, 17u, 31u, 64u, 65536u}) {
      TTextReader r;
      r.Assign(file, 4096, block);
      r.Open();
      auto got = ReadAll(r);
      auto want = Reference(data);
      ASSERT_EQ(got, want) << "round " << round << " block " << block << " data " << testing::PrintToString(data);
    }
  }
}

TEST(TextReader, LongLinesAndCrLfAcrossBlocksGiveNoExtraLine) {
  TempDir dir;
  std::string big(100000, 'q');
  std::string data = big + "\r\n" + "tail";
  std::string file = dir.Write("big.txt", data);
  TTextReader r;
  r.Assign(file, 4096, 50000);  // the line spans three blocks
  r.Open();
  auto lines = ReadAll(r);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, big);
  EXPECT_EQ(lines[0].end, TLineEnd::CRLF);
  EXPECT_EQ(lines[1].text, "tail");
  EXPECT_EQ(lines[1].offset, 100002u);

  // Exactly at a boundary: the CR is the last byte of a block, the LF the first of the next.
  std::string split = std::string(15, 'a') + "\r\n" + "b";
  TTextReader s;
  s.Assign(dir.Write("split.txt", split), 4096, 16);
  s.Open();
  EXPECT_EQ(Texts(ReadAll(s)), (V{std::string(15, 'a'), "b"}));
}

TEST(TextReader, EmptyFileIsAtEndAtOnceAndMissingFileFailsToOpen) {
  TempDir dir;
  TTextReader r;
  r.Assign(dir.Write("empty.txt", ""), 4096);
  r.Open();
  EXPECT_TRUE(r.Eof());
  std::string_view v;
  EXPECT_FALSE(r.ReadLine(v));

  TTextReader missing;
  missing.Assign(dir / "nothing-here.txt", 4096);
  EXPECT_THROW(missing.Open(), EInOutError);
  EXPECT_FALSE(missing.TryOpen());
}

}  // namespace
