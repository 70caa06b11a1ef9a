#include "app/Grepadv.h"

#include "app/Grepmain.h"
#include "app/IdeSeams.h"
#include "controls/CalendarModel.h"
#include "winlib/MsgBox.h"

#include <algorithm>

namespace qrx {
namespace {

// Kilobytes that still fit the request's 32-bit byte counts.
constexpr int kMaxKilobytes = 0x7FFFFFFF / 1024;
constexpr uint32_t kReadOnly = 1, kHidden = 2, kSystem = 4, kArchive = 32;

}  // namespace

TdlgAdvancedSearch::TdlgAdvancedSearch(TKRESHForm& mainForm) : TdlgWin95Dlg(&mainForm), main_(mainForm) {
  CreateDialogWindow("TdlgAdvancedSearch", "Advanced Search Options", 100, 100);
  CreateControls();
  LayOut();
  SetDefaultButton(&btnOK);
  CancelButton = &btnCancel;
  SetDefaultState();
  edtDate1.Clear();
  edtDate2.Clear();
  edtSize1.SetValue(0);
  edtSize2.SetValue(0);
  cbxDateTypeChange();
  cbxSizeTypeChange();
}

void TdlgAdvancedSearch::CreateControls() {
  grpDates.Create(*this, "Dates:");
  lblDateSearch.Create(grpDates, "Search Files :");
  cbxDateType.Create(grpDates, true);
  cbxDateType.SetItems({"Any Date", "Before", "After", "Between"});
  edtDate1.Create(grpDates);
  lblDateAnd.Create(grpDates, "and", SS_CENTER);
  edtDate2.Create(grpDates);

  grpSize.Create(*this, "Size:");
  lblSizeSearch.Create(grpSize, "Search Files :");
  cbxSizeType.Create(grpSize, true);
  cbxSizeType.SetItems({"Any Size", "Smaller than", "Larger than", "Between"});
  edtSize1.Create(grpSize, 0, kMaxKilobytes);
  lblK1.Create(grpSize, "k bytes");
  lblSizeAnd.Create(grpSize, "and", SS_CENTER);
  edtSize2.Create(grpSize, 0, kMaxKilobytes);
  lblK2.Create(grpSize, "k bytes");

  grpAttributes.Create(*this, "Attributes:");
  lblAttributes.Create(grpAttributes, "Search Files with these file attributes :");
  chkArchive.Create(grpAttributes, "Archive");
  chkReadOnly.Create(grpAttributes, "Read-Only");
  chkHidden.Create(grpAttributes, "Hidden");
  chkSystem.Create(grpAttributes, "System");

  btnOK.Create(*this, "&OK");
  btnCancel.Create(*this, "&Cancel");
  btnHelp.Create(*this, "&Help");
  btnReset.Create(*this, "Cl&ear");

  cbxDateType.OnSelect = [this] { cbxDateTypeChange(); };
  cbxSizeType.OnSelect = [this] { cbxSizeTypeChange(); };
  btnOK.OnClick = [this] { btnOKClick(); };
  btnCancel.OnClick = [this] { ModalResult = IDCANCEL; };
  btnHelp.OnClick = [this] { ShowHelpTopic(main_, "Advanced_Search_Options"); };
  btnReset.OnClick = [this] { btnResetClick(); };
}

void TdlgAdvancedSearch::LayOut() {
  grpDates.SetBounds(8, 6, 350, 76);
  lblDateSearch.SetBounds(10, 22, 76, 16);
  cbxDateType.SetBounds(90, 18, 110, 160);
  edtDate1.SetBounds(90, 46, 97, 21);
  lblDateAnd.SetBounds(189, 49, 28, 16);
  edtDate2.SetBounds(219, 46, 97, 21);

  grpSize.SetBounds(8, 86, 350, 76);
  lblSizeSearch.SetBounds(10, 22, 76, 16);
  cbxSizeType.SetBounds(90, 18, 110, 160);
  edtSize1.SetBounds(90, 46, 64, 21);
  lblK1.SetBounds(158, 49, 42, 16);
  lblSizeAnd.SetBounds(200, 49, 24, 16);
  edtSize2.SetBounds(226, 46, 64, 21);
  lblK2.SetBounds(294, 49, 44, 16);

  grpAttributes.SetBounds(8, 166, 350, 62);
  lblAttributes.SetBounds(10, 18, 320, 16);
  chkArchive.SetBounds(10, 38, 76, 17);
  chkReadOnly.SetBounds(90, 38, 84, 17);
  chkHidden.SetBounds(178, 38, 70, 17);
  chkSystem.SetBounds(252, 38, 76, 17);

  btnOK.SetBounds(368, 12, 75, 25);
  btnCancel.SetBounds(368, 42, 75, 25);
  btnHelp.SetBounds(368, 72, 75, 25);
  btnReset.SetBounds(368, 112, 75, 25);

  RECT r{0, 0, 451, 236};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_EXSTYLE)));
  TWindow::SetBounds(0, 0, r.right - r.left, r.bottom - r.top);
}

void TdlgAdvancedSearch::Showing() {
  // The four boxes take the main window's control font.
  if (HFONT font = main_.ControlFont())
    for (TWindow* w : std::initializer_list<TWindow*>{&edtDate1, &edtDate2, &edtSize1, &edtSize2}) w->SetFont(font);
}

