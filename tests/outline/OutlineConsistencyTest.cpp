// Long random runs against a plain pre-order list that does everything the slow way, and
// one large tree built the way a search fills it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "outline/OutlineTestSupport.h"

namespace {

// The outline as a flat pre-order list of (level, text, expanded).
class Reference {
 public:
  struct Node {
    int32_t level;
    std::string text;
    bool expanded;
  };
  std::vector<Node> nodes;

  int32_t Count() const { return static_cast<int32_t>(nodes.size()); }
  std::size_t SubtreeEnd(std::size_t i) const {
    std::size_t j = i + 1;
    while (j < nodes.size() && nodes[j].level > nodes[i].level) ++j;
    return j;
  }
  // Absolute index of the parent of the node at position i (0 for the root).
  int32_t ParentIndex(std::size_t i) const {
    for (std::size_t j = i; j-- > 0;) {
      if (nodes[j].level == nodes[i].level - 1) return static_cast<int32_t>(j) + 1;
    }
    return 0;
  }
  bool HasChildren(std::size_t i) const { return SubtreeEnd(i) > i + 1; }
  bool AncestorsExpanded(std::size_t i) const {
    for (int32_t p = ParentIndex(i); p > 0; p = ParentIndex(static_cast<std::size_t>(p - 1))) {
      if (!nodes[static_cast<std::size_t>(p - 1)].expanded) return false;
    }
    return true;
  }

  // Each returns the new node's index, or the error an attach reports.
  std::string AddChild(int32_t index, const std::string& text, int32_t& result) {
    if (index < 0) return "Invalid outline index";
    if (index > Count()) return "Outline index not found";
    const int32_t level = index == 0 ? 0 : nodes[static_cast<std::size_t>(index - 1)].level;
    if (level >= 256) return "Maximum outline depth exceeded";
    const std::size_t at = index == 0 ? nodes.size() : SubtreeEnd(static_cast<std::size_t>(index - 1));
    nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(at), Node{level + 1, text, false});
    result = static_cast<int32_t>(at) + 1;
    return "";
  }
  std::string AddSibling(int32_t index, const std::string& text, int32_t& result) {
    if (index < 0) return "Invalid outline index";
    if (index > Count()) return "Outline index not found";
    return AddChild(index == 0 ? 0 : ParentIndex(static_cast<std::size_t>(index - 1)), text, result);
  }
  std::string Insert(int32_t index, const std::string& text, int32_t& result) {
    if (index < 0) return "Invalid outline index";
    if (index > Count()) return "Outline index not found";
    if (index == 0) return AddChild(0, text, result);
    const std::size_t at = static_cast<std::size_t>(index - 1);
    nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(at), Node{nodes[at].level, text, false});
    result = index;
    return "";
  }
  void Delete(int32_t index) {
    const std::size_t at = static_cast<std::size_t>(index - 1);
    const int32_t parent = ParentIndex(at);
    nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(at), nodes.begin() + static_cast<std::ptrdiff_t>(SubtreeEnd(at)));
    if (parent > 0 && !HasChildren(static_cast<std::size_t>(parent - 1))) nodes[static_cast<std::size_t>(parent - 1)].expanded = false;
  }
  void Collapse(std::size_t i) {
    for (std::size_t j = i; j < SubtreeEnd(i); ++j) nodes[j].expanded = false;
  }
  std::vector<std::size_t> Visible() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      if (AncestorsExpanded(i)) rows.push_back(i);
    }
    return rows;
  }
};

int32_t BruteExpandCount(TGOutlineNode* n) {
  if (!n->Expanded()) return 0;
  int32_t rows = 0;
  for (int32_t i = 0; i < n->ChildCount(); ++i) rows += 1 + BruteExpandCount(n->Child(i));
  return rows;
}

