#pragma once
// The main window: where the user states a search, runs and stops it, and sees the
// results tree and the preview below the inputs.
#include "app/Pacer.h"
#include "app/Settings.h"
#include "controls/FilePrev.h"
#include "controls/GOutlineWindow.h"
#include "engine/SavedResults.h"
#include "engine/SearchKinds.h"
#include "winlib/BitBtn.h"
#include "winlib/CommonDialogs.h"
#include "winlib/Controls.h"
#include "winlib/DirControls.h"
#include "winlib/Form.h"
#include "winlib/Menus.h"
#include "winlib/MsgBox.h"
#include "winlib/Panels.h"
#include "winlib/Printer.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct AdvancedCriteria;
namespace qrx {
class TIDEMgr;
}
struct TUnchangedFile;
class TFileSearchObj;
class TTempFile;
class TGOutlineNode;
class TMatchNode;

namespace qrx {

class TdlgWin95Dlg;

// Posted when the directory box lost the focus, to be judged once the focus has moved.
constexpr UINT kDirectoryExitMessage = WM_APP + 1;
// How often a run lets the window breathe and shows its counters: quick enough for Stop
// and for the eye, rare enough to cost the run next to nothing.
constexpr uint32_t kBreathIntervalMs = 250;
// Opening the tree's current match and the preview's current line run after the input
// event that asked for them has been handled completely.
constexpr UINT WM_OPENMATCH = 5939;
constexpr UINT WM_OPENPREVIEWLINE = 5940;

class TKRESHForm : public TForm {
 public:
  TKRESHForm();
  ~TKRESHForm() override;

  // The last steps of creation: start-up search text, then the first run or stay-on-top.
  void FinishCreation();
  // Shows the window as the stored state says.
  void ShowMain();

  // ---- search workflow ----
  void btnStartSearchClick();
  void btnStopClick();
  void UpdateStartEnabled();
  void tabSearchChange();
  // Shows the insert buttons and match boxes of an expression kind (ekStandard ...).
  void CommonExprRbnClick(uint8_t exprKind);
  // An insert button's text, through the clipboard into the search-for box.
  void AddExpressionText(const std::string& text);
  // Checks the directory box; on success selects it in the list. Shows the box when asked.
  bool ValidateDirectory(bool showError);
  void cbxDirectoryExit();
  void DirectoryBoxLostFocus();
  void FillRequest(TFileSearchObj& search);
  bool Running() const { return running_; }
  // The clock that paces a run's breathing and progress display (tests set their own).
  void SetPacingClock(TPacer::TClock clock);
  void SearchProgress(TFileSearchObj* sender, int32_t matches, int32_t filesWithMatches, int32_t filesSearched,
                      const std::string& fileName, bool& cancel);
  void ReplaceProgress(TFileSearchObj* sender, int32_t matches, int32_t replacements, int32_t filesChanged,
                       int32_t filesSearched, const std::string& fileName, bool& cancel);
  bool ProgressDue(const std::string& fileName, bool& cancel);
  void ShowProgress(const std::string& matches, const std::string& files, const std::string& searched,
                    const std::string& last, const std::string& fileName, bool& cancel);
  // A replace run asks about one occurrence (the engine's OnConfirmReplace).
  void ConfirmReplace(const std::string& previewFile, uint8_t& action, std::string& replaceText,
                      const std::string& searchText, int32_t matchStart, int32_t matchStop, int32_t lineNumber,
                      const std::string& fileName);
  // Exists from the first question of the first replace run on.
  class TdlgReplaceText* ReplaceDialog() const { return dlgReplace_.get(); }
  int ShowMessageDialog(const std::string& text, MsgKind kind, UINT buttons = MB_OK);
  int ShowModalDialog(TdlgWin95Dlg& dialog);
  void SuspendTopmost();
  void RestoreTopmost();
  // The system's own dialogs open inside this scope, so none opens behind the window.
  class TopmostSuspended {
   public:
    explicit TopmostSuspended(TKRESHForm& form) : form_(form) { form_.SuspendTopmost(); }
    ~TopmostSuspended() { form_.RestoreTopmost(); }
    TopmostSuspended(const TopmostSuspended&) = delete;
    TopmostSuspended& operator=(const TopmostSuspended&) = delete;

