#pragma once
// Values fixed during start-up, before the main window exists, and read everywhere after.
#include <cstdint>
#include <string>

namespace qrx {

extern const char* const kDefaultRegistryRoot;  // "Software\Vortalis\Quarrix\3.0\Default"
extern const char* const kRegistryBase;         // "Software\Vortalis\Quarrix\3.0\"

extern std::string RegistryRoot;
extern std::string StartDirectory;
extern std::string StartSearchText;
extern std::string PreviewFileName;
extern std::string WorkFileName;
extern std::string TransferFileName;
extern bool AllowMultInstances;

extern uint16_t CM_QUARXOPENFILE;
extern uint16_t CM_QUARXSEARCHTEXT;
extern uint16_t CM_QUARXRESTORE;
extern uint16_t CM_QUARXSETDIRECTORY;

}  // namespace qrx
