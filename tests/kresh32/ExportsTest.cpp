// The DLL as the engine sees it: imported by name through the import library,
// called with the stdcall signatures of the public header.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "kresh32/kresh32.h"

namespace {

struct ExecCase {
  const char* pattern;
  const char* line;
  long status;  // KRESH32_MATCH or KRESH32_NO_MATCH
  long first;   // 0-based offset of the first matched byte
  long past;    // 0-based offset just past the match: the 1-based last column
};

TEST(Exports, CompiledExpressionsReportTheirMatchRange) {
  const ExecCase cases[] = {
      {"b", "abc", KRESH32_MATCH, 1, 2},
      {"^ABC", "ABCD", KRESH32_MATCH, 0, 3},
      {"\\*\\.\\T\\X\\T", "READ *.TXT", KRESH32_MATCH, 5, 10},
      {"a|ab", "xab", KRESH32_MATCH, 1, 3},
      {"x*", "yx", KRESH32_MATCH, 0, 0},
      {"[\xc0-\xdf]+", "na\xefve \xc9t\xc9", KRESH32_MATCH, 6, 7},
      {"z", "abc", KRESH32_NO_MATCH, 0, 0},
      {"c$", "abc\xe9", KRESH32_NO_MATCH, 0, 0},
  };
  for (const ExecCase& c : cases) {
    long error = -1;
    long handle = RegComp(c.pattern, &error);
    ASSERT_NE(handle, 0) << c.pattern << " error " << error;
    EXPECT_EQ(error, 0) << c.pattern;
    // The measured call answers as the NUL-terminated one.
    for (bool measured : {false, true}) {
      long range[2] = {-7, -7};
      long status = measured ? RegExecLength(handle, c.line, static_cast<long>(std::strlen(c.line)), range)
                             : RegExec(handle, c.line, range);
      if (c.status == KRESH32_MATCH) {
        ASSERT_EQ(status, KRESH32_MATCH) << c.pattern << " on " << c.line << " measured " << measured;
        EXPECT_EQ(range[0], c.first) << c.pattern;
        EXPECT_EQ(range[1], c.past) << c.pattern;
      } else {
        EXPECT_NE(status, KRESH32_MATCH) << c.pattern << " on " << c.line << " measured " << measured;
      }
    }
  }
}

// The measured call reads its bytes and no others: nothing after the length, and a NUL
// within it is a byte like any other.
TEST(Exports, MeasuredLinesEndAtTheirLength) {
  const long x = RegComp("X", nullptr), b = RegComp("b$", nullptr);
  long range[2] = {0, 0};
  EXPECT_EQ(RegExecLength(x, "abcX", 3, range), KRESH32_NO_MATCH);
  EXPECT_EQ(RegExecLength(b, "abbb", 2, range), KRESH32_MATCH);
  EXPECT_EQ(range[1], 2);
  EXPECT_EQ(RegExecLength(b, std::string("a\0b", 3).c_str(), 3, range), KRESH32_MATCH);
  EXPECT_EQ(range[0], 2);
  EXPECT_EQ(RegExecLength(x, "X", -1, range), KRESH32_BAD_ARGUMENT);
  EXPECT_EQ(RegExecLength(x, nullptr, 0, range), KRESH32_BAD_ARGUMENT);
  EXPECT_EQ(RegExecLength(0, "X", 1, range), KRESH32_BAD_ARGUMENT);
}

TEST(Exports, FailuresSetTheErrorNumber) {
  const std::pair<const char*, long> cases[] = {{"", 1}, {"a\\", 2}, {"[ab", 3}, {"(a", 4},
                                                 {"a)", 5}, {"*", 6}, {"[b-a]", 7}};
  for (const auto& [pattern, expected] : cases) {
    long error = 0;
    EXPECT_EQ(RegComp(pattern, &error), 0) << pattern;
    EXPECT_EQ(error, expected) << pattern;
  }
  long error = 0;
  EXPECT_EQ(RegComp(nullptr, &error), 0);
  EXPECT_EQ(error, 9);
  EXPECT_EQ(RegComp(std::string(20000, 'q').c_str(), &error), 0);
  EXPECT_EQ(error, 8);
}

TEST(Exports, BadArgumentsAnswerNoMatchInsteadOfCrashing) {
  EXPECT_EQ(RegComp("(", nullptr), 0);
  long handle = RegComp("a", nullptr);  // no place for an error number, but nothing went wrong
  ASSERT_NE(handle, 0);
  long range[2] = {0, 0};
  EXPECT_NE(RegExec(handle, nullptr, range), KRESH32_MATCH);
  EXPECT_NE(RegExec(handle, "a", nullptr), KRESH32_MATCH);
  for (long unknown : {0L, 1L, -1L, handle + 1000000L, handle - 1000000L}) {
    EXPECT_NE(RegExec(unknown, "a", range), KRESH32_MATCH) << unknown;
  }
  // The expression behind a good handle is unharmed by all of that.
  EXPECT_EQ(RegExec(handle, "ba", range), KRESH32_MATCH);
  EXPECT_EQ(range[0], 1);
}

TEST(Exports, HandlesStayIndependent) {
  long error = 0;
  long first = RegComp("a+", &error);
  long second = RegComp("b+", &error);
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  ASSERT_NE(first, second);
  long range[2];
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(RegExec(first, "xaab", range), KRESH32_MATCH);
    EXPECT_EQ(range[0], 1);
    EXPECT_EQ(range[1], 3);
    ASSERT_EQ(RegExec(second, "xaab", range), KRESH32_MATCH);
    EXPECT_EQ(range[0], 3);
    EXPECT_EQ(range[1], 4);
  }
}

