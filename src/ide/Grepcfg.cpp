#include "ide/Grepcfg.h"

#include "ide/GrepcfgValues.h"
#include "winlib/MsgBox.h"

#include <commdlg.h>

namespace qrx {

namespace {

constexpr int kClientWidth = 389, kClientHeight = 371;

const char* const kPageTitles[TdlgConfigure::kPageCount] = {"Editor/IDE", "Custom IDE", "Options", "Colors",
                                                            "Fonts"};
const char* const kHelpTopics[TdlgConfigure::kPageCount] = {"Properties_Editor", "Properties_Custom_IDE",
                                                            "Properties_Options", "Properties_Colors",
                                                            "Properties_Fonts"};
constexpr const char* kEditorsSection = "Editors";

// The colour fields in the order of colorBoxes: label, then the setting it edits.
struct TColorField {
  const char* Label;
  int32_t TQrxSettings::*Value;
};
constexpr TColorField kColorFields[TdlgConfigure::kColorCount] = {
    {"Background:", &TQrxSettings::TreeBackColor},
    {"Text:", &TQrxSettings::TreeTextColor},
    {"Background:", &TQrxSettings::PrevBackColor},
    {"Text:", &TQrxSettings::PrevTextColor},
    {"Line Numbers:", &TQrxSettings::PrevLineNumColor},
    {"Match Background:", &TQrxSettings::PrevMatchBackColor},
    {"Match Text:", &TQrxSettings::PrevMatchTextColor},
    {"Target Background:", &TQrxSettings::PrevTargetBackColor},
    {"Target Text:", &TQrxSettings::PrevTargetTextColor},
};
constexpr int kTreeColorCount = 2;

const char* const kFontGroups[TdlgConfigure::kFontCount] = {"Results Tree", "Quick Preview", "Printer",
                                                            "Edit Controls"};
TFontSetting TQrxSettings::*const kFontSettings[TdlgConfigure::kFontCount] = {
    &TQrxSettings::TreeFont, &TQrxSettings::PreviewFont, &TQrxSettings::PrinterFont, &TQrxSettings::ControlFont};

}  // namespace

TdlgConfigure::TdlgConfigure(TForm* mainForm, const TQrxSettings& settings, TConfigureHost host)
    : TdlgWin95Dlg(mainForm), settings_(settings), host_(std::move(host)) {
  CreateDialogWindow("TdlgConfigure", "Quarrix Properties", 100, 100);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_EXSTYLE)));
  SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top);
  CreateControls();
  SetDefaultButton(&btnOK);
  CancelButton = &btnCancel;
  LoadValues();
  SetPageIndex(0);
}

