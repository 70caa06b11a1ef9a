#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "SearchFixture.h"
#include "engine/ReplaceFiles.h"
#include "winlib/Handles.h"

namespace {

using namespace std::string_literals;

// A replace run over a folder; without a script every occurrence is replaced unasked.
std::unique_ptr<TFileSearchObj> NewReplace(TGCustomOutline& tree, const TempDir& d, const std::string& masks,
                                           const std::string& text, const std::string& with, uint16_t options = 0,
                                           uint8_t backup = 0) {
  auto s = NewSearch(tree, d.Path(), masks, text, options);
  s->SearchKind = 1;
  s->ReplaceText = with;
  s->BackupMode = backup;
  return s;
}

std::set<std::string> Names(const std::string& dir) {
  std::set<std::string> out;
  WIN32_FIND_DATAA e;
  qrx::UniqueFind f(::FindFirstFileA((dir + "\\*").c_str(), &e));
  if (!f) return out;
  do {
    if (e.cFileName[0] != '.') out.insert(e.cFileName);
  } while (::FindNextFileA(f.get(), &e));
  return out;
}

FILETIME WriteTime(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  ::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &a);
  return a.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

// As an editor saves a file the search holds open for reading.
void SaveAsEditor(const std::string& name, const std::string& bytes) {
  qrx::UniqueFile f(::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(f) << name;
  DWORD n = 0;
  ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
}

// Every byte that is not part of a replaced occurrence stays as it was: line ends of every
// kind, NUL lines, whatever follows a Ctrl-Z, lines longer than any buffer.
TEST(Replace, RewritesOnlyTheOccurrences) {
  const std::string longLine = std::string(70000, 'x') + "foo" + std::string(5000, 'y') + "foo";
  const std::string straddle = std::string(65535, 'x') + "\r\nfoo\n";  // CR LF across a read block
  struct Case {
    const char* what;
    std::string before, text, with;
    uint16_t options;
    std::string after;
  } cases[] = {
      {"line ends of every kind", "a foo\r\nb foo\nc foo\rd foo\n\re foo", "foo", "X", 0,
       "a X\r\nb X\nc X\rd X\n\re X"},
      {"NUL lines stay", "foo\n\0\nfoo\r\n"s, "foo", "bar", 0, "bar\n\0\nbar\r\n"s},
      {"nothing after Ctrl-Z is touched", "foo\x1a foo\nfoo", "foo", "X", 0, "X\x1a foo\nfoo"},
      {"every occurrence of a long line", longLine, "foo", "F", 0,
       std::string(70000, 'x') + "F" + std::string(5000, 'y') + "F"},
      {"a line end across two reads", straddle, "foo", "X", 0, std::string(65535, 'x') + "\r\nX\n"},
      {"inserted text is not searched again", "a a\n", "a", "ba", 0, "ba ba\n"},
      {"empty replacement deletes", "one foo two\n", "foo ", "", 0, "one two\n"},
      {"case ignored", "Foo FOO foo\n", "foo", "x", 0, "x x x\n"},
      {"case sensitive", "Foo FOO foo\n", "foo", "x", optCaseSensitive, "Foo FOO x\n"},
      {"line start judged on the line as read", "abab\n", "ab", "X", optLineStart, "Xab\n"},
      {"line end judged on the line as read", "abab\n", "ab", "X", optLineEnd, "abX\n"},
      {"whole words", "foo foobar foo_x (foo)\n", "foo", "X", optWholeWords, "X foobar foo_x (X)\n"},
      {"whole words after a replaced neighbour", "a a\n", "a", "ab", optWholeWords, "ab ab\n"},
      {"no line end at the end", "x foo", "foo", "bar", 0, "x bar"},
  };
  for (const Case& c : cases) {
    ResultTree t;
    TempDir d;
    const std::string file = d.Write("f.txt", c.before);
    auto s = NewReplace(t.tree, d, "*.txt", c.text, c.with, c.options);
    EXPECT_EQ(s->Execute(), rcFound) << c.what;
    EXPECT_EQ(ReadFileBytes(file), c.after) << c.what;
    EXPECT_EQ(s->FilesChanged, 1) << c.what;
    EXPECT_EQ(Names(d.Path()), std::set<std::string>{"f.txt"}) << c.what << ": no work file left behind";
  }
}

TEST(Replace, CountsAndTheSearchLine) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "foo foo\nfoo\n");
  d.Write("b.txt", "foo\n");
  d.Write("c.txt", "nothing\n");
  const FILETIME untouched = WriteTime(d / "c.txt");
  auto s = NewReplace(t.tree, d, "*.txt", "foo", "bar");
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(s->Matches, 4);
  EXPECT_EQ(s->Replacements, 4);
  EXPECT_EQ(s->FilesWithMatches, 2);
  EXPECT_EQ(s->FilesChanged, 2);
  EXPECT_EQ(s->FilesSearched, 3);
  EXPECT_EQ(t.Lines(), (std::vector<std::string>{" Search/Replace for \"foo\" replaced with bar in *.txt"}));
  EXPECT_TRUE(SameTime(WriteTime(d / "c.txt"), untouched)) << "a file without occurrences is only read";

