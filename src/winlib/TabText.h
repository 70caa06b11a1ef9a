#pragma once
// Text with tabs as the controls draw it: each tab becomes the spaces up to the next stop,
// so that a tab never shows as the font's box and every control puts the stops alike.
#include <cstddef>
#include <string>
#include <string_view>

namespace qrx {

// Tab stops every this many characters, as the system's own tab expansion puts them.
constexpr int kTabWidth = 8;

// Expands tabs to the next multiple of kTabWidth counted from column startColumn, and
// turns NUL bytes (which would end the drawn text) into spaces.
std::string ExpandTabs(std::string_view text, std::size_t startColumn = 0);

}  // namespace qrx
