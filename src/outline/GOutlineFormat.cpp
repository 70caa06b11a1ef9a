#include "outline/GOutlineFormat.h"

#include <algorithm>

#include "outline/GOutlineError.h"

namespace qrx::outline {

namespace {
constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kCtrlZ = '\x1A';
}  // namespace

std::vector<std::string_view> SplitLines(std::string_view data) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < data.size()) {
    // Only the first buffer-full of a line is looked at: a line that does not end
    // within it could not be read through the buffer.
    const std::size_t window = std::min(data.size() - pos, kLineBufferSize);
    std::size_t end = pos;
    while (end < pos + window && data[end] != kCR && data[end] != kCtrlZ) ++end;
    if (end == pos + window) {
      if (window == kLineBufferSize) throw EOutlineError(kLineTooLong);
      lines.push_back(data.substr(pos));
      break;
    }
    if (data[end] == kCtrlZ) {
      // A Ctrl-Z is where the data ends; nothing before it on its line means no line.
      if (end > pos) lines.push_back(data.substr(pos, end - pos));
      break;
    }
    lines.push_back(data.substr(pos, end - pos));
    pos = end + 1;
    if (pos < data.size() && data[pos] == kLF) ++pos;
  }
  return lines;
}

std::size_t LeadingDepth(std::string_view line) {
  std::size_t depth = 0;
  while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' ')) ++depth;
  return depth;
}

int32_t LevelAfter(std::size_t depth, std::size_t previousDepth, int32_t lastLevel) {
  int64_t parentLevel;
  if (depth <= previousDepth && lastLevel > 0) {
    parentLevel = int64_t{lastLevel} - static_cast<int64_t>(previousDepth - depth + 1);
    if (parentLevel < 0) throw EOutlineError(kFileLoadError);
  } else {
    if (depth > previousDepth + 1) throw EOutlineError(kFileLoadError);
    parentLevel = lastLevel;
  }
  if (parentLevel >= kMaxLevel) throw EOutlineError(kMaxDepthExceeded);
  return static_cast<int32_t>(parentLevel + 1);
}

std::vector<PlacedLine> PlaceLines(const std::vector<std::string_view>& lines) {
  std::vector<PlacedLine> placed;
  placed.reserve(lines.size());
  std::size_t previousDepth = 0;
  int32_t lastLevel = 0;
  for (std::string_view line : lines) {
    const std::size_t depth = LeadingDepth(line);
    lastLevel = LevelAfter(depth, previousDepth, lastLevel);
    placed.push_back({line.substr(depth), lastLevel});
    previousDepth = depth;
  }
  return placed;
}

void AppendLine(std::string& out, int32_t level, std::string_view text) {
  const std::size_t tabs = level > 1 ? static_cast<std::size_t>(level - 1) : 0;
  const std::size_t room = kLineBufferSize - 2 - std::min(tabs, kLineBufferSize - 2);
  const std::size_t keep = std::min(text.size(), room);
  out.append(std::min(tabs, kLineBufferSize - 2), '\t');
  const std::size_t start = out.size();
  out.append(text.substr(0, keep));
  for (std::size_t i = start; i < out.size(); ++i) {
    if (out[i] == kCR || out[i] == kCtrlZ) out[i] = ' ';
  }
  out += "\r\n";
}

}  // namespace qrx::outline
