#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outline/OutlineTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

std::string Nested(int levels) {
  std::string bytes;
  for (int i = 0; i < levels; ++i) bytes += std::string(static_cast<std::size_t>(i), '\t') + "n\r\n";
  return bytes;
}

struct LoadCase {
  const char* name;
  std::string bytes;
  Lines shape;        // expected when error is empty
  const char* error;  // "" when the load succeeds
};

TEST(OutlineLoad, TextFormatRules) {
  const LoadCase cases[] = {
      {"CR LF ends lines", "a\r\n\tb\r\nc\r\n", {"a", "\tb", "c"}, ""},
      {"CR alone ends lines", "a\rb\r", {"a", "b"}, ""},
      {"LF alone is text", "a\nb\r\n", {"a\nb"}, ""},
      {"last line without end", "a\r\nb", {"a", "b"}, ""},
      {"empty lines", "\r\n\r\n", {"", ""}, ""},
      {"blanks count as depth", "a\r\n b\r\n\t c\r\n d\r\n", {"a", "\tb", "\t\tc", "\td"}, ""},
      {"climbing several levels", "a\r\n\tb\r\n\t\tc\r\nd\r\n", {"a", "\tb", "\t\tc", "d"}, ""},
      {"first line indented once", "\ta\r\n\tb\r\n", {"a", "b"}, ""},
      {"first line indented, then not", "\ta\r\nb\r\n", {}, "File load error"},
      {"first line indented twice", "\t\ta\r\n", {}, "File load error"},
      {"two levels deeper", "a\r\n\t\tb\r\n", {}, "File load error"},
      {"Ctrl-Z in the third line", "a\r\nb\r\ncc\x1A" "dd\r\ne\r\n", {"a", "b", "cc"}, ""},
      {"Ctrl-Z at a line start", "a\r\n\x1A\r\nb", {"a"}, ""},
      {"LF only, short", "a\nb\nc\n", {"a\nb\nc\n"}, ""},
      {"LF only, long", std::string(3000, 'x') + "\n" + std::string(3000, 'y') + "\n", {}, "Line too long"},
      {"longest line", std::string(4095, 'x') + "\r\ny", {std::string(4095, 'x'), "y"}, ""},
      {"line of 4096 bytes", std::string(4096, 'x') + "\r\n", {}, "Line too long"},
      {"4096 bytes without end", std::string(4096, 'x'), {}, "Line too long"},
      {"4095 bytes without end", std::string(4095, 'x'), {std::string(4095, 'x')}, ""},
      {"empty file", "", {}, ""},
      {"257 levels", Nested(257), {}, "Maximum outline depth exceeded"},
  };
  ScratchDir dir;
  for (const LoadCase& c : cases) {
    int destroyed = 0;
    TestOutline o;
    Build(o, {"old", "\tkid"});
    o.OnNodeDestroy = [&](TGOutlineNode*) { ++destroyed; };
    const std::string file = dir.Write("case.txt", c.bytes);
    const std::string error = ErrorOf([&] { o.LoadFromFile(file); });
    EXPECT_EQ(error, c.error) << c.name;
    if (*c.error) {
      // Nothing of the old content is lost to a file that cannot be read.
      EXPECT_EQ(Shape(o), (Lines{"old", "\tkid"})) << c.name;
      EXPECT_EQ(destroyed, 0) << c.name;
      continue;
    }
    EXPECT_EQ(Shape(o), c.shape) << c.name;
    EXPECT_EQ(destroyed, 3) << c.name;  // the old nodes and the old root
    int32_t topLevel = 0;
    for (TGOutlineNode* n : Preorder(o)) {
      EXPECT_FALSE(n->Expanded()) << c.name;
      topLevel += n->Level() == 1;
    }
    EXPECT_EQ(o.RowCount(), topLevel) << c.name;
    EXPECT_EQ(o.Row(), 0) << c.name;
    EXPECT_EQ(o.SelectedItem(), c.shape.empty() ? 0 : 1) << c.name;
  }
}

TEST(OutlineLoad, DeepestLevelAndMissingFile) {
  ScratchDir dir;
  TestOutline o;
  o.LoadFromFile(dir.Write("deep.txt", Nested(256)));
  EXPECT_EQ(o.ItemCount(), 256);
  EXPECT_EQ(o.Items(256)->Level(), 256);

  EXPECT_EQ(ErrorOf([&] { o.LoadFromFile(dir.File("missing.txt")); }), "File load error");
  EXPECT_EQ(o.ItemCount(), 256);
}

TEST(OutlineLoad, TextHandlerBuildsDataAndMayRefuseALine) {
  ScratchDir dir;
  Lines log;
  Lines destroyed;
  std::vector<int> payloads(4);
  int next = 0;
  TestOutline o;
  o.OnSetNodeText = [&](TGOutlineNode* n, std::string& text) {
    log.push_back(text + (n->Parent() ? " attached" : " loose"));
    if (text == "bad") throw std::runtime_error("Invalid file format.");
    n->SetData(&payloads[next++]);
  };
  o.OnNodeDestroy = [&](TGOutlineNode* n) { destroyed.emplace_back(n->StoredText()); };
  const std::string file = dir.Write("records.txt", "a\r\n\tb\r\nbad\r\nc\r\n");
  EXPECT_THROW(o.LoadFromFile(file), std::runtime_error);
  EXPECT_EQ(log, (Lines{"a loose", "b loose", "bad loose"}));
  EXPECT_EQ(destroyed, (Lines{"", "bad"}));  // the old root, then the refused line
  EXPECT_EQ(Shape(o), (Lines{"a", "\tb"}));
  EXPECT_EQ(o.Items(2)->Data(), &payloads[1]);
  EXPECT_EQ(o.SelectedItem(), 1);
}

