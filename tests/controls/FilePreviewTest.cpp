#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "controls/FilePrevLoad.h"
#include "controls/FilePrevText.h"
#include "engine/TextReader.h"
#include "winlib/Handles.h"

namespace qrx::preview {
namespace {

using test::TempDir;

// "line 1\r\nline 2\r\n..." up to count lines.
std::string NumberedFile(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

std::vector<int32_t> Numbers(const TPreviewContent& c) {
  std::vector<int32_t> out;
  for (const auto& l : c.Lines()) out.push_back(l.Number);
  return out;
}

std::vector<std::string> Texts(const TPreviewContent& c) {
  std::vector<std::string> out;
  for (const auto& l : c.Lines()) out.push_back(l.Text);
  return out;
}

std::vector<int32_t> Range(int32_t first, int32_t last) {
  std::vector<int32_t> out;
  for (int32_t i = first; i <= last; ++i) out.push_back(i);
  return out;
}

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

TEST(PreviewNumbers, ColumnTextIsSevenCharacters) {
  struct Case {
    int32_t number;
    const char* text;
  } cases[] = {
      {1, " 1     "},       {42, " 42    "},       {9999, " 9999  "},      {12345, "12345  "},
      {123456, "123456 "},  {1234567, "1234567"}, {98765432, "9876543"},
  };
  for (const auto& c : cases) EXPECT_EQ(LineNumberText(c.number), c.text) << c.number;
}

TEST(PreviewPieces, MatchRangeCutsTheTargetLine) {
  using R = TPieceRole;
  const std::string longRest = "ab" + std::string(300, 'z');
  struct Case {
    const char* name;
    std::string line;
    bool target;
    int32_t start, stop;
    std::vector<TPreviewPiece> pieces;
  } cases[] = {
      {"other line ignores the match", "abcdef", false, 2, 3, {{R::Text, "abcdef"}}},
      {"no match", "abcdef", true, 0, 0, {{R::TargetText, "abcdef"}}},
      {"stop below one", "abcdef", true, 3, 0, {{R::TargetText, "abcdef"}}},
      {"middle", "abcdef", true, 3, 4, {{R::TargetText, "ab"}, {R::Match, "cd"}, {R::TargetText, "ef"}}},
      {"at the start: no prefix", "abcdef", true, 1, 3, {{R::Match, "abc"}, {R::TargetText, "def"}}},
      {"at the end: no rest", "abcdef", true, 4, 6, {{R::TargetText, "abc"}, {R::Match, "def"}}},
      {"whole line", "abcdef", true, 1, 6, {{R::Match, "abcdef"}}},
      {"start below one counts from one", "abcdef", true, 0, 2, {{R::Match, "ab"}, {R::TargetText, "cdef"}}},
      {"stop past the end", "abcdef", true, 5, 99, {{R::TargetText, "abcd"}, {R::Match, "ef"}}},
      {"start past the end", "abcdef", true, 8, 9, {{R::TargetText, "abcdef"}}},
      {"start after stop", "abcdef", true, 4, 2, {{R::TargetText, "abcdef"}}},
      {"empty target line", "", true, 1, 1, {}},
      {"rest limited", longRest, true, 1, 2, {{R::Match, "ab"}, {R::TargetText, std::string(kMaxRestChars, 'z')}}},
      // Tabs are expanded from the line's start across the pieces, so the match keeps
      // its place under the same columns as in the other lines.
      {"tab before the match", "\tab\tc", true, 2, 3,
       {{R::TargetText, std::string(8, ' ')}, {R::Match, "ab"}, {R::TargetText, std::string(6, ' ') + "c"}}},
      {"tab inside the match", "x\ty", true, 1, 2, {{R::Match, "x       "}, {R::TargetText, "y"}}},
      {"tabs on an other line", "ab\tc", false, 0, 0, {{R::Text, "ab      c"}}},
      {"NUL shown as space", std::string("a\0b", 3), true, 2, 2,
       {{R::TargetText, "a"}, {R::Match, " "}, {R::TargetText, "b"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(LinePieces(c.line, c.target, c.start, c.stop), c.pieces) << c.name;
}

TEST(PreviewWindow, CentredTopIndex) {
  struct Case {
    int32_t target, visible, top;
  } cases[] = {{2, 10, 0}, {25, 10, 20}, {25, 9, 21}, {0, 0, 0}, {3, 0, 3}};
  for (const auto& c : cases) EXPECT_EQ(CentredTopIndex(c.target, c.visible), c.top) << c.target << "/" << c.visible;
}

TEST(PreviewLoad, WindowAroundTheTargetLine) {
  TempDir dir;
  const std::string file = dir.Write("hundred.txt", NumberedFile(100));
  struct Case {
    int32_t line, totalLines, visible;
    int32_t first, last, targetIndex;  // first 0: nothing loaded
  } cases[] = {
      {3, 50, 10, 1, 50, 2},      // cannot start above line 1
      {80, 50, 10, 55, 100, 25},  // the file ends before 50 lines
      {50, 50, 10, 25, 74, 25},
      {26, 50, 10, 1, 50, 25},    // half is not below the line: starts at 1
      {27, 50, 10, 2, 51, 25},
      {100, 50, 10, 75, 100, 25},
      {3, 50, 60, 1, 60, 2},      // a view taller than TotalLines
      {40, 5, 2, 38, 42, 2},
      {1, 1, 0, 1, 1, 0},
      {7, 0, 0, 7, 7, 0},         // the target line at least
      {101, 50, 10, 0, 0, 25},    // the file is shorter than the line
      {500, 50, 10, 0, 0, 25},
      {101, 300, 10, 0, 0, 100},
  };
  for (const auto& c : cases) {
    TPreviewContent content;
    content.TotalLines = c.totalLines;
    EXPECT_TRUE(content.Show(file, c.line, 3, 4, c.visible));
    std::vector<int32_t> expect = c.first ? Range(c.first, c.last) : std::vector<int32_t>{};
    EXPECT_EQ(Numbers(content), expect) << "line " << c.line;
    EXPECT_EQ(content.TargetIndex(), c.targetIndex) << "line " << c.line;
    for (const auto& l : content.Lines()) EXPECT_EQ(l.Text, "line " + std::to_string(l.Number));
    if (c.first) {
      EXPECT_EQ(content.Lines()[static_cast<size_t>(c.targetIndex)].Number, c.line);
    }
  }
}

TEST(PreviewLoad, SameLineOfTheSameFileIsNotReloaded) {
  TempDir dir;
  const std::string file = dir.Write("same.txt", NumberedFile(100));
  TPreviewContent content;
  ASSERT_TRUE(content.Show(file, 80, 3, 5, 10));
  // Changing the file shows whether a later request reads it again.
  dir.Write("same.txt", "changed\r\n");

  EXPECT_FALSE(content.Show(Upper(file), 80, 7, 9, 10));
  EXPECT_EQ(content.MatchStart(), 3);
  EXPECT_EQ(content.MatchStop(), 5);
  EXPECT_EQ(Numbers(content), Range(55, 100));
  EXPECT_EQ(content.FileName(), file);

  // Another line of the same file is a new load.
  EXPECT_TRUE(content.Show(file, 1, 2, 4, 10));
  EXPECT_EQ(Texts(content), std::vector<std::string>{"changed"});
  EXPECT_EQ(content.MatchStart(), 2);
  EXPECT_EQ(content.MatchStop(), 4);
}

TEST(PreviewLoad, ClearForgetsEverything) {
  TempDir dir;
  const std::string file = dir.Write("c.txt", NumberedFile(10));
  TPreviewContent content;
  ASSERT_TRUE(content.Show(file, 4, 1, 2, 10));
  content.Clear();
  EXPECT_TRUE(content.Lines().empty());
  EXPECT_EQ(content.FileName(), "");
  EXPECT_EQ(content.TargetLine(), 0);
  EXPECT_EQ(content.MatchStart(), 0);
  EXPECT_EQ(content.MatchStop(), 0);
  // After a clear the same line loads again.
  EXPECT_TRUE(content.Show(file, 4, 1, 2, 10));
  EXPECT_EQ(content.Lines().size(), 10u);
}

TEST(PreviewLoad, LinesAndTheirNumbers) {
  TempDir dir;
  const std::string nul(1, '\0');
  struct Case {
    const char* name;
    std::string bytes;
    int32_t line;
    std::vector<int32_t> numbers;
    std::vector<std::string> texts;
  } cases[] = {
      {"NUL lines are not counted", "a\n" + nul + "\nb\n" + nul + "\n" + nul + "\nc\n", 2, {1, 2, 3}, {"a", "b", "c"}},
      {"NUL lines before the target", nul + "\n" + nul + "\nx\ny\n", 1, {1, 2}, {"x", "y"}},
      {"every line end", "a\rb\nc\r\nd\n\re\r\rf", 1, {1, 2, 3, 4, 5, 6, 7}, {"a", "b", "c", "d", "e", "", "f"}},
      {"empty last line left out", "a\nb\n\n", 1, {1, 2}, {"a", "b"}},
      // The line asked for is shown even when it is that blank last line.
      {"empty last line as target", "a\nb\n\n", 3, {1, 2, 3}, {"a", "b", ""}},
      {"NUL last line as target", "a\nb\n" + nul, 3, {1, 2, 3}, {"a", "b", nul}},
      {"NUL last line left out", "a\nb\n" + nul, 1, {1, 2}, {"a", "b"}},
      {"empty lines inside stay", "a\n\n\nb", 1, {1, 2, 3, 4}, {"a", "", "", "b"}},
      {"Ctrl-Z ends the file", "a\nb\x1a" "c\nd\n", 1, {1, 2}, {"a", "b"}},
      {"empty file", "", 1, {}, {}},
      {"tabs kept as read", "\tx\n", 1, {1}, {"\tx"}},
  };
  for (const auto& c : cases) {
    const std::string file = dir.Write("lines.txt", c.bytes);
    TPreviewContent content;
    content.Show(file, c.line, 0, 0, 10);
    EXPECT_EQ(Numbers(content), c.numbers) << c.name;
    EXPECT_EQ(Texts(content), c.texts) << c.name;
  }
}

TEST(PreviewLoad, VeryLongLineIsCut) {
  TempDir dir;
  const std::string file = dir.Write("long.txt", std::string(100000, 'q') + "\nshort\n");
  TPreviewContent content;
  content.Show(file, 1, 1, 1, 10);
  ASSERT_EQ(content.Lines().size(), 2u);
  EXPECT_EQ(content.Lines()[0].Text, std::string(kMaxLineChars, 'q'));
  EXPECT_EQ(content.Lines()[1].Text, "short");
}

TEST(PreviewLoad, MissingFileGivesThePreviewError) {
  TempDir dir;
  const std::string file = dir / "missing.txt";
  TPreviewContent content;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      content.Show(file, 3, 1, 2, 10);
      ADD_FAILURE() << "no error on attempt " << attempt;
    } catch (const std::runtime_error& e) {
      const std::string head = "Error previewing file : \r" + file + "\r";
      const std::string text = e.what();
      ASSERT_EQ(text.substr(0, head.size()), head);
      const std::string cause = text.substr(head.size());
      EXPECT_FALSE(cause.empty());
      EXPECT_EQ(cause.find_first_of("\r\n"), std::string::npos) << cause;
    }
    EXPECT_TRUE(content.Lines().empty());
  }
  // Once the file is there, the same request shows it.
  dir.Write("missing.txt", NumberedFile(5));
  EXPECT_TRUE(content.Show(file, 3, 1, 2, 10));
  EXPECT_EQ(Numbers(content), Range(1, 5));
}

// The loader stops reading at the last line it shows: the reader stands right after it,
// so no line beyond the window is read, however big the file.
TEST(PreviewLoad, ReadingStopsAfterTheLastLineShown) {
  TempDir dir;
  const std::string text = NumberedFile(200000);
  const std::string file = dir.Write("big.txt", text);
  struct Case {
    int32_t first, count, target;
    int32_t last;  // the last line read
  } cases[] = {{1, 50, 3, 50}, {55, 50, 80, 104}, {199990, 50, 199995, 200000}, {5, 1, 5, 5}};
  for (const auto& c : cases) {
    TTextReader reader;
    reader.Assign(file, kBufferSize, kBlockSize);
    reader.Open();
    std::vector<TPreviewLine> lines;
    LoadLines(reader, c.first, c.count, c.target, lines);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().Number, c.last);
    const std::string lastLine = "line " + std::to_string(c.last) + "\r\n";
    EXPECT_EQ(reader.RawPosition(), text.find(lastLine) + lastLine.size()) << c.first;
  }
}

}  // namespace
}  // namespace qrx::preview