// The keyboard starts at the first box.
TWindow* TdlgAdvancedSearch::FirstFocus() { return &cbxDateType; }

void TdlgAdvancedSearch::SetDefaultState() {
  cbxDateType.SetItemIndex(0);
  cbxSizeType.SetItemIndex(0);
  chkArchive.SetChecked(true);
  chkReadOnly.SetChecked(true);
  chkHidden.SetChecked(false);
  chkSystem.SetChecked(false);
}

bool TdlgAdvancedSearch::IsDefaultState() const {
  return cbxDateType.ItemIndex() <= 0 && cbxSizeType.ItemIndex() <= 0 && chkArchive.Checked() &&
         chkReadOnly.Checked() && !chkHidden.Checked() && !chkSystem.Checked();
}

void TdlgAdvancedSearch::btnResetClick() {
  SetDefaultState();
  cbxDateTypeChange();
  cbxSizeTypeChange();
}

void TdlgAdvancedSearch::UpdateDateEnabling() {
  const int type = cbxDateType.ItemIndex();
  edtDate1.SetEnabled(type >= 1);
  lblDateAnd.SetEnabled(type == 3);
  edtDate2.SetEnabled(type == 3);
}

void TdlgAdvancedSearch::EnableSize(TSpinEdit& box, TLabel& unit, bool enabled) {
  box.SetEnabled(enabled);
  ::EnableWindow(box.UpDown(), enabled ? TRUE : FALSE);
  unit.SetEnabled(enabled);
}

void TdlgAdvancedSearch::UpdateSizeEnabling() {
  const int type = cbxSizeType.ItemIndex();
  EnableSize(edtSize1, lblK1, type >= 1);
  lblSizeAnd.SetEnabled(type == 3);
  EnableSize(edtSize2, lblK2, type == 3);
}

void TdlgAdvancedSearch::cbxDateTypeChange() {
  UpdateDateEnabling();
  switch (cbxDateType.ItemIndex()) {
    case 1:
    case 2:
      // A date already in the first box stays: switching between before and after
      // keeps what the user chose.
      if (edtDate1.Text().empty()) edtDate1.SetDate(Today());
      edtDate2.Clear();
      break;
    case 3:
      edtDate1.SetDate(Today());
      edtDate2.SetDate(Today());
      break;
    default:
      edtDate1.Clear();
      edtDate2.Clear();
      break;
  }
}

void TdlgAdvancedSearch::cbxSizeTypeChange() {
  UpdateSizeEnabling();
  switch (cbxSizeType.ItemIndex()) {
    case 1:
    case 2:
      if (edtSize1.Text().empty()) edtSize1.SetValue(0);
      edtSize2.SetText("");
      break;
    case 3:
      edtSize1.SetValue(0);
      edtSize2.SetValue(0);
      break;
    default:
      edtSize1.SetText("");
      edtSize2.SetText("");
      break;
  }
}

void TdlgAdvancedSearch::ShowCriteria(const AdvancedCriteria& c) {
  chkReadOnly.SetChecked(c.Attributes & kReadOnly);
  chkHidden.SetChecked(c.Attributes & kHidden);
  chkSystem.SetChecked(c.Attributes & kSystem);
  chkArchive.SetChecked(c.Attributes & kArchive);
  cbxDateType.SetItemIndex(std::clamp(c.DateKind, 0, 3));
  UpdateDateEnabling();
  edtDate1.SetDate(c.Date1);
  edtDate2.SetDate(c.Date2);
  cbxSizeType.SetItemIndex(std::clamp(c.SizeKind, 0, 3));
  UpdateSizeEnabling();
  // Boxes the size type does not use stay empty, as the type's change leaves them.
  if (c.SizeKind >= 1) edtSize1.SetValue(c.Size1);
  if (c.SizeKind == 3) edtSize2.SetValue(c.Size2);
}

AdvancedCriteria TdlgAdvancedSearch::Criteria() const {
  AdvancedCriteria c;
  c.Attributes = (chkReadOnly.Checked() ? kReadOnly : 0) | (chkHidden.Checked() ? kHidden : 0) |
                 (chkSystem.Checked() ? kSystem : 0) | (chkArchive.Checked() ? kArchive : 0);
  c.DateKind = std::max(0, cbxDateType.ItemIndex());
  c.Date1 = edtDate1.Date();
  c.Date2 = edtDate2.Date();
  c.SizeKind = std::max(0, cbxSizeType.ItemIndex());
  c.Size1 = edtSize1.Value();
  c.Size2 = edtSize2.Value();
  return c;
}

void TdlgAdvancedSearch::btnOKClick() {
  // A date typed but not yet taken over counts; one that is no date keeps the dialog open.
  for (TDateEdit32* box : {&edtDate1, &edtDate2}) {
    if (!box->Enabled() || box->ApplyText()) continue;
    ShowMessageBox(Handle(), "'" + box->Text() + "' is not a valid date", MsgKind::Error);
    box->SetFocus();
    return;
  }
  ModalResult = IDOK;
}

}  // namespace qrx
