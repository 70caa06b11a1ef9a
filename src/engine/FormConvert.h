#pragma once
// Binary form files (an optional 16-bit resource header, then a "TPF0" component
// stream) turned into the textual object notation that form-file searches match against.
#include <cstddef>
#include <string>

namespace qrx {

// Objects, lists and collections nested inside each other, counted together.
inline constexpr int kFormMaxNesting = 64;
// The text is never allowed to grow beyond this, nor beyond kFormMaxExpansion times the
// input (inputs so small that this would bite still get kFormMinOutputLimit).
inline constexpr size_t kFormMaxOutput = size_t{64} << 20;
inline constexpr size_t kFormMaxExpansion = 64;
inline constexpr size_t kFormMinOutputLimit = size_t{1} << 20;

}  // namespace qrx

// Converts a binary form file's bytes (optional resource header + "TPF0" stream) to its textual
// notation. Returns false on anything damaged or not a form (out must then be ignored).
bool ConvertFormStream(const unsigned char* data, size_t size, std::string& out);
