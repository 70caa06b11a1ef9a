// What each piece of the syntax matches, and where: one table per concern.
#include <gtest/gtest.h>

#include <string>

#include "kresh32/RegexMatcher.h"

namespace {

using qrx::kresh::MatchRange;
using qrx::kresh::Regex;

constexpr long kNoMatch = -1;

struct Case {
  std::string pattern;
  std::string line;
  long begin;  // kNoMatch: the line must not match
  long end;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
  return os << "/" << c.pattern << "/ on \"" << c.line << "\"";
}

void Check(const Case& c) {
  auto compiled = Regex::Compile(c.pattern);
  ASSERT_TRUE(compiled.regex) << c << " error " << static_cast<int>(compiled.error);
  MatchRange range{99, 99};
  bool matched = compiled.regex->Search(c.line, range);
  if (c.begin == kNoMatch) {
    EXPECT_FALSE(matched) << c << " matched " << range.begin << ".." << range.end;
    return;
  }
  ASSERT_TRUE(matched) << c;
  EXPECT_EQ(range.begin, static_cast<std::size_t>(c.begin)) << c;
  EXPECT_EQ(range.end, static_cast<std::size_t>(c.end)) << c;
}

class SyntaxTable : public ::testing::TestWithParam<Case> {};
TEST_P(SyntaxTable, MatchesWhereExpected) { Check(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Items, SyntaxTable, ::testing::Values(
    Case{"abc", "xxabcx", 2, 5},
    Case{"abc", "abxabc", 3, 6},
    Case{"abc", "ab", kNoMatch, 0},
    Case{"A", "a", kNoMatch, 0},          // case counts: the engine folds case itself
    Case{"a.c", "xabc", 1, 4},
    Case{".", "", kNoMatch, 0},
    Case{"ab*c", "ac", 0, 2},
    Case{"ab*c", "abbbc", 0, 5},
    Case{"ab+c", "ac", kNoMatch, 0},
    Case{"ab+c", "abbc", 0, 4},
    Case{"ab?c", "ac", 0, 2},
    Case{"ab?c", "abc", 0, 3},
    Case{"ab?c", "abbc", kNoMatch, 0},
    Case{"a**", "aa", 0, 2},              // stacked repeats act as one
    Case{"a+?", "b", 0, 0},               // ... "+?" as "*"
    Case{"(ab)*c", "ababc", 0, 5},
    Case{"(ab)+", "aabab", 1, 5},
    Case{"()", "x", 0, 0},
    Case{"(a|b)*c", "xbac", 1, 4}));

INSTANTIATE_TEST_SUITE_P(Anchors, SyntaxTable, ::testing::Values(
    Case{"^ab", "ab", 0, 2},
    Case{"^ab", "cab", kNoMatch, 0},
    Case{"ab$", "cab", 1, 3},
    Case{"ab$", "abc", kNoMatch, 0},
    Case{"^$", "", 0, 0},
    Case{"^$", "a", kNoMatch, 0},
    Case{"^", "abc", 0, 0},
    Case{"$", "abc", 3, 3},
    Case{"($)", "ab", 2, 2},
    Case{"a^b", "ab", kNoMatch, 0},
    Case{"a$b", "ab", kNoMatch, 0},
    Case{"(^a|b)", "ba", 0, 1},
    Case{"(^a|b)", "ca", kNoMatch, 0},
    Case{"x|$", "abc", 3, 3},             // nothing but the end matches
    Case{"b|$", "abc", 1, 2},
    Case{"^a*$", "aaa", 0, 3},
    Case{"^a*$", "aab", kNoMatch, 0},
    Case{"a*$", "baa", 1, 3},
    Case{"(^)*a", "ba", 1, 2},            // a grouped anchor may repeat
    Case{"b($)?", "bb", 0, 1}));

INSTANTIATE_TEST_SUITE_P(Groups, SyntaxTable, ::testing::Values(
    Case{"[abc]+", "xcabx", 1, 4},
    Case{"[a-c]+", "xcabdx", 1, 4},
    Case{"[^a-c]+", "abxyc", 2, 4},
    Case{"[]a]+", "x]a]", 1, 4},          // "]" first is a member
    Case{"[^]a]", "]ab", 2, 3},
    Case{"[a-]+", "x-a-", 1, 4},          // "-" last is a member
    Case{"[-a]+", "x-a", 1, 3},
    Case{"[a-c-e]+", "x-cd", 1, 3},       // "-" after a range is a member
    Case{"[\\]]", "a]", 1, 2},
    Case{"[\\\\]", "a\\", 1, 2},
    Case{"[a\\-z]", "b", kNoMatch, 0},
    Case{"[a\\-z]", "-", 0, 1},
    Case{"[.*]+", "a*.", 1, 3},           // metacharacters are plain inside a group
    Case{"[a-a]", "a", 0, 1}));

INSTANTIATE_TEST_SUITE_P(Escapes, SyntaxTable, ::testing::Values(
    Case{"\\a", "ba", 1, 2},              // a letter stands for itself
    Case{"\\1", "x1", 1, 2},              // ... and a digit
    Case{"\\d", "1d", 1, 2},
    Case{"\\.", "x.", 1, 2},
    Case{"\\.", "xy", kNoMatch, 0},
    Case{"\\*", "a*", 1, 2},
    Case{"\\+\\?", "a+?", 1, 3},
    Case{"\\(\\)", "f()", 1, 3},
    Case{"\\[x\\]", "a[x]", 1, 4},
    Case{"\\^", "a^", 1, 2},
    Case{"\\$", "$a", 0, 1},
    Case{"\\|", "a|b", 1, 2},
    Case{"\\\\", "a\\b", 1, 2},
    // What the engine makes of the DOS pattern "*.c?" without case sensitivity.
    Case{".*\\.\\C.", "MAIN.CPP", 0, 7},
    Case{".*\\.\\C.", "MAIN.C", kNoMatch, 0}));

INSTANTIATE_TEST_SUITE_P(HighBytes, SyntaxTable, ::testing::Values(
    Case{"caf\xe9", "un caf\xe9", 3, 7},
    Case{"[\xe0-\xff]+", "a\xe0\xff\x7f", 1, 3},
    Case{"[a-\xff]", "\x90", 0, 1},       // a range running past 127
    Case{"[^a]", "\xff", 0, 1},
    Case{".", "\x80", 0, 1},
    Case{"\\\xe9+", "\xe9\xe9", 0, 2},
    Case{"[^\x80-\xff]+", "\x81x\x82", 1, 2}));

INSTANTIATE_TEST_SUITE_P(LeftmostLongest, SyntaxTable, ::testing::Values(
    Case{"a|ab", "ab", 0, 2},
    Case{"x*", "yx", 0, 0},
    Case{"a*", "bbb", 0, 0},
    Case{"ab|abcd|abc", "abcde", 0, 4},
    Case{"b|abc", "abc", 0, 3},           // leftmost wins over an earlier branch
    Case{"abcd|c", "xabcd", 1, 5},        // a later start that ends sooner loses
    Case{"(a|ab)(c|bcd)", "abcd", 0, 4},
    Case{"(a|ab)(c|bcd)(d*)", "abcd", 0, 4},
    Case{"a+", "baaab", 1, 4},
    Case{"(a*)*b", "aab", 0, 3},
    Case{"(a|aa)*c", "aaaac", 0, 5},
    Case{"a*a*a*b", "xaab", 1, 4},
    Case{".*", "abc", 0, 3},
    Case{"[ab]*b", "aababx", 0, 5}));

INSTANTIATE_TEST_SUITE_P(EmptyBranches, SyntaxTable, ::testing::Values(
    Case{"a|", "b", 0, 0},
    Case{"|a", "a", 0, 1},                // longest: the empty branch loses
    Case{"(|a)b", "ab", 0, 2},
    Case{"(a|)+", "aa", 0, 2},
    Case{"(a|)*b", "aab", 0, 3},
    Case{"x(|y)z", "xz", 0, 2},
    Case{"x(|y)z", "xyz", 0, 3},
    Case{"(|)", "abc", 0, 0}));

// Lines that hold nothing: only patterns that match the empty string match.
INSTANTIATE_TEST_SUITE_P(EmptyLine, SyntaxTable, ::testing::Values(
    Case{"a*", "", 0, 0},
    Case{"$", "", 0, 0},
    Case{"$^", "", 0, 0},
    Case{"a", "", kNoMatch, 0},
    Case{"^a?$", "", 0, 0},
    Case{"^.", "", kNoMatch, 0}));

}  // namespace
