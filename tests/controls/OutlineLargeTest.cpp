// A tree of 100 000 visible rows: the column width reads each text once, scrolling reads
// only the rows it shows, and expanding or collapsing reads nothing it already knows.
#include <gtest/gtest.h>

#include <string>
#include <unordered_map>

#include "OutlineWindowSupport.h"

namespace qrx::test {
namespace {

constexpr int kFiles = 100;
constexpr int kMatches = 1000;

TEST(OutlineLarge, HundredThousandRowsAreReadOnceAndScrolledCheaply) {
  OutlineHost host;
  TGOutlineWindow& t = host.Tree;
  std::unordered_map<const TGOutlineNode*, int> reads;
  long total = 0;
  t.OnGetNodeText = [&reads, &total](TGOutlineNode* node, std::string&) {
    ++reads[node];
    ++total;
  };
  for (int f = 0; f < kFiles; ++f) t.AddChild(0, "c:\\project\\source\\file" + std::to_string(f) + ".cpp");
  t.BeginUpdate();
  for (int f = 0; f < kFiles; ++f) {
    // Files before this one already hold their matches.
    const int32_t file = 1 + f * (kMatches + 1);
    for (int m = 0; m < kMatches; ++m) t.AddChild(file, "  " + std::to_string(m + 1) + ": a matching line");
  }
  t.EndUpdate();
  ASSERT_EQ(t.ItemCount(), kFiles * (kMatches + 1));
  EXPECT_EQ(total, kFiles);  // the matches are under collapsed files

  t.FullExpand();
  ASSERT_EQ(t.RowCount(), kFiles * (kMatches + 1));
  EXPECT_EQ(total, kFiles + kFiles * kMatches);

  // Scroll to the end and back with the keys, painting each time.
  const int rows = t.VisibleRowCount();
  int paints = 0;
  auto paint = [&] {
    ::InvalidateRect(t.Handle(), nullptr, FALSE);
    ::UpdateWindow(t.Handle());
    ++paints;
  };
  host.Focus();
  paint();
  SendKey(t, VK_END);
  EXPECT_EQ(t.Row(), t.RowCount() - 1);
  EXPECT_EQ(t.TopRow(), t.RowCount() - rows);
  paint();
  for (int i = 0; i < 5; ++i) {
    SendKey(t, VK_PRIOR);
    paint();
  }
  SendKey(t, VK_HOME, true);
  EXPECT_EQ(t.TopRow(), 0);
  paint();
  ::SendMessageA(t.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  paint();

  const long painted = static_cast<long>(paints) * (rows + 1);
  EXPECT_LE(total, kFiles + kFiles * kMatches + painted);
  int readTwice = 0;
  for (const auto& [node, n] : reads) {
    EXPECT_LE(n, 1 + paints);
    if (n > 1) ++readTwice;
  }
  EXPECT_LE(readTwice, painted);

  // Collapsing and expanding a file works the column width out again from what it knows.
  const long before = total;
  TGOutlineNode* middle = t.Items(1 + 50 * (kMatches + 1));
  middle->Collapse();
  middle->Expand();
  t.FullCollapse();
  t.FullExpand();
  EXPECT_EQ(total, before);
}

}  // namespace
}  // namespace qrx::test
