#include "winlib/Menus.h"
#include "winlib/Window.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

TEST(MenuText, ShortcutsReadAsMenusShowThem) {
  const struct {
    ShortCut sc;
    const char* text;
  } cases[] = {
      {Ctrl('O'), "Ctrl+O"},     {Plain(VK_F12), "F12"},        {Alt('X'), "Alt+X"},
      {Ctrl(VK_DELETE), "Ctrl+Del"}, {Ctrl(VK_F2), "Ctrl+F2"},  {Plain(VK_DELETE), "Del"},
      {{VK_TAB, FCONTROL | FSHIFT}, "Shift+Ctrl+Tab"}, {{}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutText(c.sc), c.text);
}

TEST(MenuText, DispatchRunsOnlyEnabledItems) {
  TMenu menu;
  int clicks = 0;
  TMenuItem& item = menu.Add("&Open", Ctrl('O'), [&] { ++clicks; });
  EXPECT_TRUE(DispatchMenuCommand(item.Id()));
  item.SetEnabled(false);
  EXPECT_FALSE(DispatchMenuCommand(item.Id()));
  EXPECT_EQ(clicks, 1);
  std::vector<ACCEL> keys;
  menu.CollectShortcuts(keys);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].key, 'O');
  EXPECT_EQ(keys[0].cmd, item.Id());
}

TEST(MenuText, HintSplitsAtTheBar) {
  TWindow w;
  w.Hint = "Start|Starts the search";
  EXPECT_EQ(w.ShortHint(), "Start");
  EXPECT_EQ(w.LongHint(), "Starts the search");
  w.Hint = "Only one";
  EXPECT_EQ(w.ShortHint(), "Only one");
  EXPECT_EQ(w.LongHint(), "Only one");
}

}  // namespace
}  // namespace qrx
