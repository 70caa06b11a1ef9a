#include "winlib/Clipboard.h"
#include "winlib/Controls.h"
#include "winlib/Form.h"

#include <commctrl.h>

#include <cstdlib>

#include <gtest/gtest.h>

namespace qrx {
namespace {

class Host : public TForm {
 public:
  Host() {
    CreateForm("QrxControlsHost", "Host", WS_OVERLAPPEDWINDOW);
    SetBounds(0, 0, 400, 300);
  }
};

TEST(Clipboard, TextRoundTripsAndReplacesOldContents) {
  Host host;
  ASSERT_TRUE(SetClipboardText(host.Handle(), "first"));
  ASSERT_TRUE(SetClipboardText(host.Handle(), "[-]"));
  EXPECT_EQ(GetClipboardText(host.Handle()), "[-]");
  ASSERT_TRUE(SetClipboardText(host.Handle(), ""));
  EXPECT_EQ(GetClipboardText(host.Handle()), "");
}

TEST(ComboBox, PickingAnEntryShowsItBeforeTheEventsRun) {
  Host host;
  TComboBox combo;
  combo.Create(host);
  combo.SetBounds(5, 5, 200, 150);
  combo.SetItems({"alpha", "beta", "gamma"});
  combo.SetText("typed");
  std::string seenOnChange, seenOnSelect;
  combo.OnChange = [&] { seenOnChange = combo.Text(); };
  combo.OnSelect = [&] { seenOnSelect = combo.Text(); };
  combo.SetItemIndex(1);
  ::SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(combo.Id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.Handle()));
  EXPECT_EQ(seenOnChange, "beta");
  EXPECT_EQ(seenOnSelect, "beta");
  EXPECT_EQ(combo.IndexOf("gamma"), 2);
  EXPECT_EQ(combo.IndexOf("Gamma"), -1) << "history lookups are case-sensitive";
}

TEST(TabControl, SelectionChangeNotifiesButProgramChangesDoNot) {
  Host host;
  TTabControl tabs;
  tabs.Create(host, {"Search", "Replace", "DFM"});
  tabs.SetBounds(5, 5, 300, 100);
  int changes = 0;
  tabs.OnChange = [&] { ++changes; };
  tabs.SetTabIndex(2);
  EXPECT_EQ(tabs.TabIndex(), 2);
  EXPECT_EQ(changes, 0);
  NMHDR hdr{tabs.Handle(), static_cast<UINT_PTR>(tabs.Id()), static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageA(host.Handle(), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(tabs.TabCount(), 3);
}

TEST(SpinEdit, ValueStaysWithinItsRange) {
  Host host;
  TSpinEdit spin;
  spin.Create(host, 1, 1000);
  const struct {
    const char* text;
    int value;
  } cases[] = {{"50", 50}, {"0", 1}, {"5000", 1000}, {"", 1}};
  for (const auto& c : cases) {
    spin.SetText(c.text);
    EXPECT_EQ(spin.Value(), c.value) << c.text;
  }
  spin.SetValue(2000);
  EXPECT_EQ(spin.Text(), "1000");
}

// The arrows stay beside the edit however it is moved, through the window base too.
TEST(SpinEdit, ArrowsFollowTheEdit) {
  Host host;
  TSpinEdit spin;
  spin.Create(host, 1, 100);
  TWindow& base = spin;
  base.SetBounds(50, 60, 80, 21);
  RECT edit{}, arrows{};
  ::GetWindowRect(spin.Handle(), &edit);
  ::GetWindowRect(spin.UpDown(), &arrows);
  EXPECT_EQ(arrows.top, edit.top);
  EXPECT_LE(std::abs(arrows.left - edit.right), 2) << arrows.left << " " << edit.right;
}

// A window's key handler sees the key and the modifiers; clearing the key keeps it from
// the window.
TEST(WindowKeys, AHandlerThatClearsTheKeyKeepsItFromTheWindow) {
  Host host;
  TListBox list;
  list.Create(host);
  list.SetBounds(5, 5, 100, 100);
  for (const char* text : {"a", "b", "c"}) list.Add(text);
  const struct {
    bool clear, shift;
    int index;
  } cases[] = {{false, false, 1}, {true, false, 0}, {true, true, 0}, {false, true, 1}};
  for (const auto& c : cases) {
    list.SetItemIndex(0);
    TShiftState seen = 0;
    list.OnKeyDown = [&](WORD& key, TShiftState shift) {
      seen = shift;
      if (c.clear) key = 0;
    };
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_SHIFT] = c.shift ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::SendMessageA(list.Handle(), WM_KEYDOWN, VK_DOWN, 1);
    state[VK_SHIFT] = 0;
    ::SetKeyboardState(state);
    EXPECT_EQ(list.ItemIndex(), c.index) << "clear " << c.clear << ", shift " << c.shift;
    EXPECT_EQ((seen & ssShift) != 0, c.shift);
  }
}

TEST(StatusBar, PanelsHoldTheirTexts) {
  Host host;
  TStatusBar bar;
  bar.Create(host);
  bar.SetPanels({100, 100, -1});
  bar.SetPanelText(0, " Found : 3");
  bar.SetPanelText(2, "done");
  EXPECT_EQ(bar.PanelText(0), " Found : 3");
  EXPECT_EQ(bar.PanelText(2), "done");
}

}  // namespace
}  // namespace qrx
