#include "engine/RequiredText.h"

namespace qrx {

namespace {

// Index just past the bracket group that opens at i, or npos when it does not close.
size_t SkipBrackets(std::string_view p, size_t i) {
  ++i;
  if (i < p.size() && p[i] == '^') ++i;
  if (i < p.size() && p[i] == ']') ++i;  // a member right after the opening
  while (i < p.size() && p[i] != ']') i += p[i] == '\\' ? 2 : 1;
  return i < p.size() ? i + 1 : std::string_view::npos;
}

// Index just past the group that opens at i, or npos when it does not close.
size_t SkipGroup(std::string_view p, size_t i) {
  int depth = 0;
  while (i < p.size()) {
    const char c = p[i];
    if (c == '\\') {
      i += 2;
    } else if (c == '[') {
      i = SkipBrackets(p, i);
      if (i == std::string_view::npos) return i;
    } else {
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) return i + 1;
      ++i;
    }
  }
  return std::string_view::npos;
}

bool IsRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

}  // namespace

std::string RequiredText(std::string_view p) {
  std::string best, run;
  auto endRun = [&] {
    if (run.size() > best.size()) best = run;
    run.clear();
  };
  size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    if (c == '|') return "";  // either side may match alone
    if (c == '(' || c == '[' || c == '.' || c == '^' || c == '$') {
      // Not one plain byte: whatever it matches breaks the run.
      endRun();
      i = c == '(' ? SkipGroup(p, i) : c == '[' ? SkipBrackets(p, i) : i + 1;
      if (i == std::string_view::npos) return "";
      while (i < p.size() && IsRepeat(p[i])) ++i;
      continue;
    }
    if (c == ')') return "";  // unbalanced: the expression does not compile anyway
    char byte = c;
    if (c == '\\') {
      if (i + 1 >= p.size()) return "";
      byte = p[++i];
    }
    ++i;
    // Repeats in a row act as one, and only "+" alone keeps the byte required.
    size_t repeats = i;
    bool onlyPlus = true;
    while (repeats < p.size() && IsRepeat(p[repeats])) onlyPlus = onlyPlus && p[repeats++] == '+';
    if (repeats == i) {
      run += byte;
    } else {
      if (onlyPlus) run += byte;
      endRun();
      i = repeats;
    }
  }
  endRun();
  return best;
}

}  // namespace qrx
