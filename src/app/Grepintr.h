#pragma once
// The welcome dialog of the first run.
#include "app/Win95dlg.h"
#include "winlib/Controls.h"

namespace qrx {

class TdlgIntro : public TdlgWin95Dlg {
 public:
  explicit TdlgIntro(TForm* mainForm);
  TLabel lblTitle, lblText1, lblText2, lblText3;
  TButton btnOK;
};

}  // namespace qrx
