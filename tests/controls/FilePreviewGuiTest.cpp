#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "CanvasSupport.h"
#include "PreviewWindow.h"
#include "common/TempDir.h"

namespace qrx::test {
namespace {

// Colours no theme uses, so every pixel tells which part drew it.
constexpr COLORREF kBack = RGB(240, 240, 232);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kTargetBack = RGB(0, 0, 128);
constexpr COLORREF kTargetText = RGB(255, 255, 255);
constexpr COLORREF kMatchBack = RGB(200, 0, 0);
constexpr COLORREF kMatchText = RGB(255, 255, 0);
constexpr COLORREF kNumber = RGB(0, 0, 255);

constexpr int kRows = 10;
constexpr int kWidth = 420;

// Line n reads "line n abcdefghij"; the match is the ten letters.
std::string LettersFile(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + " abcdefghij\r\n";
  return text;
}

class PreviewGui : public ::testing::Test {
 protected:
  void SetUp() override {
    file = dir.Write("hundred.txt", LettersFile(100));
    TFilePreview& p = host.Preview;
    p.SetColor(static_cast<int32_t>(kBack));
    p.SetTextColor(static_cast<int32_t>(kText));
    p.SetTargetLineColor(static_cast<int32_t>(kTargetBack));
    p.SetTargetTextColor(static_cast<int32_t>(kTargetText));
    p.SetMatchColor(static_cast<int32_t>(kMatchBack));
    p.SetMatchTextColor(static_cast<int32_t>(kMatchText));
    p.SetLineNumColor(static_cast<int32_t>(kNumber));
  }
  int RowTop(int index) const { return (index - host.Preview.TopIndex()) * host.Preview.ItemHeight(); }

  TempDir dir;
  std::string file;
  PreviewHost host{kRows, kWidth};
};

TEST_F(PreviewGui, DefaultsOfANewPreview) {
  TFilePreview fresh;
  EXPECT_EQ(fresh.TotalLines(), 50);
  EXPECT_TRUE(fresh.ShowNumbers());
  EXPECT_EQ(fresh.MatchColor(), 0x000000);
  EXPECT_EQ(fresh.MatchTextColor(), 0x00FFFF);
  EXPECT_EQ(fresh.LineNumColor(), 0xFF0000);
  EXPECT_EQ(static_cast<uint32_t>(fresh.TargetLineColor()), 0x80000000u + COLOR_HIGHLIGHT);
  EXPECT_EQ(static_cast<uint32_t>(fresh.TargetTextColor()), 0x80000000u + COLOR_HIGHLIGHTTEXT);
  EXPECT_EQ(static_cast<uint32_t>(fresh.TextColor()), 0x80000000u + COLOR_WINDOWTEXT);
  EXPECT_EQ(static_cast<uint32_t>(fresh.Color()), 0x80000000u + COLOR_BTNFACE);

  const TFilePreview& p = host.Preview;
  LONG style = ::GetWindowLongA(p.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
  EXPECT_FALSE(style & LBS_NOINTEGRALHEIGHT) << "whole rows unless the owner asks otherwise";
  TFilePreview partial;
  partial.Create(host.Handle(), NextControlId(), false);
  EXPECT_TRUE(::GetWindowLongA(partial.Handle(), GWL_STYLE) & LBS_NOINTEGRALHEIGHT);
  EXPECT_EQ(::SendMessageA(p.Handle(), LB_GETITEMHEIGHT, 0, 0), 16);
  EXPECT_EQ(p.VisibleRows(), kRows);
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(p.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Courier New");
  EXPECT_EQ(font.lfHeight, -12);
}

TEST_F(PreviewGui, TargetLineIsCentredAndSelected) {
  TFilePreview& p = host.Preview;
  struct Case {
    int32_t line;
    int count, top, selected, firstNumber;
  } cases[] = {
      {3, 50, 0, 2, 1},      // the list cannot scroll above its first line
      {80, 46, 20, 25, 55},  // the file ends before 50 lines
      {50, 50, 20, 25, 25},
  };
  for (const auto& c : cases) {
    p.ShowFile(file, c.line, 9, 18);
    EXPECT_EQ(p.Count(), c.count) << c.line;
    EXPECT_EQ(p.TopIndex(), c.top) << c.line;
    EXPECT_EQ(p.ItemIndex(), c.selected) << c.line;
    EXPECT_EQ(p.TargetIndex(), c.selected) << c.line;
    EXPECT_EQ(p.ItemNumber(0), c.firstNumber) << c.line;
    EXPECT_EQ(p.ItemNumber(c.selected), c.line) << c.line;
    EXPECT_EQ(p.ItemText(c.selected), "line " + std::to_string(c.line) + " abcdefghij");
    EXPECT_EQ(p.Item(c.selected), p.ItemText(c.selected)) << "the list box holds the line too";
  }
}

TEST_F(PreviewGui, SameLineInOtherCaseOnlyRecentres) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 80, 9, 18);
  // The user scrolls and clicks elsewhere, then the same match is shown again.
  ::SendMessageA(p.Handle(), LB_SETTOPINDEX, 0, 0);
  p.SetItemIndex(3);
  std::string upper = file;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) { return static_cast<char>(::toupper(ch)); });
  dir.Write("hundred.txt", LettersFile(10));  // a reload would see ten lines
  p.ShowFile(upper, 80, 1, 2);
  EXPECT_EQ(p.Count(), 46);
  EXPECT_EQ(p.MatchStart(), 9);
  EXPECT_EQ(p.MatchStop(), 18);
  EXPECT_EQ(p.TopIndex(), 20);
  EXPECT_EQ(p.ItemIndex(), 25);
}

