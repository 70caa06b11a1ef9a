#pragma once
// Patterns that are nothing but a run of single bytes (optionally between "^"
// and "$") are matched by memchr/memcmp without any automaton: "\f\o\o",
// what the engine makes of a DOS pattern with no wildcards, is one of them.
#include <optional>
#include <string>

#include "kresh32/RegexAst.h"

namespace qrx::kresh {

struct MatchRange {
  std::size_t begin = 0;  // offset of the first matched byte
  std::size_t end = 0;    // offset just past the match
};

// The longest run of single bytes that every match must contain (the pattern's top-level
// sequence holds it), or empty. A line without it cannot match, which a plain scan finds
// out far sooner than an automaton.
std::string RequiredRun(const Ast& ast);
// Where the first occurrence of `needle` at or after `from` begins, or kNotFound.
constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
std::size_t NextPlaceOf(const unsigned char* text, std::size_t length, const std::string& needle,
                        std::size_t from) noexcept;

class LiteralPlan {
 public:
  // Empty when the pattern is anything more than a literal.
  static std::optional<LiteralPlan> From(const Ast& ast);

  bool Search(const unsigned char* text, std::size_t length, MatchRange& range) const noexcept;
  const std::string& literal() const noexcept { return literal_; }

 private:
  std::string literal_;
  bool atStart_ = false;
  bool atEnd_ = false;
};

}  // namespace qrx::kresh
