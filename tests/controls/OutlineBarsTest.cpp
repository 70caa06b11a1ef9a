// The scroll bars are set only when what they show changes: every change of range, page
// or position must still reach them, and a bar switched off and on again comes back.
#include <gtest/gtest.h>

#include <string>

#include "OutlineWindowSupport.h"

namespace qrx::test {
namespace {

TEST(OutlineBars, BarsFollowEachChangeAndComeBackAfterBeingSwitchedOff) {
  OutlineHost host(300, 200);
  TGOutlineWindow& t = host.Tree;
  for (int i = 0; i < 50; ++i) t.AddChild(0, std::string(60, 'W') + std::to_string(i));
  const auto shown = [&t](LONG_PTR bar) { return (::GetWindowLongPtrA(t.Handle(), GWL_STYLE) & bar) != 0; };
  const auto range = [&t](int bar) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(t.Handle(), bar, &si);
    return si;
  };
  const struct {
    TOutlineScrollBars bars;
    bool vertical, horizontal;
  } steps[] = {
      {TOutlineScrollBars::Both, true, true}, {TOutlineScrollBars::None, false, false},
      {TOutlineScrollBars::Both, true, true}, {TOutlineScrollBars::None, false, false},
      {TOutlineScrollBars::Both, true, true},
  };
  int step = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE("step " + std::to_string(step++));
    t.SetScrollBars(s.bars);
    ::UpdateWindow(t.Handle());  // the bars follow when the window paints
    EXPECT_EQ(shown(WS_VSCROLL), s.vertical);
    EXPECT_EQ(shown(WS_HSCROLL), s.horizontal);
    if (s.vertical) {
      EXPECT_EQ(range(SB_VERT).nMax, t.RowCount() - 1);
      EXPECT_EQ(static_cast<int32_t>(range(SB_VERT).nPage), t.VisibleRowCount());
    }
    if (s.horizontal) {
      EXPECT_EQ(range(SB_HORZ).nMax, t.ColumnWidth() - 1);
    }
  }

  // Each of range, page and position changes on its own, and each reaches the bar.
  t.AddChild(0, "one more");
  ::UpdateWindow(t.Handle());
  EXPECT_EQ(range(SB_VERT).nMax, t.RowCount() - 1);
  t.ScrollTo(7);
  EXPECT_EQ(range(SB_VERT).nPos, 7);
  ::SendMessageA(t.Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(range(SB_HORZ).nPos, t.LeftOffset());
  EXPECT_GT(t.LeftOffset(), 0);
  ::SetWindowPos(host.Handle(), nullptr, 0, 0, 300, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(t.Handle(), nullptr, 0, 0, 280, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::UpdateWindow(t.Handle());
  EXPECT_EQ(static_cast<int32_t>(range(SB_VERT).nPage), t.VisibleRowCount());
}

}  // namespace
}  // namespace qrx::test
