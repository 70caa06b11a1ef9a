// The picture list box on a real window under Xvfb: its rows and their items, moving
// and dragging rows, the row at a point, and what a row looks like when drawn.
#include "controls/Piclb32.h"
#include "CanvasSupport.h"
#include "winlib/Form.h"
#include "winlib/Handles.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace qrx {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class PicListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    host.CreateForm("QrxPicListHost", "Pictures", WS_OVERLAPPEDWINDOW);
    host.SetBounds(40, 40, 320, 240);
    list.Create(host);
    list.SetBounds(10, 10, 280, 150);
    list.SetItemHeight(17);
    // Without smoothing every text pixel is exactly the text colour.
    font.reset(::CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial"));
    list.SetFont(font.get());
    ::ShowWindow(host.Handle(), SW_SHOW);
  }
  void TearDown() override {
    if (images) ::ImageList_Destroy(images);
  }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) list.Items().Add("Row " + std::to_string(i));
  }
  std::string Texts() {
    std::string s;
    for (int i = 0; i < list.Items().Count(); ++i) s += list.Items().Get(i) + ";";
    return s;
  }
  // Two 16 by 16 pictures: red, then green.
  void UseImages() {
    images = ::ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
    for (COLORREF c : {kRed, kGreen}) {
      test::Canvas pic(16, 16);
      {
        SelectGuard sel(pic.Dc(), pic.Bitmap());
        UniqueGdi<HBRUSH> brush(::CreateSolidBrush(c));
        RECT r{0, 0, 16, 16};
        ::FillRect(pic.Dc(), &r, brush.get());
      }
      ::ImageList_Add(images, pic.Bitmap(), nullptr);
    }
    list.SetImages(images);
  }

  // Draws row index as the list box would when asked by the system.
  std::unique_ptr<test::Canvas> Draw(int index, UINT state, UINT action = ODA_DRAWENTIRE) {
    return test::DrawOwnerItem(list, ODT_LISTBOX, 280, 17, index, state, action);
  }

  TForm host;
  TPicListBox list;
  UniqueGdi<HFONT> font;
  HIMAGELIST images = nullptr;
};

TEST_F(PicListBox, NewItemsHaveTheDefaultsAndDisablingMakesThemItalic) {
  list.Items().Add("IDE");
  TPicListItem& item = list.Items().Item(0);
  EXPECT_EQ(item.Text, "IDE");
  EXPECT_EQ(item.PictureIndex, 0);
  EXPECT_EQ(item.SelectedPictureIndex, 1);
  EXPECT_EQ(item.Flags, 0);
  EXPECT_TRUE(item.Enabled());
  EXPECT_EQ(item.Object, nullptr);
  item.SetBold(true);
  item.SetEnabled(false);
  EXPECT_EQ(item.Flags, pfBold | pfItalic);
  item.SetEnabled(true);
  EXPECT_EQ(item.Flags, pfBold);
}

TEST_F(PicListBox, InsertDeleteAndClearKeepRowsAndItemsTogether) {
  Fill(3);
  list.Items().Insert(1, "new");
  EXPECT_EQ(Texts(), "Row 0;new;Row 1;Row 2;");
  list.Items().Delete(0);
  EXPECT_EQ(Texts(), "new;Row 1;Row 2;");
  EXPECT_EQ(::SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0), 3);
  list.Items().Clear();
  EXPECT_EQ(list.Items().Count(), 0);
  list.Items().Add("again");
  EXPECT_EQ(Texts(), "again;");
}

TEST_F(PicListBox, IndexesOutsideTheRowsAreRefused) {
  Fill(2);
  const std::function<void()> bad[] = {
      [&] { list.Items().Item(2); },      [&] { list.Items().Item(-1); },
      [&] { list.Items().Delete(2); },    [&] { list.Items().Insert(3, "x"); },
      [&] { list.Items().Move(0, 2); },   [&] { list.Items().Move(5, 0); },
      [&] { list.Items().SetObject(9, nullptr); },
  };
  for (const auto& f : bad) {
    try {
      f();
      ADD_FAILURE() << "accepted";
    } catch (const EListError& e) {
      EXPECT_STREQ(e.what(), "List index out of bounds");
    }
  }
  EXPECT_EQ(Texts(), "Row 0;Row 1;");
}

TEST_F(PicListBox, MovingARowTakesItsPicturesFlagsStateAndObject) {
  Fill(4);
  int object = 0;
  TPicListItem& item = list.Items().Item(3);
  item.PictureIndex = 5;
  item.SelectedPictureIndex = 6;
  item.SetBold(true);
  item.SetEnabled(false);
  item.Object = &object;
  list.Items().Move(3, 0);
  EXPECT_EQ(Texts(), "Row 3;Row 0;Row 1;Row 2;");
  const TPicListItem& moved = list.Items().Item(0);
  EXPECT_EQ(moved.PictureIndex, 5);
  EXPECT_EQ(moved.SelectedPictureIndex, 6);
  EXPECT_EQ(moved.Flags, pfBold | pfItalic);
  EXPECT_FALSE(moved.Enabled());
  EXPECT_EQ(list.Items().Object(0), &object);
  list.Items().Move(0, 2);
  EXPECT_EQ(Texts(), "Row 0;Row 1;Row 3;Row 2;");
}

