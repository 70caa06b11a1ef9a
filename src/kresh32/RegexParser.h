#pragma once
// Turns pattern text into an Ast, or says which error number it earns.
#include <string_view>

#include "kresh32/RegexAst.h"
#include "kresh32/RegexError.h"

namespace qrx::kresh {

// Limits that keep a compiled expression's memory and the parser's stack bounded.
inline constexpr int kMaxInstructions = 10000;
inline constexpr int kMaxNesting = 200;

struct ParseResult {
  Ast ast;
  RegexError error = RegexError::kNone;
  std::size_t errorOffset = 0;  // where in the pattern the error was noticed
};

ParseResult ParsePattern(std::string_view pattern);

}  // namespace qrx::kresh
