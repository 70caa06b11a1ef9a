#include "kresh32/RegexParser.h"

#include <utility>

namespace qrx::kresh {
namespace {

// Errors travel out of the recursive descent as a value, never as an exception,
// because the parser runs behind a DLL export.
struct Failure {
  RegexError error;
  std::size_t offset;
};

class Parser {
 public:
  explicit Parser(std::string_view pattern) : text_(pattern) {}

  ParseResult Run() {
    ParseResult result;
    if (text_.empty()) {
      result.error = RegexError::kEmptyPattern;
      return result;
    }
    // A backslash cannot escape the end of the pattern, wherever it stands.
    if (text_.back() == '\\' && TrailingBackslashIsUnpaired()) {
      result.error = RegexError::kTrailingBackslash;
      result.errorOffset = text_.size() - 1;
      return result;
    }
    int root = ParseAlternation(0);
    if (!failed_ && pos_ < text_.size()) Fail(RegexError::kUnmatchedParen);  // only ')' stops the top level
    if (!failed_) {
      ast_.root = root;
      Count(1);  // the final match instruction
    }
    if (failed_) {
      result.error = failure_.error;
      result.errorOffset = failure_.offset;
      return result;
    }
    result.ast = std::move(ast_);
    return result;
  }

 private:
  bool TrailingBackslashIsUnpaired() const {
    std::size_t run = 0;
    for (std::size_t i = text_.size(); i > 0 && text_[i - 1] == '\\'; --i) ++run;
    return run % 2 == 1;
  }

  void Fail(RegexError error) {
    if (!failed_) {
      failed_ = true;
      failure_ = {error, pos_};
    }
  }

  void Count(int instructions) {
    ast_.instructionCount += instructions;
    if (ast_.instructionCount > kMaxInstructions) Fail(RegexError::kTooComplex);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(text_[pos_]); }

  int AddNode(NodeKind kind, int set = -1, std::vector<int> children = {}) {
    ast_.nodes.push_back(AstNode{kind, set, std::move(children)});
    return static_cast<int>(ast_.nodes.size()) - 1;
  }

  int AddSet(const ByteSet& set) {
    ast_.sets.push_back(set);
    Count(1);
    return AddNode(NodeKind::kBytes, static_cast<int>(ast_.sets.size()) - 1);
  }

  int ParseAlternation(int depth) {
    std::vector<int> branches;
    branches.push_back(ParseConcat(depth));
    while (!failed_ && !AtEnd() && Peek() == '|') {
      ++pos_;
      Count(1);  // one split per extra branch
      branches.push_back(ParseConcat(depth));
    }
    if (branches.size() == 1) return branches.front();
    return AddNode(NodeKind::kAlternate, -1, std::move(branches));
  }

  int ParseConcat(int depth) {
    std::vector<int> items;
    bool lastIsBareAnchor = false;
    while (!failed_ && !AtEnd() && Peek() != '|' && Peek() != ')') {
      unsigned char c = Peek();
      if (c == '*' || c == '+' || c == '?') {
        // "^*" is almost surely a typing error; "(^)*" says what it means.
        if (lastIsBareAnchor) {
          Fail(RegexError::kNothingToRepeat);
          return -1;
        }
        ApplyQuantifier(items, c);
        continue;
      }
      lastIsBareAnchor = c == '^' || c == '$';
      items.push_back(ParseAtom(depth));
    }
    if (items.empty()) return AddNode(NodeKind::kEmpty);
    if (items.size() == 1) return items.front();
    return AddNode(NodeKind::kConcat, -1, std::move(items));
  }

  void ApplyQuantifier(std::vector<int>& items, unsigned char op) {
    NodeKind kind = op == '*' ? NodeKind::kStar : op == '+' ? NodeKind::kPlus : NodeKind::kOptional;
    if (items.empty()) return Fail(RegexError::kNothingToRepeat);
    int target = items.back();
    NodeKind targetKind = ast_.nodes[target].kind;
    ++pos_;
    // Two repeats in a row collapse into one ("a+?" is "a*"), so stacked
    // quantifiers never deepen the tree or grow the automaton.
    if (targetKind == NodeKind::kStar || targetKind == NodeKind::kPlus ||
        targetKind == NodeKind::kOptional) {
      if (targetKind != kind) ast_.nodes[target].kind = NodeKind::kStar;
      return;
    }
    Count(1);
    items.back() = AddNode(kind, -1, {target});
  }

  int ParseAtom(int depth) {
    unsigned char c = Peek();
    switch (c) {
      case '(': {
        if (depth >= kMaxNesting) {
          Fail(RegexError::kTooComplex);
          return -1;
        }
        std::size_t open = pos_++;
        int inner = ParseAlternation(depth + 1);
        if (failed_) return -1;
        if (AtEnd()) {
          pos_ = open;
          Fail(RegexError::kMissingParen);
          return -1;
        }
        ++pos_;  // ')'
        return inner;
      }
      case '[':
        return ParseSet();
      case '.': {
        ++pos_;
        ByteSet any;
        any.AddAll();
        return AddSet(any);
      }
      case '^':
        ++pos_;
        Count(1);
        return AddNode(NodeKind::kLineStart);
      case '$':
        ++pos_;
        Count(1);
        return AddNode(NodeKind::kLineEnd);
      case '\\':
        ++pos_;  // Run() has ruled out a backslash at the very end
        [[fallthrough]];
      default: {
        ByteSet one;
        one.Add(Peek());
        ++pos_;
        return AddSet(one);
      }
    }
  }

  // One member of a bracket group; a backslash takes the next byte as it is.
  bool ReadSetByte(unsigned char& out) {
    if (AtEnd()) return false;
    if (Peek() == '\\') {
      ++pos_;
      if (AtEnd()) return false;
    }
    out = Peek();
    ++pos_;
    return true;
  }

  int ParseSet() {
    std::size_t open = pos_++;
    auto unterminated = [&] {
      pos_ = open;
      Fail(RegexError::kUnterminatedSet);
      return -1;
    };
    bool negate = !AtEnd() && Peek() == '^';
    if (negate) ++pos_;
    ByteSet set;
    bool first = true;
    for (;;) {
      if (AtEnd()) return unterminated();
      if (Peek() == ']' && !first) {
        ++pos_;
        break;
      }
      first = false;  // a "]" right after "[" or "[^" is a member
      unsigned char lo = 0;
      if (!ReadSetByte(lo)) return unterminated();
      // "-" makes a range unless it is the last member ("[a-]").
      if (pos_ + 1 < text_.size() && Peek() == '-' && text_[pos_ + 1] != ']') {
        std::size_t dash = pos_++;
        unsigned char hi = 0;
        if (!ReadSetByte(hi)) return unterminated();
        if (hi < lo) {
          pos_ = dash;
          Fail(RegexError::kInvalidRange);
          return -1;
        }
        set.AddRange(lo, hi);
      } else {
        set.Add(lo);
      }
    }
    if (negate) set.Invert();
    return AddSet(set);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  Ast ast_;
  bool failed_ = false;
  Failure failure_{RegexError::kNone, 0};
};

}  // namespace

ParseResult ParsePattern(std::string_view pattern) { return Parser(pattern).Run(); }

}  // namespace qrx::kresh
