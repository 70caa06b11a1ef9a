#pragma once
// A fresh folder under the temporary directory, removed with everything in it.
#include "winlib/Handles.h"

#include <string>

namespace qrx::test {

inline void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  UniqueFind find(::FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (find) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileA(full.c_str());
    } while (::FindNextFileA(find.get(), &fd));
  }
  find.reset();
  ::RemoveDirectoryA(dir.c_str());
}

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadText(const std::string& path) {
  UniqueFile f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (f && ::ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

class TempDir {
 public:
  TempDir() {
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    static int counter = 0;
    path_ = std::string(tmp) + "qrxtest" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() { RemoveTree(path_); }
  const std::string& Path() const { return path_; }
  std::string MakeDir(const std::string& rel) const {
    std::string p = path_ + "\\" + rel;
    ::CreateDirectoryA(p.c_str(), nullptr);
    return p;
  }
  std::string MakeFile(const std::string& rel, const std::string& content = "x") const {
    std::string p = path_ + "\\" + rel;
    UniqueFile f(::CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    ::WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    return p;
  }

 private:
  std::string path_;
};

}  // namespace qrx::test
