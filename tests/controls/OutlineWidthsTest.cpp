// Row widths from the font's advance table against the system's own measure of the text
// as the tree draws it (tabs expanded, NULs as blanks), for the fonts a user may choose.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "controls/GOutlineWidths.h"
#include "winlib/Handles.h"
#include "winlib/TabText.h"

namespace qrx::test {
namespace {

using outline::TAdvanceTable;

int32_t Measured(HDC dc, const std::string& text) {
  const std::string shown = ExpandTabs(text);
  SIZE size{};
  if (!shown.empty()) ::GetTextExtentPoint32A(dc, shown.data(), static_cast<int>(shown.size()), &size);
  return size.cx;
}

std::string RandomText(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 90), byte(0, 255), kind(0, 9);
  std::string text(static_cast<std::size_t>(length(random)), ' ');
  for (char& c : text) {
    const int k = kind(random);
    c = k == 0 ? '\t' : k == 1 ? '\0' : static_cast<char>(k < 5 ? 'a' + byte(random) % 26 : byte(random));
  }
  return text;
}

TEST(OutlineWidths, TableWidthIsTheMeasuredWidthOfTheShownText) {
  const struct {
    const char* face;
    int height, weight;
    bool italic;
  } fonts[] = {
      {"MS Sans Serif", -11, FW_NORMAL, false}, {"Arial", -13, FW_BOLD, false},  {"Courier New", -16, FW_NORMAL, false},
      {"Times New Roman", -20, FW_NORMAL, true}, {"Tahoma", -9, FW_NORMAL, false},
  };
  std::mt19937 random(1234);
  for (const auto& f : fonts) {
    SCOPED_TRACE(f.face);
    UniqueGdi<HFONT> font(::CreateFontA(f.height, 0, 0, 0, f.weight, f.italic, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, f.face));
    HDC dc = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ old = ::SelectObject(dc, font.get());
    TAdvanceTable table;
    table.Build(dc);
    // The machine's code page has one byte per character here, so the table must serve.
    ASSERT_TRUE(table.Usable());
    for (const std::string& fixed : {std::string(), std::string("\t"), std::string("a\tb\0c", 5),
                                    std::string("12345678\tnine"), std::string(300, 'W')}) {
      EXPECT_EQ(table.Width(fixed), Measured(dc, fixed));
    }
    for (int i = 0; i < 300; ++i) {
      const std::string text = RandomText(random);
      ASSERT_EQ(table.Width(text), Measured(dc, text)) << "text of " << text.size() << " bytes, case " << i;
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
  }
}

TEST(OutlineWidths, SpacingOnTheDcMakesTheTableUnusable) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetTextCharacterExtra(dc, 3);  // the system's measure adds it, the advances do not
  TAdvanceTable table;
  table.Build(dc);
  EXPECT_FALSE(table.Usable());
  ::SetTextCharacterExtra(dc, 0);
  table.Build(dc);
  EXPECT_TRUE(table.Usable());
  table.Forget();
  EXPECT_FALSE(table.Usable());
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace qrx::test
