// The main window's side of the advanced criteria: the Advanced button in its two looks,
// its popup, and the dialog that states them.
#include "app/Grepadv.h"
#include "app/Grepmain.h"

namespace qrx {

void TKRESHForm::CreateAdvancedButtons() {
  // Two buttons at one place; the one that fits the criteria is in front.
  for (TBitBtn* b : {&btnAdvancedOff, &btnAdvancedOn}) {
    b->Create(grpInputs, "&Advanced");
    b->Hint = "Advanced|Restrict the search by file date, size and attributes";
    b->OnClick = [this] { btnAdvancedClick(); };
    AddHint(*b);
  }
  btnAdvancedOff.LoadGlyph("ADVOFF");
  btnAdvancedOn.LoadGlyph("ADVON");
  btnAdvancedOn.SetVisible(false);
  menClearAdvanced = &menAdvancedPopup.Add("&Clear Advanced", {}, [this] { menClearAdvancedClick(); });
  menAdvancedPopup.OnPopup = [this] { menClearAdvanced->SetEnabled(advancedCriteria_ != nullptr); };
}

void TKRESHForm::ShowAdvancedLook(bool focus) {
  TBitBtn& shown = advancedCriteria_ ? btnAdvancedOn : btnAdvancedOff;
  TBitBtn& hidden = advancedCriteria_ ? btnAdvancedOff : btnAdvancedOn;
  shown.SetVisible(true);
  if (focus && shown.CanFocus()) shown.SetFocus();
  hidden.SetVisible(false);
}

int TKRESHForm::ShowModalDialog(TdlgWin95Dlg& dialog) {
  SuspendTopmost();
  int result = dialog.ShowModal();
  RestoreTopmost();
  return result;
}

void TKRESHForm::btnAdvancedClick() {
  {
    TdlgAdvancedSearch dialog(*this);
    if (advancedCriteria_) dialog.ShowCriteria(*advancedCriteria_);
    if (ShowModalDialog(dialog) == IDOK) {
      if (dialog.IsDefaultState()) {
        advancedCriteria_.reset();
      } else {
        if (!advancedCriteria_) advancedCriteria_ = std::make_unique<AdvancedCriteria>();
        *advancedCriteria_ = dialog.Criteria();
      }
    }
  }
  ShowAdvancedLook(true);
}

void TKRESHForm::menClearAdvancedClick() {
  advancedCriteria_.reset();
  ShowAdvancedLook(false);
}

}  // namespace qrx
