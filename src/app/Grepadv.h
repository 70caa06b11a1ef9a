#pragma once
// The advanced search dialog: which files a search reads by their date, size and
// attributes. It shows and fills the main window's AdvancedCriteria record; sizes are
// kilobytes here.
#include "app/Win95dlg.h"
#include "controls/DateEdit.h"
#include "engine/FileSearch.h"
#include "winlib/Controls.h"
#include "winlib/Panels.h"

namespace qrx {

class TKRESHForm;

class TdlgAdvancedSearch : public TdlgWin95Dlg {
 public:
  explicit TdlgAdvancedSearch(TKRESHForm& mainForm);

  // The default state stands for no criteria.
  void SetDefaultState();
  bool IsDefaultState() const;
  // Shows a record: the types enable the boxes, the values stay as stored.
  void ShowCriteria(const AdvancedCriteria& criteria);
  AdvancedCriteria Criteria() const;

  void cbxDateTypeChange();
  void cbxSizeTypeChange();
  void btnResetClick();
  void btnOKClick();

  TGroupBox grpDates, grpSize, grpAttributes;
  TLabel lblDateSearch, lblDateAnd, lblSizeSearch, lblK1, lblSizeAnd, lblK2, lblAttributes;
  TComboBox cbxDateType, cbxSizeType;
  TDateEdit32 edtDate1, edtDate2;
  TSpinEdit edtSize1, edtSize2;
  TCheckBox chkArchive, chkReadOnly, chkHidden, chkSystem;
  TButton btnOK, btnCancel, btnHelp, btnReset;

 protected:
  void Showing() override;
  TWindow* FirstFocus() override;

 private:
  void CreateControls();
  void LayOut();
  void UpdateDateEnabling();
  void UpdateSizeEnabling();
  static void EnableSize(TSpinEdit& box, TLabel& unit, bool enabled);

  TKRESHForm& main_;
};

}  // namespace qrx
