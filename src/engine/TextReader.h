#pragma once
// Reads a file as lines, whatever its line ends: CR LF, LF CR, a lone CR and a lone LF
// each end one line, so files written on any system split into the same lines.
// A Ctrl-Z byte ends the file. Beside each line the reader keeps how it was
// terminated and where its bytes stand, so a rewriter can put back every byte
// it does not change.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "winlib/Handles.h"

// The runtime's input/output error: a file that cannot be opened or read.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(const std::string& message, unsigned long code)
      : std::runtime_error(message), ErrorCode(code) {}
  unsigned long ErrorCode;
};

enum class TLineEnd : uint8_t { None, LF, CR, CRLF, LFCR };

class TTextReader {
 public:
  // The channel's nominal buffer: the request clamped to 1024..16384, rounded down to even.
  static int32_t ClampBufferSize(int32_t requested);

  TTextReader() = default;
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;
  ~TTextReader() = default;

  // Prepares the reader, closed, for the given file. blockSize is how many bytes one
  // read of the file asks for; 0 means the default large block.
  void Assign(const std::string& fileName, int32_t bufferSize, uint32_t blockSize = 0);
  // Opens the file for reading; throws EInOutError when it cannot be opened.
  void Open();
  // As Open, but answers false instead of throwing.
  bool TryOpen() noexcept;
  void Close() noexcept;
  bool IsOpen() const noexcept { return static_cast<bool>(file_); }

  // True when no line is left (the data is used up, or a Ctrl-Z is the next byte).
  bool Eof();
  // Reads the next line without its line end. The view stays valid until the next call.
  // Throws EInOutError when the file cannot be read. At the end it returns an empty view
  // and false.
  bool ReadLine(std::string_view& line);

  // The raw bytes, for a caller that splits lines itself: up to size bytes of the file,
  // continuing where the last read stopped; fewer than size means the data is used up.
  // Not to be mixed with ReadLine on one opening. Throws EInOutError.
  uint32_t ReadBlock(char* dest, uint32_t size);
  uint32_t BlockSize() const noexcept { return blockSize_; }

  TLineEnd LastLineEnd() const noexcept { return lastEnd_; }
  uint64_t LastLineOffset() const noexcept { return lastOffset_; }
  // Where the raw bytes after the last line (and its line end) begin.
  uint64_t RawPosition() const noexcept { return blockOffset_ + pos_; }

  const std::string& FileName() const noexcept { return fileName_; }
  int32_t BufferSize() const noexcept { return bufferSize_; }

  // Replaces the file with bytes in memory (used for tests of the line rules and by
  // callers that already hold the data).
  void OpenMemory(std::string_view data);

 private:
  bool Fill();  // reads the next block; false at the end of the data

  std::string fileName_;
  int32_t bufferSize_ = 4096;
  uint32_t blockSize_ = 65536;
  qrx::UniqueFile file_;
  bool memory_ = false;
  std::vector<char> buf_;
  size_t pos_ = 0;   // next unread byte in buf_
  size_t end_ = 0;   // bytes valid in buf_
  uint64_t blockOffset_ = 0;  // file offset of buf_[0]
  bool atEnd_ = false;      // no more data from the file
  bool ctrlZ_ = false;      // a Ctrl-Z was met: nothing after it exists
  std::string carry_;       // a line that spans blocks
  TLineEnd lastEnd_ = TLineEnd::None;
  uint64_t lastOffset_ = 0;
};
