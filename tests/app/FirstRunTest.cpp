// The first run's question about Explorer's folder entry; HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT are scratch keys here.
#include "app/MainWindowFixture.h"
#include "shared/ProgramPath.h"
#include "shared/RegistryScratch.h"

namespace qrx {
namespace {

using test::RegistryScratch;

const char* const kQuestion =
    "Would you like Quarrix to add itself to Explorer's right-click menu?\rYou can always Add/Remove this feature later "
    "in Quarrix's property page.";

// The welcome dialog and then the properties dialog are modal: a timer of the thread
// closes each once its loop runs.
int closedDialogs = 0;
void CALLBACK CloseDialogs(HWND, UINT, UINT_PTR id, DWORD) {
  const char* const titles[] = {"Welcome to Quarrix!", "Quarrix Properties"};
  if (HWND dlg = ::FindWindowA(nullptr, titles[closedDialogs]); dlg && ::IsWindowVisible(dlg)) {
    ::PostMessageA(dlg, WM_CLOSE, 0, 0);
    if (++closedDialogs == 2) ::KillTimer(nullptr, id);
  }
}

class FirstRun : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(scratch.Active());
    key.Set("Options", "EditorType", "-1");
  }
  RegistryScratch scratch;
};

TEST_F(FirstRun, AsksAboutTheFolderEntryOnlyWhenItCanBeAdded) {
  struct Case {
    const char* What;
    bool Explorer, Installed;
    int Answer;
    bool Asked, InstalledAfter;
  };
  const Case cases[] = {
      {"Explorer, no entry, Yes", true, false, IDYES, true, true},
      {"Explorer, no entry, No", true, false, IDNO, true, false},
      {"entry already there", true, true, IDYES, false, true},
      {"no Explorer", false, false, IDYES, false, false},
  };
  const std::string command = "\"" + RunningProgramPath() + "\" /DIR=\"%1\"";
  for (const Case& c : cases) {
    RegDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE");
    RegDeleteTree(HKEY_CLASSES_ROOT, "Folder");
    if (c.Explorer) scratch.AddExplorer();
    if (c.Installed) RegistryScratch::Create(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix\\command");
    key.Set("Options", "EditorType", "-1");
    test::UiRecorder answers(c.Answer);
    closedDialogs = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseDialogs);
    form.reset();
    Form();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(closedDialogs, 2) << c.What << ": the welcome, then the properties";

    ASSERT_EQ(answers.Boxes.size(), c.Asked ? 1u : 0u) << c.What;
    if (c.Asked) {
      EXPECT_EQ(answers.Boxes[0].Text, kQuestion);
      EXPECT_EQ(answers.Boxes[0].Kind, MsgKind::Question);
      EXPECT_EQ(answers.Boxes[0].Buttons, static_cast<UINT>(MB_YESNO));
      EXPECT_EQ(answers.Boxes[0].Owner, form->Handle());
    }
    EXPECT_EQ(RegKeyExists(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix\\command"), c.InstalledAfter) << c.What;
    if (c.Asked && c.InstalledAfter) {
      EXPECT_EQ(RegistryScratch::Read(HKEY_CLASSES_ROOT, "Folder\\shell\\Quarrix\\command", nullptr), command);
    }
    EXPECT_EQ(key.Get("Options", "EditorType"), "0") << c.What << ": the first run is over";
    // The extension DLL beside the program offers its drivers, all enabled by the first run.
    EXPECT_EQ(key.Get("IDE", "QRXIDE32.DLL:17").value_or("").size(), 3u) << c.What;
  }
}

}  // namespace
}  // namespace qrx
