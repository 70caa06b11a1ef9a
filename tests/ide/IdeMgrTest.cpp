// The IDE manager with the real QRXIDE32.DLL, copied with an EDITORS.INI of the test's
// own into a scratch folder, against fixture programs that stand for editors and IDEs.
#include "ide/IDEMgr.h"
#include "shared/RegRoutines.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrx {
namespace {

struct Fake {
  UniqueHandle process;
  ~Fake() {
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 10000);
    }
  }
};

// Starts qrxfake and waits until a top-level window of the class is there.
void StartFake(Fake& fake, const std::string& args, const char* windowClass) {
  std::string cmd = "qrxfake.exe " + args;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ::CloseHandle(pi.hThread);
  fake.process.reset(pi.hProcess);
  ::WaitForInputIdle(pi.hProcess, 10000);
  for (int i = 0; i < 200 && !::FindWindowA(windowClass, nullptr); ++i) ::Sleep(50);
  ASSERT_NE(::FindWindowA(windowClass, nullptr), nullptr) << cmd;
}

std::string EditText(HWND edit) {
  char buf[1024] = {};
  ::SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

// The fixture handles the typed keys in its own time: its edit's text is read once it
// shows what is expected, or after a few seconds, whatever it shows then.
std::string TextOnceTyped(HWND edit, const std::string& expected) {
  std::string text;
  for (int i = 0; i < 100 && (text = EditText(edit)) != expected; ++i) ::Sleep(50);
  return text;
}

class IdeManager : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"QRXIDE32.DLL", "kresh32.dll"})
      ASSERT_TRUE(::CopyFileA(file, (dir.Path() + "\\" + file).c_str(), FALSE)) << file;
    // The Delphi add-in's name, in lower case: never loaded as an extension.
    ASSERT_TRUE(::CopyFileA("QRXIDE32.DLL", (dir.Path() + "\\delphi2.dll").c_str(), FALSE));
  }
  void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, root); }
  void Ini(const std::string& body) { dir.Write("EDITORS.INI", "[Editors]\r\n" + body); }
  void Enable(int index, const char* key) {
    RegWriteLogged(HKEY_CURRENT_USER, root + "\\IDE", "QRXIDE32.DLL:" + std::to_string(index), false, key,
                   TInstallLog(""));
  }
  std::unique_ptr<TIDEMgr> Manager() {
    TIDEMgrUi ui;
    ui.AskYesNo = [this](const std::string& q) {
      boxes.push_back("?" + q);
      return answer;
    };
    ui.Inform = [this](const std::string& t) { boxes.push_back("i" + t); };
    ui.Error = [this](const std::string& t) { boxes.push_back("!" + t); };
    return std::make_unique<TIDEMgr>(nullptr, root, dir.Path(), dir.Path() + "\\KRESHTRN.DAT", ui);
  }
  // An IDE window with its add-in's, which copies the transfer file into out on a message.
  void StartAddinIde(Fake& ide) {
    StartFake(ide, "addin QrxFakeIDE QrxFakeAddin \"Quarrix Addin\" \"" + dir.Path() + "\\KRESHTRN.DAT\" \"" + out + "\"",
              "QrxFakeAddin");
  }

  test::TempDir dir;
  const std::string root = "Software\\Vortalis\\QrxIdeTest_" + std::to_string(::GetCurrentProcessId());
  std::vector<std::string> boxes;
  bool answer = false;
  const std::string out = dir.Path() + "\\addin.txt";
};

