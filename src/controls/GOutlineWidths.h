#pragma once
// Text widths from a table of the font's character advances. Measuring through the
// system costs a round of text conversion and glyph lookup per call, about ten
// microseconds under Wine, and expanding a tree of 100 000 rows measures every row: the
// sum of advances gives the same width for a fraction of that.
#include <array>
#include <cstdint>
#include <string_view>

#include "winlib/Win.h"

namespace qrx::outline {

class TAdvanceTable {
 public:
  // Reads the advances of the font selected into dc. The table stays unusable where a
  // width is not the sum of advances: a code page of more than one byte per character,
  // or a font whose measured text disagrees with its advances.
  void Build(HDC dc);
  void Forget() { usable_ = false; }
  bool Usable() const { return usable_; }
  // The width of text as the tree draws it: tabs expanded to the next stop, NULs as
  // blanks (ExpandTabs). Only while Usable().
  int32_t Width(std::string_view text) const;

 private:
  std::array<int32_t, 256> advance_{};
  bool usable_ = false;
};

}  // namespace qrx::outline
