#include "winlib/TabText.h"

namespace qrx {

std::string ExpandTabs(std::string_view text, std::size_t startColumn) {
  std::string out;
  out.reserve(text.size());
  std::size_t column = startColumn;
  for (char c : text) {
    if (c == '\t') {
      const std::size_t spaces = kTabWidth - column % kTabWidth;
      out.append(spaces, ' ');
      column += spaces;
    } else {
      out.push_back(c == '\0' ? ' ' : c);
      ++column;
    }
  }
  return out;
}

}  // namespace qrx
