#include "engine/FormFile.h"

#include <vector>

#include "engine/FormConvert.h"
#include "winlib/Handles.h"

namespace qrx {
namespace {

bool ReadWholeFile(const std::string& name, std::vector<unsigned char>& data) {
  UniqueFile file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxFormFileSize) {
    return false;
  }
  data.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < data.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), data.data() + done, static_cast<DWORD>(data.size() - done), &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  data.resize(done);
  return true;
}

bool WriteAll(HANDLE file, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    DWORD wrote = 0;
    if (!::WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &wrote, nullptr) || wrote == 0) {
      return false;
    }
    done += wrote;
  }
  return true;
}

}  // namespace
}  // namespace qrx

bool ConvertFormFile(const std::string& sourceName, const std::string& workFileName) {
  using namespace qrx;
  if (sourceName.empty() || workFileName.empty()) return false;
  try {
    std::vector<unsigned char> data;
    if (!ReadWholeFile(sourceName, data)) return false;
    UniqueFile work(::CreateFileA(workFileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!work) return false;
    std::string text;
    if (!ConvertFormStream(data.data(), data.size(), text)) return false;
    return WriteAll(work.get(), text);
  } catch (...) {
    // Out of memory for a large file: this file is simply not searched.
    return false;
  }
}
