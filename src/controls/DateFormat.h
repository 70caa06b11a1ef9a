#pragma once
// Dates as the user reads and types them: the short date format and the date separator
// of the user's locale, formatting a date by such a pattern and reading typed text back
// by the same rules. No windows here; the locale is read once into a plain record, so
// every rule can be tried with any format.
#include <array>
#include <string>

namespace qrx {

struct TDateFormatSettings {
  // A pattern in the platform's notation: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
  // 'quoted text'; anything else stands for itself.
  std::string ShortDateFormat = "M/d/yyyy";
  char DateSeparator = '/';
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Sunday first.
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // A year typed with one or two digits is the latest year up to this one that ends in them.
  int TwoDigitYearMax = 2049;
};

// The user's locale, as the platform reports it now.
TDateFormatSettings LocaleDateFormat();

// The order in which a short date pattern names day, month and year.
enum class DateOrder { MDY, DMY, YMD };
DateOrder DateOrderOf(const std::string& pattern);

// The whole days of a date-time value, by the pattern; the empty text for date 0.
std::string FormatDate(const std::string& pattern, double date, const TDateFormatSettings& fs);

// Reads numbers separated by the date separator in the pattern's order: day, month and
// year, or two of them with the current year. False for anything that is no real date
// (out-of-range parts, stray characters, years outside 1 to 9999).
bool TryParseDate(const std::string& text, const TDateFormatSettings& fs, int currentYear, double& date);

}  // namespace qrx
