// Walks a directory tree and reads every file in 64 KiB blocks: the least any search of
// the same tree through the same platform must cost. Prints the files and bytes read.
#include <cstdio>
#include <string>
#include <vector>

#include "winlib/Handles.h"

namespace {

struct Totals {
  unsigned long long files = 0, bytes = 0;
};

void Walk(const std::string& dir, std::vector<char>& buf, Totals& t) {
  WIN32_FIND_DATAA e;
  qrx::UniqueFind find(::FindFirstFileA((dir + "*.*").c_str(), &e));
  if (!find) return;
  std::vector<std::string> subdirs;
  do {
    if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (e.cFileName[0] != '.') subdirs.emplace_back(e.cFileName);
      continue;
    }
    qrx::UniqueFile f(::CreateFileA((dir + e.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f) continue;
    ++t.files;
    DWORD got = 0;
    while (::ReadFile(f.get(), buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr) && got > 0) {
      t.bytes += got;
      if (got < buf.size()) break;
    }
  } while (::FindNextFileA(find.get(), &e));
  find.reset();
  for (const auto& s : subdirs) Walk(dir + s + "\\", buf, t);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_floor dir\n");
    return 2;
  }
  std::string dir = argv[1];
  if (dir.back() != '\\') dir += '\\';
  std::vector<char> buf(65536);
  Totals t;
  Walk(dir, buf, t);
  std::printf("%llu files, %llu bytes\n", t.files, t.bytes);
  return 0;
}
