// The date edit's and the calendar's rules without a window: formats, reading typed
// dates, month and year moves, the day cells, geometry and placement, the edit's parts.
#include "controls/CalendarModel.h"
#include "controls/DateEditRules.h"
#include "controls/DateFormat.h"
#include "engine/DosTime.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

TDateFormatSettings Format(const char* pattern, char separator) {
  TDateFormatSettings fs;
  fs.ShortDateFormat = pattern;
  fs.DateSeparator = separator;
  return fs;
}

std::string Ymd(double date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

TEST(DateFormat, FormatsByThePattern) {
  const double april6 = EncodeDate(1997, 4, 6), jan1 = EncodeDate(2003, 1, 1);
  const struct {
    const char* pattern;
    double date;
    const char* text;
  } cases[] = {
      {"M/d/yyyy", april6, "4/6/1997"},
      {"MM/dd/yy", april6, "04/06/97"},
      {"dd.MM.yyyy", april6, "06.04.1997"},
      {"yyyy-MM-dd", jan1, "2003-01-01"},
      {"d MMM y", jan1, "1 Jan 3"},
      {"dddd, MMMM d, yyyy", april6, "Sunday, April 6, 1997"},
      {"ddd d", jan1, "Wed 1"},
      {"'Day' d 'o''clock'", april6, "Day 6 o'clock"},
      {"ggyyyy", april6, "1997"},
      {"M/d/yyyy", 0, ""},
      {"M/d/yyyy", april6 + 0.75, "4/6/1997"},
  };
  TDateFormatSettings fs;
  for (const auto& c : cases) EXPECT_EQ(FormatDate(c.pattern, c.date, fs), c.text) << c.pattern;
}

TEST(DateFormat, ReadsTypedDatesByTheShortDateRules) {
  const struct {
    const char* pattern;
    char sep;
    const char* text;
    const char* ymd;  // nullptr: not a date
  } cases[] = {
      {"M/d/yyyy", '/', "4/6/1997", "1997-4-6"},
      {"M/d/yyyy", '/', " 4 / 6 / 1997 ", "1997-4-6"},
      {"M/d/yyyy", '/', "04/06/0097", "97-4-6"},
      {"dd.MM.yyyy", '.', "6.4.1997", "1997-4-6"},
      {"yyyy-MM-dd", '-', "1997-04-06", "1997-4-6"},
      {"dd-MMM-yyyy", '-', "06-apr-1997", "1997-4-6"},
      {"M/d/yyyy", '/', "4/6", "2026-4-6"},
      {"dd.MM.yyyy", '.', "6.4", "2026-4-6"},
      {"M/d/yyyy", '/', "4/6/97", "1997-4-6"},
      {"M/d/yyyy", '/', "4/6/49", "2049-4-6"},
      {"M/d/yyyy", '/', "4/6/50", "1950-4-6"},
      {"M/d/yyyy", '/', "2/29/1996", "1996-2-29"},
      {"M/d/yyyy", '/', "2/29/1997", nullptr},
      {"M/d/yyyy", '/', "4/31/1997", nullptr},
      {"M/d/yyyy", '/', "13/1/1997", nullptr},
      {"M/d/yyyy", '/', "0/1/1997", nullptr},
      {"M/d/yyyy", '/', "4/6/1997/1", nullptr},
      {"M/d/yyyy", '/', "4/6/", nullptr},
      {"M/d/yyyy", '/', "4", nullptr},
      {"M/d/yyyy", '/', "", nullptr},
      {"M/d/yyyy", '/', "4.6.1997", nullptr},
      {"M/d/yyyy", '/', "4/6/10000", nullptr},
      {"M/d/yyyy", '/', "4/6/0", "2000-4-6"},
      {"M/d/yyyy", '/', "4/x/1997", nullptr},
      {"M/d/yyyy", '/', "apr/6/1997", "1997-4-6"},
      {"M/d/yyyy", '/', "4/apr/1997", nullptr},
  };
  for (const auto& c : cases) {
    double date = -1;
    const bool ok = TryParseDate(c.text, Format(c.pattern, c.sep), 2026, date);
    EXPECT_EQ(ok, c.ymd != nullptr) << c.pattern << " '" << c.text << "'";
    if (ok && c.ymd) {
      EXPECT_EQ(Ymd(date), c.ymd) << c.pattern << " '" << c.text << "'";
    }
  }
}

TEST(DateFormat, EveryFormattedDateReadsBack) {
  const struct {
    const char* pattern;
    char sep;
  } formats[] = {{"M/d/yyyy", '/'}, {"dd.MM.yyyy", '.'}, {"yyyy-MM-dd", '-'}, {"dd-MMM-yyyy", '-'}, {"d/M/yy", '/'}};
  for (const auto& f : formats) {
    const TDateFormatSettings fs = Format(f.pattern, f.sep);
    for (double date = EncodeDate(1951, 1, 1); date < EncodeDate(2049, 12, 31); date += 97) {
      double back = 0;
      ASSERT_TRUE(TryParseDate(FormatDate(fs.ShortDateFormat, date, fs), fs, 2026, back)) << f.pattern << Ymd(date);
      EXPECT_EQ(back, date) << f.pattern;
    }
  }
}

TEST(CalendarArithmetic, LeapYearsMonthLengthsAndWeekdays) {
  EXPECT_TRUE(IsLeapYear(1996));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(1997));
  const int common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(1997, m), common[m - 1]) << m;
  EXPECT_EQ(DaysInMonth(1996, 2), 29);
  EXPECT_EQ(DayOfWeek(0), 7) << "30 December 1899 was a Saturday";
  EXPECT_EQ(DayOfWeek(EncodeDate(1997, 4, 6)), 1);
  EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7);
  EXPECT_EQ(DayOfWeek(EncodeDate(1850, 6, 5)), 4);
}

