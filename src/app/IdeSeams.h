#pragma once
// Where the main window meets parts of the program that arrive later: the properties
// dialog, results files, printing, help and the about box. Each does nothing yet;
// the menus already carry their commands with their final captions, shortcuts and
// enabling, and call these.
#include <string>

namespace qrx {

class TKRESHForm;

// The properties dialog; arrives with it.
void ShowPropertiesDialog(TKRESHForm& form);
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