TEST(OutlineSave, WritesEveryNodeInTheTextForm) {
  ScratchDir dir;
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "d"});
  o.OnGetNodeText = [](TGOutlineNode*, std::string& text) { text += "*"; };
  const std::string file = dir.File("out.txt");
  dir.Write("out.txt", "previous content that is longer than the new one\r\n");
  o.SaveToFile(file);
  EXPECT_EQ(ReadBytes(file), "a*\r\n\tb*\r\n\t\tc*\r\nd*\r\n");

  EXPECT_FALSE(ErrorOf([&] { o.SaveToFile(dir.File("no such folder/out.txt")); }).empty());
}

TEST(OutlineSave, RoundTripKeepsShapeAndCutsWhatCannotBeRead) {
  ScratchDir dir;
  TestOutline o;
  Build(o, {"search", "\tfile", "\t\t" + std::string(5000, 'x'), "\t\tcr\rand\x1A" "eof", "\tlast", "next"});
  o.Items(1)->Expand();
  const std::string file = dir.File("round.txt");
  o.SaveToFile(file);

  const std::string bytes = ReadBytes(file);
  const std::size_t longLine = bytes.find("\t\tx");
  ASSERT_NE(longLine, std::string::npos);
  EXPECT_EQ(bytes.find("\r\n", longLine) + 2 - longLine, 4096u);  // TABs, text and CR LF fit the buffer

  TestOutline back;
  back.LoadFromFile(file);
  EXPECT_EQ(Shape(back), (Lines{"search", "\tfile", "\t\t" + std::string(4094 - 2, 'x'), "\t\tcr and eof", "\tlast", "next"}));
}

TEST(OutlineLines, StringListView) {
  TestOutline o;
  Build(o, {"a", "\tb", "c"});
  o.OnGetNodeText = [](TGOutlineNode*, std::string& text) { text = "[" + text + "]"; };
  TOutlineStrings& lines = o.Lines();
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.ToVector(), (Lines{"[a]", "\t[b]", "[c]"}));
  int payload = 0;
  lines.SetObject(1, &payload);
  EXPECT_EQ(o.Items(2)->Data(), &payload);
  EXPECT_EQ(lines.Objects(1), &payload);
  EXPECT_EQ(ErrorOf([&] { lines.Strings(3); }), "Outline index not found");
  EXPECT_EQ(ErrorOf([&] { lines.Strings(-1); }), "Invalid outline index");

  lines.Insert(0, "\tz");  // raw text, no depth
  EXPECT_EQ(o.Items(1)->StoredText(), "\tz");
  EXPECT_EQ(o.Items(1)->Level(), 1);
  lines.Delete(0);
  lines.Delete(1);
  EXPECT_EQ(Shape(o), (Lines{"a", "c"}));
  lines.Clear();
  EXPECT_EQ(lines.Count(), 0);
}

TEST(OutlineLines, AddPlacesByDepthAfterTheLastNode) {
  struct Step {
    const char* line;
    int32_t result;     // position in the list, or -1 when it fails
    const char* error;
  };
  const std::vector<Step> steps = {
      {"\ta", 0, ""},        // the first string is top-level whatever its depth
      {"\tb", 1, ""},
      {"  c", 2, ""},        // blanks count like TABs
      {"\t\t\t\td", -1, "File load error"},
      {"e", 3, ""},
      {"\t\tf", -1, "File load error"},
      {"\tg", 4, ""},
  };
  TestOutline o;
  for (const Step& s : steps) {
    int32_t result = -1;
    const std::string error = ErrorOf([&] { result = o.Lines().Add(s.line); });
    EXPECT_EQ(error, s.error) << s.line;
    if (!*s.error) {
      EXPECT_EQ(result, s.result) << s.line;
    }
  }
  EXPECT_EQ(Shape(o), (Lines{"a", "\tb", "\t\tc", "e", "\tg"}));
  int payload = 0;
  EXPECT_EQ(o.Lines().AddObject("\th", &payload), 5);
  EXPECT_EQ(o.Items(6)->Data(), &payload);
}

TEST(OutlineLines, AssignReplacesContentOrKeepsIt) {
  TestOutline o;
  Build(o, {"old"});
  o.Lines().Assign({"a", "\tb", "\t\tc", "d"});
  EXPECT_EQ(Shape(o), (Lines{"a", "\tb", "\t\tc", "d"}));
  const Lines copy = o.Lines().ToVector();
  TestOutline other;
  other.Lines().Assign(copy);
  EXPECT_EQ(Shape(other), Shape(o));
  EXPECT_EQ(ErrorOf([&] { o.Lines().Assign({"a", "\t\tb"}); }), "File load error");
  EXPECT_EQ(Shape(o), (Lines{"a", "\tb", "\t\tc", "d"}));
}

}  // namespace
