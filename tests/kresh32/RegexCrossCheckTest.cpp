// Random short patterns and lines over a small alphabet, matched by the
// automaton and by the naive reference; they must agree on every line. Each
// pattern is also run with DFA caches too small to hold it, so the simulation
// that takes over when a cache is full is checked the same way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ReferenceMatcher.h"
#include "kresh32/RegexMatcher.h"

namespace {

using kresh_test::ReferenceSearch;
using qrx::kresh::MatchRange;
using qrx::kresh::Regex;

class PatternMaker {
 public:
  explicit PatternMaker(std::mt19937& rng) : rng_(rng) {}

  std::string Make() {
    std::string p;
    while (p.empty()) p = Alternation(0);
    return p;
  }

 private:
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string Alternation(int depth) {
    std::string s = Sequence(depth);
    while (Roll(5) == 0) s += "|" + Sequence(depth);
    return s;
  }

  std::string Sequence(int depth) {
    std::string s;
    int items = Roll(4);
    for (int i = 0; i < items; ++i) s += Item(depth);
    return s;
  }

  std::string Item(int depth) {
    static const char* const kAtoms[] = {"a", "b", "c", ".", "[ab]", "[^a]", "[a-b]", "\\a", "\\b", "[]a]"};
    int pick = Roll(14);
    if (pick == 0) return "^";
    if (pick == 1) return "$";
    std::string atom;
    if (pick == 2 && depth < 3) {
      atom = "(" + Alternation(depth + 1) + ")";
    } else {
      atom = kAtoms[Roll(10)];
    }
    static const char* const kRepeats[] = {"", "", "", "*", "+", "?"};
    return atom + kRepeats[Roll(6)];
  }

  std::mt19937& rng_;
};

std::string RandomLine(std::mt19937& rng, std::size_t maxLength) {
  static const char kAlphabet[] = "aabbc]";
  std::string line(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), ' ');
  for (char& c : line) c = kAlphabet[std::uniform_int_distribution<int>(0, 5)(rng)];
  return line;
}

std::string Describe(const std::optional<kresh_test::Span>& span) {
  if (!span) return "no match";
  return std::to_string(span->first) + ".." + std::to_string(span->second);
}

// Full caches: 0 bytes means every state is simulated; a few hundred bytes
// means scans switch over part way through a line.
const std::size_t kBudgets[] = {Regex::kDfaBudget, 0, 300};

