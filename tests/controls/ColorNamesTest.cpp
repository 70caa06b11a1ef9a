// The colour combo box's names and how a colour is found among them, against palettes
// of our own rather than the system's.
#include "controls/ColorNames.h"

#include <gtest/gtest.h>

#include <map>

namespace qrx {
namespace {

constexpr int kWindow = 5, kMenu = 4, kBtnFace = 15;

// Every system colour is grey 0x404040 except those given.
TSysColorFn Palette(std::map<int, uint32_t> colors) {
  return [colors](int index) {
    auto it = colors.find(index);
    return it == colors.end() ? 0x404040u : it->second;
  };
}

std::vector<int32_t> TableColors() {
  std::vector<int32_t> colors;
  for (const TColorName& n : ColorNames()) colors.push_back(n.Value);
  return colors;
}

int IndexOf(const char* name) {
  for (int i = 0; i < kColorNameCount; ++i)
    if (std::string(ColorNames()[static_cast<size_t>(i)].Name) == name) return i;
  return -1;
}

TEST(ColorNames, ShownWithoutTheirPrefixInTableOrder) {
  std::string shown;
  for (const TColorName& n : ColorNames()) shown += ColorDisplayName(n.Value) + ",";
  EXPECT_EQ(shown,
            "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Silver,Red,Lime,Yellow,Blue,Fuchsia,Aqua,White,"
            "ScrollBar,Background,ActiveCaption,InactiveCaption,Menu,Window,WindowFrame,MenuText,WindowText,"
            "CaptionText,ActiveBorder,InactiveBorder,AppWorkSpace,Highlight,HighlightText,BtnFace,BtnShadow,"
            "GrayText,BtnText,InactiveCaptionText,BtnHighlight,3DDkShadow,3DLight,InfoText,InfoBk,None,");
}

TEST(ColorNames, ValuesAreRgbSystemIndicesInOrderAndNone) {
  const struct {
    const char* name;
    int32_t value;
  } cases[] = {{"clRed", 0x0000FF}, {"clNavy", 0x800000}, {"clSilver", 0xC0C0C0}, {"clScrollBar", SysColor(0)},
               {"clWindow", SysColor(5)}, {"clInfoBk", SysColor(24)}, {"clNone", kColorNone}};
  for (const auto& c : cases) EXPECT_EQ(ColorNames()[static_cast<size_t>(IndexOf(c.name))].Value, c.value) << c.name;
  EXPECT_EQ(ColorToName(SysColor(13)), "clHighlight");
}

TEST(ColorNames, AColourWithoutANameReadsAsHex) {
  EXPECT_EQ(ColorToName(0x00123456), "$00123456");
  EXPECT_EQ(ColorDisplayName(static_cast<int32_t>(0x8000001Fu)), "$8000001f");
}

TEST(ColorNames, FindingPrefersTheExactValueThenTheFirstOfTheSameRgb) {
  const auto colors = TableColors();
  const auto whiteWindow = Palette({{kWindow, 0xFFFFFF}});
  const auto paleWindow = Palette({{kMenu, 0xF0F0F0}, {kWindow, 0xF0F0F0}, {kBtnFace, 0xF0F0F0}});
  const struct {
    int32_t value;
    const TSysColorFn* palette;
    int expected;
  } cases[] = {
      {SysColor(kWindow), &whiteWindow, IndexOf("clWindow")},  // white comes earlier, but the value is exact
      {0xFFFFFF, &whiteWindow, IndexOf("clWhite")},
      {0xF0F0F0, &paleWindow, IndexOf("clMenu")},  // first system colour of that RGB value
      {0x123456, &paleWindow, -1},
      {SysColor(kBtnFace), &paleWindow, IndexOf("clBtnFace")},
      {kColorNone, &paleWindow, IndexOf("clNone")},
  };
  for (const auto& c : cases) EXPECT_EQ(FindColor(colors, c.value, *c.palette), c.expected) << std::hex << c.value;
}

TEST(ColorNames, RefillingSelectsTheLastOfTheSameRgb) {
  const auto colors = TableColors();
  const auto pale = Palette({{kMenu, 0xF0F0F0}, {kWindow, 0xF0F0F0}, {kBtnFace, 0xF0F0F0}});
  EXPECT_EQ(FindLastSameRgb(colors, SysColor(kMenu), pale), IndexOf("clBtnFace"));
  EXPECT_EQ(FindLastSameRgb(colors, 0x000080, pale), IndexOf("clMaroon"));
  EXPECT_EQ(FindLastSameRgb(colors, 0x010203, pale), -1);
}

}  // namespace
}  // namespace qrx