TEST_F(IdeManager, DriversInTheSavedOrder) {
  Ini("Custom_Desc=Zed\r\nZephyx_Desc=Alpha\r\n");
  {
    auto m = Manager();
    EXPECT_EQ(m->ExtensionCount(), 1u) << "kresh32.dll has no drivers; delphi2.dll is skipped";
    ASSERT_EQ(m->Count(), 18u);
    // Nothing saved yet: all disabled, by description.
    EXPECT_EQ(m->IDE(0).Description(), "Alpha");
    EXPECT_EQ(m->IDE(17).Description(), "Zed");
    for (size_t i = 0; i < m->Count(); ++i) {
      EXPECT_FALSE(m->IDE(i).IsEnabled()) << i;
      // Every entry but the custom one has its picture in the DLL.
      HBITMAP picture = m->IDE(i).Bitmap();
      EXPECT_EQ(picture != nullptr, m->IDE(i).DriverIndex() != 0) << m->IDE(i).Description();
      if (picture) ::DeleteObject(picture);
    }
    m->ResetOrder();
    EXPECT_EQ(m->IDE(17).OrderKey, "017");
    UniqueHKey profile;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, profile.put(), nullptr);
    m->SaveOrder(profile.get());
  }
  std::string key;
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, root + "\\IDE", "QRXIDE32.DLL:0", key));
  EXPECT_EQ(key, "017") << "Zed, the custom entry, came last";
  RegDeleteTree(HKEY_CURRENT_USER, root + "\\IDE");
  Enable(0, "07");  // too short: disabled
  Enable(1, "005");
  auto m = Manager();
  EXPECT_EQ(m->IDE(m->Count() - 1).Description(), "Zed");
  EXPECT_FALSE(m->IDE(m->Count() - 1).IsEnabled());
  EXPECT_EQ(m->IDE(0).Description(), "Alpha");
  EXPECT_TRUE(m->IDE(0).IsEnabled());
}

TEST_F(IdeManager, NewOrderKeysReorderTheList) {
  Ini("Custom_Desc=Custom\r\nZephyx_Desc=Maker\r\nMSVC_5X_Desc=Last\r\n");
  auto m = Manager();
  m->ResetOrder();
  // What the properties dialog does when rows are dragged: new keys, then ApplyOrder.
  for (size_t i = 0; i < m->Count(); ++i) {
    const int index = m->IDE(i).DriverIndex();
    m->IDE(i).OrderKey = index == 17 ? "000" : index == 0 ? "001" : index == 1 ? "Zmaker" : "002";
  }
  m->ApplyOrder();
  auto list = m->FillList();
  ASSERT_EQ(list.size(), 18u);
  EXPECT_EQ(list[0].first, "Last");
  EXPECT_EQ(list[1].first, "Custom");
  EXPECT_EQ(list[17].first, "Maker");
  EXPECT_FALSE(list[17].second->IsEnabled());
  EXPECT_EQ(list[0].second, &m->IDE(0));
}

TEST_F(IdeManager, NothingRunning) {
  Ini("Custom_Desc=My Editor\r\nCustom_AppClass=QrxNothingLikeThis\r\n");
  Enable(0, "000");
  auto m = Manager();
  m->OpenInIDE("C:\\src\\a.pas", 3, 1, 2);
  m->AutoSearch = false;
  m->OpenInIDE("C:\\src\\a.pas", 3, 1, 2);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "iNo IDE's were found running. Start an IDE and try again.");
  EXPECT_EQ(boxes[1], "iMy Editor was not found running. Start the IDE and try again.");
}

TEST_F(IdeManager, TypesIntoARunningEditor) {
  Ini("Custom_Desc=Fake\r\nCustom_AppClass=QrxFakeEditor\r\nCustom_Open=^o#filename#~\r\nCustom_Goto=^g#LINENUM#~\r\n");
  Enable(0, "000");
  const std::string file = dir.Write("Some Source File.pas", "x");
  char shortName[MAX_PATH] = {};
  ::GetShortPathNameA(file.c_str(), shortName, MAX_PATH);
  Fake editor;
  StartFake(editor, "edit QrxFakeEditor \"Fake Editor\"", "QrxFakeEditor");
  auto m = Manager();
  m->OpenInIDE(file, 12, 3, 5);
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  HWND edit = ::FindWindowExA(::FindWindowA("QrxFakeEditor", nullptr), nullptr, "EDIT", nullptr);
  EXPECT_EQ(TextOnceTyped(edit, std::string(shortName) + "12"), std::string(shortName) + "12");
  const std::string transfer = dir.Path() + "\\KRESHTRN.DAT";
  char buf[512] = {};
  ::GetPrivateProfileStringA("TRANSFER", "LONGFILENAME", "", buf, sizeof buf, transfer.c_str());
  EXPECT_EQ(std::string(buf), file);
  ::GetPrivateProfileStringA("TRANSFER", "MATCHSTOP", "", buf, sizeof buf, transfer.c_str());
  EXPECT_EQ(std::string(buf), "5");
}

