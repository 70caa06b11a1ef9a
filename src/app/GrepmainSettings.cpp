// The main window's side of the settings: copying the stored values into the
// controls at creation and collecting them again for saving.
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "ide/IDEMgr.h"
#include "app/StartUp.h"
#include "winlib/Application.h"

namespace qrx {
namespace {

// Where a window placement's workspace coordinates start on the screen of the monitor the
// rectangle (or else the window) is on.
POINT WorkspaceOrigin(HWND hwnd, const RECT* rect) {
  HMONITOR monitor = rect ? ::MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST) : ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!::GetMonitorInfoA(monitor, &mi)) return POINT{0, 0};
  return WorkspaceOffset(mi.rcMonitor, mi.rcWork);
}

}  // namespace

POINT WorkspaceOffset(const RECT& monitor, const RECT& work) {
  return POINT{work.left - monitor.left, work.top - monitor.top};
}

void TKRESHForm::LoadAllSettings() { ApplySettings(LoadSettings(RegistryRoot, ProgramDirectory())); }

void TKRESHForm::ApplySettings(const TQrxSettings& s) {
  settings_ = s;
  // Window state first, then position and size in one step.
  WINDOWPLACEMENT wp{sizeof wp};
  ::GetWindowPlacement(Handle(), &wp);
  // Stored in screen coordinates; a placement speaks in workspace coordinates, which differ
  // by a taskbar at the top or left.
  const RECT screen{s.Left, s.Top, s.Left + s.Width, s.Top + s.Height};
  const POINT origin = WorkspaceOrigin(Handle(), &screen);
  wp.rcNormalPosition = RECT{screen.left - origin.x, screen.top - origin.y, screen.right - origin.x, screen.bottom - origin.y};
  wp.showCmd = s.WindowState == wsMinimized ? SW_SHOWMINNOACTIVE : s.WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  wp.showCmd = SW_HIDE;  // shown by ShowMain
  ::SetWindowPlacement(Handle(), &wp);
  Resize();  // the preview's placement depends on the size of the area above the inputs
  previewHeight_ = s.PreviewHeight;
  tabSearch.SetTabIndex(s.CurPage > 2 || s.CurPage < 0 ? 0 : s.CurPage);

  ChooseStartDirectory();

  cbxMask.SetText(s.FileMask);
  cbxSearchFor.SetText(s.SearchFor);
  chkCheckCase.SetChecked(s.CaseSensitive);
  chkWholeWords.SetChecked(s.WholeWord);
  chkShowNumbers.SetChecked(s.LineNums);
  chkShowFilenames.SetChecked(s.Filenames);
  chkShowFilePath.SetChecked(s.FilePaths);
  chkFileMatchCount.SetChecked(s.FileMatchCnt);
  chkLineStart.SetChecked(s.LineStart);
  chkLineEnd.SetChecked(s.LineEnd);
  chkSubDirs.SetChecked(false);
  const uint8_t exprKind = s.ExprType == ekRegExp || s.ExprType == ekDos ? static_cast<uint8_t>(s.ExprType) : uint8_t{ekStandard};
  rbnExprNone.SetChecked(exprKind == ekStandard);
  rbnExprRegExp.SetChecked(exprKind == ekRegExp);
  rbnExprDOS.SetChecked(exprKind == ekDos);
  CommonExprRbnClick(exprKind);

  cbxRplReplaceWith.SetText(s.ReplaceWith);
  chkRplCheckCase.SetChecked(s.RplCaseSensitive);
  chkRplWholeWords.SetChecked(s.RplWholeWords);
  chkRplBackup.SetChecked(s.RplBackup);
  chkRplBackupOvr.SetChecked(s.RplBackupOverwrite);
  chkRplLineStart.SetChecked(s.RplLineStart);
  chkRplLineEnd.SetChecked(s.RplLineEnd);
  chkRplSubDirs.SetChecked(false);

  MakePropertiesLive();

  cbxMask.SetItems(s.MaskHistory);
  cbxSearchFor.SetItems(s.SearchHistory);
  cbxRplReplaceWith.SetItems(s.ReplaceHistory);
  cbxDirectory.SetItems(s.DirectoryHistory);
  cbxDirectory.SetText(LongPathForm(lbxDirectory.Directory()));
}

void TKRESHForm::ChooseStartDirectory() {
  if (StartDirectory.empty() || !DirectoryExists(StartDirectory)) StartDirectory = settings_.Directory;
  if (!lbxDirectory.SetDirectory(StartDirectory)) lbxDirectory.SetDirectory(ProgramDirectory());
}

void TKRESHForm::ApplyFonts() {
  controlFont_.reset(CreateFontOf(settings_.ControlFont));
  for (TWindow* w : std::initializer_list<TWindow*>{&cbxDirectory, &cbxSearchFor, &cbxMask, &cbxRplReplaceWith,
                                                    &lbxDirectory, &cbxDrives})
    w->SetFont(controlFont_.get());
  treeFont_.reset(CreateFontOf(settings_.TreeFont));
  treResults.SetFont(treeFont_.get());
  previewFont_.reset(CreateFontOf(settings_.PreviewFont));
  lbxFilePreview.SetFont(previewFont_.get());
  Resize();
}

