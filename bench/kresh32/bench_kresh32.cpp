// Prints how long the matcher takes, in milliseconds: patterns that make
// backtracking matchers explode, over one line of 100 000 "a"s; and typical
// patterns over many ordinary source lines, one search per line as the
// engine does it.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "kresh32/RegexMatcher.h"

namespace {

using qrx::kresh::MatchRange;
using qrx::kresh::Regex;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::unique_ptr<Regex> CompileOrDie(const char* pattern) {
  auto compiled = Regex::Compile(pattern);
  if (!compiled.regex) {
    std::fprintf(stderr, "cannot compile %s: error %d\n", pattern, static_cast<int>(compiled.error));
    std::exit(1);
  }
  return std::move(compiled.regex);
}

void Pathological() {
  const std::string line(100000, 'a');
  const char* const patterns[] = {"(a*)*b", "(a|aa)*c", "a*a*a*a*a*a*b", "(a*)*", "(a|b)*a(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)b", "(.*)*x$"};
  std::printf("one line of %zu \"a\"s\n", line.size());
  for (const char* pattern : patterns) {
    auto regex = CompileOrDie(pattern);
    MatchRange range;
    auto start = Clock::now();
    bool matched = regex->Search(line, range);
    double first = MillisecondsSince(start);
    start = Clock::now();
    regex->Search(line, range);
    double again = MillisecondsSince(start);
    std::printf("  %-60s %8.3f ms first, %8.3f ms again  %s", pattern, first, again, matched ? "match" : "no match");
    if (matched) std::printf(" %zu..%zu", range.begin, range.end);
    std::printf("\n");
  }
}

std::vector<std::string> SourceLines(std::size_t count) {
  static const char* const kWords[] = {"int", "return", "if", "(", ")", "{", "}", "const", "char*", "buffer",
                                       "Count", "=", "+", ";", "//", "TODO", "value", "FileName", "0x1F",
                                       "while", "Index", "->", "std::string", "name", "\"text\"", "42"};
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> word(0, static_cast<int>(std::size(kWords)) - 1);
  std::uniform_int_distribution<int> length(2, 12);
  std::vector<std::string> lines(count);
  for (auto& line : lines) {
    line.assign(static_cast<std::size_t>(length(rng) % 4), ' ');
    for (int i = length(rng); i > 0; --i) {
      line += kWords[word(rng)];
      line += ' ';
    }
  }
  return lines;
}

void Typical() {
  const std::vector<std::string> lines = SourceLines(200000);
  std::size_t bytes = 0;
  for (const auto& line : lines) bytes += line.size();
  std::printf("%zu lines, %zu bytes (upper-cased patterns, as without case sensitivity)\n", lines.size(), bytes);
  const char* const patterns[] = {"\\B\\U\\F\\F\\E\\R", "TODO", "^ *RETURN", "[A-Z_]+\\(", "FILE(NAME|SIZE)",
                                  ".*\\.\\C.", "COUNT *= *[0-9]+;", "0X[0-9A-F]+$", "\"[^\"]*\""};
  for (const char* pattern : patterns) {
    auto regex = CompileOrDie(pattern);
    std::vector<std::string> upper = lines;
    for (auto& line : upper) {
      for (char& c : line) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
    }
    MatchRange range;
    std::size_t matches = 0;
    auto start = Clock::now();
    for (const auto& line : upper) matches += regex->Search(line, range) ? 1 : 0;
    double ms = MillisecondsSince(start);
    std::printf("  %-24s %8.3f ms  %6.1f ns/line  %zu matching lines\n", pattern, ms, ms * 1e6 / lines.size(),
                matches);
  }
}

}  // namespace

int main() {
  Pathological();
  Typical();
  return 0;
}
