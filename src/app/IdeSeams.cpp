#include "app/IdeSeams.h"

namespace qrx {

// Arrives with the properties dialog.
void ShowPropertiesDialog(TKRESHForm&) {}

}  // namespace qrx
