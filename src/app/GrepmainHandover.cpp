// The main window's end of creation, its showing and closing, and the messages a
// second copy of the program sends it.
#include "app/Globals.h"
#include "app/Grepintr.h"
#include "app/Grepmain.h"
#include "app/History.h"
#include "app/IdeSeams.h"
#include "app/Instance.h"
#include "app/ShellRegistration.h"
#include "app/StartUp.h"

namespace qrx {

void TKRESHForm::FinishCreation() {
  if (!StartSearchText.empty()) {
    cbxSearchFor.SetText(StartSearchText);
    UpdateStartEnabled();
  }
  if (settings_.EditorType < 0)
    FirstRunSequence();
  else
    SetStayOnTop(settings_.StayOnTop);
}

void TKRESHForm::ShowMain() {
  int cmd = settings_.WindowState == wsMinimized ? SW_SHOWMINIMIZED : settings_.WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW;
  ::ShowWindow(Handle(), cmd);
  ::UpdateWindow(Handle());
  if (cbxSearchFor.CanFocus()) cbxSearchFor.SetFocus();
}

void TKRESHForm::FirstRunSequence() {
  {
    TdlgIntro intro(this);
    intro.ShowModal();
  }
  settings_.EditorType = 0;
  OfferFolderEntry();
  IdeFirstRunSteps();
  static const char* const kMasks[] = {"*.pas;*.dpr", "*.c;*.h;*.cpp;*.hpp", "*.java;*.js", "*.html;*.htm;*.shtml",
                                       "*.bas",       "*.txt",              "*.ini",       "*.*"};
  cbxMask.Clear();
  for (const char* m : kMasks) cbxMask.Add(m);
  cbxMask.SetItemIndex(0);
  UpdateStartEnabled();
  ShowPropertiesDialog(*this);
  SaveSettingsOrSay();
}

void TKRESHForm::OfferFolderEntry() {
  const TShellRegistration shell = TShellRegistration::OfProgram();
  if (!shell.ExplorerPresent() || shell.FolderEntryInstalled()) return;
  if (ShowMessageBox(Handle(),
                     "Would you like Quarrix to add itself to Explorer's right-click menu?\rYou can always Add/Remove "
                     "this feature later in Quarrix's property page.",
                     MsgKind::Question, MB_YESNO) == IDYES)
    shell.InstallFolderEntry();
}

bool TKRESHForm::CloseQuery() {
  if (running_) {
    // The run still adds to the tree and its controls: stop it, and close once it ended.
    stopRequested_ = true;
    closeAfterRun_ = true;
    return false;
  }
  // A registry that refuses the settings must not keep the window open.
  SaveSettingsOrSay();
  return true;
}

void TKRESHForm::OnRestoreMessage() {
  if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
  ::SetForegroundWindow(Handle());
}

void TKRESHForm::OnSearchTextMessage() {
  if (!FileExists(TransferFileName)) return;
  SelectTab(0);
  cbxSearchFor.SetText(ReadTransfer(TransferFileName, "SEARCHTEXT", cbxSearchFor.Text()));
  UpdateStartEnabled();
  if (cbxSearchFor.CanFocus()) cbxSearchFor.SetFocus();
}

void TKRESHForm::OnSetDirectoryMessage() {
  if (!FileExists(TransferFileName)) return;
  if (tabSearch.TabIndex() == skReplace) SelectTab(skSearch);
  std::string dir = ReadTransfer(TransferFileName, "DIRECTORY", ProgramDirectory());
  if (DirectoryExists(dir)) {
    cbxDirectory.SetText(LongPathForm(dir));
    lbxDirectory.SetDirectory(dir);
    cbxDirectoryExit();
  }
  if (cbxSearchFor.CanFocus()) cbxSearchFor.SetFocus();
}

LRESULT TKRESHForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= 0xC000 && msg <= 0xFFFF) {
    if (msg == CM_QUARXRESTORE) {
      OnRestoreMessage();
      return 0;
    }
    if (msg == CM_QUARXSEARCHTEXT) {
      OnSearchTextMessage();
      return 0;
    }
    if (msg == CM_QUARXSETDIRECTORY) {
      OnSetDirectoryMessage();
      return 0;
    }
  }
  if (msg == WM_OPENMATCH) {
    OnOpenMatch();
    return 0;
  }
  if (msg == WM_OPENPREVIEWLINE) {
    OnOpenPreviewLine();
    return 0;
  }
  if (msg == kDirectoryExitMessage) {
    DirectoryBoxLostFocus();
    return 0;
  }
  if (msg == WM_CONTEXTMENU) {
    ShowContextMenu(reinterpret_cast<HWND>(wp), static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
    return 0;
  }
  return TForm::WndProc(msg, wp, lp);
}

}  // namespace qrx
