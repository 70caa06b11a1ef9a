#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "SearchFixture.h"
#include "engine/ByteScan.h"
#include "engine/LineMatcher.h"
#include "engine/RequiredText.h"

namespace {

// Bytes that make lines hard to split: every line end, its halves, NUL and Ctrl-Z.
std::string RandomText(std::mt19937& rng, size_t tokens) {
  static const char* const kTokens[] = {"ab", "AB", "aB", "a", "b", " ", "x", "xx ab x", "\r", "\n", "\r\n",
                                        "\n\r", "\r\r", "", "\x1a"};
  static const size_t kLengths[] = {2, 2, 2, 1, 1, 1, 1, 7, 1, 1, 2, 2, 2, 1, 1};
  std::string out;
  for (size_t i = 0; i < tokens; ++i) {
    // Ctrl-Z ends the file; it should turn up, but not cut most files short.
    size_t k = rng() % 15;
    if (k == 14 && rng() % 8) k = rng() % 8;
    if (k == 13) {
      out += rng() % 2 ? std::string("\0\r\n", 3) : std::string("\0", 1);
      continue;
    }
    out.append(kTokens[k], kLengths[k]);
  }
  return out;
}

struct RunResult {
  std::vector<std::string> lines;
  int32_t matches = 0, files = 0, searched = 0;
  std::vector<std::pair<int32_t, int32_t>> breaks;  // line number, tree lines at each break
  bool operator==(const RunResult&) const = default;
};

RunResult RunSearch(const std::string& dir, const std::string& text, uint16_t options, uint8_t expr, bool block,
                    uint32_t blockSize, bool breaks) {
  ResultTree t;
  auto s = NewSearch(t.tree, dir, "*.txt", text, options, expr);
  s->BlockScan = block;
  s->ReadBlockSize = blockSize;
  RunResult r;
  TFileSearchObj* raw = s.get();
  if (breaks) s->OnProcessMessages = [&] { r.breaks.emplace_back(raw->LineNumber, t.tree.ItemCount()); };
  s->Execute();
  r.lines = t.Lines();
  r.matches = s->Matches;
  r.files = s->FilesWithMatches;
  r.searched = s->FilesSearched;
  return r;
}

TEST(BlockSearch, GivesWhatTheLineReaderGivesOnRandomFiles) {
  struct Case {
    const char* text;
    uint16_t options;
    uint8_t expr;
  } cases[] = {
      {"ab", 0x021F, 0},  {"AB", 0x001F, 0},      {"ab", 0x061F, 0}, {"AB", 0x081F, 0},
      {"ab", 0x121F, 0},  {"a", 0x061F, 0},  {"a+b", 0x021F, 1},     {"A.B", 0x001F, 1}, {"^$", 0x021F, 1},
      {"a*b", 0x021F, 2}, {"b ab", 0x001F, 0}, {"AB", 0x041F, 0}, {"b ab", 0x061F, 0}, {"ab", 0x0E1F, 0},
      // Expressions with a part every match holds: looked for over the blocks first.
      {"(a|b) ab", 0x021F, 1}, {"A.B ?AB", 0x001F, 1}, {"a*b ab", 0x001F, 2}, {"^ab", 0x021F, 1},
      {"b ab$", 0x021F, 1},
  };
  std::mt19937 rng(15);
  for (int trial = 0; trial < 12; ++trial) {
    TempDir d;
    for (int f = 0; f < 3; ++f) d.Write("f" + std::to_string(f) + ".txt", RandomText(rng, 40 + rng() % 400));
    const std::string dir = d.Path();
    for (const Case& c : cases) {
      const RunResult want = RunSearch(dir, c.text, c.options, c.expr, false, 0, true);
      for (uint32_t blockSize : {16u, 17u, 40u, 0u}) {
        EXPECT_EQ(RunSearch(dir, c.text, c.options, c.expr, true, blockSize, true), want)
            << "trial " << trial << " text " << c.text << " block " << blockSize;
        RunResult quiet = RunSearch(dir, c.text, c.options, c.expr, true, blockSize, false);
        quiet.breaks = want.breaks;
        EXPECT_EQ(quiet, want) << "without breaks: trial " << trial << " text " << c.text << " block " << blockSize;
      }
    }
  }
}

// Expressions with no plain part of two bytes: only lines holding a byte a match can begin
// with go to the component. The sets hold line ends, NUL, Ctrl-Z and letters of both cases.
TEST(BlockSearch, SkipsByStartBytesAsTheLineReaderGives) {
  const struct Case {
    const char* text;
    uint16_t options;
    uint8_t expr;
  } cases[] = {
      {"[ab]x", 0x021F, 1}, {"x|b", 0x021F, 1},  {"[A-B]+", 0x001F, 1}, {"a?b", 0x021F, 1},
      {"b$", 0x021F, 1},    {"^a", 0x001F, 1},   {"(^|x)a", 0x021F, 1}, {"[^a]b", 0x021F, 1},
      {"?B", 0x001F, 2},    {"[^ab]", 0x001F, 1}, {"x*", 0x021F, 1},
  };
  std::mt19937 rng(51);
  for (int trial = 0; trial < 8; ++trial) {
    TempDir d;
    for (int f = 0; f < 3; ++f) d.Write("f" + std::to_string(f) + ".txt", RandomText(rng, 40 + rng() % 400));
    for (const Case& c : cases) {
      const RunResult want = RunSearch(d.Path(), c.text, c.options, c.expr, false, 0, true);
      for (uint32_t blockSize : {16u, 23u, 0u})
        EXPECT_EQ(RunSearch(d.Path(), c.text, c.options, c.expr, true, blockSize, true), want)
            << "trial " << trial << " text " << c.text << " block " << blockSize;
    }
  }
}

TEST(RequiredText, IsWhatEveryMatchHolds) {
  struct Case {
    const char* pattern;
    const char* required;
  } cases[] = {
      {"[A-Z][a-z]+Error", "Error"},
      {"\\Q\\u\\u\\x.*\\(\\S\\e\\l\\f\\)", "(Self)"},  // a converted DOS pattern
      {"^abc$", "abc"},
      {"x[ab]yz", "yz"},
      {"[]x]abc", "abc"},
      {"[^]x]ab[\\]]c", "ab"},
      {"(a|b)cd", "cd"},
      {"(a(b)c)de", "de"},
      {"abc+", "abc"},
      {"ab*cd", "cd"},    // the starred byte may be missing
      {"Erro+?r", "Err"},  // "+?" is "*"
      {"xy?z", "x"},
      {"a\\.b", "a.b"},
      {"{x}]", "{x}]"},
      {"a|bcd", ""},      // either side alone
      {"(a*)*b", "b"},
      {"[0-9]*", ""},
      {"ab(", ""},        // does not compile
      {"ab\\", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(qrx::RequiredText(c.pattern), c.required) << c.pattern;
}

TEST(ByteScan, FindsCountsAndUpperCasesAsTheBytewiseWay) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 300; ++trial) {
    std::string data(rng() % 80, '\0');
    for (char& c : data) c = static_cast<char>(rng() % 4 == 0 ? "\r\n\x1a\xe1"[rng() % 4] : rng() % 256);
    const size_t from = data.empty() ? 0 : rng() % data.size();
    const unsigned char a = "\r\n\x1a\xe1q"[rng() % 5], b = static_cast<unsigned char>(rng() % 256), c = '\n';
    const char* p = data.data() + from;
    const char* end = data.data() + data.size();
    EXPECT_EQ(qrx::FindAnyOf(p, end, a, b, c), qrx::FindAnyOfBytewise(p, end, a, b, c)) << trial;

    const char* start = nullptr;
    const char* startBytewise = nullptr;
    for (char& ch : data)
      if (ch == '\x1a') ch = '\0';  // counted stretches hold no Ctrl-Z
    EXPECT_EQ(qrx::CountLines(p, end, start), qrx::CountLinesBytewise(p, end, startBytewise)) << trial;
    EXPECT_EQ(start, startBytewise) << trial;

    std::string upper(data.size(), '\0');
    qrx::UpperCaseCopy(data.data(), data.size(), upper.data());
    EXPECT_EQ(upper, qrx::UpperCase(data)) << trial;
  }
}

TEST(ByteScan, CountsLinesOfTextAsTheBytewiseWay) {
  // Text as files hold it: one kind of line end per file or a mix, empty lines, lines of one
  // NUL, and every cut, so that each kind of 16-byte stretch meets each kind of boundary.
  const char* const ends[][3] = {{"\r\n", "\r\n", "\r\n"}, {"\n", "\n", "\n"},   {"\r\n", "\n", "\r"},
                                 {"\n\r", "\r\r", "\n"},   {"\r\n", "\n\r\n", "\n"}};
  std::mt19937 rng(11);
  for (const auto& kinds : ends) {
    for (int trial = 0; trial < 60; ++trial) {
      std::string data;
      while (data.size() < 200) {
        // Some lines longer than two 16-byte steps, so that a line's start is looked for
        // further back than the last stretch.
        const int len = static_cast<int>(rng() % 4 == 0 ? rng() % 70 : rng() % 24);
        if (trial % 2 && rng() % 9 == 0)  // half the texts plain, for the counting that relies on it
          data += '\0';
        else
          for (int i = 0; i < len; ++i) data += static_cast<char>('a' + rng() % 26);
        data += kinds[rng() % 3];
      }
      for (size_t from = 0; from < 40; ++from)
        for (size_t to = from; to <= data.size(); to += 1 + rng() % 5) {
          const char* start = nullptr;
          const char* startBytewise = nullptr;
          const char* b = data.data();
          ASSERT_EQ(qrx::CountLines(b + from, b + to, start), qrx::CountLinesBytewise(b + from, b + to, startBytewise))
              << trial << " " << from << " " << to;
          ASSERT_EQ(start, startBytewise) << trial << " " << from << " " << to;
        }
    }
  }
}

TEST(ByteScan, FindsTextOrCtrlZAsTheBytewiseWay) {
  // Needles of every length the steps treat differently, letters of both cases, the bytes
  // that differ from letters only in bit 5 (@ and `, [ and {), and high bytes.
  const struct Case {
    const char* needle;
    bool folded;  // needle already upper-cased
  } cases[] = {
      {"ab", false}, {"AB", true}, {"a@", false}, {"A@", true}, {"[B", true}, {"XQ", true},
      {"abcab", false}, {"ABCAB", true}, {"\xe1" "b", false}, {"ZZZZZZZZZZZZZZZZZZZZ", true}, {"a", false}, {"A", true},
  };
  std::mt19937 rng(21);
  for (const Case& c : cases) {
    qrx::TSubstringFinder finder;
    finder.Prepare(c.needle, c.folded);
    const std::string needle = c.needle;
    auto fits = [&](const std::string& d, size_t i) {
      for (size_t k = 0; k < needle.size(); ++k) {
        const unsigned char b = static_cast<unsigned char>(d[i + k]);
        if ((c.folded ? qrx::kUpperTable[b] : b) != static_cast<unsigned char>(needle[k])) return false;
      }
      return true;
    };
    for (int trial = 0; trial < 400; ++trial) {
      std::string data(rng() % 120, 'q');
      const std::string pool = needle + "abAB@`[{zZ\xe1\xc1 ";
      for (char& ch : data) ch = rng() % 200 == 0 ? '\x1a' : pool[rng() % pool.size()];
      if (rng() % 3 == 0 && data.size() > needle.size())
        data.replace(rng() % (data.size() - needle.size()), needle.size(), needle);
      const size_t from = data.empty() ? 0 : rng() % (data.size() / 2 + 1);
      size_t want = data.size();
      auto kind = qrx::TSubstringFinder::THit::None;
      for (size_t i = from; i < data.size(); ++i) {
        if (data[i] == '\x1a') {
          want = i, kind = qrx::TSubstringFinder::THit::CtrlZ;
          break;
        }
        if (i + needle.size() <= data.size() && fits(data, i)) {
          want = i, kind = qrx::TSubstringFinder::THit::Text;
          break;
        }
      }
      const char* at = nullptr;
      ASSERT_EQ(finder.ScanBlock(data.data() + from, data.data() + data.size(), at), kind) << c.needle << " " << trial;
      if (kind != qrx::TSubstringFinder::THit::None) {
        ASSERT_EQ(at - data.data(), static_cast<ptrdiff_t>(want)) << c.needle << " " << trial;
      }
    }
  }
}

TEST(ByteScan, FindsTheFirstByteOfASet) {
  // Runs of byte values: one, a few, more than the wide compare takes, the ends of the range.
  const std::vector<std::pair<int, int>> sets[] = {
      {{'0', '9'}},
      {{26, 26}, {'A', 'Z'}, {'a', 'z'}},
      {{0, 0}, {255, 255}},
      {{1, 9}, {11, 12}, {14, 255}},
      {{'a', 'a'}, {'c', 'c'}, {'e', 'e'}, {'g', 'g'}, {'i', 'i'}, {'k', 'k'}, {'m', 'm'}},
      {},
  };
  std::mt19937 rng(9);
  for (const auto& runs : sets) {
    std::array<bool, 256> members{};
    for (auto [first, last] : runs)
      for (int b = first; b <= last; ++b) members[b] = true;
    qrx::TByteClassFinder finder;
    finder.Prepare(members);
    for (int trial = 0; trial < 300; ++trial) {
      // Mostly bytes outside the set, so the hit falls anywhere in a long stretch.
      std::string data(rng() % 90, 'q');
      for (char& c : data) c = static_cast<char>(rng() % 40 == 0 ? rng() % 256 : "q \r\n#"[rng() % 5]);
      const char* p = data.data() + (data.empty() ? 0 : rng() % data.size());
      const char* end = data.data() + data.size();
      const char* want = std::find_if(p, end, [&](char c) { return members[static_cast<unsigned char>(c)]; });
      EXPECT_EQ(finder.Find(p, end), want) << "runs " << runs.size() << " trial " << trial;
      EXPECT_EQ(finder.FindBytewise(p, end), want) << "runs " << runs.size() << " trial " << trial;
    }
  }
}

}  // namespace
