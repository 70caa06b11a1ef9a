#pragma once
// The external editor's command line, built from the user's parameter template.
#include <optional>
#include <string>

namespace qrx {

// The editor program, a blank and the template with "#FILENAME#" and "#LINENUM#" (any
// case) replaced: the long name in double quotes, or the short name. Nothing when the
// file name cannot be passed safely (it holds a double quote).
std::optional<std::string> ExternalEditorCommand(const std::string& editorPath, const std::string& params,
                                                 const std::string& fileName, int line, bool useLongNames);
// The message for a failed start, by the start service's result.
std::string EditorStartErrorText(unsigned code);

}  // namespace qrx
