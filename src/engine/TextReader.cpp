#include "engine/TextReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kCtrlZ = 26;

// Position of the first CR, LF or Ctrl-Z in [p, end), or end.
inline const char* FindBreak(const char* p, const char* end) {
  for (; p != end; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c <= 26 && (c == '\n' || c == '\r' || c == 26)) return p;
  }
  return end;
}

}  // namespace

int32_t TTextReader::ClampBufferSize(int32_t requested) {
  int32_t size = std::clamp<int32_t>(requested, 1024, 16384);
  return size & ~1;
}

void TTextReader::Assign(const std::string& fileName, int32_t bufferSize, uint32_t blockSize) {
  Close();
  fileName_ = fileName;
  bufferSize_ = ClampBufferSize(bufferSize);
  blockSize_ = blockSize ? std::max<uint32_t>(blockSize, 16) : 65536;
}

void TTextReader::Open() {
  Close();
  HANDLE h = ::CreateFileA(fileName_.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD code = ::GetLastError();
    throw EInOutError("Cannot open file " + fileName_, code);
  }
  file_.reset(h);
  if (buf_.size() < blockSize_) buf_.assign(blockSize_, 0);
}

bool TTextReader::TryOpen() noexcept {
  try {
    Open();
    return true;
  } catch (...) {
    return false;
  }
}

void TTextReader::OpenMemory(std::string_view data) {
  Close();
  memory_ = true;
  buf_.assign(data.begin(), data.end());
  end_ = buf_.size();
  atEnd_ = true;
}

void TTextReader::Close() noexcept {
  file_.reset();
  memory_ = false;
  pos_ = end_ = 0;
  blockOffset_ = 0;
  atEnd_ = false;
  ctrlZ_ = false;
  carry_.clear();
  lastEnd_ = TLineEnd::None;
  lastOffset_ = 0;
}

bool TTextReader::Fill() {
  if (atEnd_ || ctrlZ_) return false;
  if (!file_) {
    atEnd_ = true;
    return false;
  }
  blockOffset_ += end_;
  pos_ = end_ = 0;
  DWORD got = 0;
  if (!::ReadFile(file_.get(), buf_.data(), blockSize_, &got, nullptr)) {
    DWORD code = ::GetLastError();
    atEnd_ = true;
    throw EInOutError("Cannot read file " + fileName_, code);
  }
  end_ = got;
  // A disk file that returns less than asked has no more to give; not asking again
  // saves a call per small file.
  if (got < blockSize_) atEnd_ = true;
  return got > 0;
}

uint32_t TTextReader::ReadBlock(char* dest, uint32_t size) {
  if (memory_) {
    const size_t n = std::min<size_t>(size, end_ - pos_);
    std::memcpy(dest, buf_.data() + pos_, n);
    pos_ += n;
    return static_cast<uint32_t>(n);
  }
  if (!file_) return 0;
  DWORD got = 0;
  if (!::ReadFile(file_.get(), dest, size, &got, nullptr)) {
    DWORD code = ::GetLastError();
    throw EInOutError("Cannot read file " + fileName_, code);
  }
  blockOffset_ += got;
  return got;
}

bool TTextReader::Eof() {
  if (pos_ == end_ && !Fill()) return true;
  return buf_[pos_] == kCtrlZ;
}

bool TTextReader::ReadLine(std::string_view& line) {
  lastOffset_ = RawPosition();
  lastEnd_ = TLineEnd::None;
  bool carrying = false;
  carry_.clear();
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    const char* base = buf_.data();
    const char* start = base + pos_;
    const char* stop = FindBreak(start, base + end_);
    if (stop == base + end_) {
      carry_.append(start, stop);
      carrying = true;
      pos_ = end_;
      continue;
    }
    size_t len = static_cast<size_t>(stop - start);
    char c = *stop;
    if (c == kCtrlZ) {
      // Nothing after a Ctrl-Z exists for us.
      ctrlZ_ = true;
      pos_ = static_cast<size_t>(stop - base);
      end_ = pos_;
      if (carrying) {
        carry_.append(start, len);
        line = carry_;
      } else {
        line = std::string_view(start, len);
      }
      return true;
    }
    pos_ = static_cast<size_t>(stop - base) + 1;
    char mate = c == kCR ? kLF : kCR;
    if (pos_ < end_) {
      if (buf_[pos_] == mate) {
        ++pos_;
        lastEnd_ = c == kCR ? TLineEnd::CRLF : TLineEnd::LFCR;
      } else {
        lastEnd_ = c == kCR ? TLineEnd::CR : TLineEnd::LF;
      }
      if (carrying) {
        carry_.append(start, len);
        line = carry_;
      } else {
        line = std::string_view(start, len);
      }
      return true;
    }
    // The line end is the last byte of the block: its mate may open the next one.
    carry_.append(start, len);
    carrying = true;
    lastEnd_ = c == kCR ? TLineEnd::CR : TLineEnd::LF;
    if (Fill() && buf_[pos_] == mate) {
      ++pos_;
      lastEnd_ = c == kCR ? TLineEnd::CRLF : TLineEnd::LFCR;
    }
    line = carry_;
    return true;
  }
  if (carrying) {
    line = carry_;
    return true;
  }
  line = std::string_view();
  return false;
}
