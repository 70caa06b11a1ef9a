#include <gtest/gtest.h>

#include <algorithm>

#include "SearchFixture.h"
#include "engine/DosTime.h"
#include "winlib/Handles.h"

namespace {

using V = std::vector<std::string>;


TEST(FileSearch, StartChecksGiveTheirCodesWithoutASearchLine) {
  ResultTree t;
  TempDir d;
  struct Case {
    std::string dir, masks, text;
    uint8_t expr;
    uint8_t code;
  } cases[] = {
      {d.Path(), "", "", 0, rcNoMask},          // a later check's code replaces an earlier one
      {"", "*.*", "x", 0, rcNoDirectory},
      {d.Path(), "*.*", "", 0, rcNoText},
      {d.Path(), "*.*", "a(b", 1, rcBadExpression},
  };
  for (const auto& c : cases) {
    auto s = NewSearch(t.tree, c.dir, c.masks, c.text, 0x001F, c.expr);
    EXPECT_EQ(s->Execute(), c.code) << c.masks << "|" << c.text;
    EXPECT_EQ(t.tree.ItemCount(), 0);
    EXPECT_TRUE(SearchNodes.empty());
  }
  auto s = NewSearch(t.tree, d.Path(), "*.*", "a(b", 0x001F, 1);
  s->Execute();
  EXPECT_EQ(s->ErrorMessage.rfind("Error (", 0), 0u) << s->ErrorMessage;
  EXPECT_NE(s->ErrorMessage.find(") compiling Regular Expression."), std::string::npos);
}

TEST(FileSearch, FindsMatchesAndBuildsSearchFileAndMatchLines) {
  ResultTree t;
  TempDir d;
  d.Write("one.pas", "begin\r\n  Writeln('hello');\r\nend.\r\n");
  d.Write("two.pas", "nothing here\nhello again\n");
  d.Write("skip.txt", "hello\n");
  auto s = NewSearch(t.tree, d.Path(), "*.pas", "HELLO", 0x001F);
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(s->Matches, 2);
  EXPECT_EQ(s->FilesWithMatches, 2);
  EXPECT_EQ(s->FilesSearched, 2);
  EXPECT_EQ(s->Directory, d.Path() + "\\");  // the trailing backslash was added
  auto lines = t.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], " Search for \"HELLO\" in *.pas");
  std::sort(lines.begin() + 1, lines.end());  // enumeration order is the file system's
  auto* search = t.Node<TSearchNode>(1);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->ResultCode, rcFound);
  EXPECT_EQ(search->Matches, 2);
  EXPECT_EQ(search->EnteredText, "HELLO");
  auto* file = t.Node<TFileNode>(2);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->FileName, [&] {
    std::string lower = d / (file->FileName.find("one") != std::string::npos ? "one.pas" : "two.pas");
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return (char)std::tolower((unsigned char)c); });
    return lower;
  }());
  auto* match = t.Node<TMatchNode>(3);
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(match->FileNode(), file);
  // The search opened at its first result; file lines stay closed.
  EXPECT_TRUE(t.tree.Items(1)->Expanded());
  EXPECT_FALSE(t.tree.Items(2)->Expanded());
}

TEST(FileSearch, MatchLinesKeepTheLineAsReadAndItsColumns) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "\tfirst Line\r\nsecond line\r\n");
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "line", 0x0011);  // numbers, no file lines
  EXPECT_EQ(s->Execute(), rcFound);
  ASSERT_EQ(t.tree.ItemCount(), 3);
  auto* m = t.Node<TMatchNode>(2);
  EXPECT_EQ(m->LineText(), "\tfirst Line");
  EXPECT_EQ(m->LineNumber, 1);
  EXPECT_EQ(m->MatchStart, 8);
  EXPECT_EQ(m->MatchStop, 11);
  EXPECT_EQ(m->FileNode(), nullptr);
  EXPECT_EQ(t.Lines()[1], "\t     1 : first Line");
}

TEST(FileSearch, NulLinesAreSkippedAndCtrlZEndsTheFile) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", std::string("x\n\0\nkey one\nkey two\x1akey three\nkey four\n", 40));
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "key", 0x0013);
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(s->Matches, 2);
  ASSERT_EQ(t.tree.ItemCount(), 4);
  EXPECT_EQ(t.Node<TMatchNode>(3)->LineNumber, 2);  // the NUL line took no number
  EXPECT_EQ(t.Node<TMatchNode>(4)->LineText(), "key two");
}