   private:
    TKRESHForm& form_;
  };

  // ---- advanced criteria ----
  void btnAdvancedClick();
  void menClearAdvancedClick();
  // Absent when there are none.
  const AdvancedCriteria* Criteria() const { return advancedCriteria_.get(); }

  // ---- settings ----
  void LoadAllSettings();
  void SaveAllSettings();
  // Saves, and tells the user once when the store refuses; never throws.
  void SaveSettingsOrSay();
  TQrxSettings CollectSettings();
  // Setters the properties dialog uses.
  void SetShowPreview(bool show);
  void SetShowMainMenu(bool show);
  void SetShowHints(bool show);
  void SetStayOnTop(bool on);
  void SetEditorAutoSearch(bool on);
  void SetEditorType(int32_t t) { settings_.EditorType = t; }
  void SetEditorPath(const std::string& p) { settings_.EditorPath = p; }
  void SetEditorParams(const std::string& p) { settings_.EditorParams = p; }
  void SetEditorUseLFN(bool on) { settings_.EditorUseLFN = on; }
  void SetNumPreviewLines(int32_t n);
  void SetMaxFinds(int32_t n) { settings_.MaxFinds = n; }
  void SetMaxHistory(int32_t n) { settings_.MaxHistory = n; }
  void SetPrinterFont(const TFontSetting& font) { settings_.PrinterFont = font; }
  // Makes what the properties dialog hands over live, all but staying on top.
  void ApplyProperties(const TQrxSettings& s);
  const TQrxSettings& Settings() const { return settings_; }
  HFONT ControlFont() const { return controlFont_.get(); }

  // ---- results tree and preview ----
  // Row texts: the result node's save text while saving, else its display text.
  void treResultsGetNodeText(TGOutlineNode* row, std::string& text);
  // While loading, a stored row text becomes the row's result node.
  void treResultsSetNodeText(TGOutlineNode* row, std::string& text);
  // A destroyed row frees its result node (a search node leaves SearchNodes with it).
  void treResultsNodeDestroy(TGOutlineNode* row);
  // Shows the current row's match in the preview, or clears it.
  void treResultsClick();
  void treResultsDblClick();
  void treResultsKeyDown(WORD key, bool& handled);
  void lbxFilePreviewDblClick();
  // A display box sets or clears its bit in every search in the tree.
  void DisplayBoxClick(uint16_t bit, bool on);
  void menExpandLevelClick();
  void menCollapseLevelClick();
  void ExpandAll();
  void CollapseAll();
  void menDeleteNodeClick();
  void menDeleteAllClick();
  // Enables the commands for the tree's state and its current row (run when idle).
  void UpdateCommandStates();
  // Writing the tree with node save texts happens inside a Saving scope; reading a
  // results file into it inside a Loading scope, which owns the node factory.
  class Saving {
   public:
    explicit Saving(TKRESHForm& form);
    ~Saving();
    Saving(const Saving&) = delete;
    Saving& operator=(const Saving&) = delete;

   private:
    TKRESHForm& form_;
  };
  class Loading {
   public:
    explicit Loading(TKRESHForm& form);
    ~Loading();
    Loading(const Loading&) = delete;
    Loading& operator=(const Loading&) = delete;

   private:
    TKRESHForm& form_;
  };
  bool IsSaving() const { return saving_; }
  bool IsLoading() const { return loading_; }

  // ---- opening matches ----
  // The open commands: they post the open, which then runs on its own.
  void OpenSearchMatch(bool doubleClick);
  void OpenPreviewLine();
  // Brings the preferred IDE to the front (editor type IDE only).
  void ShowEditor();
  TIDEMgr& IdeManager() { return *ideMgr_; }

  // ---- results files and printing ----
  void menSaveSearchClick();
  void menExportSearchClick();
  void menLoadSearchClick();
  void mnuPrintClick();
  void mnuPrinterSetupClick();
  // Writes every row, one line each, with the node save texts or the display texts.
  // The file is written beside the target and takes its place only when complete, so
  // a failure (raised as std::runtime_error) leaves an earlier file as it was.
  void WriteTreeToFile(const std::string& fileName, bool saveTexts);
  TPrinterSelection Printer;  // shared by the print and printer setup dialogs
  TFileDialog dlgSave{FileDialogKind::Save}, dlgOpen{FileDialogKind::Open}, dlgExport{FileDialogKind::Save};
  TPrintDialog dlgPrint{Printer}, dlgPrinterSetup{Printer, true};

