#include "common/TempDir.h"

#include <stdexcept>

#include "winlib/Handles.h"

namespace qrx::test {
namespace {
unsigned g_counter = 0;
}

TempDir::TempDir() {
  char tmp[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof tmp, tmp);
  for (;;) {
    path_ = std::string(tmp) + "qrxt" + std::to_string(::GetCurrentProcessId()) + "_" +
            std::to_string(::GetTickCount()) + "_" + std::to_string(++g_counter);
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::MakeDir(std::string_view relative) const {
  const std::string rel(relative);
  size_t from = 0;
  for (;;) {
    size_t cut = rel.find('\\', from);
    if (cut == std::string::npos) cut = rel.size();
    ::CreateDirectoryA((*this / rel.substr(0, cut)).c_str(), nullptr);
    if (cut == rel.size()) break;
    from = cut + 1;
  }
  return *this / rel;
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
  const std::string rel(relative);
  const size_t slash = rel.rfind('\\');
  if (slash != std::string::npos) MakeDir(rel.substr(0, slash));
  const std::string full = *this / rel;
  UniqueFile f(::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw std::runtime_error("cannot write " + full);
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return full;
}

std::string ReadFileBytes(const std::string& name) {
  UniqueFile f(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (f && ::ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA e;
  UniqueFind find(::FindFirstFileA((dir + "\\*").c_str(), &e));
  if (find) {
    do {
      const std::string name = e.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + "\\" + name;
      ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(e.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveTree(full);
      else if (!::DeleteFileA(full.c_str()))
        ::RemoveDirectoryA(full.c_str());
    } while (::FindNextFileA(find.get(), &e));
  }
  find.reset();
  ::RemoveDirectoryA(dir.c_str());
}

}  // namespace qrx::test
