#pragma once
// The calendar pop-up without its window: the month on show as 42 day cells, moves of
// the current date by days, months and years, and where each piece of the calendar goes.
#include "winlib/Win.h"

#include <array>
#include <optional>
#include <string>

namespace qrx {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Sunday 1 to Saturday 7.
int DayOfWeek(double date);
// Today's date, without the time of day.
double Today();
// Whole days from 1 January 1 to 31 December 9999: what the date edit can show.
bool InDateRange(double date);
// The same day of the month `months` away, or that month's last day when it is shorter.
double AddMonthsClamped(double date, int months);
// The same month and day `years` away; 29 February in a year without it becomes 1 March.
double AddYears(double date, int years);

class TCalendarModel {
 public:
  void Open(double date);
  double Date() const { return date_; }
  int Year() const { return year_; }
  int Month() const { return month_; }
  int Day() const { return day_; }
  int CurrentCell() const { return current_; }
  int PreviousCell() const { return previous_; }  // 0 before the first move
  // Cells 1 to 42: the day number, or two spaces outside the month.
  const std::string& Cell(int cell) const { return cells_[static_cast<size_t>(cell - 1)]; }
  int DayInCell(int cell) const;  // 0 for an empty cell or one outside 1..42
  // D moves by n days; true when the month (and so the cells) changed.
  bool MoveBy(int n);
  // The move a key makes from the current date, if the key moves it.
  std::optional<int> KeyMove(unsigned key) const;

 private:
  void Build();
  double date_ = 0;
  int year_ = 0, month_ = 0, day_ = 0;
  int firstCell_ = 1;
  int current_ = 0, previous_ = 0;
  std::array<std::string, 42> cells_;
};

// Where the calendar's pieces go, from its font's average character width and height:
// a column unit u and a row height h.
struct TCalendarGeometry {
  int U = 0, H = 0;
  static TCalendarGeometry FromFont(int averageCharWidth, int charHeight);
  SIZE WindowSize() const { return SIZE{21 * U + 8, 8 * H + 2}; }
  RECT TitleRect() const;
  RECT HeaderCell(int column) const;  // 1 to 7
  RECT DayCell(int cell) const;       // 1 to 42
  RECT LeftArrow() const { return RECT{4, 2, 20, 18}; }
  RECT RightArrow() const { return RECT{21 * U - 12, 2, 21 * U + 4, 18}; }
  int CellAt(int x, int y) const;  // 0 outside the day grid
};

// The calendar's top left on the screen: below the edit's client area, or above it when
// there is no room below; moved inside the work area at the sides.
POINT PlaceCalendar(const RECT& editClientOnScreen, SIZE window, const RECT& workArea);

}  // namespace qrx
