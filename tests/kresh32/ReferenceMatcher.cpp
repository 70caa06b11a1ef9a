#include "ReferenceMatcher.h"

#include <bitset>
#include <memory>
#include <set>
#include <vector>

namespace kresh_test {
namespace {

struct Node {
  enum Kind { kSet, kBegin, kEnd, kCat, kAlt, kStar, kPlus, kOpt } kind;
  std::bitset<256> bytes;
  std::vector<std::unique_ptr<Node>> kids;
};

using NodePtr = std::unique_ptr<Node>;

NodePtr Make(Node::Kind kind) {
  auto node = std::make_unique<Node>();
  node->kind = kind;
  return node;
}

class Reader {
 public:
  explicit Reader(std::string_view p) : p_(p) {}

  NodePtr Alternation() {
    auto alt = Make(Node::kAlt);
    alt->kids.push_back(Sequence());
    while (i_ < p_.size() && p_[i_] == '|') {
      ++i_;
      alt->kids.push_back(Sequence());
    }
    return alt;
  }

 private:
  unsigned char Next() { return static_cast<unsigned char>(p_[i_++]); }

  NodePtr Sequence() {
    auto cat = Make(Node::kCat);
    while (i_ < p_.size() && p_[i_] != '|' && p_[i_] != ')') {
      char c = p_[i_];
      if (c == '*' || c == '+' || c == '?') {
        ++i_;
        auto rep = Make(c == '*' ? Node::kStar : c == '+' ? Node::kPlus : Node::kOpt);
        rep->kids.push_back(std::move(cat->kids.back()));
        cat->kids.back() = std::move(rep);
        continue;
      }
      cat->kids.push_back(Atom());
    }
    return cat;
  }

  NodePtr Atom() {
    unsigned char c = Next();
    if (c == '(') {
      auto inner = Alternation();
      ++i_;  // ')'
      return inner;
    }
    if (c == '^') return Make(Node::kBegin);
    if (c == '$') return Make(Node::kEnd);
    auto set = Make(Node::kSet);
    if (c == '.') {
      set->bytes.set();
    } else if (c == '[') {
      bool negate = p_[i_] == '^';
      if (negate) ++i_;
      bool first = true;
      while (first || p_[i_] != ']') {
        first = false;
        unsigned char lo = Next();
        if (lo == '\\') lo = Next();
        unsigned char hi = lo;
        if (p_[i_] == '-' && p_[i_ + 1] != ']') {
          ++i_;
          hi = Next();
          if (hi == '\\') hi = Next();
        }
        for (unsigned b = lo; b <= hi; ++b) set->bytes.set(b);
      }
      ++i_;  // ']'
      if (negate) set->bytes.flip();
    } else {
      if (c == '\\') c = Next();
      set->bytes.set(c);
    }
    return set;
  }

  std::string_view p_;
  std::size_t i_ = 0;
};

class Runner {
 public:
  explicit Runner(std::string_view line) : line_(line) {}

  std::set<std::size_t> Ends(const Node& node, std::size_t pos) const {
    switch (node.kind) {
      case Node::kSet:
        if (pos < line_.size() && node.bytes.test(static_cast<unsigned char>(line_[pos]))) return {pos + 1};
        return {};
      case Node::kBegin:
        return pos == 0 ? std::set<std::size_t>{pos} : std::set<std::size_t>{};
      case Node::kEnd:
        return pos == line_.size() ? std::set<std::size_t>{pos} : std::set<std::size_t>{};
      case Node::kCat: {
        std::set<std::size_t> at{pos};
        for (const auto& kid : node.kids) {
          std::set<std::size_t> next;
          for (std::size_t p : at) next.merge(Ends(*kid, p));
          at = std::move(next);
        }
        return at;
      }
      case Node::kAlt: {
        std::set<std::size_t> all;
        for (const auto& kid : node.kids) all.merge(Ends(*kid, pos));
        return all;
      }
      case Node::kStar:
        return Repeat(*node.kids[0], {pos});
      case Node::kPlus:
        return Repeat(*node.kids[0], Ends(*node.kids[0], pos));
      case Node::kOpt: {
        auto all = Ends(*node.kids[0], pos);
        all.insert(pos);
        return all;
      }
    }
    return {};
  }

 private:
  // Every position reachable from `seed` by repeating `body` any number of times.
  std::set<std::size_t> Repeat(const Node& body, std::set<std::size_t> seed) const {
    std::set<std::size_t> reached = seed;
    std::vector<std::size_t> todo(seed.begin(), seed.end());
    while (!todo.empty()) {
      std::size_t p = todo.back();
      todo.pop_back();
      for (std::size_t e : Ends(body, p)) {
        if (reached.insert(e).second) todo.push_back(e);
      }
    }
    return reached;
  }

  std::string_view line_;
};

}  // namespace

std::optional<Span> ReferenceSearch(std::string_view pattern, std::string_view line) {
  NodePtr root = Reader(pattern).Alternation();
  Runner runner(line);
  for (std::size_t start = 0; start <= line.size(); ++start) {
    auto ends = runner.Ends(*root, start);
    if (!ends.empty()) return Span{start, *ends.rbegin()};
  }
  return std::nullopt;
}

}  // namespace kresh_test
