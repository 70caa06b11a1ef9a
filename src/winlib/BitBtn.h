#pragma once
// A push button with a picture left of its caption, drawn by us. The picture's
// bottom-left pixel names its transparent colour.
#include "winlib/Controls.h"
#include "winlib/Handles.h"

namespace qrx {

class TBitBtn : public TButton {
 public:
  void Create(TWindow& parent, const std::string& caption);
  // Takes a bitmap resource of the program; a missing one leaves the button plain.
  void LoadGlyph(const char* resourceName);
  HBITMAP Glyph() const { return glyph_.get(); }
  bool HandleDrawItem(DRAWITEMSTRUCT* dis) override;

 private:
  UniqueGdi<HBITMAP> glyph_;
};

}  // namespace qrx