// Showing the line already shown touches only the rows that re-centring changes: none
// when the view is as it was, the two whose selection moved when the user had clicked
// another row; never the whole pane.
TEST_F(PreviewGui, SameLineAgainRepaintsOnlyWhatRecentringChanges) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 50, 9, 18);
  ::UpdateWindow(p.Handle());
  const Canvas centred = ShownClient(p);
  RECT dirty{};

  p.ShowFile(file, 50, 9, 18);
  EXPECT_FALSE(::GetUpdateRect(p.Handle(), &dirty, FALSE));

  p.SetItemIndex(p.TargetIndex() + 2);
  ::UpdateWindow(p.Handle());
  p.ShowFile(file, 50, 9, 18);
  // The list box redraws the two rows at once, or leaves just them to the next paint.
  if (::GetUpdateRect(p.Handle(), &dirty, FALSE)) {
    EXPECT_GE(dirty.top, RowTop(p.TargetIndex()));
    EXPECT_LE(dirty.bottom, RowTop(p.TargetIndex() + 3));
  }
  EXPECT_EQ(p.ItemIndex(), p.TargetIndex());
  EXPECT_TRUE(ShownClient(p).SamePixels(centred));
}

TEST_F(PreviewGui, MissingFileRaisesThePreviewErrorAndClearEmpties) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 5, 1, 2);
  const std::string missing = dir / "nowhere.txt";
  try {
    p.ShowFile(missing, 5, 1, 2);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    const std::string head = "Error previewing file : \r" + missing + "\r";
    EXPECT_EQ(std::string(e.what()).substr(0, head.size()), head);
  }
  EXPECT_EQ(p.Count(), 0);
  // The control still draws after a failed load.
  EXPECT_GT(PaintedClient(p).Count(RECT{0, 0, kWidth, kRows * 16}, kBack), 0);

  p.ShowFile(file, 5, 1, 2);
  ASSERT_GT(p.Count(), 0);
  p.Clear();
  EXPECT_EQ(p.Count(), 0);
  EXPECT_EQ(p.TargetLine(), 0);
  EXPECT_EQ(p.MatchStart(), 0);
  EXPECT_EQ(p.MatchStop(), 0);
  EXPECT_EQ(p.FileName(), "");
}

