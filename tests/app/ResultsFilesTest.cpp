// Saving, loading and exporting the results tree from the main window, through the
// system's own file dialogs, driven as a user drives them.
#include "app/DialogDriver.h"
#include "app/MainWindowFixture.h"
#include "app/WindowTestSupport.h"
#include "app/StartUp.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"


namespace qrx {
namespace {

using test::DialogDriver;
using test::ReadFileBytes;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

// The names in a folder, without "." and "..".
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return names;
}

class ResultsFiles : public test::MainWindowFixture {
 protected:
  void Search(const std::string& text) { StandardSearch("*.txt", text); }
  // Two searches, so the tree has two search rows with files and matches below.
  void TwoSearches() {
    tmp.Write("a.txt", "one needle\r\nplain\r\nneedle two\r\n");
    tmp.Write("b.txt", "haystack\r\nthird needle here\r\n");
    Search("needle");
    Search("haystack");
  }
  void Press(WORD key, std::initializer_list<int> held = {}) { PressWithKeys(form->Handle(), key, held); }
  // Level, display text and node kind of every row.
  std::vector<std::string> Shown() {
    std::vector<std::string> rows;
    for (int32_t i = 1; i <= form->treResults.ItemCount(); ++i) {
      TGOutlineNode* n = form->treResults.Items(i);
      TBaseNode* node = ResultNodeOf(n);
      rows.push_back(std::to_string(n->Level()) + "|" + (node ? node->GetDisplayText() : "?") + "|" +
                     (dynamic_cast<TSearchNode*>(node)  ? "S"
                      : dynamic_cast<TFileNode*>(node)  ? "F"
                      : dynamic_cast<TMatchNode*>(node) ? "M"
                                                        : "?"));
    }
    return rows;
  }
  // Runs the command behind the key; the driver answers its dialogs.
  void Run(WORD key, std::initializer_list<int> held, std::vector<DialogDriver::Step> steps) {
    DialogDriver driver(std::move(steps));
    Press(key, held);
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(driver.Unexpected.empty()) << driver.Unexpected.front();
  }
  void SaveAs(const std::string& name, std::vector<DialogDriver::Step> more = {}) {
    std::vector<DialogDriver::Step> steps{{"Save Search Results", [name](HWND d) { DialogDriver::ChooseFile(d, name); }}};
    steps.insert(steps.end(), more.begin(), more.end());
    Run(VK_F2, {}, steps);
  }
  void Load(const std::string& name) {
    Run(VK_F3, {}, {{"Load Search Results", [name](HWND d) { DialogDriver::ChooseFile(d, name); }}});
  }
};

TEST_F(ResultsFiles, DialogsShowTheirTitlesFiltersNamesAndStartInTheProgramFolder) {
  TwoSearches();
  const struct {
    WORD key;
    bool ctrl;
    TFileDialog* dialog;
    const char* title;
    const char* filter;
    const char* name;
    DWORD options;
  } cases[] = {
      {VK_F2, false, &form->dlgSave, "Save Search Results", "Search Results (*.qzt)", "greprslt.qzt",
       OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR},
      {VK_F2, true, &form->dlgExport, "Export Search Results", "Text Files (*.txt)", "greprslt.txt",
       OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR},
      {VK_F3, false, &form->dlgOpen, "Load Search Results", "Search Results (*.qzt)", "*.qzt",
       OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    std::string filter, name, folder;
    bool readOnlyBox = true;
    Run(c.key, c.ctrl ? std::initializer_list<int>{VK_CONTROL} : std::initializer_list<int>{},
        {{c.title, [&](HWND d) {
            char item[256] = {};
            ::SendDlgItemMessageA(d, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
            filter = item;
            name = DialogDriver::Text(DialogDriver::FileNameBox(d));
            folder = DialogDriver::FolderOf(d);
            readOnlyBox = ::IsWindowVisible(::GetDlgItem(d, chx1)) != FALSE;
            DialogDriver::Press(d, IDCANCEL);
          }}});
    EXPECT_EQ(filter, c.filter);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(Lower(folder), Lower(ProgramDirectory()));
    EXPECT_FALSE(readOnlyBox);
    EXPECT_EQ(c.dialog->Options, c.options);
  }
  EXPECT_EQ(form->dlgSave.DefaultExt, "qzt");
  EXPECT_EQ(form->dlgExport.DefaultExt, "txt");
  EXPECT_EQ(form->dlgOpen.DefaultExt, "qzt");
}

TEST_F(ResultsFiles, SavedResultsLoadBackExactlyAsTheyWere) {
  TwoSearches();
  ASSERT_GE(form->treResults.ItemCount(), 6);
  const std::vector<std::string> before = Shown();
  // Typed without its extension: the dialog adds the default one.
  SaveAs(tmp.Path() + "\\results");
  ASSERT_TRUE(Exists(tmp.Path() + "\\results.qzt"));
  EXPECT_EQ(ReadFileBytes(tmp.Path() + "\\results.qzt").rfind("QRXF300", 0), 0u);

  Click(form->chkShowNumbers);  // the display boxes act on loaded searches too
  form->menDeleteAllClick();
  ASSERT_EQ(form->treResults.ItemCount(), 0);
  Click(form->chkShowNumbers);
  Load(tmp.Path() + "\\results.qzt");
  EXPECT_EQ(Shown(), before);
  EXPECT_TRUE(form->treResults.Items(1)->Expanded());
  EXPECT_EQ(SearchNodes.size(), 2u);
  EXPECT_TRUE(ui.Boxes.empty());
}

TEST_F(ResultsFiles, SaveReopensWhereTheUserSavedLastWithThatName) {
  TwoSearches();
  std::string sub = tmp.MakeDir("kept");
  SaveAs(sub + "\\first.qzt");
  std::string name, folder;
  Run(VK_F2, {}, {{"Save Search Results", [&](HWND d) {
                     name = DialogDriver::Text(DialogDriver::FileNameBox(d));
                     folder = DialogDriver::FolderOf(d);
                     DialogDriver::Press(d, IDCANCEL);
                   }}});
  EXPECT_EQ(name, "first.qzt");
  EXPECT_EQ(Lower(folder), Lower(sub));
}

TEST_F(ResultsFiles, ExportWritesEveryRowAsShown) {
  TwoSearches();
  form->treResults.FullExpand();
  Click(form->chkShowNumbers);  // off: the export follows what the rows show now
  Click(form->chkShowFilePath);
  std::string expected;
  for (int32_t i = 1; i <= form->treResults.ItemCount(); ++i) {
    TGOutlineNode* n = form->treResults.Items(i);
    expected += std::string(static_cast<size_t>(n->Level() - 1), '\t') + ResultNodeOf(n)->GetDisplayText() + "\r\n";
  }
  ASSERT_NE(expected.find("third needle here"), std::string::npos);
  ASSERT_EQ(expected.find(tmp.Path()), std::string::npos);  // no paths, as shown
  std::string file = tmp.Path() + "\\export.txt";
  Run(VK_F2, {VK_CONTROL},
      {{"Export Search Results", [&](HWND d) { DialogDriver::ChooseFile(d, file); }}});
  EXPECT_EQ(ReadFileBytes(file), expected);
}

TEST_F(ResultsFiles, OverwritingAsksFirstAndNoHalfWrittenFileEverReplacesAGoodOne) {
  TwoSearches();
  std::string target = tmp.Write("kept.qzt", "an earlier save");
  // Declined: the earlier file stays.
  SaveAs(target, {{"Save Search Results", [](HWND box) { DialogDriver::Press(box, IDNO); }},
                  {"Save Search Results", [](HWND d) { DialogDriver::Press(d, IDCANCEL); }}});
  EXPECT_EQ(ReadFileBytes(target), "an earlier save");

  // A file held open by another program cannot be replaced: the user is told, and the
  // file, and the folder, are as they were.
  {
    UniqueFile held(::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    SaveAs(target, {{"Save Search Results", [](HWND box) { DialogDriver::Press(box, IDYES); }}});
  }
  EXPECT_EQ(ReadFileBytes(target), "an earlier save");
  ASSERT_EQ(ui.Boxes.size(), 1u);
  EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
  EXPECT_EQ(ui.Boxes[0].Text.rfind("Cannot write to file " + target, 0), 0u) << ui.Boxes[0].Text;
  EXPECT_EQ(Names(tmp.Path()), (std::vector<std::string>{"a.txt", "b.txt", "kept.qzt"}));

  // Accepted: replaced by the whole save.
  ui.Clear();
  SaveAs(target, {{"Save Search Results", [](HWND box) { DialogDriver::Press(box, IDYES); }}});
  EXPECT_TRUE(ui.Boxes.empty());
  EXPECT_EQ(ReadFileBytes(target).rfind("QRXF300", 0), 0u);
}

TEST_F(ResultsFiles, AWriteIntoAFolderThatIsGoneFailsAndCreatesNothing) {
  TwoSearches();
  std::string dir = tmp.MakeDir("gone");
  ASSERT_TRUE(::RemoveDirectoryA(dir.c_str()));
  EXPECT_THROW(form->WriteTreeToFile(dir + "\\results.qzt", true), std::runtime_error);
  EXPECT_FALSE(Exists(dir));
  EXPECT_FALSE(form->IsSaving());
}

TEST_F(ResultsFiles, ALoadErrorIsShownAndTheTreeKeepsWhatTheLoadBuilt) {
  TwoSearches();
  std::string good = tmp.Path() + "\\good.qzt";
  SaveAs(good);
  // The first search row, its first file and first match, then a match record whose
  // line number is no number.
  std::string text = ReadFileBytes(good);
  size_t third = 0;
  for (int i = 0; i < 3; ++i) third = text.find("\r\n", third) + 2;
  const char badMatch[] = "\t\tM\0text\0x\0 1\0 2\r\n";
  const std::string broken = text.substr(0, third) + std::string(badMatch, sizeof badMatch - 1);
  const struct {
    const char* name;
    std::string content;
    const char* reason;
    int rowsLeft;
  } cases[] = {
      {"broken.qzt", broken, "'x' is not a valid integer value.", 3},
      {"notes.qzt", "just some notes\r\n", "Invalid file format.", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui.Clear();
    Load(tmp.Write(c.name, c.content));
    ASSERT_EQ(ui.Boxes.size(), 1u);
    EXPECT_EQ(ui.Boxes[0].Kind, MsgKind::Error);
    EXPECT_EQ(ui.Boxes[0].Text, std::string("Error loading search results from file.\r") + c.reason +
                                    "\r\rVerify that the file you are loading is valid\rand try again.");
    EXPECT_EQ(form->treResults.ItemCount(), c.rowsLeft);
    EXPECT_FALSE(form->IsLoading());
  }
  // What is left is usable: its search answers the display boxes.
  Load(good);
  EXPECT_EQ(SearchNodes.size(), 2u);
}

}  // namespace
}  // namespace qrx
