// A search filling a results tree that is on screen, through the engine's own writer of
// result lines: the window's costly work follows the times the window handles its
// messages, never the number of rows added.
#include <gtest/gtest.h>

#include <string>

#include "OutlineWindowSupport.h"
#include "common/TempDir.h"
#include "engine/FileSearch.h"
#include "engine/ResultTree.h"

namespace qrx::test {
namespace {

constexpr int kFiles = 50;
constexpr int kLinesPerFile = 1000;

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

TEST(OutlineFill, FiftyThousandRowsCostWindowWorkPerPaintNotPerRow) {
  TempDir dir;
  for (int f = 0; f < kFiles; ++f) {
    std::string text;
    for (int l = 0; l < kLinesPerFile; ++l) text += "\tint\tfield_" + std::to_string(l) + ";\r\n";
    dir.Write("file" + std::to_string(f) + ".h", text);
  }
  OutlineHost host(400, 300);
  TGOutlineWindow& t = host.Tree;
  t.SetOptions({ooDrawFocusRect});
  BindResultTree(t);
  Pump();

  // Without file lines every match is a row of the expanded search line.
  TFileSearchObj search(t);
  search.Directory = dir.Path();
  search.Masks = "*.h";
  search.SearchText = search.EnteredText = "int";
  search.ExprKind = ekStandard;
  search.Options = optLineNumbers | optCaseSensitive | optWholeWords;
  search.MaxLines = 2 * kFiles * kLinesPerFile;
  int pumps = 0;
  int reports = 0;
  search.OnProcessMessages = [&pumps] {
    ++pumps;
    Pump();
  };
  search.OnSearchProgress = [&pumps, &reports](TFileSearchObj*, int32_t, int32_t, int32_t, const std::string&, bool&) {
    ++pumps;
    ++reports;
    Pump();
  };
  const TGOutlineWindow::TWorkCounts before = t.WorkCounts();
  ASSERT_EQ(search.Execute(), rcFound);
  ++pumps;
  Pump();

  const int32_t rows = 1 + kFiles * kLinesPerFile;
  ASSERT_EQ(t.RowCount(), rows);
  EXPECT_EQ(search.Matches, kFiles * kLinesPerFile);
  EXPECT_GE(reports, kFiles);  // one before every file at least
  const TGOutlineWindow::TWorkCounts& after = t.WorkCounts();
  // Each time the window handles its messages it may set its bars and repaint once.
  EXPECT_LE(after.ScrollBarUpdates - before.ScrollBarUpdates, pumps + 2);
  EXPECT_LE(after.Invalidations - before.Invalidations, pumps + 2);
  EXPECT_LE(after.Paints - before.Paints, pumps + 2);
  EXPECT_GT(after.Paints, before.Paints);

  // Once painted, the bar covers every row and the rows on screen are the first ones.
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(t.Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax, rows - 1);
  EXPECT_EQ(static_cast<int32_t>(si.nPage), t.VisibleRowCount());
  EXPECT_EQ(si.nPos, 0);
  EXPECT_EQ(t.TopRow(), 0);
  EXPECT_FALSE(::GetUpdateRect(t.Handle(), nullptr, FALSE));
  t.Clear();
}

}  // namespace
}  // namespace qrx::test
