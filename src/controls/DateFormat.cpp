#include "controls/DateFormat.h"

#include "controls/CalendarModel.h"
#include "engine/DosTime.h"
#include "shared/TextTools.h"
#include "winlib/Win.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace qrx {
namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
  char buf[128] = {};
  int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return n > 1 ? std::string(buf) : fallback;
}

std::string Padded(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

bool IsPatternLetter(char c) { return c == 'd' || c == 'M' || c == 'm' || c == 'y' || c == 'g'; }

// An empty month name (a locale without one) names no month.
bool SameName(const std::string& a, const std::string& b) { return !a.empty() && qrx::EqualNoCase(a, b); }

struct Token {
  int Value = 0;
  int Digits = 0;  // 0 for a month given by name
};

}  // namespace

TDateFormatSettings LocaleDateFormat() {
  TDateFormatSettings fs;
  fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.ShortDateFormat);
  std::string sep = LocaleText(LOCALE_SDATE, "/");
  fs.DateSeparator = sep.empty() ? '/' : sep[0];
  for (int i = 0; i < 12; ++i) {
    auto at = static_cast<size_t>(i);
    fs.LongMonthNames[at] = LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i), fs.LongMonthNames[at]);
    fs.ShortMonthNames[at] = LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i), fs.ShortMonthNames[at]);
  }
  // The platform counts its day names from Monday; ours start on Sunday.
  for (int i = 0; i < 7; ++i) {
    auto at = static_cast<size_t>((i + 1) % 7);
    fs.LongDayNames[at] = LocaleText(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i), fs.LongDayNames[at]);
    fs.ShortDayNames[at] = LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + i), fs.ShortDayNames[at]);
  }
  DWORD yearMax = 0;
  if (::GetCalendarInfoA(LOCALE_USER_DEFAULT, CAL_GREGORIAN, CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER, nullptr, 0,
                         &yearMax) &&
      yearMax >= 99 && yearMax <= 9999)
    fs.TwoDigitYearMax = static_cast<int>(yearMax);
  return fs;
}

DateOrder DateOrderOf(const std::string& pattern) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    if (quoted) continue;
    if (c == 'y') return DateOrder::YMD;
    if (c == 'M' || c == 'm') return DateOrder::MDY;
    if (c == 'd') return DateOrder::DMY;
  }
  return DateOrder::MDY;
}

std::string FormatDate(const std::string& pattern, double date, const TDateFormatSettings& fs) {
  if (date == 0 || !InDateRange(date)) return {};
  int year, month, day;
  DecodeDate(date, year, month, day);
  const int weekday = DayOfWeek(date);
  std::string out;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\'') {
      // Quoted text; two quotes in a row stand for one.
      size_t j = i + 1;
      for (; j < pattern.size(); ++j) {
        if (pattern[j] != '\'') {
          out += pattern[j];
        } else if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
          out += '\'';
          ++j;
        } else {
          break;
        }
      }
      i = j + 1;
      continue;
    }
    if (!IsPatternLetter(c)) {
      out += c;
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    switch (c) {
      case 'd':
        if (run == 1) out += std::to_string(day);
        else if (run == 2) out += Padded(day, 2);
        else if (run == 3) out += fs.ShortDayNames[static_cast<size_t>(weekday - 1)];
        else out += fs.LongDayNames[static_cast<size_t>(weekday - 1)];
        break;
      case 'M':
      case 'm':
        if (run == 1) out += std::to_string(month);
        else if (run == 2) out += Padded(month, 2);
        else if (run == 3) out += fs.ShortMonthNames[static_cast<size_t>(month - 1)];
        else out += fs.LongMonthNames[static_cast<size_t>(month - 1)];
        break;
      case 'y':
        if (run == 1) out += std::to_string(year % 100);
        else if (run == 2) out += Padded(year % 100, 2);
        else out += Padded(year, 4);
        break;
      default:  // the era: our one calendar has none worth showing
        break;
    }
  }
  return out;
}

bool TryParseDate(const std::string& text, const TDateFormatSettings& fs, int currentYear, double& date) {
  // Numbers (or a month's name) between separators, blanks allowed around each.
  std::vector<Token> tokens;
  size_t i = 0;
  const size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && text[i] == ' ') ++i;
  };
  for (;;) {
    skipBlanks();
    Token t;
    if (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
      while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (++t.Digits > 4) return false;
        t.Value = t.Value * 10 + (text[i++] - '0');
      }
    } else if (i < n && std::isalpha(static_cast<unsigned char>(text[i]))) {
      size_t start = i;
      while (i < n && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
      const std::string word = text.substr(start, i - start);
      for (int m = 0; m < 12 && t.Value == 0; ++m)
        if (SameName(word, fs.LongMonthNames[static_cast<size_t>(m)]) ||
            SameName(word, fs.ShortMonthNames[static_cast<size_t>(m)]))
          t.Value = m + 1;
      if (t.Value == 0) return false;
    } else {
      return false;
    }
    tokens.push_back(t);
    skipBlanks();
    if (i == n) break;
    if (text[i] != fs.DateSeparator || tokens.size() == 3) return false;
    ++i;
  }
  if (tokens.size() < 2) return false;
  const DateOrder order = DateOrderOf(fs.ShortDateFormat);
  Token y{currentYear, 4}, m, d;
  if (tokens.size() == 2) {
    if (order == DateOrder::DMY) d = tokens[0], m = tokens[1];
    else m = tokens[0], d = tokens[1];
  } else if (order == DateOrder::MDY) {
    m = tokens[0], d = tokens[1], y = tokens[2];
  } else if (order == DateOrder::DMY) {
    d = tokens[0], m = tokens[1], y = tokens[2];
  } else {
    y = tokens[0], m = tokens[1], d = tokens[2];
  }
  // Only the month may be given by name.
  if (d.Digits == 0 || y.Digits == 0) return false;
  int year = y.Value;
  if (y.Digits <= 2) {
    year = fs.TwoDigitYearMax - fs.TwoDigitYearMax % 100 + year;
    if (year > fs.TwoDigitYearMax) year -= 100;
  }
  if (year < 1 || year > 9999 || m.Value < 1 || m.Value > 12 || d.Value < 1 ||
      d.Value > DaysInMonth(year, m.Value))
    return false;
  date = EncodeDate(year, m.Value, d.Value);
  return true;
}

}  // namespace qrx