TEST(FileSearch, NothingFoundStillLeavesTheSearchLine) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "abc\n");
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "zzz");
  EXPECT_EQ(s->Execute(), rcNothingFound);
  ASSERT_EQ(t.tree.ItemCount(), 1);
  EXPECT_EQ(t.Node<TSearchNode>(1)->ResultCode, rcNothingFound);
  EXPECT_EQ(t.Node<TSearchNode>(1)->FilesSearched, 1);
}

TEST(FileSearch, NewSearchGoesOnTop) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "alpha\nbeta\n");
  NewSearch(t.tree, d.Path(), "*.txt", "alpha")->Execute();
  NewSearch(t.tree, d.Path(), "*.txt", "beta")->Execute();
  auto lines = t.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], " Search for \"beta\" in *.txt");
  EXPECT_EQ(lines[3], " Search for \"alpha\" in *.txt");
  EXPECT_EQ(SearchNodes.size(), 2u);
}

// Records the order files are searched in, from the progress callback forced before each.
V SearchOrder(TFileSearchObj& s) {
  V order;
  s.OnSearchProgress = [&](TFileSearchObj*, int32_t, int32_t, int32_t, const std::string& name, bool&) {
    if (order.empty() || order.back() != name) order.push_back(name);
  };
  s.Execute();
  return order;
}

TEST(FileSearch, WalkOrderMasksSortedFilesBeforeSubdirsDotDirsSkipped) {
  ResultTree t;
  TempDir d;
  d.Write("a.pas", "x");
  d.Write("b.inc", "x");
  d.Write("sub\\c.pas", "x");
  d.Write(".git\\d.pas", "x");
  d.Write(".hidden2\\e.pas", "x");
  auto s = NewSearch(t.tree, d.Path(), "*.pas; *.INC", "x");
  std::string base = d.Path() + "\\";
  std::transform(base.begin(), base.end(), base.begin(), [](char c) { return (char)std::tolower((unsigned char)c); });
  V order = SearchOrder(*s);
  // The progress callback also runs once at the end (repeating the last name).
  EXPECT_EQ(order, (V{base + "b.inc", base + "a.pas", base + "sub\\c.pas"}));
  EXPECT_EQ(s->FilesSearched, 3);

  // The same mask twice (in another case) searches each file once; *.pas with *.* twice.
  auto twice = NewSearch(t.tree, d.Path(), "*.pas;*.PAS", "x", 0x0003);
  twice->Execute();
  EXPECT_EQ(twice->FilesSearched, 1);
  auto both = NewSearch(t.tree, d.Path(), "*.pas;*.*", "x", 0x0003);
  both->Execute();
  EXPECT_EQ(both->FilesSearched, 3);  // a.pas twice, b.inc once
  EXPECT_EQ(both->Matches, 3);
}

