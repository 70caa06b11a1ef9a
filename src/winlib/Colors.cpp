#include "winlib/Colors.h"

namespace qrx {

std::optional<COLORREF> CurrentSysColor(int index) {
  // GetSysColor answers 0, a real colour, for an index it does not know; the brush tells.
  if (!::GetSysColorBrush(index)) return std::nullopt;
  return ::GetSysColor(index);
}

std::optional<COLORREF> ColorToRGB(int32_t color, const TSysColorFn& sysColor) {
  if (color == kColorNone) return std::nullopt;
  const auto value = static_cast<uint32_t>(color);
  if (value & 0x80000000u) return sysColor(static_cast<int>(value & 0xFFu));
  return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

COLORREF ResolveColor(int32_t color, COLORREF fallback) { return ColorToRGB(color).value_or(fallback); }

}  // namespace qrx
