#include "controls/ColorNames.h"

#include <cstdio>

namespace qrx {

namespace {

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
    {"clScrollBar", SysColor(0)},
    {"clBackground", SysColor(1)},
    {"clActiveCaption", SysColor(2)},
    {"clInactiveCaption", SysColor(3)},
    {"clMenu", SysColor(4)},
    {"clWindow", SysColor(5)},
    {"clWindowFrame", SysColor(6)},
    {"clMenuText", SysColor(7)},
    {"clWindowText", SysColor(8)},
    {"clCaptionText", SysColor(9)},
    {"clActiveBorder", SysColor(10)},
    {"clInactiveBorder", SysColor(11)},
    {"clAppWorkSpace", SysColor(12)},
    {"clHighlight", SysColor(13)},
    {"clHighlightText", SysColor(14)},
    {"clBtnFace", SysColor(15)},
    {"clBtnShadow", SysColor(16)},
    {"clGrayText", SysColor(17)},
    {"clBtnText", SysColor(18)},
    {"clInactiveCaptionText", SysColor(19)},
    {"clBtnHighlight", SysColor(20)},
    {"cl3DDkShadow", SysColor(21)},
    {"cl3DLight", SysColor(22)},
    {"clInfoText", SysColor(23)},
    {"clInfoBk", SysColor(24)},
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

int FindColor(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor) {
  for (size_t i = 0; i < colors.size(); ++i)
    if (colors[i] == value) return static_cast<int>(i);
  const std::optional<COLORREF> rgb = ColorToRGB(value, sysColor);
  for (size_t i = 0; i < colors.size(); ++i)
    if (ColorToRGB(colors[i], sysColor) == rgb) return static_cast<int>(i);
  return -1;
}

int FindLastSameRgb(const std::vector<int32_t>& colors, int32_t value, const TSysColorFn& sysColor) {
  const std::optional<COLORREF> rgb = ColorToRGB(value, sysColor);
  for (size_t i = colors.size(); i-- > 0;)
    if (ColorToRGB(colors[i], sysColor) == rgb) return static_cast<int>(i);
  return -1;
}

}  // namespace qrx
