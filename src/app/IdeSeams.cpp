#include "app/IdeSeams.h"

namespace qrx {

// Arrives with the properties dialog.
void ShowPropertiesDialog(TKRESHForm&) {}
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
