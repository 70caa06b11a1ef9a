// libFuzzer entry for the native core: the first byte picks a DFA budget and a
// split point, the rest is pattern and line. Checks the invariants that hold
// for any input: compiling never crashes, a match lies inside the line, and
// the answer does not depend on the cache size.
// Build natively:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/kresh32/FuzzRegex.cpp src/kresh32/*.cpp (all but Exports.cpp)
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kresh32/RegexMatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qrx::kresh::MatchRange;
  using qrx::kresh::Regex;
  if (size < 2) return 0;
  std::size_t split = 1 + data[0] % (size - 1);
  std::string_view pattern(reinterpret_cast<const char*>(data + 1), split - 1);
  std::string_view line(reinterpret_cast<const char*>(data + split), size - split);
  auto roomy = Regex::Compile(pattern);
  auto cramped = Regex::Compile(pattern, (data[0] & 0x80) ? 0 : 700);
  if (static_cast<bool>(roomy.regex) != static_cast<bool>(cramped.regex)) std::abort();
  if (!roomy.regex) return 0;
  MatchRange a;
  MatchRange b;
  bool matchA = roomy.regex->Search(line, a);
  bool matchB = cramped.regex->Search(line, b);
  if (matchA != matchB) std::abort();
  if (matchA && (a.begin > a.end || a.end > line.size() || a.begin != b.begin || a.end != b.end)) std::abort();
  return 0;
}
