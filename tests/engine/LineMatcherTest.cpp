#include <gtest/gtest.h>

#include <string>

#include "engine/LineMatcher.h"
#include "kresh32/kresh32.h"

using qrx::TLineMatcher;

namespace {

struct Hit {
  bool matched;
  int32_t start, stop;
};

Hit MatchStandard(const std::string& pattern, uint16_t options, const std::string& line) {
  TLineMatcher m;
  std::string text = (options & 0x0200) ? pattern : qrx::UpperCase(pattern);
  m.Prepare(options, 0, text, 0);
  Hit h{};
  h.matched = m.Match(line, h.start, h.stop);
  return h;
}

Hit MatchRegex(const std::string& pattern, uint16_t options, const std::string& line, uint8_t kind = 1) {
  std::string text = kind == 2 ? qrx::ConvertDosPattern(pattern) : pattern;
  if (!(options & 0x0200)) text = qrx::UpperCase(text);
  long error = 0;
  long handle = RegComp(text.c_str(), &error);
  EXPECT_NE(handle, 0) << pattern << " error " << error;
  TLineMatcher m;
  m.Prepare(options, kind, text, handle);
  Hit h{};
  h.matched = m.Match(line, h.start, h.stop);
  return h;
}

constexpr uint16_t kCase = 0x0200, kWords = 0x0400, kStart = 0x0800, kEnd = 0x1000;

TEST(LineMatcher, StandardTextWithWordsAnchorsAndCase) {
  struct Case {
    const char* pattern;
    uint16_t options;
    const char* line;
    bool matched;
    int32_t start, stop;
  } cases[] = {
      {"in", kWords, "begin", false, 0, 0},
      {"in", kWords, "in x", true, 1, 2},
      {"in", kWords, "x in", true, 3, 4},
      {"in", kWords, "in", true, 1, 2},
      {"in", kWords, "(in)", true, 2, 3},
      {"in", kWords, "x\tin\t", true, 3, 4},
      // Later occurrences are examined: the first that passes wins.
      {"a", kWords, "ab a", true, 4, 4},
      {"a", kWords, "ab ba", false, 0, 0},
      {"foo", kWords, "foo_bar", false, 0, 0},
      {"foo", kWords, "foo-bar", true, 1, 3},
      {"foo", kWords, "\xe9" "foo", false, 0, 0},  // high bytes are word characters
      {"BEGIN", 0, "  Begin", true, 3, 7},
      {"BEGIN", kCase, "  Begin", false, 0, 0},
      {"Begin", kCase, "  Begin", true, 3, 7},
      {"ab", kStart, "abab", true, 1, 2},
      {"ab", kStart, "xab", false, 0, 0},
      {"ab", kEnd, "abab", true, 3, 4},
      {"ab", kEnd, "abx", false, 0, 0},
      {"ab", kStart | kEnd, "ab", true, 1, 2},
      {"ab", kStart | kEnd, "abab", false, 0, 0},
      {"ab", kStart | kWords, "ab_ ab", false, 0, 0},
      {"x", 0, "", false, 0, 0},
      {"long pattern", 0, "short", false, 0, 0},
  };
  for (const auto& c : cases) {
    Hit h = MatchStandard(c.pattern, c.options, c.line);
    EXPECT_EQ(h.matched, c.matched) << c.pattern << " in " << c.line;
    if (c.matched) {
      EXPECT_EQ(h.start, c.start) << c.pattern << " in " << c.line;
      EXPECT_EQ(h.stop, c.stop) << c.pattern << " in " << c.line;
    }
  }
}

TEST(LineMatcher, StandardSearchSeesPastNulBytes) {
  std::string line("ab\0cd", 5);
  Hit h = MatchStandard("cd", 0, line);
  EXPECT_TRUE(h.matched);
  EXPECT_EQ(h.start, 4);
}

TEST(LineMatcher, DelimiterSetIsPunctuationTabAndBlankButNotUnderscore) {
  std::string delimiters = "\t !\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
  for (int c = 0; c < 256; ++c) {
    bool expected = delimiters.find(static_cast<char>(c)) != std::string::npos && c != 0;
    EXPECT_EQ(qrx::IsDelimiter(static_cast<unsigned char>(c)), expected) << c;
  }
}

TEST(LineMatcher, DosPatternsBecomeEscapedExpressions) {
  EXPECT_EQ(qrx::ConvertDosPattern("*.c?"), ".*\\.\\c.");
  EXPECT_EQ(qrx::UpperCase(qrx::ConvertDosPattern("*.c?")), ".*\\.\\C.");
  EXPECT_EQ(qrx::ConvertDosPattern(""), "");
  EXPECT_EQ(qrx::ConvertDosPattern("a1"), "\\a\\1");
}

TEST(LineMatcher, ExpressionsReportOneBasedColumnsAndIgnoreWordOptions) {
  Hit h = MatchRegex("^pro", 0, "Procedure");
  EXPECT_TRUE(h.matched);
  EXPECT_EQ(h.start, 1);
  EXPECT_EQ(h.stop, 3);

  h = MatchRegex("b+", 0, "aabbbc");
  EXPECT_TRUE(h.matched);
  EXPECT_EQ(h.start, 3);
  EXPECT_EQ(h.stop, 5);

  // Whole words and the line anchors do nothing for expressions.
  h = MatchRegex("in", kWords | kStart | kEnd, "begin x");
  EXPECT_TRUE(h.matched);
  EXPECT_EQ(h.start, 4);

  // The expression sees the line up to its first NUL only.
  EXPECT_FALSE(MatchRegex("cd", 0, std::string("ab\0cd", 5)).matched);

  // DOS wildcards.
  h = MatchRegex("un?t*.pas", 0, "uses Unit1.pas;", 2);
  EXPECT_TRUE(h.matched);
  EXPECT_EQ(h.start, 6);
  EXPECT_EQ(h.stop, 14);
  EXPECT_FALSE(MatchRegex("a.b", 0, "axb", 2).matched);  // the dot is literal in DOS patterns
}

}  // namespace