// Compares the outline with the reference; indices are read in random order so that the
// numbering from the valid-index mark is taken from all sorts of places.
void Check(TestOutline& o, const Reference& ref, std::mt19937& rng, bool full, int step) {
  SCOPED_TRACE("step " + std::to_string(step));
  const std::vector<TGOutlineNode*> nodes = Preorder(o);
  ASSERT_EQ(static_cast<int32_t>(nodes.size()), ref.Count());
  ASSERT_EQ(o.ItemCount(), ref.Count());
  std::vector<TGOutlineNode*> walked;
  for (TGOutlineNode* n = o.FirstNode(); n; n = o.NextNode(n)) walked.push_back(n);
  ASSERT_EQ(walked, nodes);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    ASSERT_EQ(nodes[i]->StoredText(), ref.nodes[i].text);
    ASSERT_EQ(nodes[i]->Level(), ref.nodes[i].level);
    ASSERT_EQ(nodes[i]->Expanded(), ref.nodes[i].expanded) << ref.nodes[i].text;
    ASSERT_EQ(nodes[i]->ExpandCount(), BruteExpandCount(nodes[i])) << ref.nodes[i].text;
  }
  const std::vector<std::size_t> visible = ref.Visible();
  ASSERT_EQ(o.RowCount(), static_cast<int32_t>(visible.size()));
  ASSERT_EQ(o.Root()->ExpandCount(), BruteExpandCount(o.Root()));
  if (nodes.empty()) {
    EXPECT_EQ(o.SelectedItem(), 0);
    return;
  }
  std::vector<std::size_t> order(nodes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), rng);
  if (!full) order.resize(std::min<std::size_t>(order.size(), 4));
  for (std::size_t i : order) {
    ASSERT_EQ(nodes[i]->Index(), static_cast<int32_t>(i) + 1) << ref.nodes[i].text;
    std::size_t k = rng() % nodes.size();
    ASSERT_EQ(o.Items(static_cast<int32_t>(k) + 1), nodes[k]);
    std::size_t r = rng() % visible.size();
    ASSERT_EQ(o.NodeAtRow(static_cast<int32_t>(r)), nodes[visible[r]]);
    const auto at = std::find(visible.begin(), visible.end(), i);
    ASSERT_EQ(o.RowOfNode(nodes[i]), at == visible.end() ? -1 : static_cast<int32_t>(at - visible.begin()));
  }
  const int32_t row = o.Row();
  ASSERT_GE(row, 0);
  ASSERT_LT(row, o.RowCount());
  const int32_t selected = o.SelectedItem();
  ASSERT_GE(selected, 1);
  ASSERT_TRUE(ref.AncestorsExpanded(static_cast<std::size_t>(selected - 1)));
}

TEST(OutlineConsistency, RandomOperationsMatchABruteForceRecount) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TestOutline o;
    Reference ref;
    std::string shown;
    o.OnShowError = [&](const std::string& m) { shown = m; };
    int updateDepth = 0;
    int next = 0;
    auto pick = [&](int32_t from) {  // mostly a valid index, sometimes one past either end
      const int32_t span = ref.Count() - from + 3;
      return from - 1 + static_cast<int32_t>(rng() % static_cast<unsigned>(span));
    };
    for (int step = 0; step < 2500; ++step) {
      const unsigned r = rng() % 100;
      const bool crowded = ref.Count() > 250;
      const std::string text = "n" + std::to_string(next++);
      if (r < 45 && !crowded) {
        const int32_t index = pick(0);
        int32_t expected = 0;
        std::string error;
        int32_t result;
        shown.clear();
        if (r < 25) {
          error = ref.AddChild(index, text, expected);
          result = o.AddChildObject(index, text, nullptr);
        } else if (r < 35) {
          error = ref.AddSibling(index, text, expected);
          result = o.AddObject(index, text, nullptr);
        } else {
          error = ref.Insert(index, text, expected);
          result = o.InsertObject(index, text, nullptr);
        }
        ASSERT_EQ(shown, error) << "step " << step;
        ASSERT_EQ(result, !error.empty() ? 0 : updateDepth > 0 ? -1 : expected) << "step " << step;
      } else if (r < 60 && ref.Count() > 0) {
        const int32_t index = pick(1);
        const std::string error = ErrorOf([&] { o.Delete(index); });
        if (index <= 0) {
          ASSERT_EQ(error, "Invalid outline index");
        } else if (index > ref.Count()) {
          ASSERT_EQ(error, "Outline index not found");
        } else {
          ASSERT_EQ(error, "");
          ref.Delete(index);
        }
      } else if (r < 80 && ref.Count() > 0) {
        const std::size_t at = rng() % ref.nodes.size();
        TGOutlineNode* node = o.Items(static_cast<int32_t>(at) + 1);
        if (r < 72) {
          const std::string error = ErrorOf([&] { node->Expand(); });
          if (!ref.AncestorsExpanded(at)) {
            ASSERT_EQ(error, ref.nodes[at].expanded ? "" : "Parent must be expanded");
          } else {
            ASSERT_EQ(error, "");
            ref.nodes[at].expanded = true;
          }
        } else {
          node->Collapse();
          ref.Collapse(at);
        }
      } else if (r < 84 && ref.Count() > 0) {
        const std::size_t at = rng() % ref.nodes.size();
        const std::string error = ErrorOf([&] { o.Items(static_cast<int32_t>(at) + 1)->FullExpand(); });
        if (ref.HasChildren(at) && !ref.AncestorsExpanded(at)) {
          ASSERT_EQ(error, "Parent must be expanded");
        } else {
          ASSERT_EQ(error, "");
          for (std::size_t j = at; j < ref.SubtreeEnd(at); ++j) {
            if (ref.HasChildren(j)) ref.nodes[j].expanded = true;
          }
        }
      } else if (r < 86) {
        if (rng() % 2) {
          o.FullCollapse();
          for (auto& n : ref.nodes) n.expanded = false;
        } else {
          o.FullExpand();
          for (std::size_t j = 0; j < ref.nodes.size(); ++j) {
            if (ref.HasChildren(j)) ref.nodes[j].expanded = true;
          }
        }
      } else if (r < 90) {
        if (updateDepth < 2 && rng() % 2) {
          o.BeginUpdate();
          ++updateDepth;
        } else if (updateDepth > 0) {
          o.EndUpdate();
          --updateDepth;
        }
      } else if (r < 97) {
        if (updateDepth == 0) {
          const int32_t v = pick(0);
          const std::string error = ErrorOf([&] { o.SetSelectedItem(v); });
          if (v < 0 || (v == 0 && ref.Count() == 0)) {
            ASSERT_EQ(error, "Invalid selection");
          } else if (v > ref.Count()) {
            ASSERT_EQ(error, "Outline index not found");
          } else {
            ASSERT_EQ(error, "");
          }
        }
        o.SetRow(static_cast<int32_t>(rng() % 50));
      } else if (r < 98) {
        o.Clear();
        ref.nodes.clear();
        updateDepth = 0;
      }
      Check(o, ref, rng, step % 5 == 0, step);
      if (HasFatalFailure()) return;
    }
  }
}

