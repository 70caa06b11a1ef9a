#include "winlib/DirModel.h"

#include <algorithm>
#include <cctype>

namespace qrx {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

DirPath SplitDirPath(const std::string& path) {
  DirPath out;
  size_t pos = 0;
  if (path.size() >= 2 && IsSep(path[0]) && IsSep(path[1])) {
    // \\server\share\ counts as the root
    size_t server = path.find_first_of("\\/", 2);
    size_t share = server == std::string::npos ? std::string::npos : path.find_first_of("\\/", server + 1);
    out.Root.assign(path, 0, share == std::string::npos ? path.size() : share);
    out.Root += '\\';
    pos = share == std::string::npos ? path.size() : share + 1;
  } else if (path.size() >= 2 && path[1] == ':') {
    out.Root.assign(path, 0, 2);
    out.Root += '\\';
    pos = 2;
  } else if (!path.empty() && IsSep(path[0])) {
    out.Root = "\\";
    pos = 1;
  }
  while (pos < path.size()) {
    size_t end = path.find_first_of("\\/", pos);
    if (end == std::string::npos) end = path.size();
    if (end > pos) out.Parts.push_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

std::string JoinDirPath(const DirPath& path, size_t count) {
  std::string s = path.Root;
  for (size_t i = 0; i < count && i < path.Parts.size(); ++i) {
    if (!s.empty() && !IsSep(s.back())) s += '\\';
    s += path.Parts[i];
  }
  return s;
}

std::vector<DirLine> DirListLines(const std::string& path, std::vector<std::string> subdirs) {
  DirPath p = SplitDirPath(path);
  std::vector<DirLine> lines;
  if (!p.Root.empty()) lines.push_back({p.Root, 0, true});
  int base = p.Root.empty() ? 0 : 1;
  for (size_t i = 0; i < p.Parts.size(); ++i) lines.push_back({p.Parts[i], base + static_cast<int>(i), true});
  std::sort(subdirs.begin(), subdirs.end(), LessNoCase);
  int indent = static_cast<int>(lines.size());
  for (auto& s : subdirs) lines.push_back({std::move(s), indent, false});
  return lines;
}

int DirListCurrentLine(const std::string& path) {
  DirPath p = SplitDirPath(path);
  return static_cast<int>(p.Parts.size()) + (p.Root.empty() ? 0 : 1) - 1;
}

std::string DirListOpen(const std::string& path, const std::vector<DirLine>& lines, int index) {
  if (index < 0 || index >= static_cast<int>(lines.size())) return {};
  DirPath p = SplitDirPath(path);
  if (lines[static_cast<size_t>(index)].Opened) {
    size_t count = p.Root.empty() ? static_cast<size_t>(index) + 1 : static_cast<size_t>(index);
    return JoinDirPath(p, count);
  }
  std::string base = JoinDirPath(p, p.Parts.size());
  if (!base.empty() && !IsSep(base.back())) base += '\\';
  return base + lines[static_cast<size_t>(index)].Text;
}

}  // namespace qrx
