#pragma once
// The picture list box's pixel tab stops as text: each stop in decimal followed by one
// space. Window-free, so the parsing rules are checked without a display.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrx {

// Tab stops given out of order.
class EOrder : public std::runtime_error {
 public:
  EOrder() : std::runtime_error("Tab stops must be in increasing order.") {}
};

// A piece of text that should have been a whole number.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr int kMaxPixelTabStops = 10;

std::string FormatPixelTabStops(const std::vector<int32_t>& stops);
// Reads up to kMaxPixelTabStops values, each ended by a space; what follows the last
// space is ignored. Throws EOrder for a value below the one before it, EConvertError for a
// piece that is not a 32-bit decimal number.
std::vector<int32_t> ParsePixelTabStops(const std::string& text);

}  // namespace qrx