TEST(FileSearch, MaskSplitting) {
  ResultTree t;
  struct Case {
    const char* masks;
    V expected;
  } cases[] = {
      {"*.pas", {"*.pas"}},
      {" *.pas ", {"*.pas"}},
      {"*.pas;*.inc", {"*.inc", "*.pas"}},
      {"*.pas;;*.inc", {"", "*.inc", "*.pas"}},
      {"*.pas;", {"*.pas"}},
      {"*.PAS;*.pas", {"*.PAS"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    TMaskList list;
    list.Split(c.masks);
    EXPECT_EQ(list.Items(), c.expected) << c.masks;
  }
}

TEST(FileSearch, FileLimitStopsBeforeTheThirdFileIsOpened) {
  ResultTree t;
  TempDir d;
  for (char c = 'a'; c <= 'e'; ++c) d.Write(std::string(1, c) + ".txt", "hit\n");
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "hit");
  s->MaxFiles = 3;
  EXPECT_EQ(s->Execute(), rcFileLimit);
  EXPECT_EQ(s->ErrorMessage, "Max. number of files exceeded.");
  EXPECT_EQ(s->Matches, 2);
  EXPECT_EQ(t.Node<TSearchNode>(1)->ResultCode, rcFileLimit);
}

TEST(FileSearch, LineLimitCountsFileAndMatchLinesOfAllSearches) {
  ResultTree t;
  TempDir d;
  std::string many;
  for (int i = 0; i < 50; ++i) many += "hit\n";
  d.Write("a.txt", many);
  auto first = NewSearch(t.tree, d.Path(), "*.txt", "hit");
  first->MaxLines = 1000;
  EXPECT_EQ(first->Execute(), rcFound);
  EXPECT_EQ(t.tree.ItemCount(), 52);  // search, file, 50 matches
  auto second = NewSearch(t.tree, d.Path(), "*.txt", "hit");
  second->MaxLines = 51 + 10;  // the tree already holds 51 result lines
  EXPECT_EQ(second->Execute(), rcLineLimit);
  EXPECT_EQ(second->ErrorMessage, "Max. number of matches exceeded.");
  EXPECT_EQ(t.tree.ItemCount() - 2, 61);  // ten lines: the file line and nine matches
  EXPECT_EQ(second->Matches, 9);
  // The file line of the file the run stopped in counts the matches under it.
  EXPECT_EQ(t.Node<TFileNode>(2)->Matches, 9);
}

TEST(FileSearch, CancelFromTheProgressCallback) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "x\n");
  d.Write("b.txt", "x\n");
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "x");
  int calls = 0;
  s->OnSearchProgress = [&](TFileSearchObj* sender, int32_t, int32_t, int32_t filesSearched, const std::string&,
                            bool& cancel) {
    EXPECT_EQ(sender, s.get());
    ++calls;
    cancel = filesSearched >= 1;
  };
  EXPECT_EQ(s->Execute(), rcCancelled);
  EXPECT_EQ(s->ErrorMessage, "Search cancelled by user.");
  EXPECT_EQ(s->FilesSearched, 1);
  EXPECT_EQ(t.Node<TSearchNode>(1)->ResultCode, rcCancelled);
}

TEST(FileSearch, HiddenFilesOnlyWithCriteriaThatAllowThem) {
  ResultTree t;
  TempDir d;
  std::string hidden = d.Write("h.txt", "x\n");
  ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  d.Write("n.txt", "x\n");
  auto plain = NewSearch(t.tree, d.Path(), "*.txt", "x");
  plain->Execute();
  EXPECT_EQ(plain->FilesSearched, 1);

  AdvancedCriteria c;
  c.Attributes = 2 | 32;  // hidden and archive allowed
  auto withHidden = NewSearch(t.tree, d.Path(), "*.txt", "x");
  withHidden->SetCriteria(c);
  withHidden->Execute();
  EXPECT_EQ(withHidden->FilesSearched, 2);

  c.Attributes = 32;
  auto without = NewSearch(t.tree, d.Path(), "*.txt", "x");
  without->SetCriteria(c);
  without->Execute();
  EXPECT_EQ(without->FilesSearched, 1);
}