  // ---- splitter ----
  void pnlSplitterMouseDown(int x, int y);
  void pnlSplitterMouseMove(int x, int y);
  void pnlSplitterMouseUp(int x, int y);
  // Alt+Tab or a message box took the mouse mid-drag: the drag is off.
  void pnlSplitterCaptureLost();
  int PreviewHeight() const { return previewHeight_; }
  bool Dragging() const { return dragging_; }

  // ---- controls, named as the window's parts ----
  TPanel pnlSizer, pnlSplitter, pnlCursor;
  TGOutlineWindow treResults;
  TFilePreview lbxFilePreview;
  TGroupBox grpInputs;
  TComboBox cbxDirectory;
  TDirectoryListBox lbxDirectory;
  TDriveComboBox cbxDrives;
  TFileListBox lbxFiles;
  TButton btnFileList;
  TBitBtn btnAdvancedOn, btnAdvancedOff;
  TLabel lblMask, lblDfmMask;
  TComboBox cbxMask;
  TTabControl tabSearch;
  TPanel pagSearch, pagReplace;  // the two pages of nbkSearch
  TGroupBox grpExprType;
  TRadioButton rbnExprNone, rbnExprRegExp, rbnExprDOS;
  TPanel pnlExpression;
  TComboBox cbxSearchFor;
  TLabel lblMatch;
  TCheckBox chkLineStart, chkLineEnd;
  std::array<TButton, 10> btnRegExp;
  TButton btnRegExpHelp;
  std::array<TButton, 2> btnDOS;
  TButton btnDOSHelp;
  TCheckBox chkCheckCase, chkSubDirs, chkWholeWords, chkShowNumbers, chkShowFilenames, chkShowFilePath,
      chkFileMatchCount;
  TPanel pnlRplExpression;
  TLabel lblRplSearchFor, lblRplReplaceWith;
  TComboBox cbxRplReplaceWith;
  TCheckBox chkRplLineStart, chkRplLineEnd, chkRplCheckCase, chkRplSubDirs, chkRplWholeWords, chkRplBackup,
      chkRplBackupOvr;
  TPanel pnlButtons, pnlNumMatches, pnlNumFiles, pnlFilesSearched, pnlSearchTime, pnlStatus;
  TButton btnStartSearch, btnStop, btnOpen;
  TMenu mnuMain, menOutlinePopup, menFormPopup, menAdvancedPopup;
  TMenuItem* menClearAdvanced = nullptr;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Resize() override;
  bool CloseQuery() override;
  void KeyPreview(WORD key, bool& handled) override;
  void DoIdle() override;