TQrxSettings TKRESHForm::CollectSettings() {
  TQrxSettings s = settings_;
  WINDOWPLACEMENT wp{sizeof wp};
  ::GetWindowPlacement(Handle(), &wp);
  const POINT origin = WorkspaceOrigin(Handle(), nullptr);
  s.Left = wp.rcNormalPosition.left + origin.x;
  s.Top = wp.rcNormalPosition.top + origin.y;
  s.Width = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
  s.Height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
  s.WindowState = ::IsIconic(Handle()) ? wsMinimized : ::IsZoomed(Handle()) ? wsMaximized : wsNormal;
  s.PreviewHeight = previewHeight_;
  s.CurPage = tabSearch.TabIndex();
  s.AllowMultInstances = AllowMultInstances;
  s.Directory = lbxDirectory.Directory();
  s.FileMask = cbxMask.Text();
  s.SearchFor = cbxSearchFor.Text();
  s.CaseSensitive = chkCheckCase.Checked();
  s.WholeWord = chkWholeWords.Checked();
  s.LineNums = chkShowNumbers.Checked();
  s.Filenames = chkShowFilenames.Checked();
  s.FilePaths = chkShowFilePath.Checked();
  s.FileMatchCnt = chkFileMatchCount.Checked();
  s.LineStart = chkLineStart.Checked();
  s.LineEnd = chkLineEnd.Checked();
  s.SubDirs = chkSubDirs.Checked();
  s.ExprType = rbnExprRegExp.Checked() ? ekRegExp : rbnExprDOS.Checked() ? ekDos : ekStandard;
  s.ReplaceWith = cbxRplReplaceWith.Text();
  s.RplCaseSensitive = chkRplCheckCase.Checked();
  s.RplWholeWords = chkRplWholeWords.Checked();
  s.RplBackup = chkRplBackup.Checked();
  s.RplBackupOverwrite = chkRplBackupOvr.Checked();
  s.RplLineStart = chkRplLineStart.Checked();
  s.RplLineEnd = chkRplLineEnd.Checked();
  s.MaskHistory = cbxMask.Items();
  s.SearchHistory = cbxSearchFor.Items();
  s.ReplaceHistory = cbxRplReplaceWith.Items();
  s.DirectoryHistory = cbxDirectory.Items();
  return s;
}

void TKRESHForm::SaveAllSettings() {
  SaveSettings(RegistryRoot, CollectSettings(), [this](HKEY profile) { ideMgr_->SaveOrder(profile); });
}

void TKRESHForm::SaveSettingsOrSay() {
  try {
    SaveAllSettings();
  } catch (const std::exception& e) {
    ShowErrorBox(std::string("The settings could not be saved.\r") + e.what());
  } catch (...) {
    ShowErrorBox("The settings could not be saved.");
  }
}

void TKRESHForm::ApplyPreviewSettings() {
  ApplyPreviewSettings(lbxFilePreview);
  lbxFilePreview.SetShowNumbers(chkShowNumbers.Checked());
}

void TKRESHForm::ApplyPreviewSettings(TFilePreview& preview) {
  const TQrxSettings& s = settings_;
  preview.SetFont(previewFont_.get());
  preview.SetTotalLines(s.NumPreviewLines);
  preview.SetColor(s.PrevBackColor);
  preview.SetTextColor(s.PrevTextColor);
  preview.SetLineNumColor(s.PrevLineNumColor);
  preview.SetMatchColor(s.PrevMatchBackColor);
  preview.SetMatchTextColor(s.PrevMatchTextColor);
  preview.SetTargetLineColor(s.PrevTargetBackColor);
  preview.SetTargetTextColor(s.PrevTargetTextColor);
}

void TKRESHForm::MakePropertiesLive() {
  const TQrxSettings& s = settings_;
  SetShowPreview(s.Preview);
  SetShowMainMenu(s.ShowMainMenu);
  SetShowHints(s.ShowHints);
  SetEditorAutoSearch(s.EditorAutoSearch);
  ApplyFonts();
  treResults.SetColor(s.TreeBackColor);
  treResults.SetFontColor(s.TreeTextColor);
  ApplyPreviewSettings();
  lbxFilePreview.Invalidate();
}

void TKRESHForm::ApplyProperties(const TQrxSettings& s) {
  // Staying on top follows only when the dialog closes (SetStayOnTop).
  const bool stayOnTop = settings_.StayOnTop;
  CopyPropertySettings(s, settings_);
  settings_.StayOnTop = stayOnTop;
  // The process-wide flag is what the next save writes.
  AllowMultInstances = settings_.AllowMultInstances;
  MakePropertiesLive();
}

void TKRESHForm::SetNumPreviewLines(int32_t n) {
  settings_.NumPreviewLines = n;
  lbxFilePreview.SetTotalLines(n);
}

void TKRESHForm::SetShowMainMenu(bool show) {
  settings_.ShowMainMenu = show;
  ShowMainMenu(show);
}

void TKRESHForm::SetShowHints(bool show) {
  settings_.ShowHints = show;
  Application().ShowHints = show;
  Application().ApplyHintSettings();
}

}  // namespace qrx
