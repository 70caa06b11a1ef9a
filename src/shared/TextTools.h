#pragma once
// Small helpers both deliverables need for text, templates, file names and start errors.
// Case rules here are those of the program's 8-bit texts: only a-z and A-Z change case.
#include <string>
#include <string_view>

namespace qrx {

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
inline std::string AsciiUpper(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}
inline std::string AsciiLower(std::string text) {
  for (char& c : text) c = AsciiLower(c);
  return text;
}
inline bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

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
