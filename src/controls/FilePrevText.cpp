#include "controls/FilePrevText.h"

#include <algorithm>

namespace qrx::preview {

std::string LineNumberText(int32_t number) {
  std::string digits = std::to_string(number);
  std::string text = digits.size() < 5 ? " " + digits : digits;
  text.resize(7, ' ');
  return text;
}

namespace {

// Appends a piece whose tabs continue the columns of the pieces before it, so the
// target line lines up with its neighbours.
void AddPiece(std::vector<TPreviewPiece>& pieces, size_t& column, TPieceRole role, std::string_view raw) {
  if (raw.empty()) return;
  std::string text = ExpandTabs(raw, column);
  column += text.size();
  pieces.push_back({role, std::move(text)});
}

}  // namespace

std::vector<TPreviewPiece> LinePieces(std::string_view line, bool isTarget, int32_t matchStart,
                                      int32_t matchStop) {
  std::vector<TPreviewPiece> pieces;
  size_t column = 0;
  if (!isTarget) {
    AddPiece(pieces, column, TPieceRole::Text, line);
    return pieces;
  }
  const int64_t length = static_cast<int64_t>(line.size());
  const int64_t first = std::max<int64_t>(matchStart, 1);
  const int64_t last = std::min<int64_t>(matchStop, length);
  if (matchStop < 1 || first > last) {
    AddPiece(pieces, column, TPieceRole::TargetText, line);
    return pieces;
  }
  const size_t begin = static_cast<size_t>(first - 1);
  const size_t end = static_cast<size_t>(last);
  AddPiece(pieces, column, TPieceRole::TargetText, line.substr(0, begin));
  AddPiece(pieces, column, TPieceRole::Match, line.substr(begin, end - begin));
  AddPiece(pieces, column, TPieceRole::TargetText, line.substr(end, kMaxRestChars));
  return pieces;
}

}  // namespace qrx::preview
