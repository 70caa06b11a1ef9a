#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include <string>
#include <string_view>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's full name, with a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }
  // Writes a file (creating its folders), bytes as given.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  std::string MakeDir(std::string_view relative) const;

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& name);
void RemoveTree(const std::string& dirWithSlash);
