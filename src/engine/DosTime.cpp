#include "engine/DosTime.h"

#include <cmath>

namespace {

// Days from 1 January of year 1 to the given date (proleptic Gregorian).
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

constexpr int64_t kEpoch1899 = -25569;  // 1899-12-30 relative to 1970-01-01

}  // namespace

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch1899);
}

void DecodeDate(double dateTime, int& year, int& month, int& day) {
  int64_t z = static_cast<int64_t>(std::floor(dateTime)) + kEpoch1899 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

double DosDateTimeToDateTime(uint32_t packed) {
  const unsigned date = packed >> 16, time = packed & 0xFFFF;
  const int year = 1980 + static_cast<int>(date >> 9);
  const int month = (date >> 5) & 15, day = date & 31;
  const int hour = time >> 11, minute = (time >> 5) & 63, second = (time & 31) * 2;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
    return 0;
  return EncodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

uint32_t DateTimeToDosDateTime(double dateTime) {
  if (!(dateTime >= EncodeDate(1980, 1, 1)) || dateTime >= EncodeDate(2108, 1, 1)) return 0;
  int year, month, day;
  DecodeDate(dateTime, year, month, day);
  // Round to whole seconds first so a value made from a packed time maps back to it.
  int64_t secs = std::llround((dateTime - std::floor(dateTime)) * 86400.0);
  if (secs >= 86400) secs = 86399;
  const unsigned hour = static_cast<unsigned>(secs / 3600), minute = static_cast<unsigned>(secs / 60 % 60),
                 second = static_cast<unsigned>(secs % 60);
  const uint32_t date = (static_cast<uint32_t>(year - 1980) << 9) | (month << 5) | day;
  const uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
  return (date << 16) | time;
}

namespace {
int64_t ToInt(const FILETIME& t) { return (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
}  // namespace

TLocalFileTimes::TLocalFileTimes() {
  FILETIME now, local;
  ::GetSystemTimeAsFileTime(&now);
  if (::FileTimeToLocalFileTime(&now, &local)) bias_ = ToInt(local) - ToInt(now);
}

uint32_t TLocalFileTimes::DosPacked(const FILETIME& utc) const {
  const int64_t value = ToInt(utc) + bias_;
  if (value < 0) return 0;
  FILETIME local{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
  WORD date = 0, time = 0;
  if (!::FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}
