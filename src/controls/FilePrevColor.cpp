#include "controls/FilePrevColor.h"

namespace qrx::preview {

COLORREF ResolveColor(int32_t color, COLORREF fallback) {
  const uint32_t value = static_cast<uint32_t>(color);
  if (color == kNoColor) return fallback;
  if (value & 0x80000000u) {
    const uint32_t index = value & 0x7FFFFFFFu;
    // GetSysColorBrush answers null for an index the system has no colour for.
    if (index > 0xFF || !::GetSysColorBrush(static_cast<int>(index))) return fallback;
    return ::GetSysColor(static_cast<int>(index));
  }
  return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

}  // namespace qrx::preview
