#include "controls/GOutlineWidths.h"

#include <string>

#include "winlib/TabText.h"

namespace qrx::outline {

void TAdvanceTable::Build(HDC dc) {
  usable_ = false;
  CPINFO cp{};
  if (!dc || !::GetCPInfo(CP_ACP, &cp) || cp.MaxCharSize != 1) return;
  INT widths[256];
  if (!::GetCharWidth32A(dc, 0, 255, widths)) return;
  for (int c = 0; c < 256; ++c) advance_[static_cast<std::size_t>(c)] = widths[c];
  // Fonts that add an overhang, or spacing set on the DC, would make the sum wrong: the
  // system's own measure of every character at once must agree.
  std::string probe;
  for (int c = 1; c < 256; ++c)
    if (c != '\t') probe.push_back(static_cast<char>(c));
  SIZE measured{};
  if (!::GetTextExtentPoint32A(dc, probe.data(), static_cast<int>(probe.size()), &measured)) return;
  usable_ = true;
  if (Width(probe) != measured.cx) usable_ = false;
}

int32_t TAdvanceTable::Width(std::string_view text) const {
  int32_t width = 0;
  std::size_t column = 0;
  const int32_t blank = advance_[static_cast<unsigned char>(' ')];
  for (char c : text) {
    if (c == '\t') {
      const std::size_t spaces = kTabWidth - column % kTabWidth;
      width += static_cast<int32_t>(spaces) * blank;
      column += spaces;
    } else {
      width += c == '\0' ? blank : advance_[static_cast<unsigned char>(c)];
      ++column;
    }
  }
  return width;
}

}  // namespace qrx::outline
