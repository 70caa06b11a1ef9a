#pragma once
// Where the main window meets parts of the program that arrive later: the properties
// dialog. It does nothing yet; the menus already carry its commands with their final
// captions, and call it.
#include "app/Help.h"  // ShowHelpTopic, which the dialogs call

#include <string>

namespace qrx {

class TKRESHForm;

// The properties dialog; arrives with it.
void ShowPropertiesDialog(TKRESHForm& form);

}  // namespace qrx
