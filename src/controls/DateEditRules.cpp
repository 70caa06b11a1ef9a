#include "controls/DateEditRules.h"

#include <cctype>

namespace qrx {
namespace {

// 0-based indexes of the two separators; -1 when missing.
std::pair<int, int> Separators(const std::string& text, char separator) {
  const auto first = text.find(separator);
  if (first == std::string::npos) return {-1, -1};
  const auto second = text.find(separator, first + 1);
  return {static_cast<int>(first), second == std::string::npos ? -1 : static_cast<int>(second)};
}

}  // namespace

std::pair<int, int> DatePartRange(const std::string& text, char separator, int part) {
  const int end = static_cast<int>(text.size());
  const auto [first, second] = Separators(text, separator);
  switch (part) {
    case 1: return {0, first < 0 ? end : first};
    case 2:
      if (first < 0) return {end, end};
      return {first + 1, second < 0 ? end : second};
    default:
      if (second < 0) return {end, end};
      return {second + 1, end};
  }
}

int DatePartAt(const std::string& text, char separator, int caret) {
  const auto [first, second] = Separators(text, separator);
  if (first < 0 || caret <= first) return 1;
  if (second >= 0 && caret > second) return 3;
  return 2;
}

bool SeparatorMovesOn(const std::string& text, char separator, int part) {
  const auto [first, second] = Separators(text, separator);
  return (part == 1 && first >= 0) || (part == 2 && second >= 0);
}

TypedChar JudgeTypedChar(unsigned char ch, char separator, bool readOnly) {
  const bool digitOrSeparator = std::isdigit(ch) || ch == static_cast<unsigned char>(separator);
  if (readOnly) return digitOrSeparator ? TypedChar::Accept : TypedChar::Drop;
  if (digitOrSeparator || ch < 32 || ch >= 128 || ch == '.') return TypedChar::Accept;
  return TypedChar::Beep;
}

}  // namespace qrx
