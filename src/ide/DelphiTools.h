#pragma once
// Delphi 1 has no add-in of ours; it gets an entry in its Tools menu instead, kept in
// the Transfer section of its DELPHI.INI.
#include <functional>
#include <string>

namespace qrx {

// Asks the user a yes/no question; true for Yes.
using AskYesNo = std::function<bool(const std::string& question)>;

// Whether one of the Tools menu entries already starts this program (by either of its names).
bool DelphiToolsEntryExists(const std::string& iniPath);
// When the INI file exists and holds no entry of ours, asks and on Yes appends one that
// runs programPath on the word under Delphi's cursor. True when an entry was added.
bool OfferDelphiToolsEntry(const std::string& iniPath, const std::string& programPath, const AskYesNo& ask);
// DELPHI.INI in the Windows directory.
std::string DelphiIniPath();

}  // namespace qrx
