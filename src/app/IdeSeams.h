#pragma once
// Where the main window meets the properties dialog (src/ide/GrepcfgShow.cpp), which
// lives with the IDE integration it mostly edits.
#include "app/Help.h"  // ShowHelpTopic, which the dialogs call

#include <string>

namespace qrx {

class TKRESHForm;

// The properties dialog, modal; what OK or Apply set is live when it returns.
void ShowPropertiesDialog(TKRESHForm& form);

}  // namespace qrx
