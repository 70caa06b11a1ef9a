#pragma once
// A main window over a registry profile of its own, past its first run, with the
// message boxes and beeps recorded, and the user's ways of driving its controls.
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "app/ProfileKey.h"
#include "winlib/Application.h"
#include "common/TempDir.h"
#include "winlib/UiRecorder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>

namespace qrx::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool once = [] {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
      return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)once;
    key.Set("Options", "EditorType", "0");
    key.Set("Search", "Directory", tmp.Path());
    RegistryRoot = key.Root();
    StartDirectory.clear();
    StartSearchText.clear();
  }
  void TearDown() override {
    form.reset();
    RegistryRoot = kDefaultRegistryRoot;
  }
  TKRESHForm& Form() {
    if (!form) {
      form = std::make_unique<TKRESHForm>();
      form->FinishCreation();
      ::ShowWindow(form->Handle(), SW_SHOW);
    }
    return *form;
  }
  // What a user's typing reports to the box's parent.
  static void Type(TComboBox& box, const std::string& text) {
    box.SetText(text);
    ::SendMessageA(::GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_EDITCHANGE),
                   reinterpret_cast<LPARAM>(box.Handle()));
  }
  static void Click(TButton& b) { ::SendMessageA(b.Handle(), BM_CLICK, 0, 0); }
  // A standard search for text in the test folder's files that match mask, started as
  // the Start button starts it.
  void StandardSearch(const std::string& mask, const std::string& text) {
    TKRESHForm& f = Form();
    Click(f.rbnExprNone);
    Type(f.cbxMask, mask);
    Type(f.cbxSearchFor, text);
    f.cbxDirectory.SetText(tmp.Path());
    f.btnStartSearchClick();
  }
  // A key pressed on target with the given keys held, through the application's loop.
  static void PressWithKeys(HWND target, WORD key, std::initializer_list<int> held = {}) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE saved[256];
    std::copy(std::begin(keys), std::end(keys), saved);
    for (int k : held) keys[k] = 0x80;
    ::SetKeyboardState(keys);
    MSG m{target, WM_KEYDOWN, key, 0, 0, {}};
    Application().HandleMessage(m);
    ::SetKeyboardState(saved);
  }

  TempDir tmp;
  ProfileKey key;
  UiRecorder ui;
  std::unique_ptr<TKRESHForm> form;
};

}  // namespace qrx::test