TEST_F(PreviewGui, TargetRowAndMatchCarryTheirColours) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 80, 9, 18);
  ASSERT_EQ(p.TopIndex(), 20);
  const Canvas pic = PaintedClient(p);
  const int h = p.ItemHeight();
  const int target = RowTop(p.TargetIndex());
  const int other = RowTop(p.TargetIndex() - 1);
  const int numberWidth = TextWidthIn(p.Handle(), "000000");
  const int matchLeft = numberWidth + TextWidthIn(p.Handle(), "line 80 ");
  const int matchRight = matchLeft + TextWidthIn(p.Handle(), "abcdefghij");
  const int mid = target + h / 2;

  // The target row: highlight to the right edge, the match on its own background.
  EXPECT_EQ(pic.At(pic.Width() - 3, mid), kTargetBack);
  EXPECT_EQ(pic.At(matchLeft - 1, target), kTargetBack);
  int matchBack = pic.Count(RECT{matchLeft, mid, matchRight, mid + 1}, kMatchBack);
  int matchText = pic.Count(RECT{matchLeft, target, matchRight, target + h}, kMatchText);
  EXPECT_GT(matchBack, (matchRight - matchLeft) / 3);
  EXPECT_GT(matchText, 0);
  EXPECT_EQ(pic.Count(RECT{0, target, matchLeft, target + h}, kMatchBack), 0);
  EXPECT_EQ(pic.Count(RECT{matchRight, target, kWidth, target + h}, kMatchBack), 0);
  EXPECT_EQ(pic.Count(RECT{0, target, matchLeft, target + h}, kMatchText), 0);
  EXPECT_GT(pic.Count(RECT{0, target, numberWidth, target + h}, kTargetText), 0) << "number in target text colour";
  EXPECT_GT(pic.Count(RECT{numberWidth, target, matchLeft, target + h}, kTargetText), 0) << "text before the match";
  EXPECT_EQ(pic.Count(RECT{0, target, kWidth, target + h}, kNumber), 0);

  // Another row: the control's colour, a blue number, black text, no match colours.
  EXPECT_EQ(pic.At(pic.Width() - 3, other + h / 2), kBack);
  EXPECT_GT(pic.Count(RECT{0, other, numberWidth, other + h}, kNumber), 0);
  EXPECT_EQ(pic.Count(RECT{numberWidth, other, kWidth, other + h}, kNumber), 0);
  EXPECT_GT(pic.Count(RECT{numberWidth, other, kWidth, other + h}, kText), 0);
  EXPECT_EQ(pic.Count(RECT{0, other, numberWidth, other + h}, kText), 0);
  EXPECT_EQ(pic.Count(RECT{0, other, kWidth, other + h}, kMatchBack), 0);
  EXPECT_EQ(pic.Count(RECT{0, 0, kWidth, target}, kTargetBack) + pic.Count(RECT{0, target + h, kWidth, pic.Height()}, kTargetBack), 0);
}

TEST_F(PreviewGui, NumbersOffLeaveAMargin) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 3, 0, 0);
  const int h = p.ItemHeight();
  const int row = RowTop(0);
  const int numberWidth = TextWidthIn(p.Handle(), "000000");
  const int charWidth = TextWidthIn(p.Handle(), "0");

  Canvas with = PaintedClient(p);
  int textStart = with.FirstColumnOf(kText, 0, row, row + h);
  EXPECT_GE(textStart, numberWidth);
  EXPECT_LT(textStart, numberWidth + charWidth);

  p.SetShowNumbers(false);
  EXPECT_FALSE(p.ShowNumbers());
  Canvas without = PaintedClient(p);
  EXPECT_EQ(without.Count(RECT{0, 0, kWidth, without.Height()}, kNumber), 0);
  textStart = without.FirstColumnOf(kText, 0, row, row + h);
  EXPECT_GE(textStart, 2 * charWidth);
  EXPECT_LT(textStart, 3 * charWidth);
  // The target line without a match is all in the target text colour.
  const int target = RowTop(p.TargetIndex());
  EXPECT_EQ(without.Count(RECT{0, target, kWidth, target + h}, kMatchBack), 0);
  EXPECT_GT(without.Count(RECT{0, target, kWidth, target + h}, kTargetText), 0);
}

TEST_F(PreviewGui, ColourChangesRepaintTheScreen) {
  TFilePreview& p = host.Preview;
  p.ShowFile(file, 80, 9, 18);
  Canvas printed = PaintedClient(p);
  Canvas shown = ShownClient(p);
  EXPECT_TRUE(shown.SamePixels(printed)) << "the screen shows what the preview draws";

  const COLORREF green = RGB(0, 160, 0);
  p.SetTargetLineColor(static_cast<int32_t>(green));
  Canvas after = ShownClient(p);
  const int target = RowTop(p.TargetIndex());
  EXPECT_EQ(after.At(after.Width() - 3, target + 2), green);
  EXPECT_EQ(after.Count(RECT{0, 0, kWidth, after.Height()}, kTargetBack), 0);
}

TEST_F(PreviewGui, TallerRowsShowFewerLines) {
  TFilePreview& p = host.Preview;
  p.SetItemHeight(20);
  EXPECT_EQ(::SendMessageA(p.Handle(), LB_GETITEMHEIGHT, 0, 0), 20);
  EXPECT_EQ(p.VisibleRows(), kRows * 16 / 20);
  p.ShowFile(file, 80, 9, 18);
  EXPECT_EQ(p.TopIndex(), 25 - (kRows * 16 / 20) / 2);
}

}  // namespace
}  // namespace qrx::test
