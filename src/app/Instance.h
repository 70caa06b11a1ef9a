#pragma once
// One running copy per user: the semaphore marks the first copy, and a later copy
// hands its command line to it through the transfer file and synchronous sends.
#include "winlib/Handles.h"

#include <string>

namespace qrx {

extern const char* const kMainWindowClass;  // "TKRESHForm"

// True when this copy handed over to a running one and must end now. Otherwise the
// semaphore (when one was made) is kept in `marker` for the life of the process.
bool HandOverToFirstCopy(bool hasArguments, UniqueHandle& marker);

// The transfer file's "TRANSFER" section.
void WriteTransfer(const std::string& file, const std::string& key, const std::string& value);
std::string ReadTransfer(const std::string& file, const std::string& key, const std::string& fallback);
bool FileExists(const std::string& file);

}  // namespace qrx
