// The main window's search workflow: enabling, tabs, expression types, directory
// validation, the request, the run and its progress.
#include "app/Globals.h"
#include "app/Greprplc.h"
#include "app/Grepmain.h"
#include "app/History.h"
#include "engine/FileSearch.h"
#include "winlib/Application.h"
#include "winlib/Clipboard.h"

#include <cstdio>

namespace qrx {

std::string FormatSeconds(int32_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  // Tenths, rounded half up, then the whole part with thousands separators.
  int64_t tenths = (static_cast<int64_t>(milliseconds) + 50) / 100;
  std::string whole = std::to_string(tenths / 10);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<size_t>(i), ",");
  return whole + "." + std::to_string(tenths % 10);
}

void TKRESHForm::UpdateStartEnabled() {
  btnStartSearch.SetEnabled(!cbxMask.Text().empty() && !cbxSearchFor.Text().empty());
}

void TKRESHForm::SelectTab(int index) {
  tabSearch.SetTabIndex(index);
  tabSearchChange();
}

void TKRESHForm::tabSearchChange() {
  cbxMask.SetVisible(true);
  lblMask.SetVisible(true);
  lblDfmMask.SetVisible(false);
  int tab = tabSearch.TabIndex();
  if (fileListShown_) ShowFileList(false);
  if (tab == 1) {
    pagSearch.SetVisible(false);
    pagReplace.SetVisible(true);
    cbxSearchFor.SetParent(pnlRplExpression);
  } else {
    pagReplace.SetVisible(false);
    pagSearch.SetVisible(true);
    cbxSearchFor.SetParent(pnlExpression);
    if (tab == 2) {
      cbxMask.SetVisible(false);
      lblMask.SetVisible(false);
      lblDfmMask.SetVisible(true);
    }
  }
  // First in tab order of its panel; on the Replace page right after its label, whose
  // mnemonic moves the focus to the control that follows it.
  ::SetWindowPos(cbxSearchFor.Handle(), tab == 1 ? lblRplSearchFor.Handle() : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  LayoutPages();
}

void TKRESHForm::KeyPreview(WORD key, bool& handled) {
  const int index = tabSearch.TabForKey(key);
  if (index < 0) return;
  SelectTab(index);
  handled = true;
}

void TKRESHForm::CommonExprRbnClick(uint8_t exprKind) {
  const bool standard = exprKind == ekStandard, regExp = exprKind == ekRegExp, dos = exprKind == ekDos;
  lblMatch.SetVisible(standard);
  chkLineStart.SetVisible(standard);
  chkLineEnd.SetVisible(standard);
  for (auto& b : btnRegExp) b.SetVisible(regExp);
  btnRegExpHelp.SetVisible(regExp);
  for (auto& b : btnDOS) b.SetVisible(dos);
  btnDOSHelp.SetVisible(dos);
  chkWholeWords.SetEnabled(standard);
}

void TKRESHForm::AddExpressionText(const std::string& text) {
  SetClipboardText(Handle(), text);
  // The paste replaces the selection or goes in at the caret, as typing would. Taking
  // the focus back selects the whole box, so the selection is carried over.
  DWORD start = searchSelStart_, end = searchSelEnd_;
  if (cbxSearchFor.Focused())
    ::SendMessageA(cbxSearchFor.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
  cbxSearchFor.SetFocus();
  ::SendMessageA(cbxSearchFor.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
  ::SendMessageA(cbxSearchFor.Handle(), WM_PASTE, 0, 0);
  UpdateStartEnabled();
}

bool TKRESHForm::ValidateDirectory(bool showError) {
  std::string text = cbxDirectory.Text();
  if (DirectoryExists(text) && lbxDirectory.SetDirectory(text)) {
    cbxDirectory.SetText(LongPathForm(lbxDirectory.Directory()));
    return true;
  }
  if (showError) {
    ShowMessageBox(Handle(), "Invalid directory entered.", MsgKind::Information);
    cbxDirectory.SetFocus();
    cbxDirectory.SelectAll();
  }
  return false;
}

void TKRESHForm::cbxDirectoryExit() {
  if (validatingDirectory_) return;  // the box's own error message takes the focus too
  validatingDirectory_ = true;
  try {
    if (ValidateDirectory(true)) UpdateComboHistory(cbxDirectory, settings_.MaxHistory);
  } catch (...) {
    validatingDirectory_ = false;
    throw;
  }
  validatingDirectory_ = false;
}

void TKRESHForm::DirectoryBoxLostFocus() {
  // Only a move to another control of this window counts as leaving the box; the
  // application losing the focus, or a message box taking it, does not.
  HWND focus = ::GetFocus();
  if (!focus || !::IsChild(Handle(), focus) || cbxDirectory.Focused()) return;
  cbxDirectoryExit();
}

void TKRESHForm::FillRequest(TFileSearchObj& search) {
  search.SearchKind = static_cast<uint8_t>(tabSearch.TabIndex());
  search.Masks = cbxMask.Text();
  search.SearchText = cbxSearchFor.Text();
  search.Directory = lbxDirectory.Directory();
  search.MaxLines = settings_.MaxFinds;
  search.WorkFileName = WorkFileName;
  if (advancedCriteria_) search.SetCriteria(*advancedCriteria_);
  auto bit = [](bool on, uint16_t value) { return on ? value : static_cast<uint16_t>(0); };
  if (search.SearchKind == skReplace) {
    search.ExprKind = ekStandard;
    search.ReplaceText = cbxRplReplaceWith.Text();
    search.Options = bit(chkRplSubDirs.Checked(), optSubDirs) | bit(chkRplCheckCase.Checked(), optCaseSensitive) |
                     bit(chkRplWholeWords.Checked(), optWholeWords) | bit(chkRplLineStart.Checked(), optLineStart) |
                     bit(chkRplLineEnd.Checked(), optLineEnd);
    search.BackupMode = !chkRplBackup.Checked() ? bmNone : chkRplBackupOvr.Checked() ? bmOverwrite : bmNumbered;
    search.OnReplaceProgress = [this](TFileSearchObj* s, int32_t m, int32_t r, int32_t fc, int32_t fs,
                                      const std::string& name, bool& cancel) {
      ReplaceProgress(s, m, r, fc, fs, name, cancel);
    };
    search.PreviewFileName = PreviewFileName;
    search.OnConfirmReplace = [this](TFileSearchObj*, const std::string& previewFile, uint8_t& action,
                                     std::string& replaceText, const std::string& searchText, int32_t start,
                                     int32_t stop, int32_t lineNumber, const std::string& fileName) {
      ConfirmReplace(previewFile, action, replaceText, searchText, start, stop, lineNumber, fileName);
    };
  } else {
    search.Options = bit(chkShowNumbers.Checked(), optLineNumbers) | bit(chkShowFilenames.Checked(), optFileLines) |
                     bit(chkShowFilePath.Checked(), optFullPaths) | bit(chkFileMatchCount.Checked(), optMatchCounts) |
                     bit(chkSubDirs.Checked(), optSubDirs) | bit(chkCheckCase.Checked(), optCaseSensitive) |
                     bit(chkWholeWords.Checked(), optWholeWords) | bit(chkLineStart.Checked(), optLineStart) |
                     bit(chkLineEnd.Checked(), optLineEnd);
    search.ExprKind = rbnExprRegExp.Checked() ? ekRegExp : rbnExprDOS.Checked() ? ekDos : ekStandard;
    if (search.ExprKind != ekStandard) search.Options &= static_cast<uint16_t>(~optWholeWords);
    search.OnSearchProgress = [this](TFileSearchObj* s, int32_t m, int32_t f, int32_t fs, const std::string& name,
                                     bool& cancel) { SearchProgress(s, m, f, fs, name, cancel); };
  }
  search.OnProcessMessages = [this] {
    if (breathing_.Due()) Application().ProcessMessages();
  };
}

void TKRESHForm::EnterRunningState() {
  running_ = true;
  UpdateComboHistory(cbxDirectory, settings_.MaxHistory);
  lbxFilePreview.Clear();
  btnStartSearch.SetVisible(false);
  btnOpen.SetVisible(false);
  btnStop.SetEnabled(true);
  btnStop.SetVisible(true);
  treResults.FullCollapse();
  if (dlgReplace_) dlgReplace_->lbxFilePreview.Clear();
  UpdateCommandStates();
}

void TKRESHForm::LeaveRunningState() {
  btnStop.SetVisible(false);
  btnStartSearch.SetVisible(true);
  btnOpen.SetVisible(true);
  if (dlgReplace_) dlgReplace_->Retire();
  treResults.Invalidate();
  running_ = false;
  UpdateCommandStates();
  // A close asked for during the run waited for its end.
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
  }
}

void TKRESHForm::FocusAfterResult(uint8_t code) {
  TWindow* target = nullptr;
  switch (code) {
    case rcNoMask: target = &cbxMask; break;
    case rcNoText:
    case rcBadExpression: target = &cbxSearchFor; break;
    case rcNoDirectory: target = &lbxDirectory; break;
    default: target = code <= rcTreeError ? static_cast<TWindow*>(&treResults) : nullptr; break;
  }
  if (target && target->CanFocus()) target->SetFocus();
}

void TKRESHForm::btnStartSearchClick() {
  if (running_) return;
  if (!ValidateDirectory(true)) return;
  if (tabSearch.TabIndex() > 2) return;
  pending_.reset();
  stopRequested_ = false;
  breathing_.Reset();
  showing_.Reset();
  unshownFile_.clear();
  EnterRunningState();
  uint8_t code = 0xFF;
  TRunCounters counters;
  std::vector<std::string> unopened;
  std::vector<TUnchangedFile> unchanged;
  try {
    auto search = std::make_unique<TFileSearchObj>(treResults);
    FillRequest(*search);
    // The result code's low seven bits; the top bit is not a code of its own.
    code = static_cast<uint8_t>(search->Execute() & 0x7F);
    counters = TRunCounters{search->SearchKind, search->Matches,      search->FilesWithMatches, search->FilesSearched,
                            search->Replacements, search->FilesChanged, search->Elapsed()};
    unopened = search->UnopenedFiles();
    unchanged = search->UnchangedFiles();
    switch (code) {
      case rcNoMask: pending_ = Pending{"Error in File Mask(s).", MsgKind::Error}; break;
      case rcNoText: pending_ = Pending{"Search string is invalid.", MsgKind::Error}; break;
      case rcBadExpression: pending_ = Pending{"Bad regular expression.", MsgKind::Error}; break;
      case rcLineLimit: pending_ = Pending{LineLimitMessage(settings_.MaxFinds), MsgKind::Information}; break;
      case rcFileLimit: pending_ = Pending{"Number of file exceeded.", MsgKind::Information}; break;
      case rcIOError: pending_ = Pending{"I/O error during search." + search->ErrorMessage, MsgKind::Error}; break;
      case rcNoDirectory: pending_ = Pending{"Invalid directory.", MsgKind::Error}; break;
      case rcNothingFound: pending_ = Pending{"No matches found.", MsgKind::Information}; break;
      case rcTreeError:
        pending_ = Pending{"Internal Error. Search Stopped.\r" + search->ErrorMessage, MsgKind::Error};
        break;
      default: break;
    }
  } catch (...) {
    LeaveRunningState();
    ResetCounters();
    throw;  // the application's error box shows it; no result message
  }
  LeaveRunningState();
  ShowFinalCounters(code, counters);
  FocusAfterResult(code);
  ReportPassedOverFiles(unopened, unchanged);
  if (pending_) {
    Pending p = *pending_;
    pending_.reset();
    if (p.Kind == MsgKind::Error) DefaultBeep();
    ShowMessageDialog(p.Text, p.Kind);
  } else if (treResults.ItemCount() >= 3) {
    // As a click there would: the preview shows the newest search's first match.
    ShowItem(3);
    treResultsClick();
  }
}

std::string LineLimitMessage(int32_t maxFinds) {
  return "The search stopped at the limit of " + std::to_string(maxFinds) +
         " result lines, which counts the lines of every search in the window.\r"
         "Clear the window, or raise the limit (\"MaxFinds\") in the properties, on the Options page.";
}

void TKRESHForm::ShowItem(int32_t index) {
  TGOutlineNode* node = treResults.Items(index);
  for (TGOutlineNode* up = node->Parent(); up && up->Level() > 0; up = up->Parent()) up->SetExpanded(true);
  treResults.SelectNode(node);
  const int32_t row = treResults.Row();
  if (row < treResults.TopRow() || row >= treResults.TopRow() + treResults.VisibleRowCount()) treResults.ScrollTo(row);
}

void TKRESHForm::ResetCounters() {
  pnlNumMatches.SetText(" Found : 0");
  pnlNumFiles.SetText(" # Files : 0");
  pnlFilesSearched.SetText(" Searched : 0");
  pnlSearchTime.SetText(" Time : 0 ");
}

// The last progress report may be half a second old, or never have come: the panels show
// what the run ended with.
void TKRESHForm::ShowFinalCounters(uint8_t code, const TRunCounters& c) {
  if (code == rcNoMask || code == rcNoText || code == rcBadExpression || code == rcNoDirectory || code > rcTreeError) {
    ResetCounters();  // nothing was searched
    return;
  }
  if (!unshownFile_.empty()) pnlStatus.SetText(" " + unshownFile_);
  const std::string last = c.Kind == skReplace ? " Replaced : " + std::to_string(c.FilesChanged)
                                       : " Time : " + FormatSeconds(c.Elapsed);
  pnlNumMatches.SetText(" Found : " + std::to_string(c.Matches));
  pnlNumFiles.SetText(c.Kind == skReplace ? " Replaced : " + std::to_string(c.Replacements)
                                  : " # Files : " + std::to_string(c.FilesWithMatches));
  pnlFilesSearched.SetText(" Searched : " + std::to_string(c.FilesSearched));
  pnlSearchTime.SetText(last);
  const char* run = c.Kind == skReplace ? " Replace" : " Search";
  if (code == rcCancelled) pnlStatus.SetText(std::string(run) + " stopped by the user.");
  if (code == rcLineLimit) pnlStatus.SetText(std::string(run) + " stopped at the limit of " + std::to_string(settings_.MaxFinds) + " result lines.");
  pnlButtons.Repaint();
}

void TKRESHForm::btnStopClick() {
  stopRequested_ = true;
  btnStop.SetEnabled(false);
  btnStop.Repaint();
}

void TKRESHForm::SearchProgress(TFileSearchObj* sender, int32_t matches, int32_t filesWithMatches,
                                int32_t filesSearched, const std::string& fileName, bool& cancel) {
  if (!ProgressDue(fileName, cancel)) return;
  ShowProgress(" Found : " + std::to_string(matches), " # Files : " + std::to_string(filesWithMatches),
               " Searched : " + std::to_string(filesSearched),
               " Time : " + FormatSeconds(sender ? sender->Elapsed() : 0), fileName, cancel);
}

void TKRESHForm::ReplaceProgress(TFileSearchObj*, int32_t matches, int32_t replacements, int32_t filesChanged,
                                 int32_t filesSearched, const std::string& fileName, bool& cancel) {
  if (!ProgressDue(fileName, cancel)) return;
  ShowProgress(" Found : " + std::to_string(matches), " Replaced : " + std::to_string(replacements),
               " Searched : " + std::to_string(filesSearched), " Replaced : " + std::to_string(filesChanged),
               fileName, cancel);
}

void TKRESHForm::SetPacingClock(TPacer::TClock clock) {
  breathing_ = TPacer(kBreathIntervalMs, clock);
  showing_ = TPacer(kBreathIntervalMs, std::move(clock));
}

// Between the paced times a report only passes a stop on: the panels would change faster
// than anyone could read them, and a run ends by showing its final counts.
bool TKRESHForm::ProgressDue(const std::string& fileName, bool& cancel) {
  if (showing_.Due()) {
    unshownFile_.clear();
    return true;
  }
  if (!fileName.empty()) unshownFile_ = fileName;  // the run's end shows it
  if (stopRequested_) {
    stopRequested_ = false;
    cancel = true;
  }
  return false;
}

// Both kinds of run report through the same four panels; the Stop button's request is
// picked up here, where the run lets the window breathe.
void TKRESHForm::ShowProgress(const std::string& matches, const std::string& files, const std::string& searched,
                              const std::string& last, const std::string& fileName, bool& cancel) {
  Application().ProcessMessages();
  if (stopRequested_) {
    stopRequested_ = false;
    cancel = true;
  }
  pnlNumMatches.SetText(matches);
  pnlNumFiles.SetText(files);
  pnlFilesSearched.SetText(searched);
  pnlSearchTime.SetText(last);
  if (!fileName.empty()) pnlStatus.SetText(" " + fileName);
  pnlButtons.Repaint();
}

void TKRESHForm::SuspendTopmost() {
  if (settings_.StayOnTop && (::GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TKRESHForm::RestoreTopmost() {
  if (settings_.StayOnTop)
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TKRESHForm::ShowMessageDialog(const std::string& text, MsgKind kind, UINT buttons) {
  SuspendTopmost();
  int answer = ShowMessageBox(Handle(), text, kind, buttons);
  RestoreTopmost();
  return answer;
}

void TKRESHForm::SetStayOnTop(bool on) {
  settings_.StayOnTop = on;
  ::SetWindowPos(Handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace qrx
