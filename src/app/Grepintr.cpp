#include "app/Grepintr.h"

namespace qrx {

TdlgIntro::TdlgIntro(TForm* mainForm) : TdlgWin95Dlg(mainForm) {
  CreateDialogWindow("TdlgIntro", "Welcome to Quarrix!", 420, 270);
  lblTitle.Create(*this, "Thank you for choosing Quarrix!", SS_CENTER);
  lblText1.Create(*this,
                  "Quarrix can integrate with many different Integrated Development Enviroments (IDE's) and Editors.");
  lblText2.Create(*this,
                  "In the following property page, you can configure the Editors and IDE's that you would like "
                  "Quarrix to use. You can also change Quarrix's  basic configuration.");
  lblText3.Create(*this,
                  "NOTE : Select the Editor or IDE that you use most often and move it to the top of the list.  "
                  "Quarrix will search for open Editors and IDE's using the order of this list.");
  btnOK.Create(*this, "OK");
  lblTitle.SetBounds(12, 12, 390, 20);
  lblText1.SetBounds(12, 42, 390, 32);
  lblText2.SetBounds(12, 80, 390, 46);
  lblText3.SetBounds(12, 132, 390, 46);
  btnOK.SetBounds(170, 196, 75, 25);
  SetDefaultButton(&btnOK);
  btnOK.OnClick = [this] { ModalResult = IDOK; };
}

}  // namespace qrx