TEST(FileSearch, SizeAndDateCriteria) {
  ResultTree t;
  TempDir d;
  std::string small = d.Write("small.txt", "x\n");
  std::string big = d.Write("big.txt", "x\n" + std::string(3000, 'y'));
  // Give the files known dates: small on 2020-06-15, big on 2021-01-10 (local time).
  auto setDate = [](const std::string& name, int y, int m, int day) {
    SYSTEMTIME st{};
    st.wYear = (WORD)y;
    st.wMonth = (WORD)m;
    st.wDay = (WORD)day;
    st.wHour = 12;
    FILETIME local, utc;
    ::SystemTimeToFileTime(&st, &local);
    ::LocalFileTimeToFileTime(&local, &utc);
    qrx::UniqueFile f(::CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    ASSERT_TRUE(::SetFileTime(f.get(), nullptr, nullptr, &utc));
  };
  setDate(small, 2020, 6, 15);
  setDate(big, 2021, 1, 10);
  struct Case {
    AdvancedCriteria c;
    int32_t searched;
  } cases[] = {
      {{0, 0, 0, 1, 2, 0, 0xFFFF}, 1},   // smaller than 2 KB
      {{0, 0, 0, 2, 2, 0, 0xFFFF}, 1},   // larger than 2 KB
      {{0, 0, 0, 3, 0, 4, 0xFFFF}, 2},   // between 0 and 4 KB
      {{1, EncodeDate(2020, 6, 15), 0, 0, 0, 0, 0xFFFF}, 0},  // before the day: not the same day
      {{1, EncodeDate(2020, 6, 16), 0, 0, 0, 0, 0xFFFF}, 1},
      {{2, EncodeDate(2020, 6, 15), 0, 0, 0, 0, 0xFFFF}, 1},  // after
      {{3, EncodeDate(2020, 6, 15) + 0.9, EncodeDate(2021, 1, 10), 0, 0, 0, 0xFFFF}, 2},  // whole days
  };
  for (const auto& c : cases) {
    auto s = NewSearch(t.tree, d.Path(), "*.txt", "x");
    s->SetCriteria(c.c);
    s->Execute();
    EXPECT_EQ(s->FilesSearched, c.searched) << c.c.DateKind << "/" << c.c.SizeKind;
  }
}

TEST(FileSearch, LockedFilesArePassedOverAndReported) {
  ResultTree t;
  TempDir d;
  std::string locked = d.Write("a.txt", "x\n");
  d.Write("b.txt", "x\n");
  qrx::UniqueFile hold(::CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(hold);
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "x");
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(s->Matches, 1);
  ASSERT_EQ(s->UnopenedFiles().size(), 1u);
  EXPECT_NE(s->UnopenedFiles()[0].find("a.txt"), std::string::npos);
}

TEST(FileSearch, DirectoryLinkLoopsAreNotFollowed) {
#ifdef QRX_LOOP_FIXTURE
  // The build made <fixture>\a\hit.txt and a link <fixture>\a\back leading to <fixture>.
  ResultTree t;
  auto s = NewSearch(t.tree, QRX_LOOP_FIXTURE, "*.txt", "needle");
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(s->Matches, 1);
#else
  GTEST_SKIP() << "no link fixture in this build";
#endif
}

TEST(FileSearch, CaseInsensitiveRegexAndDosSearches) {
  ResultTree t;
  TempDir d;
  d.Write("u.pas", "uses SysUtils, Unit1;\nprocedure TForm1.Button1Click(Sender: TObject);\n");
  auto re = NewSearch(t.tree, d.Path(), "*.pas", "button[0-9]+click", 0x0011, 1);
  EXPECT_EQ(re->Execute(), rcFound);
  ASSERT_NE(t.Node<TMatchNode>(2), nullptr);
  EXPECT_EQ(t.Node<TMatchNode>(2)->LineNumber, 2);
  EXPECT_EQ(t.Node<TMatchNode>(2)->MatchStart, 18);
  EXPECT_EQ(t.Node<TMatchNode>(2)->MatchStop, 29);
  EXPECT_EQ(re->SearchText, "BUTTON[0-9]+CLICK");
  EXPECT_EQ(re->EnteredText, "button[0-9]+click");

  auto dos = NewSearch(t.tree, d.Path(), "*.pas", "unit?;", 0x0013, 2);
  EXPECT_EQ(dos->Execute(), rcFound);
  EXPECT_EQ(dos->Matches, 1);

  // After a run, the request's own matching answers for single lines too.
  int32_t start = 0, stop = 0;
  EXPECT_EQ(dos->CaseAdjust("Unit9;"), "UNIT9;");
  EXPECT_TRUE(dos->MatchLine(dos->CaseAdjust("uses Unit9;"), start, stop));
  EXPECT_EQ(start, 6);
  EXPECT_EQ(stop, 11);
  EXPECT_FALSE(dos->MatchLine(dos->CaseAdjust("uses Unit;"), start, stop));  // "?" needs a character
}

TEST(FileSearch, BinaryKindMatchesButAddsAndCountsNothing) {
  ResultTree t;
  TempDir d;
  d.Write("a.bin", "abc\n");
  auto s = NewSearch(t.tree, d.Path(), "*.bin", "abc");
  s->SearchKind = 3;
  EXPECT_EQ(s->Execute(), rcNothingFound);
  ASSERT_EQ(t.tree.ItemCount(), 1);
  EXPECT_EQ(t.Lines()[0], " Binary Search");
}

TEST(FileSearch, ElapsedIsSetWhenTheRunEnds) {
  ResultTree t;
  TempDir d;
  auto s = NewSearch(t.tree, d.Path(), "*.txt", "x");
  s->Execute();
  EXPECT_GE(s->ElapsedTicks, 0);
  // A run's time once it is known; while it is not, the time since the start.
  s->ElapsedTicks = 1234;
  EXPECT_EQ(s->Elapsed(), 1234);
  s->ElapsedTicks = 0;
  s->StartTick = ::GetTickCount() - 500;
  EXPECT_GE(s->Elapsed(), 500);
}

}  // namespace
