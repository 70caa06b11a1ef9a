// Help pages opened from the main window in the user's browser, and the about box.
// The browser is Wine's: the test points it at a script that notes each address.
#include "app/About.h"
#include "app/DialogDriver.h"
#include "app/Help.h"
#include "app/MainWindowFixture.h"
#include "app/WindowTestSupport.h"
#include "app/StartUp.h"


namespace qrx {
namespace {

using test::DialogDriver;
using test::FindItem;
using test::ReadFileBytes;

constexpr const char* kBrowserKey = "Software\\Wine\\WineBrowser";

class HelpAndAbout : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    test::MainWindowFixture::SetUp();
    // Where the stand-in browser notes the addresses (a Unix name, set by ctest).
    log_ = test::WineNameFromEnvironment("QRX_URL_LOG");
    ASSERT_FALSE(log_.empty()) << "the test runs through ctest, which names the browser's log";
    ::DeleteFileA(log_.c_str());
    // The browser setting of this prefix, kept to be put back.
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, browserKey_.put(), nullptr);
    char old[1024] = {};
    DWORD size = sizeof old;
    hadBrowsers_ = ::RegQueryValueExA(browserKey_.get(), "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                                      &size) == ERROR_SUCCESS;
    oldBrowsers_ = old;
    const std::string recorder = QRX_TEST_FIXTURES "/record_url.sh";
    ::RegSetValueExA(browserKey_.get(), "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(recorder.c_str()),
                     static_cast<DWORD>(recorder.size() + 1));
  }
  void TearDown() override {
    if (hadBrowsers_)
      ::RegSetValueExA(browserKey_.get(), "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(oldBrowsers_.c_str()),
                       static_cast<DWORD>(oldBrowsers_.size() + 1));
    else
      ::RegDeleteValueA(browserKey_.get(), "Browsers");
    test::MainWindowFixture::TearDown();
  }
  // The address the browser was last asked to show; waits for it a minute at most,
  // since the browser is started as a process of its own.
  std::string NextOpened() {
    for (int i = 0; i < 1200; ++i) {
      std::string log = ReadFileBytes(log_);
      if (log.size() > seen_ && log.back() == '\n') {
        std::string line = log.substr(seen_, log.size() - seen_ - 1);
        seen_ = log.size();
        return line;
      }
      ::Sleep(50);
    }
    return {};
  }

  std::string log_;
  size_t seen_ = 0;
  UniqueHKey browserKey_;
  bool hadBrowsers_ = false;
  std::string oldBrowsers_;
};

TEST_F(HelpAndAbout, EveryWayToHelpOpensItsTopicsPage) {
  TKRESHForm& f = Form();
  const struct {
    const char* how;
    std::function<void()> act;
    const char* topic;
  } cases[] = {
      {"F1", [&] { PressWithKeys(f.Handle(), VK_F1); }, "Contents"},
      {"Help menu", [&] { FindItem(f.mnuMain.Root(), "&Help Contents...")->OnClick(); }, "Contents"},
      {"Regular Expressions menu", [&] { FindItem(f.mnuMain.Root(), "&Regular Expressions...")->OnClick(); },
       "Regular_Expressions"},
      {"tree popup", [&] { FindItem(f.menOutlinePopup.Root(), "&Help")->OnClick(); }, "Contents"},
      {"regular expression help button",
       [&] {
         Click(f.rbnExprRegExp);
         ASSERT_TRUE(f.btnRegExpHelp.Enabled());
         Click(f.btnRegExpHelp);
       },
       "Regular_Expressions"},
      {"DOS help button",
       [&] {
         Click(f.rbnExprDOS);
         ASSERT_TRUE(f.btnDOSHelp.Enabled());
         Click(f.btnDOSHelp);
       },
       "DOS_Expressions"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    c.act();
    std::string url = NextOpened();
    std::string expected = "/help/" + std::string(c.topic) + ".html";
    ASSERT_GE(url.size(), expected.size()) << url;
    EXPECT_EQ(url.substr(url.size() - expected.size()), expected) << url;
    EXPECT_EQ(url.rfind("file://", 0), 0u) << url;
  }
  EXPECT_TRUE(ui.Boxes.empty());
}

TEST_F(HelpAndAbout, EveryTopicTheWindowsAskForIsAPageOfTheProgram) {
  for (const char* topic : kHelpTopics) {
    SCOPED_TRACE(topic);
    std::string page = ReadFileBytes(HelpFileName(topic));
    EXPECT_NE(page.find("<title>Quarrix Help"), std::string::npos);
    EXPECT_GT(page.size(), 1000u);
  }
  // A topic without a page says so, and starts no browser.
  ShowHelpTopic(Form(), "No_Such_Topic");
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
  EXPECT_EQ(ui.Boxes[0].Text, "The help page " + HelpDirectory() + "\\No_Such_Topic.html cannot be found.");
  EXPECT_EQ(ReadFileBytes(log_), "");
}

TEST_F(HelpAndAbout, AboutShowsTheVersionsTheProfileAndWhereHelpIs) {
  TKRESHForm& f = Form();
  std::vector<std::string> labels;
  DialogDriver driver({{"About Quarrix",
                        [&](HWND d) {
                          labels = DialogDriver::Labels(d);
                          DialogDriver::ClickButton(d, "OK");
                        },
                        "TdlgAbout"}});
  FindItem(f.menFormPopup.Root(), "&About Quarrix...")->OnClick();
  ASSERT_TRUE(driver.Done());
  std::string regexVersion = ModuleVersion(LoadedModuleFile("kresh32.dll"));
  EXPECT_FALSE(regexVersion.empty());
  EXPECT_EQ(labels, (std::vector<std::string>{"Quarrix", "Version " QRX_VERSION,
                                              "Regular expressions: kresh32.dll version " + regexVersion,
                                              "Settings: HKEY_CURRENT_USER\\" + RegistryRoot,
                                              "Help: " + ProgramDirectory() + "\\help"}));
}

}  // namespace
}  // namespace qrx
