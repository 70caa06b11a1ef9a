#pragma once
// Small helpers shared by the form conversion tests.
#include <string>
#include <string_view>

#include "engine/FormConvert.h"

namespace qrx::test {

// Expected texts are written with "\n"; every line of the real text ends with CR LF.
inline std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

inline bool TryConvert(const std::string& bytes, std::string& text) {
  return ConvertFormStream(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text);
}

}  // namespace qrx::test