TEST(CalendarArithmetic, KeysMoveByDaysMonthsAndYears) {
  const struct {
    int y, m, d;
    unsigned key;
    const char* to;
  } cases[] = {
      {1997, 1, 31, VK_NEXT, "1997-2-28"},  // not 3 March: February is never skipped
      {1996, 1, 31, VK_NEXT, "1996-2-29"},
      {1997, 12, 15, VK_NEXT, "1998-1-15"},
      {1997, 3, 31, VK_PRIOR, "1997-2-28"},
      {1997, 1, 15, VK_PRIOR, "1996-12-15"},
      {1996, 1, 15, VK_HOME, "1997-1-15"},
      {1996, 2, 29, VK_HOME, "1997-3-1"},
      {1995, 3, 15, VK_HOME, "1996-3-15"},
      {1995, 3, 1, VK_HOME, "1996-3-1"},
      {1996, 3, 15, VK_END, "1995-3-15"},
      {1996, 2, 29, VK_END, "1995-3-1"},
      {1997, 1, 15, VK_END, "1996-1-15"},
      {1997, 3, 1, VK_LEFT, "1997-2-28"},
      {1997, 2, 28, VK_RIGHT, "1997-3-1"},
      {1997, 1, 3, VK_UP, "1996-12-27"},
      {1997, 1, 30, VK_DOWN, "1997-2-6"},
      {1, 1, 1, VK_LEFT, "1-1-1"},  // the ends of the calendar hold
      {1, 6, 1, VK_END, "1-6-1"},
      {9999, 12, 31, VK_RIGHT, "9999-12-31"},
      {9999, 12, 1, VK_NEXT, "9999-12-1"},
  };
  for (const auto& c : cases) {
    TCalendarModel model;
    model.Open(EncodeDate(c.y, c.m, c.d));
    const std::optional<int> move = model.KeyMove(c.key);
    ASSERT_TRUE(move.has_value());
    model.MoveBy(*move);
    EXPECT_EQ(Ymd(model.Date()), c.to) << c.y << "-" << c.m << "-" << c.d << " key " << c.key;
  }
  TCalendarModel model;
  model.Open(EncodeDate(1997, 1, 1));
  EXPECT_FALSE(model.KeyMove('A').has_value());
  EXPECT_FALSE(model.KeyMove(VK_RETURN).has_value());
}

TEST(CalendarModel, DayCellsFollowTheMonth) {
  TCalendarModel model;
  model.Open(EncodeDate(1997, 2, 15) + 0.5);  // 1 February 1997 was a Saturday
  EXPECT_EQ(model.Date(), EncodeDate(1997, 2, 15)) << "whole days only";
  EXPECT_EQ(model.Cell(6), "  ");
  EXPECT_EQ(model.Cell(7), "1");
  EXPECT_EQ(model.Cell(34), "28");
  EXPECT_EQ(model.Cell(35), "  ");
  EXPECT_EQ(model.CurrentCell(), 21);
  EXPECT_EQ(model.DayInCell(21), 15);
  EXPECT_EQ(model.DayInCell(42), 0);
  EXPECT_EQ(model.PreviousCell(), 0);

  EXPECT_FALSE(model.MoveBy(3));
  EXPECT_EQ(model.PreviousCell(), 21);
  EXPECT_EQ(model.CurrentCell(), 24);

  EXPECT_TRUE(model.MoveBy(14)) << "into March";
  EXPECT_EQ(model.Month(), 3);
  EXPECT_EQ(model.Cell(7), "1");  // 1 March 1997 was a Saturday too
  EXPECT_EQ(model.Cell(37), "31");
  EXPECT_EQ(model.CurrentCell(), 7 + 4 - 1);
}

