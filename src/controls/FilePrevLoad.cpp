#include "controls/FilePrevLoad.h"

#include "engine/TextReader.h"
#include "winlib/Win.h"

#include <algorithm>
#include <stdexcept>

namespace qrx::preview {

int32_t LoadCount(int32_t visibleRows, int32_t totalLines) {
  // At least the target line itself, whatever TotalLines says.
  return std::max({visibleRows, totalLines, int32_t{1}});
}

int32_t FirstLine(int32_t target, int32_t count) {
  int32_t half = count / 2;
  return half < target ? target - half : 1;
}

int32_t CentredTopIndex(int32_t targetIndex, int32_t visibleRows) {
  return std::max(targetIndex - visibleRows / 2, int32_t{0});
}

namespace {

bool IsNulLine(std::string_view line) { return line.size() == 1 && line[0] == '\0'; }

}  // namespace

bool ReadCountedLine(TTextReader& reader, std::string& line) {
  // Asking Eof first matters: at the end the reader answers nothing, not an empty line.
  if (reader.Eof()) return false;
  std::string_view view;
  bool ok = reader.ReadLine(view);
  while (ok && IsNulLine(view) && !reader.Eof()) ok = reader.ReadLine(view);
  if (!ok) return false;
  line.assign(view.substr(0, kMaxLineChars));
  return true;
}

void LoadLines(TTextReader& reader, int32_t first, int32_t count, int32_t target, std::vector<TPreviewLine>& out) {
  if (first < 1 || count < 1) return;
  const size_t kept = out.size();
  std::string line;
  int32_t number = 0;
  while (number < first) {
    if (!ReadCountedLine(reader, line)) return;
    ++number;
  }
  out.push_back({number, line});
  for (int32_t added = 1; added < count; ++added) {
    if (!ReadCountedLine(reader, line)) break;
    ++number;
    bool ended = reader.Eof();
    // A blank last line adds nothing to the view; the line asked for is always shown.
    if (ended && number != target && (line.empty() || IsNulLine(line))) break;
    out.push_back({number, line});
    if (ended) break;
  }
  // A file that has become shorter than the line asked for shows nothing rather than
  // lines around a target that is not there.
  if (number < target) out.resize(kept);
}

std::string PreviewErrorText(const std::string& fileName, const std::string& cause) {
  return "Error previewing file : \r" + fileName + "\r" + cause;
}

namespace {

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The system's words for an error code, without the trailing line end.
std::string SystemErrorText(unsigned long code) {
  char buffer[512] = {};
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string CauseOf(const std::exception& e) {
  if (auto* io = dynamic_cast<const EInOutError*>(&e)) {
    std::string text = SystemErrorText(io->ErrorCode);
    if (!text.empty()) return text;
  }
  return e.what();
}

}  // namespace

bool TPreviewContent::Shows(const std::string& fileName, int32_t line) const {
  return line == targetLine_ && SameFileName(fileName, fileName_);
}

bool TPreviewContent::Show(const std::string& fileName, int32_t line, int32_t matchStart, int32_t matchStop,
                           int32_t visibleRows) {
  if (Shows(fileName, line)) return false;
  loadCount_ = LoadCount(visibleRows, TotalLines);
  Clear();
  fileName_ = fileName;
  targetLine_ = line;
  matchStart_ = matchStart;
  matchStop_ = matchStop;
  const int32_t first = FirstLine(line, loadCount_);
  targetIndex_ = line - first;
  if (line < 1) return true;  // no such line in any file
  TTextReader reader;
  try {
    reader.Assign(fileName, kBufferSize, kBlockSize);
    reader.Open();
    LoadLines(reader, first, loadCount_, line, lines_);
  } catch (const std::exception& e) {
    // Forgetting the name lets the next request for this line try the file again.
    fileName_.clear();
    throw std::runtime_error(PreviewErrorText(fileName, CauseOf(e)));
  }
  return true;
}

void TPreviewContent::Clear() {
  lines_.clear();
  fileName_.clear();
  targetLine_ = 0;
  targetIndex_ = 0;
  matchStart_ = 0;
  matchStop_ = 0;
}

}  // namespace qrx::preview
