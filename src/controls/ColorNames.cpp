#include "controls/ColorNames.h"

#include <cstdio>

namespace qrx {

namespace {

constexpr int32_t Sys(int index) { return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr std::array<TColorName, kColorNameCount> kNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clNone", kColorNone},
}};

}  // namespace

const std::array<TColorName, kColorNameCount>& ColorNames() { return kNames; }

std::string ColorToName(int32_t color) {
  for (const TColorName& n : kNames)
    if (n.Value == color) return n.Name;
  char text[16];
  std::snprintf(text, sizeof text, "$%.8x", static_cast<unsigned>(color));
  return text;
}

std::string ColorDisplayName(int32_t color) {
  std::string name = ColorToName(color);
  if (name.compare(0, 2, "cl") == 0) name.erase(0, 2);
  return name;
}

uint32_t ResolveColorValue(int32_t color, const TSysColorFn& sysColor) {
  const auto value = static_cast<uint32_t>(color);
  if (value & 0x80000000u) return sysColor(static_cast<int>(value & 0xFF));
  return value;
}

int FindColor(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor) {
  for (size_t i = 0; i < colors.size(); ++i)
    if (colors[i] == value) return static_cast<int>(i);
  const uint32_t rgb = ResolveColorValue(value, sysColor);
  for (size_t i = 0; i < colors.size(); ++i)
    if (ResolveColorValue(colors[i], sysColor) == rgb) return static_cast<int>(i);
  return -1;
}

int FindLastSameRgb(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor) {
  const uint32_t rgb = ResolveColorValue(value, sysColor);
  for (size_t i = colors.size(); i-- > 0;)
    if (ResolveColorValue(colors[i], sysColor) == rgb) return static_cast<int>(i);
  return -1;
}

}  // namespace qrx