TEST_F(IdeManager, ShowingTheEditorBringsTheFirstIdeForward) {
  Ini("Custom_AppClass=QrxFakeEditor\r\n");
  Enable(0, "000");
  Fake editor;
  StartFake(editor, "edit QrxFakeEditor \"Fake Editor\"", "QrxFakeEditor");
  HWND window = ::FindWindowA("QrxFakeEditor", nullptr);
  ::ShowWindow(window, SW_MINIMIZE);
  auto m = Manager();
  ASSERT_EQ(m->FirstIDE()->DriverIndex(), 0);
  EXPECT_TRUE(m->ActivateIDE(m->FirstIDE()));
  EXPECT_FALSE(::IsIconic(window));
  EXPECT_EQ(::GetForegroundWindow(), window);
}

TEST_F(IdeManager, FindsWindowsByClassAndTitleOrByTheirBeginnings) {
  Ini("Custom_AppClass=QrxFakeEditor\r\nCustom_AppText=Fake Editor\r\n"
      "MSVC_4X_AppClass=QrxFake\r\nMSVC_4X_AppText=Fake Ed\r\n"
      "MSVC_5X_AppClass=QrxFake\r\n"
      "MSVC_1X_AppClass=QrxFake\r\nMSVC_1X_AppText=Fake Ed\r\n");
  Fake editor;
  StartFake(editor, "edit QrxFakeEditor \"Fake Editor\"", "QrxFakeEditor");
  HWND window = ::FindWindowA("QrxFakeEditor", nullptr);
  auto m = Manager();
  std::vector<std::pair<int, HWND>> expected = {
      {0, window},    // exact class and title
      {9, window},    // enumerated: both beginnings
      {16, nullptr},  // enumerated without a title: never
      {3, nullptr},   // plain style wants the exact class
  };
  for (auto [index, found] : expected) {
    for (size_t i = 0; i < m->Count(); ++i) {
      if (m->IDE(i).DriverIndex() == index) {
        EXPECT_EQ(m->FindIDEWindow(m->IDE(i)), found) << index;
      }
    }
  }
}

TEST_F(IdeManager, TransferFileThatCannotBeWrittenIsReportedAndTheHandOverGoesOn) {
  Ini("Custom_Desc=Fake\r\nCustom_AppClass=QrxFakeEditor\r\nCustom_Open=#filename#\r\n");
  Enable(0, "000");
  dir.MakeDir("KRESHTRN.DAT");
  Fake editor;
  StartFake(editor, "edit QrxFakeEditor \"Fake Editor\"", "QrxFakeEditor");
  auto m = Manager();
  m->OpenInIDE("C:\\x.pas", 1, 1, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("!Could not write transfer information. Error creating file.\r", 0), 0u) << boxes[0];
  HWND edit = ::FindWindowExA(::FindWindowA("QrxFakeEditor", nullptr), nullptr, "EDIT", nullptr);
  EXPECT_EQ(TextOnceTyped(edit, "C:\\x.pas"), "C:\\x.pas");
}

TEST_F(IdeManager, AddinReceivesTheTransferFile) {
  Ini("BorCPP_5X_Desc=Borland C++ 5\r\nBorCPP_5X_AppClass=QrxFakeIDE\r\nBorCPP_5X_Util_AppClass=QrxFakeAddin\r\n"
      "BorCPP_5X_Util_AppText=Quarrix Addin\r\n");
  Enable(10, "000");
  Fake ide;
  StartAddinIde(ide);
  auto m = Manager();
  m->OpenInIDE("C:\\src\\unit1.pas", 40, 7, 9);
  EXPECT_TRUE(boxes.empty());
  std::string got;
  for (int i = 0; i < 200 && (got = test::ReadFileBytes(out)).empty(); ++i) ::Sleep(50);
  EXPECT_EQ(got, "LONGFILENAME=C:\\src\\unit1.pas\nFILENAME=C:\\src\\unit1.pas\nLINENUM=40\nMATCHSTART=7\nMATCHSTOP=9\n");
}

