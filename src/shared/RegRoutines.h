#pragma once
// The registry routines both deliverables share. Each opens its key, does one thing
// and closes it again (flushing what it changed); a registry error never escapes as
// anything but a false answer.
#include "shared/InstallLog.h"
#include "winlib/Win.h"

#include <optional>
#include <string>

namespace qrx {

// A value name, or none: without one the routines ask about (or delete) the key itself,
// and a read takes the key's default value.
using RegValueName = std::optional<std::string>;

// A null root is the default root, HKEY_CURRENT_USER.
bool RegKeyExists(HKEY root, const std::string& key, const RegValueName& valueName = std::nullopt);
// Writes a string value, creating the key when missing; after a successful write,
// records it in the log (a tree record of the key when tree is set, else a value record).
bool RegWriteLogged(HKEY root, const std::string& key, const std::string& valueName, bool tree, const std::string& data,
                    const TInstallLog& log = TInstallLog::OfProgram());
// Deletes one value, or without a value name the whole key with everything below it.
bool RegDeleteEntry(HKEY root, const std::string& key, const RegValueName& valueName = std::nullopt);
// Reads a string value into data (cleared first); false when the key or value is missing
// or is not a string.
bool RegReadString(HKEY root, const std::string& key, const RegValueName& valueName, std::string& data);
// Removes a key and every key below it; false when it was not there or stayed.
bool RegDeleteTree(HKEY parent, const std::string& subkey);

}  // namespace qrx