// A line holding none of the start bytes cannot match, so callers skip such lines unseen:
// the set must hold the first byte of every match, wherever the match starts.
TEST(Exports, StartBytesHoldTheFirstByteOfEveryMatch) {
  struct Case {
    const char* pattern;
    long status;        // KRESH32_MATCH: every match begins with one of `bytes`
    const char* bytes;  // the exact set, in byte order
  } cases[] = {
      {"[0-9][0-9]x", KRESH32_MATCH, "0123456789"},
      {"b|a", KRESH32_MATCH, "ab"},
      {"a?b", KRESH32_MATCH, "ab"},
      {"^ab", KRESH32_MATCH, "a"},
      {"(^|x)y", KRESH32_MATCH, "xy"},
      {"a$|c", KRESH32_MATCH, "ac"},
      {"(a*)*b", KRESH32_MATCH, "ab"},
      {"x*", KRESH32_NO_MATCH, nullptr},  // empty matches
      {"^$", KRESH32_NO_MATCH, nullptr},
      {"a|$", KRESH32_NO_MATCH, nullptr},
      {"(b|)c?", KRESH32_NO_MATCH, nullptr},
  };
  std::mt19937 rng(5);
  for (const Case& c : cases) {
    const long handle = RegComp(c.pattern, nullptr);
    ASSERT_NE(handle, 0) << c.pattern;
    unsigned char set[256];
    ASSERT_EQ(RegStartBytes(handle, set), c.status) << c.pattern;
    if (c.status != KRESH32_MATCH) continue;
    std::string members;
    for (int b = 0; b < 256; ++b)
      if (set[b]) members += static_cast<char>(b);
    EXPECT_EQ(members, c.bytes) << c.pattern;
    for (int trial = 0; trial < 200; ++trial) {
      std::string line(rng() % 8, ' ');
      for (char& ch : line) ch = "abcxy09 "[rng() % 8];
      long range[2];
      if (RegExec(handle, line.c_str(), range) == KRESH32_MATCH) {
        ASSERT_LT(range[0], static_cast<long>(line.size())) << c.pattern << " on " << line;
        EXPECT_TRUE(set[static_cast<unsigned char>(line[range[0]])]) << c.pattern << " on " << line;
      }
    }
  }
  unsigned char set[256];
  EXPECT_EQ(RegStartBytes(0, set), KRESH32_BAD_ARGUMENT);
  EXPECT_EQ(RegStartBytes(RegComp("a", nullptr), nullptr), KRESH32_BAD_ARGUMENT);
}

}  // namespace