  auto none = NewReplace(t.tree, d, "*.txt", "absent", "x");
  EXPECT_EQ(none->Execute(), rcNothingFound);
}

// The dialog's answers, scripted: what each question saw and what the files became.
struct Asked {
  std::string File, Preview;
  int32_t Line, Start, Stop;
};

struct Script {
  std::vector<uint8_t> Answers;
  std::vector<std::string> NewTexts;  // a non-empty entry replaces the replacement text
  std::vector<Asked> Seen;
  void Bind(TFileSearchObj& s, const std::string& preview) {
    s.PreviewFileName = preview;
    s.OnConfirmReplace = [this](TFileSearchObj*, const std::string& previewFile, uint8_t& action,
                                std::string& replaceText, const std::string&, int32_t start, int32_t stop,
                                int32_t line, const std::string& file) {
      const size_t i = Seen.size();
      Seen.push_back({file.substr(file.rfind('\\') + 1), ReadFileBytes(previewFile), line, start, stop});
      action = i < Answers.size() ? Answers[i] : uint8_t{raCancel};
      if (i < NewTexts.size() && !NewTexts[i].empty()) replaceText = NewTexts[i];
    };
  }
};

TEST(Replace, AnswersDecideOccurrenceByOccurrence) {
  struct Case {
    const char* what;
    std::vector<uint8_t> answers;
    std::vector<std::string> newTexts;
    std::string a, b;  // a.txt and b.txt afterwards
    size_t questions;
    uint8_t code;
  } cases[] = {
      {"replace, skip, replace; no answer left cancels", {raReplace, raSkip, raReplace, raReplace}, {},
       "X foo X\nX\n", "foo foo\n", 5, rcCancelled},
      {"skip file leaves the rest", {raReplace, raSkipFile, raSkip, raSkip}, {}, "X foo foo\nfoo\n", "foo foo\n", 4,
       rcFound},
      // After "Replace File" the next file is asked again; a skip there asks again at the
      // next occurrence rather than replacing it unasked.
      {"replace file, then skips in the next file", {raReplaceFile, raSkip, raSkip}, {}, "X X X\nX\n", "foo foo\n",
       3, rcFound},
      {"replace file, then one by one", {raReplaceFile, raReplace, raSkip}, {}, "X X X\nX\n", "X foo\n", 3, rcFound},
      {"replace all asks no more", {raReplaceAll}, {}, "X X X\nX\n", "X X\n", 1, rcFound},
      {"a new text holds for the rest of the run", {raReplace, raReplaceAll}, {"", "Y"}, "X Y Y\nY\n", "Y Y\n", 2,
       rcFound},
      {"cancel keeps the file as it was", {raReplace, raCancel}, {}, "foo foo foo\nfoo\n", "foo foo\n", 2,
       rcCancelled},
  };
  for (const Case& c : cases) {
    ResultTree t;
    TempDir d;
    TempDir scratch;
    d.Write("a.txt", "foo foo foo\nfoo\n");
    d.Write("b.txt", "foo foo\n");
    auto s = NewReplace(t.tree, d, "a.txt;b.txt", "foo", "X");
    Script script{c.answers, c.newTexts, {}};
    script.Bind(*s, scratch / "preview.tmp");
    EXPECT_EQ(s->Execute(), c.code) << c.what;
    EXPECT_EQ(ReadFileBytes(d / "a.txt"), c.a) << c.what;
    EXPECT_EQ(ReadFileBytes(d / "b.txt"), c.b) << c.what;
    EXPECT_EQ(script.Seen.size(), c.questions) << c.what;
    if (c.code == rcCancelled) {
      EXPECT_EQ(s->ErrorMessage, "Replace cancelled by user.") << c.what;
    }
  }
}