TEST(CrossCheck, RandomPatternsAgreeWithReference) {
  std::mt19937 rng(20240611);
  PatternMaker maker(rng);
  int compared = 0;
  for (int round = 0; round < 1500; ++round) {
    std::string pattern = maker.Make();
    std::vector<std::string> lines;
    for (int i = 0; i < 24; ++i) lines.push_back(RandomLine(rng, 9));
    for (std::size_t budget : kBudgets) {
      auto compiled = Regex::Compile(pattern, budget);
      ASSERT_TRUE(compiled.regex) << "/" << pattern << "/ error " << static_cast<int>(compiled.error);
      for (const std::string& line : lines) {
        auto expected = ReferenceSearch(pattern, line);
        MatchRange range;
        std::optional<kresh_test::Span> actual;
        if (compiled.regex->Search(line, range)) actual = kresh_test::Span{range.begin, range.end};
        ASSERT_EQ(Describe(actual), Describe(expected))
            << "/" << pattern << "/ on \"" << line << "\" with DFA budget " << budget;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 100000);
}

// Patterns whose DFA would need very many states, on lines long enough to
// fill the cache: the answer must not depend on how much of it fits.
TEST(CrossCheck, CacheSizeDoesNotChangeAnswers) {
  const char* const patterns[] = {
      "(a|b)*a(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)c",
      "a.........b|b......a",
      "(a|b|ab|ba)*(aab|bba)(a|b)*c?",
  };
  std::mt19937 rng(7);
  for (const char* pattern : patterns) {
    auto roomy = Regex::Compile(pattern);
    auto cramped = Regex::Compile(pattern, 2048);
    ASSERT_TRUE(roomy.regex && cramped.regex) << pattern;
    for (int i = 0; i < 200; ++i) {
      std::string line = RandomLine(rng, 300);
      MatchRange a;
      MatchRange b;
      bool matchA = roomy.regex->Search(line, a);
      bool matchB = cramped.regex->Search(line, b);
      ASSERT_EQ(matchA, matchB) << pattern << " on " << line;
      if (matchA) {
        EXPECT_EQ(a.begin, b.begin) << pattern << " on " << line;
        EXPECT_EQ(a.end, b.end) << pattern << " on " << line;
      }
    }
  }
}

// Lines where trying each place a match can begin reads far ahead from each: the search
// must give the same answer when it turns to reading the line backwards.
TEST(CrossCheck, LongTriesAgreeWithReference) {
  const char* const patterns[] = {"(a|b)*c", "a*b*c", ".*c", "(ab|a)*bc", "[ab]+c$", "b(a|b)*a"};
  std::mt19937 rng(31);
  for (const char* pattern : patterns) {
    auto compiled = Regex::Compile(pattern);
    ASSERT_TRUE(compiled.regex) << pattern;
    for (int i = 0; i < 60; ++i) {
      std::string line(30 + rng() % 120, 'a');
      for (char& c : line) c = "aab"[rng() % 3];
      if (rng() % 3) line[rng() % line.size()] = 'c';
      MatchRange range;
      std::optional<kresh_test::Span> actual;
      if (compiled.regex->Search(line, range)) actual = kresh_test::Span{range.begin, range.end};
      ASSERT_EQ(Describe(actual), Describe(ReferenceSearch(pattern, line))) << pattern << " on " << line;
    }
  }
}

// Patterns with a run every match holds, before, after or around what varies, on lines
// holding it once, several times, overlapping or not at all: no match begins after its last
// place, and none may be missed before it.
TEST(CrossCheck, RequiredRunsAgreeWithReference) {
  const char* const patterns[] = {"[ab]+cab", "cab[ab]*", "a*cab*c", "(a|b)cab(a|b)", "[^c]*cabc",
                                  "ca(b|a)*ca", "(cab)+b", "b?caca"};
  std::mt19937 rng(57);
  for (const char* pattern : patterns) {
    auto compiled = Regex::Compile(pattern);
    ASSERT_TRUE(compiled.regex) << pattern;
    for (int i = 0; i < 400; ++i) {
      std::string line(rng() % 24, 'a');
      for (char& c : line) c = "aabbcc"[rng() % 6];
      if (rng() % 2 && line.size() > 3) line.replace(rng() % (line.size() - 2), 3, "cab");
      MatchRange range;
      std::optional<kresh_test::Span> actual;
      if (compiled.regex->Search(line, range)) actual = kresh_test::Span{range.begin, range.end};
      ASSERT_EQ(Describe(actual), Describe(ReferenceSearch(pattern, line))) << pattern << " on " << line;
    }
  }
}

// Arbitrary bytes as patterns: compiling either fails with a number or gives
// an expression whose matches lie inside the line, whatever the cache size.
TEST(CrossCheck, ArbitraryPatternsNeverMisbehave) {
  std::mt19937 rng(99);
  static const char kPieces[] = "ab()[]^$.*+?|\\-\xe9";
  for (int round = 0; round < 3000; ++round) {
    std::string pattern(std::uniform_int_distribution<int>(0, 12)(rng), ' ');
    for (char& c : pattern) c = kPieces[std::uniform_int_distribution<int>(0, sizeof kPieces - 2)(rng)];
    auto roomy = Regex::Compile(pattern);
    auto cramped = Regex::Compile(pattern, 0);
    ASSERT_EQ(static_cast<bool>(roomy.regex), static_cast<bool>(cramped.regex)) << pattern;
    if (!roomy.regex) {
      EXPECT_NE(roomy.error, qrx::kresh::RegexError::kNone) << pattern;
      continue;
    }
    for (int i = 0; i < 8; ++i) {
      std::string line = RandomLine(rng, 12);
      MatchRange a;
      MatchRange b;
      bool matchA = roomy.regex->Search(line, a);
      bool matchB = cramped.regex->Search(line, b);
      ASSERT_EQ(matchA, matchB) << pattern << " on " << line;
      if (!matchA) continue;
      EXPECT_LE(a.begin, a.end) << pattern;
      EXPECT_LE(a.end, line.size()) << pattern;
      EXPECT_EQ(a.begin, b.begin) << pattern << " on " << line;
      EXPECT_EQ(a.end, b.end) << pattern << " on " << line;
    }
  }
}

}  // namespace
