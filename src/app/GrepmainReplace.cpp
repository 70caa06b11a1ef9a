// The main window's side of a replace run: the questions through the replace dialog, and
// the report of files a run had to pass over.
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

  ApplyPreviewSettings(dlg.lbxFilePreview);

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

void TKRESHForm::ReportPassedOverFiles(const std::vector<std::string>& unopened,
                                       const std::vector<TUnchangedFile>& unchanged) {
  if (unopened.empty() && unchanged.empty()) return;
  std::string text;
  auto listed = [&](size_t count, const char* one, const char* many, auto&& line) {
    if (count == 0) return;
    if (!text.empty()) text += "\r\r";
    text += count == 1 ? std::string(one) : std::to_string(count) + many;
    for (size_t i = 0; i < count && i < kListedFiles; ++i) text += "\r" + line(i);
    if (count > kListedFiles) text += "\r... and " + std::to_string(count - kListedFiles) + " more.";
  };
  listed(unopened.size(), "1 file could not be opened and was not searched:",
         " files could not be opened and were not searched:", [&](size_t i) { return unopened[i]; });
  listed(unchanged.size(), "1 file was left unchanged:", " files were left unchanged:",
         [&](size_t i) { return unchanged[i].FileName + ": " + unchanged[i].Reason + "."; });
  bool failed = false;  // a file that could not be opened is worth knowing, not an error
  for (const TUnchangedFile& f : unchanged) failed = failed || f.Failed;
  ShowMessageDialog(text, failed ? MsgKind::Error : MsgKind::Information);
}

const std::string& TKRESHForm::FormPreviewFile() {
  if (!formPreviewFile_) formPreviewFile_ = std::make_unique<TTempFile>("QZT");
  return formPreviewFile_->Name();
}

}  // namespace qrx