TEST(Replace, EachQuestionShowsTheFileAsItWillBe) {
  ResultTree t;
  TempDir d, scratch;
  d.Write("a.txt", "one\r\nfoo foo\nfoo\n");
  auto s = NewReplace(t.tree, d, "*.txt", "foo", "Xx");
  Script script{{raReplace, raReplace, raSkip}, {}, {}};
  script.Bind(*s, scratch / "preview.tmp");
  s->WorkFileName = scratch / "work.tmp";
  EXPECT_EQ(s->Execute(), rcFound);
  ASSERT_EQ(script.Seen.size(), 3u);
  const Asked expected[] = {
      {"a.txt", "one\r\nfoo foo\nfoo\n", 2, 1, 3},
      {"a.txt", "one\r\nXx foo\nfoo\n", 2, 4, 6},  // the range in the line as changed so far
      {"a.txt", "one\r\nXx Xx\nfoo\n", 3, 1, 3},
  };
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(script.Seen[i].Preview, expected[i].Preview) << i;
    EXPECT_EQ(script.Seen[i].Line, expected[i].Line) << i;
    EXPECT_EQ(script.Seen[i].Start, expected[i].Start) << i;
    EXPECT_EQ(script.Seen[i].Stop, expected[i].Stop) << i;
  }
  EXPECT_EQ(ReadFileBytes(d / "a.txt"), "one\r\nXx Xx\nfoo\n");
}

TEST(Replace, NumberedAndOverwrittenBackups) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "v1\n");
  // Three numbered runs: three backups, each the file as that run found it.
  for (const char* from : {"v1", "v2", "v3"}) {
    std::string to = std::string("v") + static_cast<char>(from[1] + 1);
    auto s = NewReplace(t.tree, d, "*.*", from, to, 0, 1);
    EXPECT_EQ(s->Execute(), rcFound);
    EXPECT_EQ(s->FilesChanged, 1) << "a backup is never taken for a file to process";
  }
  EXPECT_EQ(ReadFileBytes(d / "a.txt"), "v4\n");
  EXPECT_EQ(ReadFileBytes(d / "Backup of a.txt"), "v1\n");
  EXPECT_EQ(ReadFileBytes(d / "Backup (2) of a.txt"), "v2\n");
  EXPECT_EQ(ReadFileBytes(d / "Backup (3) of a.txt"), "v3\n");

  TempDir o;
  o.Write("b.txt", "w1\n");
  for (const char* from : {"w1", "w2"}) {
    auto s = NewReplace(t.tree, o, "b.txt", from, std::string("w") + static_cast<char>(from[1] + 1), 0, 2);
    EXPECT_EQ(s->Execute(), rcFound);
  }
  EXPECT_EQ(Names(o.Path()), (std::set<std::string>{"Backup of b.txt", "b.txt"}));
  EXPECT_EQ(ReadFileBytes(o / "Backup of b.txt"), "w2\n");
}

