// The main window's side of a replace run: the questions through the replace dialog and
// the report of files that had to be left as they were.
#include "app/Greprplc.h"
#include "app/Grepmain.h"
#include "engine/FileSearch.h"
#include "winlib/TempFile.h"

namespace qrx {

namespace {

// Enough names to act on; the rest are counted.
constexpr size_t kListedFiles = 15;

}  // namespace

void TKRESHForm::ConfirmReplace(const std::string& previewFile, uint8_t& action, std::string& replaceText,
                                const std::string& searchText, int32_t matchStart, int32_t matchStop,
                                int32_t lineNumber, const std::string& fileName) {
  if (!dlgReplace_) {
    dlgReplace_ = std::make_unique<TdlgReplaceText>(Handle());
    dlgReplace_->chkLineNums.SetChecked(lbxFilePreview.ShowNumbers());
    dlgReplace_->lbxFilePreview.SetShowNumbers(lbxFilePreview.ShowNumbers());
  }
  TdlgReplaceText& dlg = *dlgReplace_;
  dlg.edtReplaceTxt.SetFont(controlFont_.get());

  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT bounds =
      ReplaceDialogBounds(settings_.ReplaceLeft, settings_.ReplaceTop, settings_.ReplaceWidth, settings_.ReplaceHeight, work);
  ::SetWindowPos(dlg.Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  TFilePreview& preview = dlg.lbxFilePreview;
  preview.SetFont(previewFont_.get());
  preview.SetColor(lbxFilePreview.Color());
  preview.SetTextColor(lbxFilePreview.TextColor());
  preview.SetLineNumColor(lbxFilePreview.LineNumColor());
  preview.SetMatchColor(lbxFilePreview.MatchColor());
  preview.SetMatchTextColor(lbxFilePreview.MatchTextColor());
  preview.SetTargetLineColor(lbxFilePreview.TargetLineColor());
  preview.SetTargetTextColor(lbxFilePreview.TargetTextColor());
  preview.SetTotalLines(settings_.NumPreviewLines);

  TReplacePrompt prompt{previewFile, lineNumber, matchStart, matchStop, fileName, searchText, replaceText};
  SuspendTopmost();
  action = dlg.Ask(prompt, replaceText);
  RestoreTopmost();

  RECT now{};
  if (!::IsIconic(dlg.Handle()) && ::GetWindowRect(dlg.Handle(), &now)) {
    settings_.ReplaceLeft = now.left;
    settings_.ReplaceTop = now.top;
    settings_.ReplaceWidth = now.right - now.left;
    settings_.ReplaceHeight = now.bottom - now.top;
  }
}

void TKRESHForm::ReportUnchangedFiles(const std::vector<TUnchangedFile>& files) {
  if (files.empty()) return;
  bool failed = false;
  std::string list;
  for (size_t i = 0; i < files.size(); ++i) {
    failed = failed || files[i].Failed;
    if (i < kListedFiles) list += "\r" + files[i].FileName + ": " + files[i].Reason + ".";
  }
  if (files.size() > kListedFiles) list += "\r... and " + std::to_string(files.size() - kListedFiles) + " more.";
  const std::string head = files.size() == 1 ? "1 file was left unchanged:" : std::to_string(files.size()) + " files were left unchanged:";
  ShowMessageDialog(head + list, failed ? MsgKind::Error : MsgKind::Information);
}

const std::string& TKRESHForm::FormPreviewFile() {
  if (!formPreviewFile_) formPreviewFile_ = std::make_unique<TTempFile>("QZT");
  return formPreviewFile_->Name();
}

}  // namespace qrx
