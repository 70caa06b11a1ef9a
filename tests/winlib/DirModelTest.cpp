#include "winlib/DirModel.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

struct SplitCase {
  const char* path;
  const char* root;
  std::vector<std::string> parts;
};

TEST(DirModel, SplitsRootAndFolders) {
  const SplitCase cases[] = {
      {"C:\\", "C:\\", {}},
      {"C:", "C:\\", {}},
      {"c:\\src\\app", "c:\\", {"src", "app"}},
      {"c:\\src\\app\\", "c:\\", {"src", "app"}},
      {"c:/src//app", "c:\\", {"src", "app"}},
      {"\\\\server\\share\\docs", "\\\\server\\share\\", {"docs"}},
      {"\\\\server", "\\\\server\\", {}},
      {"", "", {}},
  };
  for (const auto& c : cases) {
    DirPath p = SplitDirPath(c.path);
    EXPECT_EQ(p.Root, c.root) << c.path;
    EXPECT_EQ(p.Parts, c.parts) << c.path;
  }
}

TEST(DirModel, LinesShowPathThenSortedSubfolders) {
  auto lines = DirListLines("C:\\src\\app", {"zeta", "Beta", "alpha"});
  std::vector<std::string> texts;
  std::vector<int> indents;
  std::vector<bool> opened;
  for (auto& l : lines) {
    texts.push_back(l.Text);
    indents.push_back(l.Indent);
    opened.push_back(l.Opened);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"C:\\", "src", "app", "alpha", "Beta", "zeta"}));
  EXPECT_EQ(indents, (std::vector<int>{0, 1, 2, 3, 3, 3}));
  EXPECT_EQ(opened, (std::vector<bool>{true, true, true, false, false, false}));
  EXPECT_EQ(DirListCurrentLine("C:\\src\\app"), 2);
  EXPECT_EQ(DirListCurrentLine("C:\\"), 0);
}

TEST(DirModel, OpeningALineLeadsToItsDirectory) {
  const std::string path = "C:\\src\\app";
  auto lines = DirListLines(path, {"tests", "docs"});
  const struct {
    int index;
    const char* target;
  } cases[] = {
      {0, "C:\\"}, {1, "C:\\src"}, {2, "C:\\src\\app"}, {3, "C:\\src\\app\\docs"}, {4, "C:\\src\\app\\tests"},
      {5, ""},     {-1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DirListOpen(path, lines, c.index), c.target) << c.index;
}

TEST(DirModel, SubfoldersOfTheRootGoBelowIt) {
  auto lines = DirListLines("D:\\", {"x"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].Indent, 1);
  EXPECT_EQ(DirListOpen("D:\\", lines, 1), "D:\\x");
}

}  // namespace
}  // namespace qrx
