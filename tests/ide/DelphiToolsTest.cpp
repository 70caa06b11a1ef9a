// The Delphi 1 Tools menu entry, offered into a DELPHI.INI in a scratch folder.
#include "ide/DelphiTools.h"
#include "common/TempDir.h"
#include "winlib/Win.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrx {
namespace {

std::string Read(const std::string& ini, const std::string& key) {
  char buf[512] = {};
  ::GetPrivateProfileStringA("Transfer", key.c_str(), "<none>", buf, sizeof buf, ini.c_str());
  return buf;
}

struct Offer {
  std::vector<std::string> Questions;
  bool Answer = true;
  AskYesNo Ask() {
    return [this](const std::string& q) {
      Questions.push_back(q);
      return Answer;
    };
  }
};

const char* const kProgram = "C:\\Program Files\\Quarrix\\quarrix.exe";

TEST(DelphiTools, AddsAnEntryAfterTheOthersOnYes) {
  test::TempDir dir;
  const std::string ini = dir.Write("DELPHI.INI",
                                       "[Transfer]\r\nCount=2\r\nTitle0=Grep\r\nPath0=C:\\bin\\grep.exe\r\n"
                                       "Title1=Notes\r\nPath1=C:\\bin\\notes.exe\r\n");
  Offer offer;
  ASSERT_TRUE(OfferDelphiToolsEntry(ini, kProgram, offer.Ask()));
  ASSERT_EQ(offer.Questions.size(), 1u);
  EXPECT_EQ(offer.Questions[0],
            "Delphi 1.0 was detected on this computer.\r\rWould you like Quarrix to add itself to\rthe Delphi Tools menu?");
  EXPECT_EQ(Read(ini, "Count"), "3");
  EXPECT_EQ(Read(ini, "Title2"), "Quarrix");
  EXPECT_EQ(Read(ini, "Path2"), kProgram);
  EXPECT_EQ(Read(ini, "WorkingDir2"), "C:\\Program Files\\Quarrix\\");
  EXPECT_EQ(Read(ini, "Params2"), "$CURTOKEN");
  EXPECT_EQ(Read(ini, "Path1"), "C:\\bin\\notes.exe");
  EXPECT_TRUE(DelphiToolsEntryExists(ini));
  // Asked again: the entry is there, so no question and no second entry.
  EXPECT_FALSE(OfferDelphiToolsEntry(ini, kProgram, offer.Ask()));
  EXPECT_EQ(offer.Questions.size(), 1u);
  EXPECT_EQ(Read(ini, "Count"), "3");
}

TEST(DelphiTools, NothingIsAskedOrWrittenWhenItNeedNotBe) {
  struct Case {
    const char* What;
    const char* Content;  // nullptr: no DELPHI.INI
    bool Answer;
    size_t Questions;
  };
  const Case cases[] = {
      {"no DELPHI.INI", nullptr, true, 0},
      {"an entry in lower case", "[Transfer]\r\nCount=1\r\nPath0=c:\\tools\\quarrix.exe\r\n", true, 0},
      {"the 32-bit name", "[Transfer]\r\nCount=2\r\nPath0=x\r\nPath1=D:\\Q\\Quarrx32.Exe\r\n", true, 0},
      {"a Count that is no list", "[Transfer]\r\nCount=-5\r\n", true, 0},
      {"the answer No", "[Transfer]\r\nCount=0\r\n", false, 1},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::string ini = c.Content ? dir.Write("DELPHI.INI", c.Content) : dir.Path() + "\\DELPHI.INI";
    Offer offer;
    offer.Answer = c.Answer;
    EXPECT_FALSE(OfferDelphiToolsEntry(ini, kProgram, offer.Ask())) << c.What;
    EXPECT_EQ(offer.Questions.size(), c.Questions) << c.What;
    EXPECT_EQ(Read(ini, "Title0"), "<none>") << c.What;
    if (!c.Content) {
      EXPECT_EQ(::GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES) << c.What;
    }
  }
}

}  // namespace
}  // namespace qrx
