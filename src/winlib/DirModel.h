#pragma once
// What the directory list shows, without a window: the current path as an indented
// list of its folders, then its subfolders one level deeper.
#include <string>
#include <vector>

namespace qrx {

struct DirPath {
  std::string Root;                 // "C:\" or "\\server\share\"
  std::vector<std::string> Parts;   // folders below the root
};

DirPath SplitDirPath(const std::string& path);
// The root followed by the first count folders.
std::string JoinDirPath(const DirPath& path, size_t count);

struct DirLine {
  std::string Text;
  int Indent;    // 0 for the root
  bool Opened;   // the root, a folder on the way, or the current folder
};

// Lines for the path: one per opened folder, then the subfolders sorted without case.
std::vector<DirLine> DirListLines(const std::string& path, std::vector<std::string> subdirs);
// Index of the current folder's line.
int DirListCurrentLine(const std::string& path);
// The directory that opening line index leads to; empty for an index out of range.
std::string DirListOpen(const std::string& path, const std::vector<DirLine>& lines, int index);

}  // namespace qrx
