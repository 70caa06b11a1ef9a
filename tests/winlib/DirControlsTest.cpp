#include "winlib/DirControls.h"
#include "winlib/Form.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

class Host : public TForm {
 public:
  Host() {
    CreateForm("QrxDirHost", "Host", WS_OVERLAPPEDWINDOW);
    SetBounds(0, 0, 400, 300);
    dirs.Create(*this);
    drives.Create(*this);
    files.Create(*this);
    dirs.SetBounds(5, 5, 200, 200);
    drives.SetBounds(5, 210, 200, 200);
    files.SetBounds(210, 5, 150, 200);
    dirs.DriveBox = &drives;
    dirs.FileList = &files;
    drives.DirList = &dirs;
  }
  TDirectoryListBox dirs;
  TDriveComboBox drives;
  TFileListBox files;
};

TEST(DirectoryList, ShowsThePathAndOpensLinesByEnterAndDoubleClick) {
  test::TempDir tmp;
  std::string top = tmp.MakeDir("Top Folder");
  tmp.MakeDir("Top Folder\\beta");
  tmp.MakeDir("Top Folder\\Alpha");
  tmp.Write("Top Folder\\one.txt", "x");
  tmp.Write("Top Folder\\two.c", "x");
  Host host;
  int changes = 0;
  host.dirs.OnDirChange = [&] { ++changes; };
  ASSERT_TRUE(host.dirs.SetDirectory(top));
  EXPECT_EQ(changes, 1);

  int n = host.dirs.Count();
  ASSERT_GE(n, 4);
  EXPECT_EQ(host.dirs.Item(n - 2), "Alpha");
  EXPECT_EQ(host.dirs.Item(n - 1), "beta");
  EXPECT_EQ(host.dirs.Item(n - 3), "Top Folder");
  EXPECT_EQ(host.dirs.ItemIndex(), n - 3) << "the current folder is highlighted";
  EXPECT_EQ(host.files.Count(), 2);

  host.dirs.SetItemIndex(n - 1);
  ::SendMessageA(host.dirs.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(host.dirs.Directory(), top + "\\beta");
  EXPECT_EQ(host.files.Count(), 0);

  // Double click on the parent line goes back up.
  int parentLine = host.dirs.ItemIndex() - 1;
  host.dirs.SetItemIndex(parentLine);
  ::SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(host.dirs.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(host.dirs.Handle()));
  EXPECT_EQ(host.dirs.Directory(), top);
  EXPECT_EQ(changes, 3);
}

TEST(DirectoryList, RefusesPathsThatAreNoDirectories) {
  test::TempDir tmp;
  std::string file = tmp.Write("plain.txt", "x");
  Host host;
  ASSERT_TRUE(host.dirs.SetDirectory(tmp.Path()));
  for (const std::string& bad : {file, tmp.Path() + "\\missing", std::string()}) {
    EXPECT_FALSE(host.dirs.SetDirectory(bad)) << bad;
    EXPECT_EQ(host.dirs.Directory(), tmp.Path());
  }
}

TEST(DirectoryList, DriveBoxFollowsTheList) {
  test::TempDir tmp;
  Host host;
  ASSERT_TRUE(host.dirs.SetDirectory(tmp.Path()));
  char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(tmp.Path()[0])));
  EXPECT_EQ(host.drives.Drive(), drive);
  ASSERT_GE(host.drives.ItemIndex(), 0);
  EXPECT_EQ(host.drives.Item(host.drives.ItemIndex())[0], drive);
}

TEST(LongPathForm, RestoresLongNamesAndTheirCase) {
  test::TempDir tmp;
  std::string longDir = tmp.MakeDir("A Rather Long Folder Name");
  char shortBuf[MAX_PATH] = {};
  ASSERT_GT(::GetShortPathNameA(longDir.c_str(), shortBuf, MAX_PATH), 0u);
  std::string expected = LongPathForm(longDir);
  EXPECT_EQ(LongPathForm(shortBuf), expected);
  std::string lower = longDir;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(LongPathForm(lower), expected);
  EXPECT_NE(expected.find("A Rather Long Folder Name"), std::string::npos);
}

}  // namespace
}  // namespace qrx
