#pragma once
// The texts of the form notation's scalar values: quoted strings and numbers.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace qrx {

// The quoting functions throw std::length_error rather than build a text longer than
// maxLength, so a huge string costs no more memory than the caller can accept.
inline constexpr size_t kNoLengthLimit = std::numeric_limits<size_t>::max();

// 8-bit string: printable runs in single quotes, everything else as #code ('ab'#13#10'cd').
std::string QuoteFormString(std::string_view bytes, size_t maxLength = kNoLengthLimit);
// UTF-16 units, given as little-endian byte pairs: units below 256 are treated as
// bytes, the others are written as #code.
std::string QuoteFormWideString(std::string_view unitBytes, size_t maxLength = kNoLengthLimit);

// The 10-byte extended float (64-bit mantissa with explicit integer bit, then sign and
// 15-bit exponent), as the general text conversion writes it.
std::string FormExtendedText(std::string_view tenBytes);
std::string FormSingleText(uint32_t bits);
std::string FormDoubleText(uint64_t bits);
// A 64-bit count of ten-thousandths, written as an exact decimal.
std::string FormCurrencyText(int64_t scaled);

}  // namespace qrx
