// Each malformed pattern earns its own error number; the limits sit exactly
// where they say they do.
#include <gtest/gtest.h>

#include <string>

#include "kresh32/RegexMatcher.h"
#include "kresh32/RegexParser.h"

namespace {

using qrx::kresh::kMaxInstructions;
using qrx::kresh::kMaxNesting;
using qrx::kresh::MatchRange;
using qrx::kresh::Regex;
using qrx::kresh::RegexError;

struct ErrorCase {
  std::string pattern;
  RegexError error;
};

std::ostream& operator<<(std::ostream& os, const ErrorCase& c) { return os << "/" << c.pattern << "/"; }

class ErrorTable : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTable, ReportsItsNumber) {
  const ErrorCase& c = GetParam();
  auto compiled = Regex::Compile(c.pattern);
  EXPECT_FALSE(compiled.regex);
  EXPECT_EQ(compiled.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(Malformed, ErrorTable, ::testing::Values(
    ErrorCase{"", RegexError::kEmptyPattern},
    ErrorCase{"a\\", RegexError::kTrailingBackslash},
    ErrorCase{"\\", RegexError::kTrailingBackslash},
    ErrorCase{"a\\\\\\", RegexError::kTrailingBackslash},
    ErrorCase{"[a\\", RegexError::kTrailingBackslash},
    ErrorCase{"[", RegexError::kUnterminatedSet},
    ErrorCase{"[abc", RegexError::kUnterminatedSet},
    ErrorCase{"[^", RegexError::kUnterminatedSet},
    ErrorCase{"[]", RegexError::kUnterminatedSet},
    ErrorCase{"[^]", RegexError::kUnterminatedSet},
    ErrorCase{"[a-", RegexError::kUnterminatedSet},
    ErrorCase{"(", RegexError::kMissingParen},
    ErrorCase{"(ab", RegexError::kMissingParen},
    ErrorCase{"((a)", RegexError::kMissingParen},
    ErrorCase{"(a|b", RegexError::kMissingParen},
    ErrorCase{")", RegexError::kUnmatchedParen},
    ErrorCase{"ab)", RegexError::kUnmatchedParen},
    ErrorCase{"(a))", RegexError::kUnmatchedParen},
    ErrorCase{"*a", RegexError::kNothingToRepeat},
    ErrorCase{"+", RegexError::kNothingToRepeat},
    ErrorCase{"?", RegexError::kNothingToRepeat},
    ErrorCase{"a|*b", RegexError::kNothingToRepeat},
    ErrorCase{"(*a)", RegexError::kNothingToRepeat},
    ErrorCase{"^*", RegexError::kNothingToRepeat},
    ErrorCase{"a$+", RegexError::kNothingToRepeat},
    ErrorCase{"[z-a]", RegexError::kInvalidRange},
    ErrorCase{"[\xff-a]", RegexError::kInvalidRange},
    ErrorCase{std::string(kMaxNesting + 1, '(') + "a" + std::string(kMaxNesting + 1, ')'),
              RegexError::kTooComplex},
    ErrorCase{std::string(kMaxInstructions, 'a'), RegexError::kTooComplex},
    ErrorCase{std::string(100000, '('), RegexError::kTooComplex}));

// Edge forms that are not errors, next to the ones that are.
TEST(ErrorLimits, PatternsJustInsideTheLimitsCompile) {
  std::string deepest = std::string(kMaxNesting, '(') + "a" + std::string(kMaxNesting, ')');
  auto nested = Regex::Compile(deepest);
  ASSERT_TRUE(nested.regex);
  MatchRange range;
  EXPECT_TRUE(nested.regex->Search("xa", range));
  EXPECT_EQ(range.begin, 1u);

  // Each byte and the final accept are one automaton instruction apiece.
  std::string longest(kMaxInstructions - 1, 'a');
  auto literal = Regex::Compile(longest);
  ASSERT_TRUE(literal.regex);
  EXPECT_TRUE(literal.regex->Search("b" + longest, range));
  EXPECT_EQ(range.begin, 1u);
  EXPECT_EQ(range.end, longest.size() + 1);

  // Stacked repeats collapse, so they never count against the limit.
  auto stars = Regex::Compile("a" + std::string(50000, '*'));
  ASSERT_TRUE(stars.regex);
  EXPECT_TRUE(stars.regex->Search("baa", range));
  EXPECT_EQ(range.begin, 0u);
  EXPECT_EQ(range.end, 0u);
}

TEST(ErrorLimits, EscapedBackslashAtTheEndIsNotTrailing) {
  auto compiled = Regex::Compile("a\\\\");
  ASSERT_TRUE(compiled.regex);
  MatchRange range;
  EXPECT_TRUE(compiled.regex->Search("xa\\", range));
  EXPECT_EQ(range.begin, 1u);
  EXPECT_EQ(range.end, 3u);
}

}  // namespace
