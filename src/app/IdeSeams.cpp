#include "app/IdeSeams.h"

#include "app/Grepmain.h"
#include "ide/DelphiTools.h"
#include "shared/ProgramPath.h"
#include "winlib/MsgBox.h"

namespace qrx {

// Arrives with the IDE integration: the manager loads the extension DLLs.
void CreateIdeManager() {}
// Arrives with the IDE integration: destroys the drivers and unloads the DLLs.
void FreeIdeManager() {}
void IdeFirstRunSteps(TKRESHForm& form) {
  OfferDelphiToolsEntry(DelphiIniPath(), RunningProgramPath(), [&form](const std::string& question) {
    return ShowMessageBox(form.Handle(), question, MsgKind::Question, MB_YESNO) == IDYES;
  });
}
// Arrives with the properties dialog.
void ShowPropertiesDialog(TKRESHForm&) {}
// Arrive with the editor integration.
void OpenSearchMatch(TKRESHForm&, bool) {}
void OpenPreviewLine(TKRESHForm&) {}
void ShowEditor(TKRESHForm&) {}
// Arrive with saving, loading, exporting and printing results.
void SaveSearch(TKRESHForm&) {}
void ExportSearch(TKRESHForm&) {}
void LoadSearch(TKRESHForm&) {}
void PrinterSetup(TKRESHForm&) {}
void PrintSearch(TKRESHForm&) {}
// Arrive with the help file and the about box.
void ShowHelpTopic(TKRESHForm&, const std::string&) {}
void ShowAboutBox(TKRESHForm&) {}

}  // namespace qrx
