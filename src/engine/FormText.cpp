#include "engine/FormText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace qrx {
namespace {

// Shared by the 8-bit and the wide strings: a code is quoted when it is a printable
// 8-bit character other than the quote itself.
class QuotedBuilder {
 public:
  explicit QuotedBuilder(size_t maxLength) : maxLength_(maxLength) {}

  void Add(uint32_t code) {
    if (code >= 32 && code < 256 && code != '\'') {
      if (!open_) text_ += '\'';
      open_ = true;
      text_ += static_cast<char>(code);
    } else {
      if (open_) text_ += '\'';
      open_ = false;
      text_ += '#';
      text_ += std::to_string(code);
    }
    // Checked only now: a step adds at most a few characters.
    if (text_.size() > maxLength_) throw std::length_error("quoted string too long");
  }
  std::string Finish() {
    if (text_.empty()) {
      text_ = "''";
    } else if (open_) {
      text_ += '\'';
    }
    if (text_.size() > maxLength_) throw std::length_error("quoted string too long");
    return std::move(text_);
  }

 private:
  std::string text_;
  size_t maxLength_;
  bool open_ = false;
};

// The general conversion with a fixed number of significant digits: "%g" style, so
// 1.5 stays "1.5", 1e10 stays "10000000000" and only very large or small magnitudes
// get an exponent ("1e+15"). std::to_chars, unlike printf, gives the same text on every
// C runtime and in every locale. Infinities and NaNs get fixed names of our own.
std::string GeneralText(double value, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string QuoteFormString(std::string_view bytes, size_t maxLength) {
  QuotedBuilder builder(maxLength);
  for (char c : bytes) builder.Add(static_cast<unsigned char>(c));
  return builder.Finish();
}

std::string QuoteFormWideString(std::string_view unitBytes, size_t maxLength) {
  QuotedBuilder builder(maxLength);
  for (size_t i = 0; i + 1 < unitBytes.size(); i += 2) {
    builder.Add(static_cast<unsigned char>(unitBytes[i]) |
                (static_cast<uint32_t>(static_cast<unsigned char>(unitBytes[i + 1])) << 8));
  }
  return builder.Finish();
}

std::string FormExtendedText(std::string_view tenBytes) {
  if (tenBytes.size() != 10) return "NAN";
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i) mantissa |= static_cast<uint64_t>(static_cast<unsigned char>(tenBytes[i])) << (8 * i);
  const unsigned signExponent =
      static_cast<unsigned char>(tenBytes[8]) | (static_cast<unsigned>(static_cast<unsigned char>(tenBytes[9])) << 8);
  const bool negative = (signExponent & 0x8000) != 0;
  const int exponent = static_cast<int>(signExponent & 0x7FFF);
  double value;
  if (exponent == 0x7FFF) {
    // The integer bit does not matter here; only the fraction tells infinity from NaN.
    value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
  } else {
    // value = mantissa * 2^(exponent - bias - 63); denormals use the smallest exponent.
    // Converting the 64-bit mantissa to double rounds once to 53 bits, which is as much
    // as the text below can show. Magnitudes beyond the double range become INF or 0.
    const int power = (exponent == 0 ? 1 : exponent) - 16383 - 63;
    value = std::ldexp(static_cast<double>(mantissa), power);
  }
  return GeneralText(negative ? -value : value, 15);
}

std::string FormSingleText(uint32_t bits) {
  float value;
  static_assert(sizeof value == sizeof bits);
  std::memcpy(&value, &bits, sizeof value);
  return GeneralText(value, 7);
}

std::string FormDoubleText(uint64_t bits) {
  double value;
  static_assert(sizeof value == sizeof bits);
  std::memcpy(&value, &bits, sizeof value);
  return GeneralText(value, 15);
}

std::string FormCurrencyText(int64_t scaled) {
  const bool negative = scaled < 0;
  // Negating through unsigned arithmetic keeps the most negative value exact.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    digits.erase(digits.find_last_not_of('0') + 1);
    text += '.';
    text += digits;
  }
  return text;
}

}  // namespace qrx
