#include "kresh32/LiteralPlan.h"

#include <cstring>

namespace qrx::kresh {

std::string RequiredRun(const Ast& ast) {
  const AstNode& root = ast.nodes[ast.root];
  if (root.kind != NodeKind::kConcat) return {};
  std::string best, run;
  for (int child : root.children) {
    const AstNode& node = ast.nodes[child];
    if (node.kind == NodeKind::kBytes && ast.sets[node.set].Count() == 1) {
      run.push_back(static_cast<char>(ast.sets[node.set].First()));
      if (run.size() > best.size()) best = run;
    } else {
      run.clear();
    }
  }
  return best;
}

std::size_t NextPlaceOf(const unsigned char* text, std::size_t length, const std::string& needle,
                        std::size_t from) noexcept {
  const std::size_t size = needle.size();
  if (size > length || from > length - size) return kNotFound;
  if (size == 0) return from;
  // Lines are short and the first byte may be common: testing the first and the last byte
  // of each place in one loop beats a library call per candidate.
  const auto* want = reinterpret_cast<const unsigned char*>(needle.data());
  const unsigned char first = want[0];
  const unsigned char last = want[size - 1];
  const unsigned char* const end = text + (length - size) + 1;
  for (const unsigned char* at = text + from; at != end; ++at) {
    if (at[0] != first || at[size - 1] != last) continue;
    std::size_t k = 1;
    while (k + 1 < size && at[k] == want[k]) ++k;
    if (k + 1 >= size) return static_cast<std::size_t>(at - text);
  }
  return kNotFound;
}

std::optional<LiteralPlan> LiteralPlan::From(const Ast& ast) {
  const AstNode& root = ast.nodes[ast.root];
  std::vector<int> items;
  if (root.kind == NodeKind::kConcat) {
    items = root.children;
  } else {
    items.push_back(ast.root);
  }
  LiteralPlan plan;
  std::size_t first = 0;
  std::size_t last = items.size();
  if (ast.nodes[items.front()].kind == NodeKind::kLineStart) {
    plan.atStart_ = true;
    ++first;
  }
  if (last > first && ast.nodes[items.back()].kind == NodeKind::kLineEnd) {
    plan.atEnd_ = true;
    --last;
  }
  if (first >= last) return std::nullopt;
  for (std::size_t i = first; i < last; ++i) {
    const AstNode& node = ast.nodes[items[i]];
    if (node.kind != NodeKind::kBytes) return std::nullopt;
    const ByteSet& set = ast.sets[node.set];
    if (set.Count() != 1) return std::nullopt;
    plan.literal_.push_back(static_cast<char>(set.First()));
  }
  return plan;
}

bool LiteralPlan::Search(const unsigned char* text, std::size_t length, MatchRange& range) const noexcept {
  const std::size_t size = literal_.size();
  if (size > length) return false;
  const char* needle = literal_.data();
  auto found = [&](std::size_t at) {
    range.begin = at;
    range.end = at + size;
    return true;
  };
  if (atStart_ && atEnd_) return size == length && std::memcmp(text, needle, size) == 0 && found(0);
  if (atStart_) return std::memcmp(text, needle, size) == 0 && found(0);
  if (atEnd_) return std::memcmp(text + length - size, needle, size) == 0 && found(length - size);
  const unsigned char first = static_cast<unsigned char>(needle[0]);
  const std::size_t lastStart = length - size;
  std::size_t at = 0;
  while (at <= lastStart) {
    const void* hit = std::memchr(text + at, first, lastStart - at + 1);
    if (hit == nullptr) return false;
    at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text);
    if (std::memcmp(text + at + 1, needle + 1, size - 1) == 0) return found(at);
    ++at;
  }
  return false;
}

}  // namespace qrx::kresh
