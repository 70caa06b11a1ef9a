// Two real copies of the program: the second hands its command line to the first.
#include "app/Instance.h"
#include "app/ProfileKey.h"
#include "shared/RegRoutines.h"
#include "winlib/DirControls.h"
#include "common/TempDir.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

namespace qrx {
namespace {

struct Process {
  UniqueHandle process;
  DWORD id = 0;
};

Process Start(const std::string& args, const std::string& program = "quarrix.exe") {
  std::string cmd = "\"" + program + "\" " + args;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  Process p;
  if (::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ::CloseHandle(pi.hThread);
    p.process.reset(pi.hProcess);
    p.id = pi.dwProcessId;
  }
  return p;
}

std::vector<HWND> MainWindowsOf(DWORD pid) {
  struct Find {
    DWORD pid;
    std::vector<HWND> found;
  } f{pid, {}};
  ::EnumWindows(
      [](HWND h, LPARAM p) CALLBACK -> BOOL {
        auto* f = reinterpret_cast<Find*>(p);
        char cls[64] = {};
        ::GetClassNameA(h, cls, sizeof cls);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (std::string(cls) == kMainWindowClass && (f->pid == 0 || owner == f->pid) && ::IsWindowVisible(h))
          f->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

HWND WaitForMainWindow(DWORD pid) {
  for (int i = 0; i < 300; ++i) {
    auto found = MainWindowsOf(pid);
    if (!found.empty()) return found.front();
    ::Sleep(100);
  }
  return nullptr;
}

std::string ClassOf(HWND h) {
  char cls[64] = {};
  ::GetClassNameA(h, cls, sizeof cls);
  return cls;
}

std::string TextOf(HWND h) {
  char buf[1024] = {};
  ::SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

// Every window below the main window, with its class.
std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> all;
  ::EnumChildWindows(
      top,
      [](HWND h, LPARAM p) CALLBACK -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The search-for box is the one combo box that sits on a page of the tab control.
HWND SearchBox(HWND main) {
  for (HWND h : Descendants(main)) {
    if (ClassOf(h) != "ComboBox") continue;
    HWND page = ::GetParent(::GetParent(h));
    if (ClassOf(page) == "SysTabControl32" || ClassOf(::GetParent(page)) == "SysTabControl32") return h;
  }
  return nullptr;
}

HWND TabControl(HWND main) {
  for (HWND h : Descendants(main))
    if (ClassOf(h) == "SysTabControl32") return h;
  return nullptr;
}

bool WaitForExit(Process& p, DWORD& code) {
  if (::WaitForSingleObject(p.process.get(), 60000) != WAIT_OBJECT_0) return false;
  ::GetExitCodeProcess(p.process.get(), &code);
  return true;
}

std::string TransferFile() {
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  return std::string(tmp) + "KRESHTRN.DAT";
}

class HandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    key.Set("Options", "EditorType", "0");
    key.Set("Main", "CurPage", "1");  // the Replace tab, so the switch to Search shows
  }
  void TearDown() override {
    for (HWND h : MainWindowsOf(first.id)) ::PostMessageA(h, WM_CLOSE, 0, 0);
    if (first.process) ::WaitForSingleObject(first.process.get(), 30000);
  }
  test::ProfileKey key;
  test::TempDir tmp;
  Process first;
};

TEST_F(HandOver, SecondStartPassesTextAndDirectoryAndEnds) {
  first = Start("/KEY=" + key.Name());
  ASSERT_TRUE(first.process);
  HWND main = WaitForMainWindow(first.id);
  ASSERT_NE(main, nullptr);
  HWND tabs = TabControl(main);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);

  Process second = Start("hello");
  DWORD code = 99;
  ASSERT_TRUE(WaitForExit(second, code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0) << "the Search tab came forward";
  HWND search = SearchBox(main);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(TextOf(search), "hello");
  EXPECT_EQ(MainWindowsOf(0).size(), 1u) << "no second window was opened";
  EXPECT_FALSE(FileExists(TransferFile())) << "the second copy removed the transfer file";

  std::string dir = tmp.MakeDir("Some Long Folder");
  Process third = Start("\"/DIR=" + dir + "\"");
  ASSERT_TRUE(WaitForExit(third, code));
  EXPECT_EQ(code, 0u);
  std::string expected = LongPathForm(dir);
  bool shown = false;
  for (HWND h : Descendants(main))
    if (ClassOf(h) == "ComboBox" && TextOf(h) == expected) shown = true;
  EXPECT_TRUE(shown) << "the directory box shows " << expected;
  EXPECT_EQ(TextOf(search), "hello") << "a directory alone leaves the search text";

  // A normal close saves the settings, with the handed-over directory.
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForExit(first, code));
  EXPECT_EQ(key.Get("Search", "Directory"), expected);
  EXPECT_EQ(key.Get("Search", "SearchFor"), "hello");
}

TEST_F(HandOver, AllowMultInstancesOpensAWindowForEveryStart) {
  key.Set("Options", "AllowMultInstances", "1");
  first = Start("/KEY=" + key.Name());
  ASSERT_NE(WaitForMainWindow(first.id), nullptr);
  Process second = Start("/KEY=" + key.Name());
  ASSERT_NE(WaitForMainWindow(second.id), nullptr);
  EXPECT_EQ(MainWindowsOf(0).size(), 2u);
  for (HWND h : MainWindowsOf(second.id)) ::PostMessageA(h, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(WaitForExit(second, code));
}

bool SameFile(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

TEST_F(HandOver, EveryStartRegistersWhereTheProgramNowIs) {
  const std::string appKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\App Paths\\quarrix.exe";
  const std::string moved = tmp.MakeDir("Moved Copy");
  for (const char* file : {"quarrix.exe", "kresh32.dll"})
    ASSERT_TRUE(::CopyFileA(file, (moved + "\\" + file).c_str(), FALSE)) << file;
  char here[MAX_PATH] = {};
  ::GetFullPathNameA("quarrix.exe", MAX_PATH, here, nullptr);
  const std::string home = here;

  for (const std::string& program : {moved + "\\quarrix.exe", home}) {
    first = Start("/KEY=" + key.Name(), program);
    ASSERT_TRUE(first.process);
    HWND main = WaitForMainWindow(first.id);
    ASSERT_NE(main, nullptr);
    std::string path, dir;
    EXPECT_TRUE(RegReadString(HKEY_LOCAL_MACHINE, appKey, std::nullopt, path));
    EXPECT_TRUE(RegReadString(HKEY_LOCAL_MACHINE, appKey, "Path", dir));
    EXPECT_TRUE(SameFile(path, program)) << path << " after starting " << program;
    EXPECT_TRUE(SameFile(dir, program.substr(0, program.find_last_of('\\') + 1))) << dir;
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    ASSERT_TRUE(WaitForExit(first, code));
  }
}

}  // namespace
}  // namespace qrx