TEST(Replace, ShortBackupNames) {
  std::set<std::string> taken;
  auto exists = [&](const std::string& n) { return taken.count(n) > 0; };
  struct Case {
    std::string name;
    int taken;  // how many numbered names exist already (0 = not even the plain one)
    std::string expected;
  } cases[] = {
      {"a.txt", 0, "D\\a.QXB"},           {"a.txt", 1, "D\\a1.QXB"},
      {"a.txt", 10, "D\\a10.QXB"},        {"abcdefgh.txt", 0, "D\\abcdefgh.QXB"},
      {"abcdefgh.txt", 1, "D\\abcdefg1.QXB"}, {"abcdefgh.txt", 12, "D\\abcdef12.QXB"},
      {"abcdefgh.txt", 120, "D\\abcde120.QXB"}, {"make", 0, "D\\make.QXB"},
      {"a.b.c", 2, "D\\a2.QXB"},
  };
  for (const Case& c : cases) {
    taken.clear();
    // Fill the names the scheme hands out first, as earlier runs would have.
    for (int i = 0; i < c.taken; ++i) taken.insert(*BackupFileName("D\\", c.name, 1, false, exists));
    EXPECT_EQ(BackupFileName("D\\", c.name, 1, false, exists).value_or("none"), c.expected) << c.name << c.taken;
  }
  // A byte of counter: once 255 numbered names are taken there is none left to give.
  taken.clear();
  for (int i = 0; i < 256; ++i) taken.insert(*BackupFileName("D\\", "abcdefgh.txt", 1, false, exists));
  EXPECT_FALSE(BackupFileName("D\\", "abcdefgh.txt", 1, false, exists).has_value());
  EXPECT_EQ(BackupFileName("D\\", "abcdefgh.txt", 2, false, exists).value_or(""), "D\\abcdefgh.QXB");
}

// Each file is processed once, however the enumeration returns it.
TEST(Replace, EveryFileOnceAndEveryFileItself) {
  ResultTree t;
  TempDir d;
  d.Write("a.txt", "a\n");
  auto s = NewReplace(t.tree, d, "*.txt;a.*;*.*", "a", "ba", 0, 1);
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(ReadFileBytes(d / "a.txt"), "ba\n");
  EXPECT_EQ(s->FilesChanged, 1);
  EXPECT_EQ(Names(d.Path()), (std::set<std::string>{"Backup of a.txt", "a.txt"}));

#ifdef QRX_CASE_FIXTURE
  // Two names that differ only in case are two files, searched and rewritten each as itself.
  const std::string dir = QRX_CASE_FIXTURE;
  // The exact names are found before any other spelling.
  SaveAsEditor(dir + "Case.txt", "upper foo\n");
  SaveAsEditor(dir + "case.txt", "lower foo\n");
  ResultTree found;
  auto search = NewSearch(found.tree, dir, "*.txt", "foo", 0x0003);
  EXPECT_EQ(search->Execute(), rcFound);
  EXPECT_EQ(search->Matches, 2);
  EXPECT_TRUE(search->UnopenedFiles().empty());
  auto r = NewSearch(found.tree, dir, "*.txt", "foo", 0);
  r->SearchKind = 1;
  r->ReplaceText = "bar";
  EXPECT_EQ(r->Execute(), rcFound);
  EXPECT_EQ(r->FilesChanged, 2);
  EXPECT_EQ(ReadFileBytes(dir + "Case.txt"), "upper bar\n");
  EXPECT_EQ(ReadFileBytes(dir + "case.txt"), "lower bar\n");
#endif
}

// Whatever stands in the way, the file keeps its bytes and date, is not counted as changed,
// is named in the report, and no work file stays behind.
TEST(Replace, FailuresLeaveTheOriginalAsItWas) {
  const std::string original = "keep foo\r\nme\n";
  struct Case {
    const char* what;
    uint8_t backup;
    std::function<void(const TempDir&)> before;      // sets the obstacle up
    std::function<void(const TempDir&)> duringAsk;   // another program acts meanwhile
    std::string expectBytes;
  } cases[] = {
      {"backup name is a folder", 2, [](const TempDir& d) { d.MakeDir("Backup of a.txt"); }, nullptr, original},
      {"changed by another program meanwhile", 0, nullptr,
       [](const TempDir& d) { SaveAsEditor(d / "a.txt", "someone else's foo\n"); }, "someone else's foo\n"},
  };
  for (const Case& c : cases) {
    ResultTree t;
    TempDir d, scratch;
    d.Write("a.txt", original);
    if (c.before) c.before(d);
    const std::set<std::string> namesBefore = Names(d.Path());
    auto s = NewReplace(t.tree, d, "a.txt", "foo", "bar", 0, c.backup);
    if (c.duringAsk) {
      s->PreviewFileName = scratch / "preview.tmp";
      s->OnConfirmReplace = [&](TFileSearchObj*, const std::string&, uint8_t& action, std::string&,
                                const std::string&, int32_t, int32_t, int32_t, const std::string&) {
        ::Sleep(20);  // a later write time, on file systems with coarse times
        c.duringAsk(d);
        action = raReplaceAll;
      };
    }
    const FILETIME before = WriteTime(d / "a.txt");
    EXPECT_EQ(s->Execute(), rcFound) << c.what;
    EXPECT_EQ(ReadFileBytes(d / "a.txt"), c.expectBytes) << c.what;
    if (!c.duringAsk) {
      EXPECT_TRUE(SameTime(WriteTime(d / "a.txt"), before)) << c.what;
    }
    EXPECT_EQ(s->FilesChanged, 0) << c.what;
    ASSERT_EQ(s->UnchangedFiles().size(), 1u) << c.what;
    EXPECT_TRUE(s->UnchangedFiles()[0].Failed);
    EXPECT_NE(s->UnchangedFiles()[0].FileName.find("a.txt"), std::string::npos);
    EXPECT_EQ(Names(d.Path()), namesBefore) << c.what;
  }
}