TEST(CalendarGeometry, SizesCellsAndHits) {
  const TCalendarGeometry g = TCalendarGeometry::FromFont(5, 13);
  EXPECT_EQ(g.U, 8);   // 1.6 * 5
  EXPECT_EQ(g.H, 17);  // 4/3 * 13 = 17.33
  EXPECT_EQ(TCalendarGeometry::FromFont(4, 8).U, 6);  // 6.4
  EXPECT_EQ(TCalendarGeometry::FromFont(4, 8).H, 11);  // 10.67
  EXPECT_EQ(g.WindowSize().cx, 21 * 8 + 8);
  EXPECT_EQ(g.WindowSize().cy, 8 * 17 + 2);
  const RECT first = g.DayCell(1), last = g.DayCell(42);
  EXPECT_EQ(first.left, 4);
  EXPECT_EQ(first.top, 2 * 17 + 2);
  EXPECT_EQ(last.right, 4 + 21 * 8);
  EXPECT_EQ(last.bottom, g.WindowSize().cy);
  for (int cell = 1; cell <= 42; ++cell) {
    const RECT r = g.DayCell(cell);
    EXPECT_EQ(g.CellAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), cell);
    EXPECT_EQ(g.CellAt(r.left, r.top), cell);
    EXPECT_EQ(g.CellAt(r.right - 1, r.bottom - 1), cell);
  }
  EXPECT_EQ(g.CellAt(3, first.top), 0);
  EXPECT_EQ(g.CellAt(10, first.top - 1), 0) << "the weekday header is no cell";
  EXPECT_EQ(g.CellAt(last.right, last.top), 0);
  EXPECT_EQ(g.RightArrow().right, 21 * 8 + 4);
}

TEST(CalendarGeometry, PlacementKeepsTheCalendarOnTheWorkArea) {
  const SIZE size{176, 138};
  const RECT work{0, 0, 800, 570};
  const struct {
    RECT edit;
    POINT at;
  } cases[] = {
      {{100, 100, 181, 117}, {101, 118}},   // below the edit
      {{100, 500, 181, 517}, {101, 362}},   // no room below: above it
      {{700, 100, 781, 117}, {623, 118}},   // at the right edge
      {{-50, 100, 31, 117}, {0, 118}},      // at the left edge
  };
  for (const auto& c : cases) {
    const POINT at = PlaceCalendar(c.edit, size, work);
    EXPECT_EQ(at.x, c.at.x) << c.edit.left << "," << c.edit.top;
    EXPECT_EQ(at.y, c.at.y) << c.edit.left << "," << c.edit.top;
  }
}

TEST(DateEditRules, PartsOfTheText) {
  const struct {
    const char* text;
    int part;
    int first, last;
  } ranges[] = {
      {"4/6/1997", 1, 0, 1}, {"4/6/1997", 2, 2, 3}, {"4/6/1997", 3, 4, 8}, {"12/25/", 3, 6, 6},
      {"12/25", 2, 3, 5},    {"12/25", 3, 5, 5},    {"1997", 1, 0, 4},     {"1997", 2, 4, 4},
  };
  for (const auto& r : ranges) {
    auto [first, last] = DatePartRange(r.text, '/', r.part);
    EXPECT_EQ(first, r.first) << r.text << " part " << r.part;
    EXPECT_EQ(last, r.last) << r.text << " part " << r.part;
  }
  const int at[] = {1, 1, 2, 2, 3, 3, 3, 3, 3};  // caret 0 to 8 in "4/6/1997"
  for (int caret = 0; caret <= 8; ++caret) EXPECT_EQ(DatePartAt("4/6/1997", '/', caret), at[caret]) << caret;
  EXPECT_TRUE(SeparatorMovesOn("4/6/1997", '/', 1));
  EXPECT_TRUE(SeparatorMovesOn("4/6/1997", '/', 2));
  EXPECT_FALSE(SeparatorMovesOn("4/6/1997", '/', 3));
  EXPECT_FALSE(SeparatorMovesOn("4", '/', 1)) << "typed into an empty box, the separator goes in";
  EXPECT_FALSE(SeparatorMovesOn("4/6", '/', 2));
}

}  // namespace
}  // namespace qrx
