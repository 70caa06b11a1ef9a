#include <gtest/gtest.h>

#include "common/TempDir.h"
#include "dfm/FormStreamWriter.h"
#include "engine/FileSearch.h"
#include "tools/ConsoleAsk.h"
#include "tools/QrxFindArgs.h"
#include "winlib/Handles.h"

namespace {

using qrx::test::ReadFileBytes;
using qrx::test::TempDir;

TEST(QrxFindArgs, SwitchesThenText) {
  QrxFindArgs a;
  std::string error;
  ASSERT_TRUE(ParseQrxFindArgs({"/dir=c:\\src", "/MASK=*.pas;*.inc", "/EXPR=0", "/OPT=0x0213", "/KIND=2",
                                "/MAXLINES=99", "two", "words"},
                               a, error))
      << error;
  EXPECT_EQ(a.Directory, "c:\\src");
  EXPECT_EQ(a.Masks, "*.pas;*.inc");
  EXPECT_EQ(a.ExprKind, 0);
  EXPECT_EQ(a.Options, 0x0213);
  EXPECT_EQ(a.Kind, 2);
  EXPECT_EQ(a.MaxLines, 99);
  EXPECT_EQ(a.Text, "two words");

  QrxFindArgs d;
  ASSERT_TRUE(ParseQrxFindArgs({"x", "/DIR=y"}, d, error));
  EXPECT_EQ(d.Text, "x /DIR=y");  // switches end at the first word
  EXPECT_EQ(d.Directory, ".");
  EXPECT_EQ(d.Masks, "*.*");
  EXPECT_EQ(d.ExprKind, 1);
  EXPECT_EQ(d.Options, 0x001F);
  EXPECT_EQ(d.MaxLines, 16000);

  QrxFindArgs h;
  ASSERT_TRUE(ParseQrxFindArgs({"/?"}, h, error));
  EXPECT_TRUE(h.ShowUsage);
}

TEST(QrxFindArgs, ReplaceSwitches) {
  QrxFindArgs a;
  std::string error;
  ASSERT_TRUE(ParseQrxFindArgs({"/REPLACE=new text", "/backup=2", "/ask", "old"}, a, error)) << error;
  EXPECT_TRUE(a.Replace);
  EXPECT_EQ(a.ReplaceText, "new text");
  EXPECT_EQ(a.BackupMode, 2);
  EXPECT_TRUE(a.Ask);
  QrxFindArgs e;
  ASSERT_TRUE(ParseQrxFindArgs({"/REPLACE=", "old"}, e, error)) << error;
  EXPECT_TRUE(e.Replace);  // an empty replacement deletes
  EXPECT_EQ(e.ReplaceText, "");
}

TEST(ConsoleAsk, AnswersAndMarks) {
  const std::pair<const char*, int> answers[] = {{"r", raReplace}, {" S ", raSkip}, {"k", raSkipFile},
                                                 {"F\r", raReplaceFile}, {"a", raReplaceAll}, {"c", raCancel},
                                                 {"", -1}, {"rr", -1}, {"x", -1}};
  for (const auto& [line, action] : answers) {
    std::optional<uint8_t> got = ReplaceAnswer(line);
    EXPECT_EQ(got ? static_cast<int>(*got) : -1, action) << line;
  }
  EXPECT_EQ(MarkOccurrence("\tint foo;", 6, 8), "\tint foo;\n\t    ^^^\n");
  EXPECT_EQ(MarkOccurrence("foo", 1, 3), "foo\n^^^\n");
}

TEST(QrxFindArgs, UsageErrors) {
  const std::vector<std::string> bad[] = {
      {}, {"/DIR=x"}, {"/EXPR=3", "x"}, {"/OPT=70000", "x"}, {"/OPT=0xZZ", "x"},
      {"/KIND=1", "x"}, {"/MAXLINES=0", "x"}, {"/BOGUS", "x"}, {"/SAVE=", "x"},
      {"/BACKUP=1", "x"}, {"/ASK", "x"}, {"/REPLACE=y", "/BACKUP=3", "x"}, {"/REPLACE=y", "/KIND=2", "x"},
      {"/REPLACE=y", "/ASKX", "x"}, {"/REPLACE=y"},
  };
  for (const auto& args : bad) {
    QrxFindArgs a;
    std::string error;
    EXPECT_FALSE(ParseQrxFindArgs(args, a, error)) << testing::PrintToString(args);
  }
}

// Runs qrxfind.exe from the build folder, standard output into a file; input, when given,
// is what it reads on standard input.
int RunQrxFind(const std::string& args, const TempDir& dir, std::string& out, const std::string* input = nullptr) {
  std::string outName = dir / "out.txt";
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  qrx::UniqueFile outFile(::CreateFileA(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
  qrx::UniqueFile errFile(::CreateFileA((dir / "err.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = outFile.get();
  si.hStdError = errFile.get();
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  qrx::UniqueFile inFile;
  if (input) {
    dir.Write("in.txt", *input);
    inFile.reset(::CreateFileA((dir / "in.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, &sa, OPEN_EXISTING, 0, nullptr));
    si.hStdInput = inFile.get();
  }
  char exe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path(exe);
  path = path.substr(0, path.rfind('\\') + 1) + "qrxfind.exe";
  std::string cmd = "\"" + path + "\" " + args;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return -1;
  qrx::UniqueHandle process(pi.hProcess), thread(pi.hThread);
  ::WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  outFile.reset();
  out = ReadFileBytes(outName);
  return static_cast<int>(code);
}

TEST(QrxFind, SearchesAFolderAndPrintsTheTree) {
  TempDir d;
  d.Write("src\\one.pas", "begin\r\n  Hello;\r\nend.\r\n");
  d.Write("src\\sub\\two.pas", "hello\n");
  std::string out;
  int code = RunQrxFind("\"/DIR=" + (d / "src") + "\" /MASK=*.pas /EXPR=0 /OPT=0x0011 hello", d, out);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out,
            " Search for \"hello\" in *.pas\r\n"
            "\t     2 : Hello;\r\n"
            "\t     1 : hello\r\n");
  code = RunQrxFind("\"/DIR=" + (d / "src") + "\" /MASK=*.pas nothing-like-this", d, out);
  EXPECT_EQ(code, 9);
  code = RunQrxFind("/EXPR=7 x", d, out);
  EXPECT_GT(code, 10);
}

TEST(QrxFind, SavedResultsLoadBackToTheSameText) {
  TempDir d;
  d.Write("src\\a.txt", "alpha beta\r\nbeta\r\n");
  std::string searched, loaded;
  std::string save = d / "r.qzt";
  ASSERT_EQ(RunQrxFind("\"/DIR=" + (d / "src") + "\" /MASK=*.txt \"/SAVE=" + save + "\" beta", d, searched), 0);
  ASSERT_EQ(RunQrxFind("\"/LOAD=" + save + "\"", d, loaded), 0);
  // A loaded tree starts collapsed; the search printed it with the search line open. The
  // export lists every line either way.
  EXPECT_EQ(loaded, searched);
  EXPECT_EQ(RunQrxFind("\"/LOAD=" + d.Write("bad.qzt", "nonsense\r\n") + "\"", d, loaded), 12);
}

TEST(QrxFind, FormFilesAreSearchedInTheirTextualNotation) {
  TempDir d;
  qrx::test::FormStreamWriter w;
  w.Signature()
      .Object("TForm1", "Form1")
      .Prop("Caption").Str("Main window")
      .EndProps()
      .Object("TButton", "Button1")
      .Prop("OnClick").Ident("Button1Click")
      .EndProps()
      .EndObject()
      .EndObject();
  d.Write("forms\\main.dfm", w.Bytes());
  d.Write("forms\\notes.txt", "Button1Click\r\n");            // not a form file: never searched
  d.Write("forms\\fake.dfm", "object Form1: TForm1\r\nButton1Click\r\n");  // text, not a form: passed over
  std::string out;
  int code = RunQrxFind("\"/DIR=" + (d / "forms") + "\" /MASK=*.txt /KIND=2 /EXPR=0 /OPT=0x0013 button1click", d, out);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out,
            " DFM Search for \"button1click\"\r\n"
            "\t  main.dfm\r\n"
            "\t\t     4 : OnClick = Button1Click\r\n");
}

TEST(QrxFind, ReplacesFromAScript) {
  TempDir d;
  const std::string file = d.Write("src\\a.txt", "one foo\r\nfoo two\nFOO\n");
  std::string out;
  const std::string dir = "\"/DIR=" + (d / "src") + "\" /MASK=*.txt ";
  EXPECT_EQ(RunQrxFind(dir + "/OPT=0x0200 /REPLACE=bar /BACKUP=1 foo", d, out), 0);
  EXPECT_EQ(ReadFileBytes(file), "one bar\r\nbar two\nFOO\n");
  EXPECT_EQ(ReadFileBytes(d / "src\\Backup of a.txt"), "one foo\r\nfoo two\nFOO\n");
  EXPECT_EQ(out, " Search/Replace for \"foo\" replaced with bar in *.txt\r\n");
  EXPECT_EQ(RunQrxFind(dir + "/REPLACE=x absent", d, out), 9);
  // An empty replacement deletes; the case option is off, so FOO goes too.
  EXPECT_EQ(RunQrxFind(dir + "/REPLACE= bar", d, out), 0);
  EXPECT_EQ(ReadFileBytes(file), "one \r\n two\nFOO\n");
}

TEST(QrxFind, AsksOnTheConsole) {
  TempDir d;
  const std::string file = d.Write("src\\a.txt", "foo foo\nfoo\n");
  const std::string dir = "\"/DIR=" + (d / "src") + "\" /MASK=*.txt ";
  std::string out;
  // A word that means nothing is asked again; then replace, skip, replace.
  std::string answers = "what\nr\ns\nr\n";
  EXPECT_EQ(RunQrxFind(dir + "/REPLACE=X /ASK foo", d, out, &answers), 0);
  EXPECT_EQ(ReadFileBytes(file), "X foo\nX\n");
  const std::string err = ReadFileBytes(d / "err.txt");
  EXPECT_NE(err.find("a.txt(1):\r\nX foo\r\n  ^^^\r\n"), std::string::npos) << err;  // the line as changed so far
  EXPECT_NE(err.find("Found : 3  Replaced : 2  Files changed : 1"), std::string::npos) << err;
  // Nobody answering cancels, and the file stays as it was.
  std::string none;
  EXPECT_EQ(RunQrxFind(dir + "/REPLACE=Y /ASK X", d, out, &none), 4);
  EXPECT_EQ(ReadFileBytes(file), "X foo\nX\n");
}

}  // namespace
