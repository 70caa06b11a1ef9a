#pragma once
// Dates as the program keeps them: a double counting days since 30 December 1899, the
// fraction being the time of day. File times travel as packed MS-DOS date and time
// (local time, two-second resolution), as the FAT file system stores them.
#include <cstdint>

#include "winlib/Win.h"

// High word the date (years since 1980, month, day), low word the time (hours, minutes,
// seconds / 2). An invalid value yields 0.
double DosDateTimeToDateTime(uint32_t packed);
uint32_t DateTimeToDosDateTime(double dateTime);
// Files' last-write times (UTC) as local packed date and time (0 when one does not fit).
// The platform converts to local time with the bias in force now, not the one of the
// file's date, so the bias is asked for once for many files.
class TLocalFileTimes {
 public:
  TLocalFileTimes();
  uint32_t DosPacked(const FILETIME& utc) const;

 private:
  int64_t bias_ = 0;  // local minus UTC, in 100 ns units
};

double EncodeDate(int year, int month, int day);
void DecodeDate(double dateTime, int& year, int& month, int& day);
