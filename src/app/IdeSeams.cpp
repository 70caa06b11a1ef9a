#include "app/IdeSeams.h"

namespace qrx {

// Arrives with the IDE integration: the manager loads the extension DLLs.
void CreateIdeManager() {}
// Arrives with the IDE integration: destroys the drivers and unloads the DLLs.
void FreeIdeManager() {}
// Arrives with the IDE integration.
void IdeFirstRunSteps() {}
// Arrives with the shell registration, which knows whether the entry is installed.
void OfferExplorerMenu() {}
// Arrives with the properties dialog.
void ShowPropertiesDialog(TKRESHForm&) {}
// Arrives with the editor integration.
void OpenSearchMatch() {}
// Arrives with the editor integration.
void ShowEditor() {}

}  // namespace qrx
