#include "app/Globals.h"

namespace qrx {

const char* const kDefaultRegistryRoot = "Software\\Vortalis\\Quarrix\\3.0\\Default";
const char* const kRegistryBase = "Software\\Vortalis\\Quarrix\\3.0\\";

std::string RegistryRoot = kDefaultRegistryRoot;
std::string StartDirectory;
std::string StartSearchText;
std::string PreviewFileName;
std::string WorkFileName;
std::string TransferFileName;
bool AllowMultInstances = false;

uint16_t CM_QUARXOPENFILE = 0;
uint16_t CM_QUARXSEARCHTEXT = 0;
uint16_t CM_QUARXRESTORE = 0;
uint16_t CM_QUARXSETDIRECTORY = 0;

}  // namespace qrx
