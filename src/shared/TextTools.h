#pragma once
// Small helpers both deliverables need for templates, file names and start errors.
#include <string>

namespace qrx {

// Where what first occurs in text, comparing letters a-z without case; npos when nowhere.
size_t FindNoCase(const std::string& text, const std::string& what);
// Whether path names an existing file (not a folder).
bool IsFile(const std::string& path);
// The short (8.3) form of a path as the file system reports it; the path itself when
// the file system cannot give one (the file is gone, or names are not shortened).
std::string ShortPathOf(const std::string& path);
// The text for a failed program start by its error code; codes 2 and 3 (the program was
// not found) say pathNotFound, which differs between the editor and the IDE side.
std::string StartErrorText(unsigned long code, const std::string& pathNotFound);

}  // namespace qrx
