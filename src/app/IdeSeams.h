#pragma once
// Where the main window meets parts of the program that arrive later: the IDE
// manager, opening a match in an editor, the shell registration and the properties
// dialog. Each does nothing yet and says so.
namespace qrx {

class TKRESHForm;

// Made before the settings are read; arrives with the IDE integration.
void CreateIdeManager();
void FreeIdeManager();
// The IDE manager's own first-run steps; arrive with the IDE integration.
void IdeFirstRunSteps();
// Offers the Explorer folder menu entry when it is not installed; arrives with the
// shell registration.
void OfferExplorerMenu();
// The properties dialog; arrives with it.
void ShowPropertiesDialog(TKRESHForm& form);
// Opening the selected match, showing the editor; arrive with the editor integration.
void OpenSearchMatch();
void ShowEditor();

}  // namespace qrx
