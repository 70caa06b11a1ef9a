#pragma once
// What one preview row shows, worked out without a window: the line-number column's
// text and the target line cut into coloured pieces, tabs already expanded so that a
// piece's colour lands on exactly the characters of the match.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "winlib/TabText.h"

namespace qrx::preview {

// After the match only this many characters of the target line are drawn.
constexpr size_t kMaxRestChars = 255;

// "12345  " for 12345, " 42    " for 42: seven characters, numbers below five digits
// indented by one.
std::string LineNumberText(int32_t number);
// Drawn in place of the number column when numbers are off, in a piece two spaces wide.
inline constexpr std::string_view kMarginText = "   ";
// The number column's piece is as wide as this text.
inline constexpr std::string_view kNumberColumnSample = "000000";

enum class TPieceRole : uint8_t {
  Text,        // an ordinary line: TextColor
  TargetText,  // the target line outside the match: TargetTextColor
  Match,       // the matched characters: MatchTextColor on MatchColor
};

struct TPreviewPiece {
  TPieceRole Role;
  std::string Text;  // tabs expanded; NUL bytes shown as spaces
  bool operator==(const TPreviewPiece&) const = default;
};

// The pieces of a line's text, left to right. matchStart and matchStop are the 1-based,
// inclusive character range of the match; they matter only on the target line, and a
// matchStop below 1 means the line has no match to colour. A range reaching past the
// line is cut to the line.
std::vector<TPreviewPiece> LinePieces(std::string_view line, bool isTarget, int32_t matchStart,
                                      int32_t matchStop);

}  // namespace qrx::preview
