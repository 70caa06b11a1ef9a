// The main window's properties command: the dialog with the main window, the IDE manager,
// the Explorer entry and the help file as its host.
#include "app/Grepmain.h"
#include "app/IdeSeams.h"
#include "app/ShellRegistration.h"
#include "app/StartUp.h"
#include "ide/Grepcfg.h"
#include "ide/IDEMgr.h"
#include "winlib/Application.h"

namespace qrx {

void ShowPropertiesDialog(TKRESHForm& form) {
  const TShellRegistration shell = TShellRegistration::OfProgram();
  TConfigureHost host;
  host.Apply = [&form](const TQrxSettings& s) { form.ApplyProperties(s); };
  host.ApplyStayOnTop = [&form](bool on) { form.SetStayOnTop(on); };
  host.ExplorerManageable = [&shell] { return shell.ExplorerPresent(); };
  host.ExplorerEntryPresent = [&shell] { return shell.FolderEntryInstalled(); };
  host.SetExplorerEntry = [&shell](bool present) {
    if (present)
      shell.InstallFolderEntry();
    else
      shell.RemoveFolderEntry();
  };
  host.ShowHelp = [&form](const std::string& topic) { ShowHelpTopic(form, topic); };
  host.EditFont = [&form] { return form.ControlFont(); };
  host.EditorsIni = ProgramDirectory() + "\\EDITORS.INI";
  host.Ide = &form.IdeManager();
  host.ReloadAll = [&form] { form.IdeManager().ReloadAll(); };
  TdlgConfigure dialog(&form, form.Settings(), host);
  // Hints wait a little while the dialog is open, and come at once again after it.
  struct HintDelay {
    explicit HintDelay(int delay) : old(Application().HintDelay) { Set(delay); }
    ~HintDelay() { Set(old); }
    static void Set(int delay) {
      Application().HintDelay = delay;
      Application().ApplyHintSettings();
    }
    int old;
  } hints(800);
  dialog.Execute([&form](TdlgWin95Dlg& d) { return form.ShowModalDialog(d); });
}

}  // namespace qrx