 private:
  void CreateControls();
  void CreateSearchPage();
  void CreateReplacePage();
  void CreateButtonArea();
  void CreateMenus();
  void BindEvents();
  void SetHints();
  void LayoutInputs();
  void LayoutPages();
  void LayoutButtons();
  void LayoutSizer();
  void ApplySettings(const TQrxSettings& s);
  // Puts the options, fonts and colours of settings_ to work, after loading and after the
  // properties dialog.
  void MakePropertiesLive();
  void ApplyFonts();
  void ChooseStartDirectory();
  void ShowFileList(bool show);
  void HideFileListOnEnter(TWindow& control);
  void EnterRunningState();
  void LeaveRunningState();
  void FocusAfterResult(uint8_t code);
  void OnRestoreMessage();
  void OnSearchTextMessage();
  void OnSetDirectoryMessage();
  void FirstRunSequence();
  void CreateIdeManager();
  void IdeFirstRunSteps();
  void SettleInput();
  // The tree's current row when it is a match with a file to open.
  const TMatchNode* CurrentMatch();
  void OnOpenMatch();
  void OnOpenPreviewLine();
  void OpenTarget(const std::string& file, int32_t line, int32_t start, int32_t stop);
  void StartExternalEditor(const std::string& file, int32_t line);
  // Asks whether Explorer's folder menu should start searches here, unless it already does.
  void OfferFolderEntry();
  void SelectTab(int index);
  void BindResultsEvents();
  // The main preview: the settings below, and line numbers as the check box says.
  void ApplyPreviewSettings();
  // What every preview of the window shows alike (the replace dialog's too): the preview
  // font, the colours and the number of lines around the target.
  void ApplyPreviewSettings(TFilePreview& preview);
  void ShowMatchInPreview(const TMatchNode& match);
  // Names the files a run could not open, and those a replace run left unchanged.
  void ReportPassedOverFiles(const std::vector<std::string>& unopened, const std::vector<TUnchangedFile>& unchanged);
  // What a finished run counted, for the status panels.
  struct TRunCounters {
    uint8_t Kind = 0;
    int32_t Matches = 0, FilesWithMatches = 0, FilesSearched = 0, Replacements = 0, FilesChanged = 0, Elapsed = 0;
  };
  void ShowFinalCounters(uint8_t code, const TRunCounters& counters);
  void ResetCounters();
  // Selects an item of the tree, opening its parents and scrolling it into view.
  void ShowItem(int32_t index);
  // Form files shown in the preview are converted into a file of the preview's own, so a
  // click during a run never touches the file that run reads.
  const std::string& FormPreviewFile();
  bool RunTreePopupShortcut(WORD key);
  void ShowContextMenu(HWND target, int x, int y);
  void CreateAdvancedButtons();
  // Only the look that fits the criteria shows; it takes the focus when asked.
  void ShowAdvancedLook(bool focus);
  void InitFileDialogs();
  void SaveTreeWithDialog(TFileDialog& dialog, bool saveTexts);
  void PrintWorkFile(int copies);

  TQrxSettings settings_;  // values that live outside the controls
  std::unique_ptr<TIDEMgr> ideMgr_;
  bool openDoubleClick_ = false;
  std::unique_ptr<AdvancedCriteria> advancedCriteria_;
  UniqueGdi<HFONT> controlFont_, treeFont_, previewFont_;
  // After the fonts: the dialog uses them and goes first.
  std::unique_ptr<class TdlgReplaceText> dlgReplace_;
  std::unique_ptr<TTempFile> formPreviewFile_;
  bool stopRequested_ = false;
  bool running_ = false;
  // A run lets the window handle its messages, and shows its progress, a few times a
  // second rather than at every one of the engine's calls.
  TPacer breathing_{kBreathIntervalMs}, showing_{kBreathIntervalMs};
  std::string unshownFile_;  // named by the last report that was not shown
  bool fileListShown_ = false;
  bool validatingDirectory_ = false;
  DWORD searchSelStart_ = 0, searchSelEnd_ = 0;
  int previewHeight_ = 47;
  struct Pending {
    std::string Text;
    MsgKind Kind;
  };
  std::optional<Pending> pending_;
  bool closeAfterRun_ = false;

  // Row-text modes of a save or a load; the factory exists only during a load.
  bool saving_ = false;
  bool loading_ = false;
  std::unique_ptr<TNodeCreator> nodeCreator_;

  int dragStart_ = 0;
  bool dragging_ = false;

  // Menu items whose enabling follows the tree (UpdateCommandStates).
  struct CommandItems {
    std::vector<TMenuItem*> Open;        // a match or file row is current
    std::vector<TMenuItem*> ShowEditor;  // unless the editor is an external program
    std::vector<TMenuItem*> WithRows;    // the tree has rows
    std::vector<TMenuItem*> Mutating;    // the tree has rows and no search runs
    std::vector<TMenuItem*> Properties;  // the properties dialog
    TMenuItem* PopupExpandLevel = nullptr;
    TMenuItem* PopupCollapseLevel = nullptr;
  } commands_;
};

// How far a monitor's workspace coordinates are from its screen coordinates: the corner of
// its work area, which a taskbar at the top or left moves.
POINT WorkspaceOffset(const RECT& monitor, const RECT& work);
// Why a search stopped at MaxFinds, and where to raise it.
std::string LineLimitMessage(int32_t maxFinds);
// " Time : " shows seconds with one decimal and thousands separators (",##0.0").
std::string FormatSeconds(int32_t milliseconds);

}  // namespace qrx