TEST_F(IdeManager, AnIdeNotSetUpIsOfferedItsAddin) {
  const std::string regKey = root + "\\Delphi\\2.0\\Experts";
  RegWriteLogged(HKEY_CURRENT_USER, root + "\\Delphi\\2.0", "Version", false, "2", TInstallLog(""));
  Ini("Delphi_2X_Desc=Delphi 2.0\r\nDelphi_2X_AppClass=QrxFakeIDE\r\nDelphi_2X_EditClass=QrxFakeIDE\r\n"
      "Delphi_2X_Util_AppClass=QrxFakeAddin\r\nDelphi_2X_Util_AppText=Quarrix Addin\r\nDelphi_2X_RegKey=" +
      regKey + "\r\n");
  Enable(5, "000");
  Fake ide;
  StartAddinIde(ide);
  auto m = Manager();
  const std::string question =
      "?Delphi 2.0 was found running, but is not currently setup to accept files.\rWould you like to set it up now?";
  // No: the hand-over goes on without the add-in's registration.
  m->OpenInIDE("C:\\src\\unit1.pas", 40, 7, 9);
  ASSERT_EQ(boxes, std::vector<std::string>{question});
  std::string got;
  for (int i = 0; i < 200 && (got = test::ReadFileBytes(out)).empty(); ++i) ::Sleep(50);
  EXPECT_NE(got.find("LINENUM=40"), std::string::npos);
  // Yes: installed, and said so; asked no more after that.
  answer = true;
  m->OpenInIDE("C:\\src\\unit1.pas", 41, 7, 9);
  m->OpenInIDE("C:\\src\\unit1.pas", 42, 7, 9);
  EXPECT_EQ(boxes, (std::vector<std::string>{question, question,
                                             "iIDE was setup successfully. Be sure to restart Delphi 2.0 to enable "
                                             "Quarrix support."}));
  std::string value;
  EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, regKey, "KRESHZ30", value));
  EXPECT_TRUE(::lstrcmpiA(value.c_str(), (dir.Path() + "\\DELPHI2.DLL").c_str()) == 0) << value;
}

TEST_F(IdeManager, MdiChildAlreadyOpenGetsOnlyTheLine) {
  const std::string file = dir.Write("Another Long Name.cpp", "x");
  char shortName[MAX_PATH] = {};
  ::GetShortPathNameA(file.c_str(), shortName, MAX_PATH);
  Ini("MultiEdit_7X_Desc=Multi\r\nMultiEdit_7X_AppClass=QrxFakeMdi\r\nMultiEdit_7X_Open=^o#filename#~\r\n"
      "MultiEdit_7X_Goto=^g#LINENUM#~\r\n");
  Enable(8, "000");
  Fake ide;
  StartFake(ide, std::string("mdi QrxFakeMdi other.txt \"") + shortName + "\"", "QrxFakeMdi");
  auto m = Manager();
  m->OpenInIDE(file, 77, 1, 1);
  EXPECT_TRUE(boxes.empty());
  HWND client = ::GetWindow(::FindWindowA("QrxFakeMdi", nullptr), GW_CHILD);
  HWND child = ::FindWindowExA(client, nullptr, "QrxFakeMdiChild", shortName);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(TextOnceTyped(::GetWindow(child, GW_CHILD), "77"), "77");
  HWND other = ::FindWindowExA(client, nullptr, "QrxFakeMdiChild", "other.txt");
  EXPECT_EQ(EditText(::GetWindow(other, GW_CHILD)), "");
}

}  // namespace
}  // namespace qrx
