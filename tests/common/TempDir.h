#pragma once
// A fresh folder for one test under the temporary directory, removed with everything in it
// when the test ends.
#include <string>
#include <string_view>

namespace qrx::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's full name, without a trailing backslash.
  const std::string& Path() const { return path_; }
  // The full name of something inside: the folder, a backslash, relative.
  std::string operator/(std::string_view relative) const { return path_ + "\\" + std::string(relative); }
  // Writes a file, bytes as given, creating the folders it lies in; answers its full name.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  // Creates a folder and those it lies in; answers its full name.
  std::string MakeDir(std::string_view relative) const;

 private:
  std::string path_;
};

// A whole file's bytes; empty when it cannot be read (also while it does not exist yet).
std::string ReadFileBytes(const std::string& name);
// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::string& dir);

}  // namespace qrx::test
