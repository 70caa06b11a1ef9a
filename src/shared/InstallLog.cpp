#include "shared/InstallLog.h"

#include "shared/ProgramPath.h"
#include "shared/TextTools.h"
#include "winlib/Handles.h"

#include <optional>
#include <string_view>
#include <vector>

namespace qrx {

const char* const kLogKeyTag = "RegDB Key: ";
const char* const kLogValTag = "RegDB Val: ";
const char* const kLogNameTag = "RegDB Name: ";
const char* const kLogRootTag = "RegDB Root: ";
const char* const kLogTreeTag = "RegDB TREE: ";

namespace {

// A record field holds at most this many characters; longer values compare by their start.
constexpr size_t kFieldMax = 255;

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  if (!IsFile(path)) return std::nullopt;
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  // Lines end in CR LF as the program writes them, or in a lone CR or LF as an editor may leave them.
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// The field after a tag at the very start of the line.
std::optional<std::string> Field(const std::string& line, std::string_view tag) {
  if (line.compare(0, tag.size(), tag) != 0) return std::nullopt;
  return line.substr(tag.size(), kFieldMax);
}

// Fields compare as far as a record holds them.
bool SameText(std::string_view a, std::string_view b) {
  return EqualNoCase(a.substr(0, kFieldMax), b.substr(0, kFieldMax));
}

}  // namespace

int RootNumber(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return 0;
  if (root == HKEY_LOCAL_MACHINE) return 2;
  if (root == HKEY_USERS) return 3;
  return 1;
}

TInstallLog TInstallLog::OfProgram() { return TInstallLog(RunningProgramFolder() + "INSTALL.LOG"); }

bool TInstallLog::FindEntry(HKEY root, const std::string& firstTag, const std::string& key,
                            const std::string& valueName) const {
  auto lines = ReadLines(path_);
  if (!lines) return false;
  const bool valueRecord = firstTag == kLogKeyTag;
  const std::string rootText = std::to_string(RootNumber(root));
  size_t i = 0;
  while (i < lines->size()) {
    auto recordKey = Field((*lines)[i++], firstTag);
    if (!recordKey) continue;
    std::string name;
    if (i < lines->size() && Field((*lines)[i], kLogValTag)) ++i;
    if (i < lines->size()) {
      if (auto n = Field((*lines)[i], kLogNameTag)) {
        name = *n;
        ++i;
      }
    }
    // A record cut short does not swallow the line after it: that line is looked at again.
    if (i >= lines->size()) break;
    auto recordRoot = Field((*lines)[i], kLogRootTag);
    if (!recordRoot) continue;
    ++i;
    if (SameText(*recordRoot, rootText) && SameText(*recordKey, key) && (!valueRecord || SameText(name, valueName)))
      return true;
  }
  return false;
}

void TInstallLog::AddValueEntry(HKEY root, const std::string& key, const std::string& data,
                                const std::string& valueName) const {
  if (FindEntry(root, kLogKeyTag, key, valueName)) return;
  Append(std::string(kLogKeyTag) + key + "\r\n" + kLogValTag + data + "\r\n" + kLogNameTag + valueName + "\r\n" +
         kLogRootTag + std::to_string(RootNumber(root)) + "\r\n");
}

void TInstallLog::AddTreeEntry(HKEY root, const std::string& key) const {
  if (FindEntry(root, kLogTreeTag, key, "")) return;
  Append(std::string(kLogTreeTag) + key + "\r\n" + kLogRootTag + std::to_string(RootNumber(root)) + "\r\n");
}

void TInstallLog::Append(const std::string& lines) const {
  if (!IsFile(path_)) return;
  UniqueFile file(::CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  std::string out = lines;
  // A last line without its line end would run into the record's first tag and hide it.
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
    LARGE_INTEGER back{};
    back.QuadPart = -1;
    char last = '\n';
    DWORD got = 0;
    if (::SetFilePointerEx(file.get(), back, nullptr, FILE_END) && ::ReadFile(file.get(), &last, 1, &got, nullptr) &&
        got == 1 && last != '\n' && last != '\r')
      out = "\r\n" + out;
  }
  LARGE_INTEGER zero{};
  if (!::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return;
  DWORD written = 0;
  ::WriteFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

}  // namespace qrx