// The way a search fills the tree: an older search below, the new one inserted on top,
// then a long run of matches appended under one file, the line count read after each.
TEST(OutlineConsistency, HundredThousandMatchesUnderOneFile) {
  constexpr int32_t kMatches = 100000;
  constexpr int32_t kOldMatches = 1000;
  TestOutline o;
  ASSERT_EQ(o.AddObject(0, "old search", nullptr), 1);
  ASSERT_EQ(o.AddChildObject(1, "old file", nullptr), 2);
  for (int32_t k = 0; k < kOldMatches; ++k) ASSERT_EQ(o.AddChildObject(2, "old " + std::to_string(k), nullptr), 3 + k);
  o.Items(1)->Expand();
  o.Items(2)->Expand();

  ASSERT_EQ(o.InsertObject(1, "search", nullptr), 1);
  ASSERT_EQ(o.AddChildObject(1, "file", nullptr), 2);
  o.Items(1)->Expand();
  o.Items(2)->Expand();
  for (int32_t k = 0; k < kMatches; ++k) {
    ASSERT_EQ(o.AddChildObject(2, "m" + std::to_string(k), nullptr), 3 + k);
    ASSERT_EQ(o.ItemCount(), 4 + kOldMatches + 1 + k);
  }
  const int32_t total = 4 + kOldMatches + kMatches;
  EXPECT_EQ(o.ItemCount(), total);
  EXPECT_EQ(o.RowCount(), total);
  EXPECT_EQ(o.Items(2)->ExpandCount(), kMatches);

  for (int32_t k : {0, 1, 4999, 50000, kMatches - 1}) {
    TGOutlineNode* match = o.Items(3 + k);
    EXPECT_EQ(match->StoredText(), "m" + std::to_string(k));
    EXPECT_EQ(o.NodeAtRow(2 + k), match);
    EXPECT_EQ(o.RowOfNode(match), 2 + k);
  }
  TGOutlineNode* oldSearch = o.NodeAtRow(2 + kMatches);
  EXPECT_EQ(oldSearch->StoredText(), "old search");
  EXPECT_EQ(oldSearch->Index(), 3 + kMatches);
  EXPECT_EQ(o.Items(total)->StoredText(), "old " + std::to_string(kOldMatches - 1));
  // Reading the lines from the last to the first numbers each once.
  for (int32_t i = total; i > total - 2000; --i) ASSERT_EQ(o.Items(i)->Index(), i);

  ScratchDir dir;
  const std::string file = dir.File("big.txt");
  o.SaveToFile(file);
  TestOutline back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.ItemCount(), total);
  EXPECT_EQ(back.RowCount(), 2);
  EXPECT_EQ(back.Items(3 + 777)->StoredText(), "m777");
  EXPECT_EQ(back.Items(total)->Level(), 3);

  o.Delete(3 + kMatches);  // the older search
  EXPECT_EQ(o.ItemCount(), 2 + kMatches);
  EXPECT_EQ(o.RowCount(), 2 + kMatches);
  o.Clear();
  EXPECT_EQ(o.ItemCount(), 0);
}

}  // namespace
