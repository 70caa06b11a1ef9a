// Opening a match or a preview line in the user's editor: an external program started
// from a template, or a running editor or IDE found and driven by the IDE manager.
#include "app/EditorCommand.h"
#include "app/Globals.h"
#include "app/Grepmain.h"
#include "engine/ResultNodes.h"
#include "engine/ResultTree.h"
#include "ide/DelphiTools.h"
#include "ide/IDEMgr.h"
#include "shared/ProgramPath.h"
#include "winlib/Application.h"

namespace qrx {

void TKRESHForm::CreateIdeManager() {
  TIDEMgrUi ui;
  ui.AskYesNo = [this](const std::string& q) { return ShowMessageDialog(q, MsgKind::Question, MB_YESNO) == IDYES; };
  ui.Inform = [this](const std::string& text) { ShowMessageDialog(text, MsgKind::Information); };
  ui.Error = [this](const std::string& text) { ShowMessageDialog(text, MsgKind::Error); };
  ui.ProcessMessages = [] { Application().ProcessMessages(); };
  ideMgr_ = std::make_unique<TIDEMgr>(Handle(), RegistryRoot, RunningProgramFolder(), TransferFileName, std::move(ui));
}

void TKRESHForm::IdeFirstRunSteps() { ideMgr_->FirstRunSteps(DelphiIniPath(), RunningProgramPath()); }

void TKRESHForm::SetEditorAutoSearch(bool on) {
  settings_.EditorAutoSearch = on;
  if (ideMgr_) ideMgr_->AutoSearch = on;
}

void TKRESHForm::OpenSearchMatch(bool doubleClick) {
  openDoubleClick_ = doubleClick;
  ::PostMessageA(Handle(), WM_OPENMATCH, 0, 0);
}

void TKRESHForm::OpenPreviewLine() {
  openDoubleClick_ = true;
  ::PostMessageA(Handle(), WM_OPENPREVIEWLINE, 0, 0);
}

void TKRESHForm::ShowEditor() {
  if (settings_.EditorType == etIde) ideMgr_->ActivateIDE(ideMgr_->FirstIDE());
}

// After a double click the mouse's own messages are still coming: the editor is driven
// only once they are handled, or its keys would arrive between them.
void TKRESHForm::SettleInput() {
  for (int pass = 0; pass <= 5000; ++pass) {
    Application().ProcessMessages();
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, 256, 521, PM_NOREMOVE)) break;
  }
}

const TMatchNode* TKRESHForm::CurrentMatch() {
  if (treResults.ItemCount() == 0) return nullptr;
  auto* match = dynamic_cast<const TMatchNode*>(ResultNodeOf(treResults.SelectedNode()));
  return match && match->FileNode() ? match : nullptr;
}

void TKRESHForm::OnOpenMatch() {
  if (openDoubleClick_) SettleInput();
  if (const TMatchNode* match = CurrentMatch()) {
    OpenTarget(match->FileNode()->FileName, match->LineNumber, match->MatchStart, match->MatchStop);
    openDoubleClick_ = false;
  }
}

void TKRESHForm::OnOpenPreviewLine() {
  if (treResults.ItemCount() == 0) return;
  const int index = static_cast<int>(::SendMessageA(lbxFilePreview.Handle(), LB_GETCURSEL, 0, 0));
  if (index < 0) return;
  if (openDoubleClick_) SettleInput();
  openDoubleClick_ = false;
  const TMatchNode* match = CurrentMatch();
  const int32_t line = lbxFilePreview.ItemNumber(index);
  if (match && line > 0) OpenTarget(match->FileNode()->FileName, line, 0, 0);
}

void TKRESHForm::OpenTarget(const std::string& file, int32_t line, int32_t start, int32_t stop) {
  if (settings_.EditorType == etIde) {
    ideMgr_->OpenInIDE(file, line, start, stop);
  } else if (settings_.EditorType == etExternal) {
    StartExternalEditor(file, line);
  }
}

void TKRESHForm::StartExternalEditor(const std::string& file, int32_t line) {
  auto command = ExternalEditorCommand(settings_.EditorPath, settings_.EditorParams, file, line, settings_.EditorUseLFN);
  if (!command) {
    ShowMessageDialog("Could not start Editor: " + settings_.EditorPath + ".\r" + file + " is no valid file name.",
                      MsgKind::Information);
    return;
  }
  const UINT result = ::WinExec(command->c_str(), SW_SHOWNORMAL);
  if (result < 32)
    ShowMessageDialog("Could not start Editor: " + *command + ".\r" + EditorStartErrorText(result),
                      MsgKind::Information);
}

}  // namespace qrx
