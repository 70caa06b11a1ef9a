#pragma once
// The named colours the colour combo box offers, and how a colour value is found among
// them. Window-free: the system's current colours come in through a function, so the
// rules can be checked against any palette.
#include "winlib/Colors.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qrx {

struct TColorName {
  const char* Name;
  int32_t Value;
};

constexpr int kColorNameCount = 42;
const std::array<TColorName, kColorNameCount>& ColorNames();

// The table's name ("clWindow"); a colour without one as "$" and eight hex digits.
std::string ColorToName(int32_t color);
// What the list shows: the name without its "cl".
std::string ColorDisplayName(int32_t color);

// The first colour equal to value; failing that the first that resolves to the same RGB
// value (colours without one, as clNone, only each other); -1 when none does.
int FindColor(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor);
// The last colour that resolves to the same RGB value as value; -1 when none does.
int FindLastSameRgb(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor);

}  // namespace qrx
