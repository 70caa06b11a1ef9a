#pragma once
// Converts a form file on disk into the work file that a form-file search reads.
#include <cstddef>
#include <string>

namespace qrx {

// Larger files are refused unread: no form comes near this.
inline constexpr unsigned long long kMaxFormFileSize = 64ull << 20;

}  // namespace qrx

// Reads sourceName, converts it and writes the text to workFileName (created or
// truncated). False on any failure (empty names, unreadable, too large, not a form,
// write error); the failure is not shown. Once the source could be read, the work file
// is truncated even when the conversion fails, so no earlier file's text is left in it.
bool ConvertFormFile(const std::string& sourceName, const std::string& workFileName);
