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
