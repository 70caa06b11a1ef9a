#include "controls/CalendarModel.h"

#include "engine/DosTime.h"

#include <cmath>
#include <string>

namespace qrx {

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int DayOfWeek(double date) {
  // Day 0, 30 December 1899, was a Saturday.
  const auto days = static_cast<long long>(std::floor(date));
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

double Today() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return EncodeDate(st.wYear, st.wMonth, st.wDay);
}

bool InDateRange(double date) {
  static const double first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
  return date >= first && std::floor(date) <= last;
}

double AddMonthsClamped(double date, int months) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  int index = year * 12 + (month - 1) + months;
  year = index / 12;
  month = index % 12 + 1;
  if (year < 1 || year > 9999) return date;
  const int last = DaysInMonth(year, month);
  return EncodeDate(year, month, day > last ? last : day);
}

double AddYears(double date, int years) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  year += years;
  if (year < 1 || year > 9999) return date;
  if (month == 2 && day == 29 && !IsLeapYear(year)) return EncodeDate(year, 3, 1);
  return EncodeDate(year, month, day);
}

// ---- the month on show ----

void TCalendarModel::Open(double date) {
  date_ = std::floor(date);
  DecodeDate(date_, year_, month_, day_);
  Build();
  current_ = firstCell_ + day_ - 1;
  previous_ = 0;
}

void TCalendarModel::Build() {
  firstCell_ = DayOfWeek(EncodeDate(year_, month_, 1));
  const int days = DaysInMonth(year_, month_);
  for (int cell = 1; cell <= 42; ++cell) {
    const int day = cell - firstCell_ + 1;
    cells_[static_cast<size_t>(cell - 1)] = day >= 1 && day <= days ? std::to_string(day) : "  ";
  }
}

int TCalendarModel::DayInCell(int cell) const {
  if (cell < 1 || cell > 42) return 0;
  const int day = cell - firstCell_ + 1;
  return day >= 1 && day <= DaysInMonth(year_, month_) ? day : 0;
}

bool TCalendarModel::MoveBy(int n) {
  const int oldYear = year_, oldMonth = month_;
  previous_ = current_;
  date_ += n;
  DecodeDate(date_, year_, month_, day_);
  const bool monthChanged = year_ != oldYear || month_ != oldMonth;
  if (monthChanged) Build();
  current_ = firstCell_ + day_ - 1;
  return monthChanged;
}

std::optional<int> TCalendarModel::KeyMove(unsigned key) const {
  double target = date_;
  switch (key) {
    case VK_PRIOR: target = AddMonthsClamped(date_, -1); break;
    case VK_NEXT: target = AddMonthsClamped(date_, 1); break;
    case VK_END: target = AddYears(date_, -1); break;
    case VK_HOME: target = AddYears(date_, 1); break;
    case VK_LEFT: target = date_ - 1; break;
    case VK_RIGHT: target = date_ + 1; break;
    case VK_UP: target = date_ - 7; break;
    case VK_DOWN: target = date_ + 7; break;
    default: return std::nullopt;
  }
  // At the ends of the calendar a key that would leave it does nothing.
  if (!InDateRange(target)) target = date_;
  return static_cast<int>(target - date_);
}

// ---- geometry ----

TCalendarGeometry TCalendarGeometry::FromFont(int averageCharWidth, int charHeight) {
  // Nearest integer, halves to even.
  return TCalendarGeometry{static_cast<int>(std::nearbyint(1.6 * averageCharWidth)),
                           static_cast<int>(std::nearbyint(4.0 / 3.0 * charHeight))};
}

RECT TCalendarGeometry::TitleRect() const { return RECT{20, 2, WindowSize().cx - 20, H}; }

RECT TCalendarGeometry::HeaderCell(int column) const {
  const int left = 4 + (column - 1) * 3 * U;
  return RECT{left, H + 2, left + 3 * U, 2 * H + 2};
}

RECT TCalendarGeometry::DayCell(int cell) const {
  const int row = (cell - 1) / 7 + 1, column = (cell - 1) % 7 + 1;
  const int left = 4 + (column - 1) * 3 * U, top = (row + 1) * H + 2;
  return RECT{left, top, left + 3 * U, top + H};
}

int TCalendarGeometry::CellAt(int x, int y) const {
  if (U <= 0 || H <= 0 || x < 4 || x >= 4 + 21 * U || y < 2 * H + 2 || y >= 8 * H + 2) return 0;
  const int column = (x - 4) / (3 * U) + 1, row = (y - 2) / H - 1;
  return (row - 1) * 7 + column;
}

POINT PlaceCalendar(const RECT& edit, SIZE window, const RECT& work) {
  POINT at{edit.left + 1, edit.bottom + 1};
  if (at.x + window.cx > work.right) at.x = work.right - window.cx - 1;
  if (at.x < work.left) at.x = work.left;
  if (at.y + window.cy > work.bottom) at.y = edit.top - window.cy;
  if (at.y < work.top) at.y = work.top;
  return at;
}

}  // namespace qrx
