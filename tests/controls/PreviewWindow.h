#pragma once
// A top-level window holding one preview sized to a whole number of rows, for the GUI
// tests; what the preview draws is read through CanvasSupport.h.
#include "controls/FilePrev.h"
#include "winlib/Form.h"

namespace qrx::test {

class PreviewHost : public TForm {
 public:
  // The preview's client area holds rows rows of the default height and is width wide.
  PreviewHost(int rows, int width);
  TFilePreview Preview;
};

}  // namespace qrx::test
