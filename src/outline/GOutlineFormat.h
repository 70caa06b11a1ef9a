#pragma once
// The tab-indented text form of an outline: one line per node, (level - 1) TABs, the
// text, CR LF. Pure byte work, shared by the file reader, the writer and the string list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qrx::outline {

// Lines are assembled in and read through a buffer of this size, so no line of the
// text form (its CR included) is longer.
inline constexpr std::size_t kLineBufferSize = 4096;
// Deepest level a node may have (top-level nodes have level 1).
inline constexpr int32_t kMaxLevel = 256;

// Splits file bytes into lines. A line ends at CR (an LF right after it belongs to the
// CR) or where the data ends; an LF alone is text. A Ctrl-Z ends its line and the data:
// whatever stood before it on that line is the last line. A line of kLineBufferSize
// bytes or more without an end throws "Line too long".
std::vector<std::string_view> SplitLines(std::string_view data);

struct PlacedLine {
  std::string_view Text;  // without its leading TABs and blanks
  int32_t Level;          // level of the node the line becomes (1 = top level)
};

// Works out each line's level from its leading TAB or blank characters, as the reader
// places lines: each line at most one level deeper than the one before, the first always
// at the top. Throws "File load error" for a line that climbs too deep or past the top,
// "Maximum outline depth exceeded" below kMaxLevel.
std::vector<PlacedLine> PlaceLines(const std::vector<std::string_view>& lines);

// Number of leading TAB or blank characters: the depth a line asks for.
std::size_t LeadingDepth(std::string_view line);

// Level of the node a line of the given depth becomes, placed after the last node
// (level lastLevel, 0 for none) whose line had depth previousDepth. Throws as PlaceLines.
int32_t LevelAfter(std::size_t depth, std::size_t previousDepth, int32_t lastLevel);

// Appends one line of the text form. A text that would not fit the line buffer is cut
// so that the line still does, and CR and Ctrl-Z bytes inside it become blanks: either
// would end the line (or the whole file) when it is read back.
void AppendLine(std::string& out, int32_t level, std::string_view text);

}  // namespace qrx::outline