TEST(Replace, LockedFileStaysAsItWas) {
  ResultTree t;
  TempDir d;
  const std::string file = d.Write("a.txt", "locked foo\n");
  // Another program holds the file open and lets others only read it.
  qrx::UniqueFile lock(::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  auto s = NewReplace(t.tree, d, "*.txt", "foo", "bar", 0, 1);
  EXPECT_EQ(s->Execute(), rcFound);
  EXPECT_EQ(ReadFileBytes(file), "locked foo\n");
  EXPECT_EQ(s->FilesChanged, 0);
  EXPECT_EQ(s->UnchangedFiles().size(), 1u);
  EXPECT_EQ(Names(d.Path()), std::set<std::string>{"a.txt"}) << "neither work file nor backup stays";
}

TEST(Replace, PassesOverWhatItCannotWriteBack) {
  ResultTree t;
  TempDir d;
  const std::string utf16 = "\xFF\xFE" "f\0o\0o\0 foo\r\0\n\0"s;
  const std::string form = "TPF0\x06TForm1 foo"s;
  d.Write("wide.txt", utf16);
  d.Write("form.txt", form);
  auto s = NewReplace(t.tree, d, "*.txt", "foo", "bar");
  s->Execute();
  EXPECT_EQ(ReadFileBytes(d / "wide.txt"), utf16);
  EXPECT_EQ(ReadFileBytes(d / "form.txt"), form);
  ASSERT_EQ(s->UnchangedFiles().size(), 2u);
  for (const TUnchangedFile& f : s->UnchangedFiles()) EXPECT_FALSE(f.Failed) << f.FileName << ": " << f.Reason;
}

TEST(Replace, StopsCleanly) {
  {
    // Stopped from the progress report: the run ends with the user's message.
    ResultTree t;
    TempDir d;
    d.Write("a.txt", "foo\n");
    auto s = NewReplace(t.tree, d, "*.txt", "foo", "bar");
    s->OnReplaceProgress = [](TFileSearchObj*, int32_t, int32_t, int32_t, int32_t, const std::string&, bool& cancel) {
      cancel = true;
    };
    EXPECT_EQ(s->Execute(), rcCancelled);
    EXPECT_EQ(s->ErrorMessage, "Replace cancelled by user.");
    EXPECT_EQ(ReadFileBytes(d / "a.txt"), "foo\n");
  }
  {
    // The preview cannot be put in place: an error that ends the run, the file untouched.
    ResultTree t;
    TempDir d;
    d.Write("a.txt", "foo\n");
    auto s = NewReplace(t.tree, d, "*.txt", "foo", "bar");
    Script script{{raReplace}, {}, {}};
    script.Bind(*s, d / "no such folder\\preview.tmp");
    s->WorkFileName = d / "work.tmp";
    EXPECT_THROW(s->Execute(), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(d / "a.txt"), "foo\n");
    EXPECT_TRUE(script.Seen.empty());
  }
}

}  // namespace
