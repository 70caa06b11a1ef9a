#include "controls/PicTabStops.h"

#include <cerrno>
#include <cstdlib>

namespace qrx {

namespace {

int32_t ToInt(const std::string& piece) {
  // strtol alone would take " 12", "12x" or an empty piece; the whole piece must be a number.
  const std::string message = "'" + piece + "' is not a valid integer value";
  size_t i = 0;
  if (i < piece.size() && (piece[i] == '-' || piece[i] == '+')) ++i;
  if (i == piece.size()) throw EConvertError(message);
  for (size_t j = i; j < piece.size(); ++j)
    if (piece[j] < '0' || piece[j] > '9') throw EConvertError(message);
  errno = 0;
  const long long value = std::strtoll(piece.c_str(), nullptr, 10);
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) throw EConvertError(message);
  return static_cast<int32_t>(value);
}

}  // namespace

std::string FormatPixelTabStops(const std::vector<int32_t>& stops) {
  std::string text;
  for (int32_t stop : stops) text += std::to_string(stop) + ' ';
  return text;
}

std::vector<int32_t> ParsePixelTabStops(const std::string& text) {
  std::vector<int32_t> stops;
  size_t pos = 0;
  while (stops.size() < static_cast<size_t>(kMaxPixelTabStops)) {
    const size_t space = text.find(' ', pos);
    if (space == std::string::npos) break;
    const int32_t value = ToInt(text.substr(pos, space - pos));
    if (!stops.empty() && value < stops.back()) throw EOrder();
    stops.push_back(value);
    pos = space + 1;
  }
  return stops;
}

}  // namespace qrx