TEST_F(PicListBox, RefusedTabStopsKeepTheOldOnes) {
  list.SetPixelTabStops("40 120 ");
  EXPECT_THROW(list.SetPixelTabStops("120 40 "), EOrder);
  EXPECT_EQ(list.PixelTabStops(), "40 120 ");
}

TEST_F(PicListBox, ItemAtAPointIsTheRowThereOrWhatLiesBelowTheLast) {
  Fill(3);
  const int h = list.ItemHeight();
  EXPECT_EQ(list.ItemAtPos({5, 1}, true), 0);
  EXPECT_EQ(list.ItemAtPos({5, 2 * h + 1}, true), 2);
  EXPECT_EQ(list.ItemAtPos({5, 3 * h + 4}, true), -1);
  EXPECT_EQ(list.ItemAtPos({5, 3 * h + 4}, false), 3);
  EXPECT_EQ(list.ItemAtPos({-3, 1}, false), -1);
  EXPECT_EQ(list.ItemAtPos({5, 5000}, false), -1);
  Fill(20);
  list.SetTopIndex(5);
  EXPECT_EQ(list.ItemAtPos({5, 1}, true), 5);
}

TEST_F(PicListBox, DraggingARowSelectsTheRowUnderThePointerAndDropsItThere) {
  Fill(4);
  list.DragReorder = true;
  std::pair<int, int> dropped{-1, -1};
  list.OnDragDrop = [&](int from, int to) { dropped = {from, to}; };
  const int h = list.ItemHeight();
  const auto at = [&](int row) { return MAKELPARAM(20, row * h + h / 2); };
  const auto send = [&](UINT msg, WPARAM wp, LPARAM lp) { ::SendMessageA(list.Handle(), msg, wp, lp); };
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(0));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(1));
  EXPECT_EQ(list.ItemIndex(), 1) << "the row under the pointer shows where the drop goes";
  send(WM_MOUSEMOVE, MK_LBUTTON, at(2));
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(Texts(), "Row 0;Row 1;Row 2;Row 3;") << "nothing moves before the drop";
  send(WM_LBUTTONUP, 0, at(2));
  EXPECT_EQ(Texts(), "Row 1;Row 2;Row 0;Row 3;");
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(dropped, std::make_pair(0, 2));

  // Drops anywhere but on a row, and drags the system cancels, move nothing and leave the
  // carried row selected.
  const struct {
    const char* what;
    LPARAM end;
    bool cancel;
  } refused[] = {
      {"below the last row", at(6), false},
      {"left of the list", MAKELPARAM(static_cast<WORD>(-30), h / 2), false},
      {"cancelled on a row", at(3), true},
  };
  for (const auto& r : refused) {
    dropped = {-1, -1};
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(1));
    send(WM_MOUSEMOVE, MK_LBUTTON, at(3));
    send(WM_MOUSEMOVE, MK_LBUTTON, r.end);
    if (r.cancel) send(WM_CANCELMODE, 0, 0);
    send(WM_LBUTTONUP, 0, r.end);
    EXPECT_EQ(Texts(), "Row 1;Row 2;Row 0;Row 3;") << r.what;
    EXPECT_EQ(list.ItemIndex(), 1) << r.what;
    EXPECT_EQ(dropped.first, -1) << r.what;
  }

  // A click without moving is only a click.
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(3));
  send(WM_LBUTTONUP, 0, at(3));
  EXPECT_EQ(Texts(), "Row 1;Row 2;Row 0;Row 3;");
  EXPECT_EQ(list.ItemIndex(), 3);
}

