// The date edit and its calendar on real windows under Xvfb: typing, leaving, the mouse
// in the edit, and the calendar's keys, mouse, closing, placement and drawing.
#include "controls/Calpop32.h"
#include "controls/DateEdit.h"
#include "engine/DosTime.h"
#include "winlib/Application.h"
#include "winlib/Controls.h"
#include "winlib/Form.h"
#include "winlib/ModalDriver.h"
#include "winlib/UiRecorder.h"

#include <gtest/gtest.h>

#include <functional>

namespace qrx {
namespace {

TDateFormatSettings UsFormat() {
  TDateFormatSettings fs;
  fs.ShortDateFormat = "M/d/yyyy";
  fs.DateSeparator = '/';
  return fs;
}

// Steps inside the calendar's modal loop.
void WithCalendar(const std::function<void(TfrmCalPop32&)>& steps, const std::function<void()>& open) {
  test::ModalDriver<TfrmCalPop32>::Run("TfrmCalPop32", steps, open);
}

void Key(HWND target, WORD key) {
  MSG m{target, WM_KEYDOWN, key, 1, 0, {}};
  Application().HandleMessage(m);
}

void Mouse(HWND target, UINT msg, const RECT& r) {
  ::SendMessageA(target, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

class DateEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    host.CreateForm("QrxDateEditHost", "Dates", WS_OVERLAPPEDWINDOW);
    host.SetBounds(40, 40, 320, 160);
    edit.Create(host, UsFormat());
    edit.SetBounds(10, 10, 97, 21);
    other.Create(host);
    other.SetBounds(10, 40, 97, 21);
    ::ShowWindow(host.Handle(), SW_SHOW);
    ::SetForegroundWindow(host.Handle());
    edit.OnDateChanged = [this] { ++changes; };
  }
  void Type(const std::string& text) {
    for (char c : text) ::SendMessageA(edit.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  std::pair<int, int> Selection() const {
    DWORD start = 0, end = 0;
    ::SendMessageA(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  void Enter() {
    other.SetFocus();
    edit.SetFocus();
  }

  test::UiRecorder ui;
  TForm host;
  TDateEdit32 edit;
  TEdit other;
  int changes = 0;
};

TEST_F(DateEdit, SeparatorMovesThroughThePartsAndGoesInWhenNoPartFollows) {
  edit.SetDate(EncodeDate(1997, 4, 6));
  EXPECT_EQ(edit.Text(), "4/6/1997");
  Enter();
  EXPECT_EQ(Selection(), std::make_pair(0, 1));
  Type("/");
  EXPECT_EQ(Selection(), std::make_pair(2, 3));
  Type("/");
  EXPECT_EQ(Selection(), std::make_pair(4, 8));
  Type("/");
  EXPECT_EQ(edit.Text(), "4/6//") << "in the last part the separator is typed";

  // An empty box takes a whole date typed in one go.
  edit.SetText("");
  Type("12/25/1998");
  EXPECT_EQ(edit.Text(), "12/25/1998");
  EXPECT_EQ(ui.Beeps, 0);
  other.SetFocus();
  EXPECT_EQ(edit.Date(), EncodeDate(1998, 12, 25));
}

TEST_F(DateEdit, OnlyDigitsSeparatorsAndFullStopsGoIn) {
  Enter();
  Type("1a.-");
  EXPECT_EQ(edit.Text(), "1.");
  EXPECT_EQ(ui.Beeps, 2);
  edit.SetReadOnly(true);
  edit.SetText("");
  Type("x7");
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(ui.Beeps, 2) << "a read-only box drops characters silently";
}

TEST_F(DateEdit, LeavingTakesOnlyARealDate) {
  const double start = EncodeDate(2000, 1, 2);
  int year, month, day;
  DecodeDate(Today(), year, month, day);
  const struct {
    const char* typed;
    double date;
    const char* text;
  } cases[] = {
      {"7/4/2001", EncodeDate(2001, 7, 4), "7/4/2001"},
      {"7/4", EncodeDate(year, 7, 4), nullptr},  // the current year
      {"", start, ""},
      {"7/40/2001", start, "7/40/2001"},
  };
  for (const auto& c : cases) {
    edit.SetDate(start);
    Enter();
    edit.SetText(c.typed);
    changes = 0;
    other.SetFocus();
    EXPECT_EQ(edit.Date(), c.date) << c.typed;
    if (c.text) {
      EXPECT_EQ(edit.Text(), c.text) << c.typed;
    }
    EXPECT_EQ(changes, c.date != start ? 1 : 0) << c.typed;
  }
}

TEST_F(DateEdit, ARefusedChangeLeavesDateAndText) {
  edit.SetDate(EncodeDate(2010, 5, 5));
  bool allow = false;
  int asked = 0;
  edit.OnDateChanging = [&](TDateEdit32* sender, bool& allowChange) {
    EXPECT_EQ(sender, &edit);
    EXPECT_TRUE(allowChange);
    ++asked;
    allowChange = allow;
  };
  changes = 0;
  EXPECT_FALSE(edit.SetDate(EncodeDate(2011, 1, 1)));
  EXPECT_EQ(edit.Text(), "5/5/2010");
  EXPECT_EQ(edit.Date(), EncodeDate(2010, 5, 5));
  EXPECT_EQ(changes, 0);
  allow = true;
  EXPECT_TRUE(edit.SetDate(EncodeDate(2011, 1, 1)));
  EXPECT_EQ(edit.PreviousDate(), EncodeDate(2010, 5, 5));
  EXPECT_EQ(edit.Text(), "1/1/2011");
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(edit.SetDate(EncodeDate(2011, 1, 1))) << "no change, no question";
  EXPECT_EQ(asked, 2);
}

TEST_F(DateEdit, AMouseReleaseSelectsThePartUnderIt) {
  edit.SetDate(EncodeDate(1997, 12, 25));  // 12/25/1997
  Enter();
  const struct {
    int charIndex;
    std::pair<int, int> selection;
  } cases[] = {{1, {0, 2}}, {4, {3, 5}}, {8, {6, 10}}};
  for (const auto& c : cases) {
    LRESULT pos = ::SendMessageA(edit.Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(c.charIndex), 0);
    LPARAM at = MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2);
    ::SendMessageA(edit.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(edit.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Selection(), c.selection) << c.charIndex;
  }
}

TEST_F(DateEdit, CalendarKeysMoveTheDateAndTheEditFollows) {
  edit.SetDate(EncodeDate(1997, 1, 31));
  Enter();
  const struct {
    WORD key;
    const char* text;
  } steps[] = {
      {VK_NEXT, "2/28/1997"},  {VK_PRIOR, "1/28/1997"}, {VK_HOME, "1/28/1998"}, {VK_END, "1/28/1997"},
      {VK_RIGHT, "1/29/1997"}, {VK_DOWN, "2/5/1997"},   {VK_UP, "1/29/1997"},   {VK_LEFT, "1/28/1997"},
  };
  int result = 0;
  WithCalendar(
      [&](TfrmCalPop32& cal) {
        EXPECT_EQ(cal.OpeningDate(), EncodeDate(1997, 1, 31));
        for (const auto& s : steps) {
          Key(cal.Handle(), s.key);
          EXPECT_EQ(edit.Text(), s.text) << s.key;
          EXPECT_EQ(cal.Model().Date(), edit.Date());
        }
        Key(cal.Handle(), VK_ESCAPE);
        result = cal.ModalResult;
      },
      [&] { ::SendMessageA(edit.Handle(), WM_KEYDOWN, VK_DOWN, 1); });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(edit.Text(), "1/31/1997") << "Escape brings back the opening date";
  EXPECT_TRUE(edit.Focused());
}

TEST_F(DateEdit, EnterKeepsTheFocusInTheEditTabMovesPastIt) {
  edit.SetDate(EncodeDate(2005, 6, 15));
  Enter();
  const struct {
    WORD closeKey;
    const char* text;
    bool editFocused;
  } cases[] = {{VK_RETURN, "6/16/2005", true}, {VK_TAB, "6/17/2005", false}};
  for (const auto& c : cases) {
    WithCalendar(
        [&](TfrmCalPop32& cal) {
          Key(cal.Handle(), VK_RIGHT);
          Key(cal.Handle(), c.closeKey);
          EXPECT_EQ(cal.ModalResult, IDOK);
        },
        [&] {
          // The drop-down button, as a click reaches it.
          ::SendMessageA(edit.Button().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
          ::SendMessageA(edit.Button().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        });
    EXPECT_EQ(edit.Text(), c.text);
    EXPECT_EQ(edit.Focused(), c.editFocused) << c.closeKey;
    EXPECT_EQ(other.Focused(), !c.editFocused) << c.closeKey;
    edit.SetFocus();
  }
}

TEST_F(DateEdit, TheMouseChoosesDaysButNotEmptyCells) {
  edit.SetDate(EncodeDate(1997, 2, 15));  // the month starts in cell 7
  Enter();
  WithCalendar(
      [&](TfrmCalPop32& cal) {
        const TCalendarGeometry& g = cal.Geometry();
        Mouse(cal.Handle(), WM_LBUTTONDOWN, g.DayCell(2));
        EXPECT_FALSE(cal.MousePressed());
        Mouse(cal.Handle(), WM_LBUTTONUP, g.DayCell(2));
        EXPECT_EQ(cal.ModalResult, 0) << "an empty cell neither moves nor closes";
        EXPECT_EQ(edit.Text(), "2/15/1997");

        Mouse(cal.Handle(), WM_LBUTTONDOWN, g.LeftArrow());
        EXPECT_EQ(edit.Text(), "1/15/1997");
        Mouse(cal.Handle(), WM_LBUTTONDOWN, g.RightArrow());
        EXPECT_EQ(edit.Text(), "2/15/1997");

        Mouse(cal.Handle(), WM_LBUTTONDOWN, g.DayCell(7 + 19));  // the 20th
        EXPECT_TRUE(cal.MousePressed());
        EXPECT_EQ(edit.Text(), "2/20/1997");
        Mouse(cal.Handle(), WM_MOUSEMOVE, g.DayCell(7 + 21));
        EXPECT_EQ(edit.Text(), "2/22/1997");
        Mouse(cal.Handle(), WM_MOUSEMOVE, g.DayCell(40));  // past the month's end
        EXPECT_EQ(edit.Text(), "2/22/1997");
        EXPECT_EQ(cal.ModalResult, 0);
        Mouse(cal.Handle(), WM_LBUTTONUP, g.DayCell(40));
        EXPECT_EQ(cal.ModalResult, IDOK);
      },
      [&] { edit.DropDown(); });
  EXPECT_EQ(edit.Date(), EncodeDate(1997, 2, 22));
}

TEST_F(DateEdit, TheCalendarOpensBelowTheEditOrAboveItNearTheBottom) {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int tops[] = {40, work.bottom - 60};
  for (int top : tops) {
    host.SetBounds(40, top, 320, 60);
    RECT client = edit.ClientRect();
    ::MapWindowPoints(edit.Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT shown{};
    WithCalendar([&](TfrmCalPop32& cal) { ::GetWindowRect(cal.Handle(), &shown); }, [&] { edit.DropDown(); });
    EXPECT_EQ(shown.left, client.left + 1);
    if (top == 40) {
      EXPECT_EQ(shown.top, client.bottom + 1);
    } else {
      EXPECT_EQ(shown.bottom, client.top) << "no room below: it opens above the edit";
    }
  }
}

TEST_F(DateEdit, TheCalendarMarksTodayAndTheCurrentDay) {
  edit.SetText("not a date");
  Enter();
  WithCalendar(
      [&](TfrmCalPop32& cal) {
        EXPECT_EQ(cal.Model().Date(), Today()) << "an unreadable text opens on today";
        const SIZE size = cal.Geometry().WindowSize();
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        ::SendMessageA(cal.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        const RECT cell = cal.Geometry().DayCell(cal.Model().CurrentCell());
        int red = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
          for (int x = cell.left; x < cell.right; ++x) red += ::GetPixel(dc, x, y) == RGB(255, 0, 0);
        EXPECT_GT(red, 3) << "today's number in the today colour";
        EXPECT_EQ(::GetPixel(dc, cell.left, cell.top), RGB(128, 128, 128)) << "sunken frame";
        EXPECT_EQ(::GetPixel(dc, cell.right - 1, cell.bottom - 1), RGB(255, 255, 255));
        EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(0, 0, 0)) << "the black frame";
        EXPECT_EQ(::GetPixel(dc, size.cx / 2, size.cy - 3), RGB(192, 192, 192));
        ::SelectObject(dc, old);
        ::DeleteObject(bmp);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
      },
      [&] { edit.DropDown(); });
}

}  // namespace
}  // namespace qrx