void TdlgConfigure::CreateControls() {
  nbkConfigure.Create(*this, std::vector<std::string>(std::begin(kPageTitles), std::end(kPageTitles)));
  ::SetWindowLongA(nbkConfigure.Handle(), GWL_EXSTYLE,
                   ::GetWindowLongA(nbkConfigure.Handle(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  nbkConfigure.SetBounds(4, 4, kClientWidth - 8, kClientHeight - 44);
  nbkConfigure.OnChange = [this] { ShowPage(); };
  const RECT area = nbkConfigure.DisplayRect();
  for (TPanel& page : pages) {
    page.Create(&nbkConfigure);
    page.SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
  CreateEditorPage();
  CreateCustomPage();
  CreateOptionsPage();
  CreateColorsPage();
  CreateFontsPage();

  const int y = kClientHeight - 33;
  btnHelp.Create(*this, "&Help");
  btnHelp.SetBounds(4, y, 75, 25);
  btnOK.Create(*this, "&OK");
  btnOK.SetBounds(146, y, 75, 25);
  btnCancel.Create(*this, "&Cancel");
  btnCancel.SetBounds(227, y, 75, 25);
  btnApply.Create(*this, "&Apply");
  btnApply.SetBounds(308, y, 75, 25);
  btnHelp.OnClick = [this] {
    if (host_.ShowHelp) host_.ShowHelp(HelpTopic());
  };
  btnOK.OnClick = [this] {
    if (ApplyChanges()) ModalResult = IDOK;
  };
  btnCancel.OnClick = [this] { ModalResult = IDCANCEL; };
  btnApply.OnClick = [this] {
    if (ApplyChanges()) LoadEditorPage();
  };
}

void TdlgConfigure::CreateCustomPage() {
  TPanel& p = pages[pgCustomIde];
  grpCustom.Create(p, "Custom Editor/IDE");
  grpCustom.SetBounds(8, 6, 355, 250);
  const struct {
    TLabel& label;
    TEdit& edit;
    const char* caption;
  } rows[] = {
      {lblCustomClass, edtCustomClass, "Main window class name:"},
      {lblCustomWinText, edtCustomWinText, "Main window text:"},
      {lblCustomOpen, edtCustomOpen, "Command for file open:"},
      {lblCustomGotoLine, edtCustomGotoLine, "Command for goto line #:"},
  };
  int y = 20;
  for (const auto& r : rows) {
    r.label.Create(grpCustom, r.caption);
    r.label.SetBounds(12, y, 330, 16);
    r.edit.Create(grpCustom, ES_AUTOHSCROLL);
    r.edit.SetBounds(12, y + 17, 330, 21);
    y += 50;
  }
  chkCustomUseLFN.Create(grpCustom, "Use Long Filenames");
  chkCustomUseLFN.SetBounds(12, y, 200, 20);
}

void TdlgConfigure::LoadCustomIde() {
  const char* ini = host_.EditorsIni.c_str();
  const auto read = [ini](const char* key) {
    char buf[1024] = {};
    if (*ini) ::GetPrivateProfileStringA(kEditorsSection, key, "", buf, sizeof buf, ini);
    return std::string(buf);
  };
  edtCustomClass.SetText(read("Custom_AppClass"));
  edtCustomWinText.SetText(read("Custom_AppText"));
  edtCustomOpen.SetText(read("Custom_Open"));
  edtCustomGotoLine.SetText(read("Custom_Goto"));
  chkCustomUseLFN.SetChecked(!*ini || ::GetPrivateProfileIntA(kEditorsSection, "Custom_OpenWithLFN", 1, ini) != 0);
}

bool TdlgConfigure::SaveCustomIde() {
  if (host_.EditorsIni.empty()) return true;
  const char* ini = host_.EditorsIni.c_str();
  const auto write = [ini](const char* key, const std::string& value) {
    return ::WritePrivateProfileStringA(kEditorsSection, key, value.c_str(), ini) != FALSE;
  };
  // Writing creates the file when it is missing.
  const bool written = write("Custom_AppClass", edtCustomClass.Text()) &&
                       write("Custom_AppText", edtCustomWinText.Text()) && write("Custom_Open", edtCustomOpen.Text()) &&
                       write("Custom_Goto", edtCustomGotoLine.Text()) &&
                       write("Custom_OpenWithLFN", chkCustomUseLFN.Checked() ? "1" : "0");
  // Flush the profile cache so the drivers read what is on disk.
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini);
  if (host_.ReloadAll) host_.ReloadAll();
  if (!written) {
    SetPageIndex(pgCustomIde);
    ShowMessageBox(Handle(), "The custom editor entry could not be written to " + host_.EditorsIni + ".",
                   MsgKind::Error);
  }
  return written;
}

void TdlgConfigure::CreateOptionsPage() {
  TPanel& p = pages[pgOptions];
  const struct {
    TLabel& label;
    TSpinEdit& edit;
    TLabel& range;
    const TNumberField& field;
    const char* rangeText;
  } rows[] = {
      {lblMaxFinds, edtMaxFinds, lblMaxFindsRange, kMaxFindsField, "(1..15,000)"},
      {lblNumPreviewLines, edtNumPreviewLines, lblNumPreviewLinesRange, kPreviewLinesField, "(1..1000)"},
      {lblMaxHistory, edtMaxHistory, lblMaxHistoryRange, kMaxHistoryField, "(0..30)"},
  };
  int y = 14;
  for (const auto& r : rows) {
    r.label.Create(p, std::string(r.field.Label) + ":", SS_RIGHT);
    r.label.SetBounds(8, y + 3, 160, 16);
    r.edit.Create(p, r.field.Min, r.field.Max);
    r.edit.SetBounds(174, y, 70, 21);
    r.range.Create(p, r.rangeText);
    r.range.SetBounds(252, y + 3, 100, 16);
    y += 30;
  }
  y += 6;
  const struct {
    TCheckBox& box;
    const char* caption;
  } boxes[] = {
      {chkPreview, "&Quick Preview"},
      {chkAddToExplorer, "Add Quarrix to Explorer Menu"},
      {chkShowMainMenu, "Show Main Menu"},
      {chkStayOnTop, "Sta&y On Top"},
      {chkShowHints, "Show Flyover Hints (Tool Tips)"},
      {chkAllowMultipleInst, "Allow Multiple Copies of Quarrix"},
  };
  for (const auto& b : boxes) {
    b.box.Create(p, b.caption);
    b.box.SetBounds(24, y, 300, 20);
    y += 24;
  }
}

void TdlgConfigure::CreateColorsPage() {
  TPanel& p = pages[pgColors];
  grpTreeColors.Create(p, "Results Tree");
  grpTreeColors.SetBounds(8, 6, 355, 20 + kTreeColorCount * 26);
  grpPreviewColors.Create(p, "Quick Preview");
  grpPreviewColors.SetBounds(8, 34 + kTreeColorCount * 26, 355, 20 + (kColorCount - kTreeColorCount) * 26);
  for (int i = 0; i < kColorCount; ++i) {
    TGroupBox& group = i < kTreeColorCount ? grpTreeColors : grpPreviewColors;
    const int row = i < kTreeColorCount ? i : i - kTreeColorCount;
    lblColors[i].Create(group, kColorFields[i].Label, SS_RIGHT);
    lblColors[i].SetBounds(8, 21 + row * 26, 130, 16);
    colorBoxes[i].Create(group);
    colorBoxes[i].SetBounds(146, 18 + row * 26, 195, 22);
  }
}

void TdlgConfigure::CreateFontsPage() {
  TPanel& p = pages[pgFonts];
  for (int i = 0; i < kFontCount; ++i) {
    grpFonts[i].Create(p, kFontGroups[i]);
    grpFonts[i].SetBounds(8, 6 + i * 70, 355, 64);
    lblFonts[i].Create(grpFonts[i], "", SS_LEFT | SS_NOPREFIX | SS_SUNKEN);
    lblFonts[i].SetBounds(10, 18, 240, 22);
    btnChangeFont[i].Create(grpFonts[i], "Change");
    btnChangeFont[i].SetBounds(262, 17, 80, 24);
    chkFixedPitch[i].Create(grpFonts[i], "Show Fixed Pitch Only");
    chkFixedPitch[i].SetBounds(10, 42, 200, 18);
    btnChangeFont[i].OnClick = [this, i] { ChangeFont(static_cast<FontKind>(i)); };
  }
}

void TdlgConfigure::LoadValues() {
  const TQrxSettings& s = settings_;
  edtMaxFinds.SetText(std::to_string(s.MaxFinds));
  edtNumPreviewLines.SetText(std::to_string(s.NumPreviewLines));
  edtMaxHistory.SetText(std::to_string(s.MaxHistory));
  chkPreview.SetChecked(s.Preview);
  chkShowMainMenu.SetChecked(s.ShowMainMenu);
  chkStayOnTop.SetChecked(s.StayOnTop);
  chkShowHints.SetChecked(s.ShowHints);
  chkAllowMultipleInst.SetChecked(s.AllowMultInstances);
  const bool manageable = host_.ExplorerManageable && host_.ExplorerManageable();
  chkAddToExplorer.SetEnabled(manageable);
  chkAddToExplorer.SetChecked(manageable && host_.ExplorerEntryPresent && host_.ExplorerEntryPresent());
  for (int i = 0; i < kColorCount; ++i) colorBoxes[i].SetSelectedColor(s.*kColorFields[i].Value);
  for (int i = 0; i < kFontCount; ++i) SetChosenFont(static_cast<FontKind>(i), s.*kFontSettings[i]);
  LoadCustomIde();
  LoadEditorPage();
}

void TdlgConfigure::SetChosenFont(FontKind kind, const TFontSetting& font) {
  fonts_[kind] = font;
  const LOGFONTA lf = ToLogFont(font);
  UniqueGdi<HFONT> shown(::CreateFontIndirectA(&lf));
  lblFonts[kind].SetFont(shown.get());
  labelFonts_[kind] = std::move(shown);
  lblFonts[kind].SetText(font.Name);
}

void TdlgConfigure::ChangeFont(FontKind kind) {
  LOGFONTA lf = ToLogFont(fonts_[kind]);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = Handle();
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
  if (chkFixedPitch[kind].Checked()) cf.Flags |= CF_FIXEDPITCHONLY;
  if (!::ChooseFontA(&cf)) return;
  SetChosenFont(kind, FromLogFont(lf));
}

void TdlgConfigure::SetPageIndex(int page) {
  nbkConfigure.SetTabIndex(page);
  ShowPage();
}

void TdlgConfigure::ShowPage() {
  const int shown = nbkConfigure.TabIndex();
  for (int i = 0; i < kPageCount; ++i) pages[i].SetVisible(i == shown);
  // The keyboard follows to the page shown, unless it is on the tabs, where the arrow keys
  // go on turning pages; a focus left on a hidden page would type into nothing seen.
  HWND focus = ::GetFocus();
  if (focus && focus != nbkConfigure.Handle() && (focus == Handle() || ::IsChild(Handle(), focus)))
    PageFocus(shown).SetFocus();
}

void TdlgConfigure::KeyPreview(WORD key, bool& handled) {
  const int page = nbkConfigure.TabForKey(key);
  if (page >= 0) {
    SetPageIndex(page);
    handled = true;
  } else if (key == VK_TAB && ::GetFocus() == nbkConfigure.Handle() && !(::GetKeyState(VK_SHIFT) & 0x8000)) {
    // The pages lie inside the tabs, so the dialog's own order would pass them over.
    PageFocus(PageIndex()).SetFocus();
    handled = true;
  }
}

TWindow& TdlgConfigure::PageFocus(int page) {
  switch (page) {
    case pgCustomIde: return edtCustomClass;
    case pgOptions: return edtMaxFinds;
    case pgColors: return cbxTreeBackColor;
    case pgFonts: return btnChangeFont[0];
    default: return EditorType() == 1 ? static_cast<TWindow&>(edtOtherEditor) : lbxEditors;
  }
}

std::array<TWindow*, 9> TdlgConfigure::EditFields() {
  return {&edtOtherEditor, &edtOtherEditorParams, &edtCustomClass, &edtCustomWinText, &edtCustomOpen,
          &edtCustomGotoLine, &edtMaxFinds, &edtNumPreviewLines, &edtMaxHistory};
}

void TdlgConfigure::Showing() { ApplyEditFont(); }

void TdlgConfigure::ApplyEditFont() {
  HFONT font = host_.EditFont ? host_.EditFont() : nullptr;
  if (!font) return;
  for (TWindow* field : EditFields()) field->SetFont(font);
}

std::string TdlgConfigure::HelpTopic() const {
  const int page = PageIndex();
  return page >= 0 && page < kPageCount ? kHelpTopics[page] : kHelpTopics[0];
}

bool TdlgConfigure::ApplyChanges() {
  TQrxSettings s = settings_;
  // Every field is checked before anything is applied: a refused value changes nothing.
  const struct {
    TSpinEdit& edit;
    const TNumberField& field;
    int32_t& target;
  } numbers[] = {
      {edtMaxFinds, kMaxFindsField, s.MaxFinds},
      {edtNumPreviewLines, kPreviewLinesField, s.NumPreviewLines},
      {edtMaxHistory, kMaxHistoryField, s.MaxHistory},
  };
  for (const auto& n : numbers) {
    const std::string text = n.edit.Text();
    const std::optional<int32_t> value = ParseField(n.field, text);
    if (!value) {
      SetPageIndex(pgOptions);
      ShowMessageBox(Handle(), FieldMessage(n.field, text), MsgKind::Error);
      n.edit.SetFocus();
      ::SendMessageA(n.edit.Handle(), EM_SETSEL, 0, -1);
      return false;
    }
    n.target = *value;
  }
  s.Preview = chkPreview.Checked();
  s.ShowMainMenu = chkShowMainMenu.Checked();
  s.StayOnTop = chkStayOnTop.Checked();
  s.ShowHints = chkShowHints.Checked();
  s.AllowMultInstances = chkAllowMultipleInst.Checked();
  ApplyEditorPage(s);
  for (int i = 0; i < kFontCount; ++i) s.*kFontSettings[i] = fonts_[i];
  for (int i = 0; i < kColorCount; ++i) s.*kColorFields[i].Value = colorBoxes[i].SelectedColor();

  applied_ = true;
  settings_ = s;
  if (host_.Apply) host_.Apply(s);
  // The main window has made a new edit font and let the old one go.
  ApplyEditFont();
  if (chkAddToExplorer.Enabled() && host_.SetExplorerEntry) host_.SetExplorerEntry(chkAddToExplorer.Checked());
  return SaveCustomIde();
}

int TdlgConfigure::Execute(const std::function<int(TdlgWin95Dlg&)>& showModal) {
  const int result = showModal ? showModal(*this) : ShowModal();
  if (applied_ && host_.ApplyStayOnTop) host_.ApplyStayOnTop(settings_.StayOnTop);
  return result;
}

}  // namespace qrx
