#include "winlib/Application.h"
#include "winlib/Controls.h"
#include "winlib/Form.h"
#include "winlib/Menus.h"
#include "winlib/Panels.h"
#include "winlib/UiRecorder.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qrx {
namespace {

class TestForm : public TForm {
 public:
  TestForm() {
    CreateForm("QrxTestForm", "Test", WS_OVERLAPPEDWINDOW);
    ok.Create(*this, "OK");
    cancel.Create(*this, "Cancel");
    edit.Create(*this);
    ok.SetBounds(10, 10, 75, 25);
    cancel.SetBounds(90, 10, 75, 25);
    edit.SetBounds(10, 40, 100, 21);
    SetBounds(0, 0, 300, 200);
  }
  void DoIdle() override {
    ++idles;
    if (idleCloses) ModalResult = IDOK;
  }
  void KeyPreview(WORD key, bool& handled) override {
    if (key == VK_TAB && (::GetKeyState(VK_CONTROL) & 0x8000)) {
      ++ctrlTabs;
      handled = true;
    }
  }
  TButton ok, cancel;
  TEdit edit;
  int idles = 0, ctrlTabs = 0;
  bool idleCloses = false;
};

MSG KeyMsg(HWND target, WORD key) {
  MSG m{};
  m.hwnd = target;
  m.message = WM_KEYDOWN;
  m.wParam = key;
  return m;
}

void DrainQuit() {
  MSG m;
  while (::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST(WindowThunk, ExceptionsBecomeTheErrorBoxWithItsOwnSound) {
  test::UiRecorder ui;
  TestForm form;
  TPanel panel;
  panel.Create(&form);
  panel.OnMouseDown = [](int, int) { throw std::runtime_error("panel failed"); };
  form.ok.OnClick = [] { throw std::runtime_error("button failed"); };
  ::ShowWindow(form.Handle(), SW_SHOW);

  ::SendMessageA(panel.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
  ::SendMessageA(form.ok.Handle(), BM_CLICK, 0, 0);
  ::ReleaseCapture();

  ASSERT_EQ(ui.Boxes.size(), 2u);
  EXPECT_EQ(ui.Boxes[0].Text, "panel failed");
  EXPECT_EQ(ui.Boxes[1].Text, "button failed");
  for (auto& b : ui.Boxes) {
    EXPECT_EQ(b.Kind, MsgKind::Error);
    EXPECT_TRUE(b.Sound);
  }
  EXPECT_EQ(ui.Beeps, 0) << "the box sounds, nothing sounds before it";
}

TEST(MessageLoop, ProcessMessagesPostsQuitAgain) {
  DrainQuit();
  ::PostQuitMessage(7);
  Application().ProcessMessages();
  MSG m;
  ASSERT_TRUE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
}

TEST(MessageLoop, ModalLoopEndsOnQuitAndPostsItAgain) {
  DrainQuit();
  TestForm form;
  ::PostQuitMessage(3);
  EXPECT_EQ(form.ShowModal(), IDCANCEL);
  EXPECT_FALSE(form.Visible());
  MSG m;
  ASSERT_TRUE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST(MessageLoop, ModalLoopRunsTheIdleHooks) {
  DrainQuit();
  TestForm dialog;
  dialog.idleCloses = true;  // only the idle hook can end this dialog
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_GT(dialog.idles, 0);
}

TEST(MessageLoop, ModalLoopDisablesTheOtherWindowsMeanwhile) {
  DrainQuit();
  TestForm owner;
  ::ShowWindow(owner.Handle(), SW_SHOW);
  TestForm dialog;
  bool ownerEnabledDuring = true;
  dialog.ok.OnClick = [&] {
    ownerEnabledDuring = ::IsWindowEnabled(owner.Handle()) != FALSE;
    dialog.ModalResult = IDOK;
  };
  ::PostMessageA(dialog.ok.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
}

// The menu bar is freed once, whether it is shown or hidden when the form goes, and
// whether the window or the form object goes first.
TEST(FormMenu, TheBarIsFreedWithTheFormShownOrHidden) {
  const struct {
    bool shown, windowFirst;
  } cases[] = {{true, false}, {false, false}, {true, true}, {false, true}};
  for (const auto& c : cases) {
    TMenu menu;
    menu.Add("&File").Add("E&xit");
    HMENU bar = nullptr;
    {
      TestForm form;
      form.SetMainMenu(&menu);
      bar = ::GetMenu(form.Handle());
      ASSERT_TRUE(bar);
      form.ShowMainMenu(false);
      form.ShowMainMenu(c.shown);
      EXPECT_EQ(::GetMenu(form.Handle()), c.shown ? bar : nullptr);
      EXPECT_TRUE(::IsMenu(bar));
      if (c.windowFirst) ::DestroyWindow(form.Handle());  // as closing the main window does
    }
    EXPECT_FALSE(::IsMenu(bar)) << "shown " << c.shown << ", window first " << c.windowFirst;
  }
}

TEST(FormKeys, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
  TestForm form;
  ::ShowWindow(form.Handle(), SW_SHOW);
  int oks = 0, cancels = 0;
  form.ok.OnClick = [&] { ++oks; };
  form.cancel.OnClick = [&] { ++cancels; };
  form.edit.SetFocus();

  MSG enter = KeyMsg(form.edit.Handle(), VK_RETURN);
  Application().HandleMessage(enter);
  EXPECT_EQ(oks, 0) << "no default button yet";

  form.SetDefaultButton(&form.ok);
  form.CancelButton = &form.cancel;
  Application().HandleMessage(enter);
  MSG esc = KeyMsg(form.edit.Handle(), VK_ESCAPE);
  Application().HandleMessage(esc);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);

  form.ok.SetEnabled(false);
  form.cancel.SetVisible(false);
  Application().HandleMessage(enter);
  Application().HandleMessage(esc);
  EXPECT_EQ(oks, 1) << "a disabled default button is not pressed";
  EXPECT_EQ(cancels, 1) << "a hidden cancel button is not pressed";
}

TEST(FormKeys, CtrlTabReachesTheFormsKeyPreview) {
  TestForm form;
  ::ShowWindow(form.Handle(), SW_SHOW);
  form.edit.SetFocus();
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  BYTE saved = keys[VK_CONTROL];
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  MSG tab = KeyMsg(form.edit.Handle(), VK_TAB);
  Application().HandleMessage(tab);
  keys[VK_CONTROL] = saved;
  ::SetKeyboardState(keys);
  EXPECT_EQ(form.ctrlTabs, 1);
}

}  // namespace
}  // namespace qrx
