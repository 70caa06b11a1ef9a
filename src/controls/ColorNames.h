#pragma once
// The named colours the colour combo box offers, and how a colour value is found among
// them. Window-free: the system's current colours come in through a function, so the
// rules can be checked against any palette.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qrx {

// Colour values: 0x00BBGGRR, 0x80000000 plus a system colour index, or clNone.
constexpr int32_t kColorNone = 0x1FFFFFFF;

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

// The system colour of an index, as GetSysColor answers.
using TSysColorFn = std::function<uint32_t(int index)>;
// A system colour becomes the system's current RGB value; anything else stays as it is.
uint32_t ResolveColorValue(int32_t color, const TSysColorFn& sysColor);

// The first colour equal to value; failing that the first that resolves to the same RGB
// value; -1 when none does.
int FindColor(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor);
// The last colour that resolves to the same RGB value as value; -1 when none does.
int FindLastSameRgb(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor);

}  // namespace qrx
