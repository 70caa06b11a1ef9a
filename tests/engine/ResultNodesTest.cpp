#include <gtest/gtest.h>

#include "SearchFixture.h"
#include "engine/DosTime.h"
#include "engine/SavedResults.h"
#include "engine/TextBuffer.h"

namespace {

struct Nodes {
  Nodes() {
    search.EnteredText = "needle";
    search.ReplaceText = "pin";
    search.Masks = "*.pas;*.inc";
    file = std::make_unique<TFileNode>(&search, "c:\\src\\unit1.pas");
    file->Matches = 3;
    match = TMatchNode::Make(&search, 3, 8, 7, "  \tfound needle here \t", file.get());
  }
  TSearchNode search;
  std::unique_ptr<TFileNode> file;
  std::unique_ptr<TMatchNode> match;
};

TEST(ResultNodes, SearchLineTextsForEachKind) {
  Nodes n;
  struct Case {
    uint8_t kind;
    uint16_t options;
    int32_t matches;
    const char* text;
  } cases[] = {
      {0, 0x0003, 5, " Search for \"needle\" in *.pas;*.inc"},
      {1, 0x0000, 5, " Search/Replace for \"needle\" replaced with pin in *.pas;*.inc"},
      {2, 0x0000, 5, " DFM Search for \"needle\""},
      {3, 0x0000, 5, " Binary Search"},
      {0, 0x0008, 5, " Search for \"needle\" in *.pas;*.inc Matches - 5"},
      {0, 0x0008, 0, " Search for \"needle\" in *.pas;*.inc"},
      {0, 0x000A, 5, " Search for \"needle\" in *.pas;*.inc"},
  };
  for (const auto& c : cases) {
    n.search.SearchKind = c.kind;
    n.search.Options = c.options;
    n.search.Matches = c.matches;
    EXPECT_EQ(n.search.GetDisplayText(), c.text);
  }
}

TEST(ResultNodes, FileAndMatchLinesFollowTheSearchOptions) {
  Nodes n;
  struct Case {
    uint16_t options;
    const char* file;
    const char* match;
  } cases[] = {
      {0x0002, "  unit1.pas", "  found needle here"},
      {0x0006, "  c:\\src\\unit1.pas", "  found needle here"},
      {0x000A, "   3 : unit1.pas", "  found needle here"},
      {0x0004, "  c:\\src\\", "  found needle here"},  // no file lines: the directory only
      {0x0000, "  ", "  found needle here"},
      {0x0003, "  unit1.pas", "     7 : found needle here"},  // a blank, four blanks, the 7
  };
  for (const auto& c : cases) {
    n.search.Options = c.options;
    EXPECT_EQ(n.file->GetDisplayText(), c.file) << c.options;
    EXPECT_EQ(n.match->GetDisplayText(), c.match) << c.options;
  }
  n.search.Options = 0x000A;
  n.file->Matches = 12345;
  EXPECT_EQ(n.file->GetDisplayText(), "12345 : unit1.pas");
}

TEST(ResultNodes, SearchNodesListFollowsCreationAndDestruction) {
  size_t before = SearchNodes.size();
  {
    TSearchNode a;
    auto b = std::make_unique<TSearchNode>();
    EXPECT_EQ(SearchNodes.size(), before + 2);
    b.reset();
    EXPECT_EQ(SearchNodes.back(), &a);
  }
  EXPECT_EQ(SearchNodes.size(), before);
}

// Match nodes carved one after another from a pool, each with its text right after its
// fields: a block sized too small lets a node's neighbour overwrite its text or fields, and
// the node names its file line or its search in one field.
TEST(ResultNodes, PooledMatchNodesKeepTheirTextsAndOwners) {
  Nodes n;
  qrx::outline::TChunkPool pool;
  std::vector<std::unique_ptr<TMatchNode>> made;
  std::vector<std::string> texts;
  for (int i = 0; i < 400; ++i) {
    const size_t length = static_cast<size_t>(i % 13 == 12 ? 1500 + i : i % 11);
    texts.push_back(std::string(length, static_cast<char>('a' + i % 26)));
    made.push_back(TMatchNode::Make(pool, &n.search, i, i + 1, i + 2, texts.back(), i % 2 ? n.file.get() : nullptr));
  }
  for (int i = 0; i < 400; ++i) {
    const TMatchNode& m = *made[static_cast<size_t>(i)];
    ASSERT_EQ(m.LineText(), texts[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(m.FileNode(), i % 2 ? n.file.get() : nullptr) << i;
    EXPECT_EQ(m.SearchNode(), &n.search) << i;
    EXPECT_EQ(m.MatchStart + 1, m.MatchStop);
    EXPECT_EQ(m.LineNumber, i + 2);
  }
}

TEST(SavedResults, RecordsCarryEveryField) {
  Nodes n;
  n.search.Options = 0x0210;
  n.search.SearchKind = 1;
  n.search.SearchText = "NEEDLE";
  n.search.Directory = "c:\\src\\";
  n.search.ResultCode = 9;
  using namespace std::string_literals;
  EXPECT_EQ(n.search.GetSaveText(),
            "QRXF300\0"s "66064\0" "1\0" "0\0" "*.pas;*.inc\0" "NEEDLE\0" "pin\0" "needle\0" "c:\\src\\\0" "9\0" "0\0" "0\0" "0"s);
  n.file->FileDate = DosDateTimeToDateTime((uint32_t(0x5A8F) << 16) | 0x6B2C);
  n.file->FileSize = 1234;
  EXPECT_EQ(n.file->GetSaveText(), "F\0c:\\src\\unit1.pas\0" "3\0"s + std::to_string(int32_t((0x5A8Fu << 16) | 0x6B2C)) + "\0" "1234"s);
  EXPECT_EQ(n.match->GetSaveText(), "M\0  \tfound needle here \t\0" "7\0" "3\0" "8"s);
}

TEST(SavedResults, NodeCreatorRebuildsAndRejects) {
  using namespace std::string_literals;
  TNodeCreator c;
  EXPECT_THROW(c.CreateNode("F\0x\0" "1\0" "0\0" "0"s), EInvalidFormat);  // the first record must be a search

  TNodeCreator ok;
  std::unique_ptr<TBaseNode> s(ok.CreateNode("QRXF300\0" "66064\0" "1\0" "0\0" "*.pas\0" "T\0\0" "t\0" "c:\\\0" "0\0" "1\0" "1\0" "2"s));
  auto* search = dynamic_cast<TSearchNode*>(s.get());
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->Options, 0x0210);
  EXPECT_EQ(search->SearchKind, 1);
  EXPECT_EQ(search->ReplaceText, "");
  EXPECT_EQ(search->FilesSearched, 2);
  // A match right after a search has no file node; extra fields are ignored.
  std::unique_ptr<TBaseNode> m(ok.CreateNode("M\0line\0" "4\0" "1\0" "2\0" "extra"s));
  EXPECT_EQ(dynamic_cast<TMatchNode*>(m.get())->FileNode(), nullptr);
  EXPECT_EQ(dynamic_cast<TMatchNode*>(m.get())->LineNumber, 4);

  const std::string bad[] = {
      "Q\0"s,                                       // unknown tag
      "\t \0x"s,                                    // empty tag after trimming
      "M\0line\0" "4\0" "1"s,                       // a field missing at the end
      "M\0line\0" "4x\0" "1\0" "2"s,                // not a number
      "M\0line\0" "99999999999\0" "1\0" "2"s,       // out of range
  };
  for (const auto& b : bad) EXPECT_THROW(std::unique_ptr<TBaseNode>(ok.CreateNode(b)), EInvalidFormat) << testing::PrintToString(b);
  // Numbers are cut to their first 20 characters before conversion.
  std::unique_ptr<TBaseNode> cut(ok.CreateNode("M\0x\0" "00000000000000000007123\0" "1\0" "1"s));
  EXPECT_EQ(dynamic_cast<TMatchNode*>(cut.get())->LineNumber, 7);
}

TEST(SavedResults, SaveThenLoadShowsTheSameTree) {
  ResultTree t;
  TempDir d;
  d.Write("a.pas", std::string("begin\r\nx := 'needle';\r\nneedle\0with nul\r\n", 38) + std::string(5000, 'n') + "needle\r\n");
  d.Write("sub\\b.pas", "needle\n");
  NewSearch(t.tree, d.Path(), "*.pas", "needle", 0x001F)->Execute();
  NewSearch(t.tree, d.Path(), "*.pas", "NEEDLE", 0x0019)->Execute();  // no file lines
  t.tree.FullExpand();
  auto before = t.Lines();
  std::string file = d / "results.qzt";
  std::string error;
  ASSERT_TRUE(SaveResults(t.tree, file, error)) << error;
  ASSERT_TRUE(LoadResults(t.tree, file, error)) << error;
  t.tree.FullExpand();
  auto after = t.Lines();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    std::string shown = before[i];
    std::replace(shown.begin(), shown.end(), '\0', ' ');  // a NUL is stored as a blank
    if (shown.size() > 4000) {
      // Over-long lines are cut so that their record fits one line of the file.
      EXPECT_EQ(after[i].size(), shown.find("     3 : ") + 9 + 4000) << i;
      EXPECT_EQ(after[i], shown.substr(0, after[i].size())) << i;
    } else {
      EXPECT_EQ(after[i], shown) << i;
    }
  }
  EXPECT_EQ(SearchNodes.size(), 2u);
  // File dates survive at their two-second resolution.
  TFileNode* f = nullptr;
  for (int32_t i = 1; i <= t.tree.ItemCount() && !f; ++i) f = t.Node<TFileNode>(i);
  ASSERT_NE(f, nullptr);
  EXPECT_NE(f->FileDate, 0);
}

TEST(SavedResults, DamagedFilesFailWithAMessageAndLeaveNoNodes) {
  ResultTree t;
  TempDir d;
  using namespace std::string_literals;
  const std::string files[] = {
      "F\0x\0" "1\0" "0\0" "0\r\n"s,
      "QRXF300\0" "1\0" "0\0" "0\0" "m\0" "s\0" "r\0" "e\0" "d\0" "0\0" "1\0" "1\0" "zz\r\n"s,
      "QRXF300\0" "1\0" "0\0" "0\0" "m\0" "s\0" "r\0" "e\0" "d\0" "0\0" "1\0" "1\0" "1\r\n\t\t\tM\0x\0" "1\0" "1\0" "1\r\n"s,
  };
  for (const auto& bytes : files) {
    std::string name = d.Write("bad.qzt", bytes);
    std::string error;
    EXPECT_FALSE(LoadResults(t.tree, name, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(t.tree.ItemCount(), 0);
    EXPECT_TRUE(SearchNodes.empty());
  }
}

}  // namespace

// Rows are put together from pieces copied without the library: every length, at every
// offset, through growth, must come out as the bytes went in.
TEST(TextBuffer, PiecesOfEveryLengthComeOutWhole) {
  std::string source(300, ' ');
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>('!' + (i * 7) % 90);
  qrx::TTextBuffer buffer;
  std::string expected;
  for (size_t length = 0; length <= 140; ++length) {
    for (size_t offset : {size_t{0}, size_t{1}, size_t{3}, size_t{150}}) {
      buffer.Append(source.data() + offset, length);
      expected.append(source, offset, length);
    }
    buffer.Append(length % 5, '\t');
    expected.append(length % 5, '\t');
  }
  EXPECT_EQ(buffer.View(), expected);
  buffer.Clear();
  buffer.Append(std::string_view("row"));
  buffer.Append('\n');
  EXPECT_EQ(buffer.Str(), "row\n");
}
