#pragma once
// Colour values as the program stores and passes them (0x00BBGGRR, or 0x80000000 plus a
// system colour index, or the "no colour" value) turned into what GDI draws with.
#include "winlib/Win.h"

#include <cstdint>

namespace qrx::preview {

constexpr int32_t kNoColor = 0x1FFFFFFF;
constexpr int32_t SystemColor(int index) {
  return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index));
}

// The RGB colour of a colour value; "no colour" and system indices the system does not
// know give fallback.
COLORREF ResolveColor(int32_t color, COLORREF fallback);

}  // namespace qrx::preview
