#pragma once
// Colour values as the program stores and passes them, and the one rule that turns them
// into what GDI draws with. A value with bit 31 set names a system colour by the index in
// its low byte (the settings store it as a negative number); kColorNone is no colour; any
// other value is an RGB colour, 0x00BBGGRR.
#include "winlib/Win.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace qrx {

constexpr int32_t kColorNone = 0x1FFFFFFF;
constexpr int32_t SysColor(int index) { return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index)); }

// The RGB value of a system colour index; nothing for an index the palette lacks.
using TSysColorFn = std::function<std::optional<COLORREF>(int index)>;
// The system's current colours.
std::optional<COLORREF> CurrentSysColor(int index);

// The RGB value a colour stands for; nothing for kColorNone and for system colours the
// palette lacks.
std::optional<COLORREF> ColorToRGB(int32_t color, const TSysColorFn& sysColor = CurrentSysColor);
// What to draw a colour with, in the system's current colours: fallback where the colour
// stands for none.
COLORREF ResolveColor(int32_t color, COLORREF fallback);

}  // namespace qrx
