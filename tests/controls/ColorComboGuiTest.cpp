// The colour combo box on a real window under Xvfb: its items, selecting by colour,
// choosing with the keyboard, and what an item looks like when drawn.
#include "CanvasSupport.h"
#include "controls/ColCombo.h"
#include "winlib/Application.h"
#include "winlib/Controls.h"
#include "winlib/Form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qrx {
namespace {

constexpr int32_t Sys(int index) { return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index)); }

class ColorCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    host.CreateForm("QrxColorComboHost", "Colours", WS_OVERLAPPEDWINDOW);
    host.SetBounds(40, 40, 320, 200);
    combo.Create(host);
    combo.SetBounds(10, 10, 195, 22);
    font.reset(::CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"));
    combo.SetFont(font.get());
    ::ShowWindow(host.Handle(), SW_SHOW);
  }
  std::string Name(int index) {
    int32_t color = 0;
    std::string name;
    combo.GetItem(index, color, name);
    return name;
  }
  std::unique_ptr<test::Canvas> Draw(int index, UINT state = 0) {
    return test::DrawOwnerItem(combo, ODT_COMBOBOX, 195, 16, index, state);
  }

  TForm host;
  TColorComboBox combo;
  UniqueGdi<HFONT> font;
};

TEST_F(ColorCombo, HoldsEveryNamedColourAndStartsOnTheLastBlackOne) {
  EXPECT_EQ(combo.Count(), kColorNameCount);
  EXPECT_EQ(combo.SelectedColor(), 0);
  int last = 0;
  for (int i = 16; i < 41; ++i)
    if (::GetSysColor(i - 16) == 0) last = i;
  EXPECT_EQ(combo.ItemIndex(), last);
  EXPECT_EQ(Name(0), "Black");
  EXPECT_EQ(Name(21), "Window");
  EXPECT_EQ(Name(41), "None");
  EXPECT_EQ(combo.PictureWidth(), 20);
}

TEST_F(ColorCombo, OnGetColorChangesWhatAnItemReads) {
  combo.OnGetColor = [](TCustomColorComboBox*, int index, int32_t& color, std::string& name) {
    if (index == 9) {
      color = 0x0000C0;
      name = "Dark red";
    }
  };
  int32_t color = 0;
  std::string name;
  combo.GetItem(9, color, name);
  EXPECT_EQ(color, 0x0000C0);
  EXPECT_EQ(name, "Dark red");
  combo.SetSelectedColor(0x0000C0);
  EXPECT_EQ(combo.ItemIndex(), 9);
}

TEST_F(ColorCombo, SelectingByColourFindsTheExactItemOrNone) {
  combo.SetSelectedColor(Sys(COLOR_WINDOW));
  EXPECT_EQ(Name(combo.ItemIndex()), "Window");
  combo.SetSelectedColor(0x123456);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.SelectedColor(), 0x123456);
  // Refilling keeps the colour and selects the last item of its RGB value.
  combo.SetSelectedColor(static_cast<int32_t>(::GetSysColor(COLOR_BTNFACE)));
  combo.FillList();
  int32_t color = 0;
  std::string name;
  combo.GetItem(combo.ItemIndex(), color, name);
  EXPECT_EQ(::GetSysColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF, ::GetSysColor(COLOR_BTNFACE));
  EXPECT_GE(combo.ItemIndex(), 16);
  EXPECT_EQ(combo.SelectedColor(), static_cast<int32_t>(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(ColorCombo, ChoosingAnItemSetsTheColourThenClicks) {
  int32_t seen = -1;
  combo.OnClick = [&] { seen = combo.SelectedColor(); };
  combo.SetSelectedColor(0);
  ::SendMessageA(combo.Handle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(combo.SelectedColor(), 0x000080);
  EXPECT_EQ(seen, 0x000080);
  EXPECT_EQ(Name(combo.ItemIndex()), "Maroon");
}

TEST_F(ColorCombo, TheDroppedListShowsDropDownCountRows) {
  ::SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetComboBoxInfo(combo.Handle(), &info));
  RECT list{};
  ::GetClientRect(info.hwndList, &list);
  ::SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_GE(list.bottom - list.top, combo.DropDownCount * combo.ItemHeight());
  EXPECT_LT(list.bottom - list.top, (combo.DropDownCount + 1) * combo.ItemHeight());
  RECT closed{};
  ::GetClientRect(combo.Handle(), &closed);
  EXPECT_LE(closed.bottom, 24) << "the closed box keeps its height";
}

TEST_F(ColorCombo, EnterAndEscapeWithTheListOpenStayWithTheList) {
  TButton ok, cancel;
  ok.Create(host, "OK");
  ok.SetBounds(220, 10, 75, 25);
  cancel.Create(host, "Cancel");
  cancel.SetBounds(220, 40, 75, 25);
  host.SetDefaultButton(&ok);
  host.CancelButton = &cancel;
  std::string pressed;
  ok.OnClick = [&] { pressed += "ok;"; };
  cancel.OnClick = [&] { pressed += "cancel;"; };
  const auto press = [&](WORD key, bool open) {
    combo.SetFocus();
    ::SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, open ? TRUE : FALSE, 0);
    ASSERT_TRUE(combo.Focused());
    MSG m{combo.Handle(), WM_KEYDOWN, key, 0, 0, {}};
    Application().HandleMessage(m);
    ::SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  };
  press(VK_RETURN, true);
  press(VK_ESCAPE, true);
  EXPECT_EQ(pressed, "") << "the open list takes them";
  press(VK_RETURN, false);
  press(VK_ESCAPE, false);
  EXPECT_EQ(pressed, "ok;cancel;");
}

TEST_F(ColorCombo, DrawsASwatchOfTheColourThenTheName) {
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const auto red = Draw(9);
  EXPECT_EQ(red->At(13, 8), RGB(255, 0, 0));
  EXPECT_EQ(red->At(3, 8), RGB(0, 0, 0)) << "the swatch's frame";
  EXPECT_EQ(red->At(13, 1), window) << "two pixels short at the top";
  const int text = red->FirstColumnOf(::GetSysColor(COLOR_WINDOWTEXT), 24);
  EXPECT_GE(text, 26);
  EXPECT_LE(text, 28);

  combo.SetPictureWidth(0);
  const auto plain = Draw(9);
  EXPECT_EQ(plain->FirstColumnOf(RGB(255, 0, 0)), -1);
  EXPECT_GE(plain->FirstChanged(window), 3);
  EXPECT_LE(plain->FirstChanged(window), 5);

  const auto selected = Draw(9, ODS_SELECTED);
  EXPECT_NE(selected->FirstColumnOf(::GetSysColor(COLOR_HIGHLIGHTTEXT)), -1);
  EXPECT_EQ(selected->At(1, 1), ::GetSysColor(COLOR_HIGHLIGHT));
}

}  // namespace
}  // namespace qrx
