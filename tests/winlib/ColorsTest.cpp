// Stored colour values turned into what is drawn, against a palette of our own and
// against the system's.
#include "winlib/Colors.h"

#include <gtest/gtest.h>

#include <map>

namespace qrx {
namespace {

// System colours 5 and 15 only.
std::optional<COLORREF> Palette(int index) {
  static const std::map<int, COLORREF> colors{{5, 0x00FAFAFA}, {15, 0x00C0C0C0}};
  auto it = colors.find(index);
  if (it == colors.end()) return std::nullopt;
  return it->second;
}

TEST(ColorValues, OneRuleForRgbSystemAndNone) {
  const struct {
    const char* what;
    int32_t stored;
    std::optional<COLORREF> rgb;
  } cases[] = {
      {"yellow", 0x0000FFFF, RGB(255, 255, 0)},
      {"blue", 16711680, RGB(0, 0, 255)},
      {"a stray top byte", 0x01FF0000, RGB(0, 0, 255)},
      {"system colour 15", SysColor(15), 0x00C0C0C0},
      {"stored as its negative decimal", -2147483633, 0x00C0C0C0},
      {"the index is the low byte", static_cast<int32_t>(0x80000105u), 0x00FAFAFA},
      {"a system colour the palette lacks", SysColor(13), std::nullopt},
      {"no colour", kColorNone, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.stored, Palette), c.rgb) << c.what;
}

TEST(ColorValues, DrawingFallsBackOnlyWhereThereIsNoColour) {
  const COLORREF fallback = RGB(1, 2, 3);
  const struct {
    int32_t stored;
    COLORREF drawn;
  } cases[] = {
      {SysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT)},
      {-2147483633, ::GetSysColor(COLOR_BTNFACE)},
      {0x00123456, 0x00123456},
      {kColorNone, fallback},
      {SysColor(200), fallback},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveColor(c.stored, fallback), c.drawn) << std::hex << c.stored;
}

}  // namespace
}  // namespace qrx
