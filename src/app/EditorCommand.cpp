#include "app/EditorCommand.h"

#include "shared/TextTools.h"

namespace qrx {
namespace {

constexpr size_t kTailMax = 255;

}  // namespace

std::optional<std::string> ExternalEditorCommand(const std::string& editorPath, const std::string& params,
                                                 const std::string& fileName, int line, bool useLongNames) {
  std::string p = params;
  if (size_t at = FindNoCase(p, "#FILENAME#"); at != std::string::npos) {
    // A quote would end the quoted name early and turn the rest into arguments of their own.
    if (fileName.find('"') != std::string::npos) return std::nullopt;
    std::string name = useLongNames ? fileName : ShortPathOf(fileName);
    // A name that starts with a dash would read as a switch; as a path it cannot.
    if (!name.empty() && (name[0] == '-' || name[0] == '/')) name = ".\\" + name;
    // A name the file system could not shorten may still hold blanks.
    if (useLongNames || name.find(' ') != std::string::npos) name = "\"" + name + "\"";
    p = p.substr(0, at) + name + p.substr(at + 10, kTailMax);
  }
  if (size_t at = FindNoCase(p, "#LINENUM#"); at != std::string::npos)
    p = p.substr(0, at) + std::to_string(line) + p.substr(at + 9, kTailMax);
  return editorPath + " " + p;
}

std::string EditorStartErrorText(unsigned code) {
  return StartErrorText(code, "Path was not found.  Make sure that the path entered\rin the properties page is correct");
}

}  // namespace qrx