TEST_F(PicListBox, ACarriedRowScrollsTheListAtItsTopAndBottomRows) {
  Fill(30);
  list.DragReorder = true;
  const int h = list.ItemHeight();
  const int rows = list.ClientRect().bottom / h;
  ASSERT_GE(rows, 4);
  list.SetTopIndex(10);
  const auto y = [&](int visibleRow) { return visibleRow * h + h / 2; };
  ::SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y(2)));
  // Each move of the pointer, and where the list then stands.
  const struct {
    const char* what;
    int y;
    int top, selected;
  } steps[] = {
      {"a middle row only selects", y(1), 10, 11},
      {"the top visible row scrolls up by one", y(0), 9, 9},
      {"and again on the next move", y(0), 8, 8},
      {"above the list scrolls, the selection stays", -4, 7, 8},
      {"the bottom visible row scrolls down by one", y(rows - 1), 8, 8 + rows - 1},
      {"below the list scrolls down too", list.ClientRect().bottom + 4, 9, 8 + rows - 1},
  };
  for (const auto& s : steps) {
    ::SendMessageA(list.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, static_cast<WORD>(s.y)));
    EXPECT_EQ(list.TopIndex(), s.top) << s.what;
    EXPECT_EQ(list.ItemIndex(), s.selected) << s.what;
  }
  ::SendMessageA(list.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y(1)));
  ::SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, y(1)));
  EXPECT_EQ(list.Items().Get(10), "Row 12") << "dropped on the row under the pointer";
  EXPECT_EQ(list.ItemIndex(), 10);

  // At the very top the list has nowhere to go.
  list.SetTopIndex(0);
  ::SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y(2)));
  ::SendMessageA(list.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y(0)));
  EXPECT_EQ(list.TopIndex(), 0);
  EXPECT_EQ(list.ItemIndex(), 0);
  ::SendMessageA(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, y(0)));
  EXPECT_EQ(list.Items().Get(0), "Row 2");
}

TEST_F(PicListBox, RightButtonAddsToAMultipleSelection) {
  TPicListBox multi;
  multi.Create(host, LBS_MULTIPLESEL);
  multi.SetBounds(10, 10, 200, 100);
  for (const char* t : {"a", "b", "c"}) multi.Items().Add(t);
  ::SendMessageA(multi.Handle(), LB_SETSEL, TRUE, 0);
  ::SendMessageA(multi.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, multi.ItemHeight() * 2 + 2));
  EXPECT_TRUE(multi.Selected(0));
  EXPECT_FALSE(multi.Selected(1));
  EXPECT_TRUE(multi.Selected(2));
  EXPECT_TRUE(multi.Focused());
}

TEST_F(PicListBox, TextStartsAfterThePictureColumnAndFollowsTheTabStops) {
  list.Items().Add("|\t|");
  list.SetPixelTabStops("100 ");
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
  const auto plain = Draw(0, 0);
  const int first = plain->FirstColumnOf(text);
  EXPECT_GE(first, 4);
  EXPECT_LE(first, 6);
  const int second = plain->FirstColumnOf(text, first + 4);
  EXPECT_GE(second, 100);
  EXPECT_LE(second, 103);

  UseImages();
  const auto pictured = Draw(0, 0);
  EXPECT_EQ(pictured->At(2, 3), kRed);
  EXPECT_EQ(pictured->At(17, 3), kRed);
  EXPECT_GE(pictured->FirstColumnOf(text), 20);
  EXPECT_LE(pictured->FirstColumnOf(text), 22);
}

TEST_F(PicListBox, SelectedRowsHighlightTheTextAndShowTheSelectedPicture) {
  UseImages();
  list.Items().Add("Disabled");
  list.Items().Item(0).SetEnabled(false);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);

  const auto normal = Draw(0, 0);
  EXPECT_NE(normal->FirstColumnOf(::GetSysColor(COLOR_GRAYTEXT)), -1) << "disabled text is grey";
  EXPECT_EQ(normal->At(250, 1), window);

  const auto selected = Draw(0, ODS_SELECTED);
  EXPECT_EQ(selected->At(5, 5), kGreen);
  EXPECT_EQ(selected->At(0, 0), window) << "the picture column stays in the list's colour";
  EXPECT_EQ(selected->At(250, 1), highlight);
  EXPECT_NE(selected->FirstColumnOf(::GetSysColor(COLOR_HIGHLIGHTTEXT), 18), -1);
  EXPECT_EQ(selected->FirstColumnOf(::GetSysColor(COLOR_GRAYTEXT)), -1);

  list.Items().Item(0).Flags |= pfHighlightPicture;
  EXPECT_EQ(Draw(0, ODS_SELECTED)->At(0, 0), highlight);
}

TEST_F(PicListBox, FocusRectangleLeavesOutThePictureColumnUnlessAsked) {
  list.Items().Add("x");
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(Draw(0, ODS_FOCUS)->FirstChanged(window), 2);
  // Only the focus changed: the dotted rectangle alone, the row's text left as it was.
  const auto focusOnly = Draw(0, ODS_FOCUS, ODA_FOCUS);
  EXPECT_EQ(focusOnly->At(250, 8), RGB(0, 0, 0)) << "the row is not drawn again";
  EXPECT_EQ(focusOnly->FirstChanged(RGB(0, 0, 0)), 2);
  list.Items().Item(0).Flags |= pfFocusPicture;
  EXPECT_EQ(Draw(0, ODS_FOCUS)->FirstChanged(window), 0);
}

}  // namespace
}  // namespace qrx
