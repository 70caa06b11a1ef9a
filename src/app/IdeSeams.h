#pragma once
// Where the main window meets parts of the program that arrive later: the IDE
// manager, opening a match in an editor, the properties
// dialog, results files, printing, help and the about box. Each does nothing yet;
// the menus already carry their commands with their final captions, shortcuts and
// enabling, and call these.
#include <string>

namespace qrx {

class TKRESHForm;

// Made before the settings are read; arrives with the IDE integration.
void CreateIdeManager();
void FreeIdeManager();
// The IDE manager's own first-run steps: the Delphi 1 Tools menu offer is here; reloading
// the drivers and resetting their order arrive with the IDE integration.
void IdeFirstRunSteps(TKRESHForm& form);
// The properties dialog; arrives with it.
void ShowPropertiesDialog(TKRESHForm& form);
// Opening the tree's current match (a double click lets the input settle first), the
// preview's current line, and bringing the editor to the front; arrive with the editor
// integration.
void OpenSearchMatch(TKRESHForm& form, bool doubleClick);
void OpenPreviewLine(TKRESHForm& form);
void ShowEditor(TKRESHForm& form);
// Results files, export and printing; arrive with them.
void SaveSearch(TKRESHForm& form);
void ExportSearch(TKRESHForm& form);
void LoadSearch(TKRESHForm& form);
void PrinterSetup(TKRESHForm& form);
void PrintSearch(TKRESHForm& form);
// The help file's topics ("Contents", "Regular_Expressions", "DOS_Expressions") and the
// about box; arrive with them.
void ShowHelpTopic(TKRESHForm& form, const std::string& topic);
void ShowAboutBox(TKRESHForm& form);

}  // namespace qrx
