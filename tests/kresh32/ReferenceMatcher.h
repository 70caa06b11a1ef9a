#pragma once
// A deliberately naive matcher for cross-checking: it tries every start
// position and collects every end position the pattern can reach from there,
// by exhaustive search over a tree of its own. Exponential in the worst case,
// so it is only fed short patterns and lines. It assumes a valid pattern.
#include <optional>
#include <string_view>
#include <utility>

namespace kresh_test {

using Span = std::pair<std::size_t, std::size_t>;

std::optional<Span> ReferenceSearch(std::string_view pattern, std::string_view line);

}  // namespace kresh_test
