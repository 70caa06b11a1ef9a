#include "app/IdeSeams.h"

namespace qrx {

// The properties dialog is src/ide/GrepcfgShow.cpp.

}  // namespace qrx
