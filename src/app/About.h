#pragma once
// The about box: the program and its version, the regular-expression component's
// version, the settings profile in use and where the help pages are.
#include "app/Win95dlg.h"
#include "winlib/Controls.h"

#include <string>

namespace qrx {

class TKRESHForm;

// "major.minor.build" of a module's version resource, or "" when it has none.
std::string ModuleVersion(const std::string& moduleFileName);
// The file a loaded module came from ("" when it is not loaded).
std::string LoadedModuleFile(const char* moduleName);

class TdlgAbout : public TdlgWin95Dlg {
 public:
  explicit TdlgAbout(TForm* mainForm);
  TLabel lblProgram, lblVersion, lblRegex, lblProfile, lblHelp;
  TButton btnOK;
};

// Shows the about box modally over the main window.
void ShowAboutBox(TKRESHForm& form);

}  // namespace qrx
