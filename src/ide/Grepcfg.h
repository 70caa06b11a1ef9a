#pragma once
// TdlgConfigure: the properties dialog. It edits a copy of the settings; OK and Apply
// hand the copy to the host, which makes it live; Cancel hands over nothing, and keeps
// what an earlier Apply made live.
#include "app/Settings.h"
#include "app/Win95dlg.h"
#include "controls/ColCombo.h"
#include "controls/Piclb32.h"
#include "winlib/Controls.h"
#include "winlib/Handles.h"
#include "winlib/Panels.h"

#include <array>
#include <functional>
#include <string>

namespace qrx {

class TIDEMgr;
class TGrepIDE;

// What the dialog needs of the program around it.
struct TConfigureHost {
  // Makes every setting live except staying on top, which waits for the dialog to close.
  std::function<void(const TQrxSettings&)> Apply;
  std::function<void(bool on)> ApplyStayOnTop;
  // The Explorer folder entry: whether it can be managed here, whether it is there, and
  // adding or removing it.
  std::function<bool()> ExplorerManageable;
  std::function<bool()> ExplorerEntryPresent;
  std::function<void(bool present)> SetExplorerEntry;
  std::function<void(const std::string& topic)> ShowHelp;
  // The main window's font for edit fields, asked again after each apply; none keeps the
  // dialog's own.
  std::function<HFONT()> EditFont;
  // EDITORS.INI, whose custom entry the dialog edits, and what makes the drivers read
  // it again.
  std::string EditorsIni;
  std::function<void()> ReloadAll;
  // The IDEs, their order and add-ins; none leaves the list empty.
  TIDEMgr* Ide = nullptr;
};

class TdlgConfigure : public TdlgWin95Dlg {
 public:
  enum Page { pgEditor, pgCustomIde, pgOptions, pgColors, pgFonts, kPageCount };
  enum FontKind { fkTree, fkPreview, fkPrinter, fkControls, kFontCount };
  static constexpr int kColorCount = 9;

  TdlgConfigure(TForm* mainForm, const TQrxSettings& settings, TConfigureHost host);

  // Shows the dialog (through showModal when given); once it closes after OK or Apply,
  // the stay-on-top box takes effect.
  int Execute(const std::function<int(TdlgWin95Dlg&)>& showModal = {});
  // What OK and Apply do. False, with the user told, when a field holds no valid value;
  // then nothing is applied.
  bool ApplyChanges();
  bool Applied() const { return applied_; }
  int PageIndex() const { return nbkConfigure.TabIndex(); }
  void SetPageIndex(int page);
  // The topic of the page shown.
  std::string HelpTopic() const;
  // The control a page starts the keyboard at.
  TWindow& PageFocus(int page);
  // The nine fields that take the main window's edit font.
  std::array<TWindow*, 9> EditFields();
  const TFontSetting& ChosenFont(FontKind kind) const { return fonts_[kind]; }
  void SetChosenFont(FontKind kind, const TFontSetting& font);
  // Opens the font dialog for one group.
  void ChangeFont(FontKind kind);

  TTabControl nbkConfigure;
  std::array<TPanel, kPageCount> pages;
  TButton btnHelp, btnOK, btnCancel, btnApply;

  // Editor/IDE
  TGroupBox rbEditorType;
  TRadioButton rbIde, rbOther;
  TPicListBox lbxEditors;
  TButton btnInstall, btnEnable, btnMoveUp, btnMoveDown;
  TCheckBox chkEditorAutoSearch;
  TGroupBox grpOtherEditor;
  TLabel lblOtherEditor, lblOtherEditorParams, lblParams;
  TEdit edtOtherEditor, edtOtherEditorParams;
  TButton btnPickPath, btnAddFilename, btnAddLineNum;
  TCheckBox chkOtherEditorUseLFN;

  // 0 IDE, 1 other editor.
  int EditorType() const { return rbOther.Checked() ? 1 : 0; }
  void SetEditorType(int type);
  TGrepIDE* RowIDE(int row) const;
  void btnInstallClick();
  void btnEnableClick();
  void MoveRow(int from, int to);
  void UpdateButtons();
  // Puts text on the clipboard and pastes it into the parameters at the caret.
  void AddPlaceholder(const std::string& text);
  void btnPickPathClick();

  // Custom IDE
  TGroupBox grpCustom;
  TLabel lblCustomClass, lblCustomWinText, lblCustomOpen, lblCustomGotoLine;
  TEdit edtCustomClass, edtCustomWinText, edtCustomOpen, edtCustomGotoLine;
  TCheckBox chkCustomUseLFN;

  // Options
  TLabel lblMaxFinds, lblMaxFindsRange, lblNumPreviewLines, lblNumPreviewLinesRange, lblMaxHistory,
      lblMaxHistoryRange;
  TSpinEdit edtMaxFinds, edtNumPreviewLines, edtMaxHistory;
  TCheckBox chkPreview, chkAddToExplorer, chkShowMainMenu, chkStayOnTop, chkShowHints, chkAllowMultipleInst;

  // Colors, in the order of kColorFields
  TGroupBox grpTreeColors, grpPreviewColors;
  std::array<TLabel, kColorCount> lblColors;
  std::array<TColorComboBox, kColorCount> colorBoxes;
  TColorComboBox& cbxTreeBackColor = colorBoxes[0];
  TColorComboBox& cbxTreeText = colorBoxes[1];
  TColorComboBox& cbxQPBackColor = colorBoxes[2];
  TColorComboBox& cbxQPTextColor = colorBoxes[3];
  TColorComboBox& cbxQPLineNumColor = colorBoxes[4];
  TColorComboBox& cbxQPMatchBackColor = colorBoxes[5];
  TColorComboBox& cbxQPMatchTextColor = colorBoxes[6];
  TColorComboBox& cbxQPTargetBackColor = colorBoxes[7];
  TColorComboBox& cbxQPTargetTextColor = colorBoxes[8];

  // Fonts
  std::array<TGroupBox, kFontCount> grpFonts;
  std::array<TLabel, kFontCount> lblFonts;
  std::array<TButton, kFontCount> btnChangeFont;
  std::array<TCheckBox, kFontCount> chkFixedPitch;

 protected:
  void Showing() override;
  TWindow* FirstFocus() override { return &PageFocus(PageIndex()); }
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages; Tab on the tabs goes into the page.
  void KeyPreview(WORD key, bool& handled) override;

 private:
  void CreateControls();
  void CreateEditorPage();
  void CreateCustomPage();
  void CreateOptionsPage();
  void CreateColorsPage();
  void CreateFontsPage();
  void LoadValues();
  void LoadEditorPage();
  void BuildPictures();
  void ApplyEditorPage(TQrxSettings& s);
  void LoadCustomIde();
  bool SaveCustomIde();
  void ShowPage();
  void ApplyEditFont();

  TQrxSettings settings_;
  TConfigureHost host_;
  std::array<TFontSetting, kFontCount> fonts_;
  std::array<UniqueGdi<HFONT>, kFontCount> labelFonts_;
  bool applied_ = false;
  HIMAGELIST images_ = nullptr;  // freed with the dialog
 public:
  ~TdlgConfigure() override;
};

}  // namespace qrx
