#pragma once
// A cursor over the bytes of a form stream. Every read is checked against what is
// left, so damaged or hostile input can only ever end in FormDamaged.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace qrx {

// Raised inside the converter for anything that is not a well-formed form stream.
class FormDamaged : public std::runtime_error {
 public:
  FormDamaged() : std::runtime_error("damaged form stream") {}
};

class FormByteReader {
 public:
  FormByteReader(const unsigned char* data, size_t size) noexcept : pos_(data), left_(size) {}

  size_t Left() const noexcept { return left_; }

  uint8_t Byte() {
    Need(1);
    --left_;
    return *pos_++;
  }
  uint8_t PeekByte() const {
    if (left_ == 0) throw FormDamaged();
    return *pos_;
  }
  uint16_t U16() { return static_cast<uint16_t>(Unsigned(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Unsigned(4)); }
  uint64_t U64() { return Unsigned(8); }

  // The next n bytes; n is checked against what is left before anything else happens.
  std::string_view Bytes(size_t n) {
    Need(n);
    std::string_view bytes(reinterpret_cast<const char*>(pos_), n);
    pos_ += n;
    left_ -= n;
    return bytes;
  }
  // A length byte followed by that many bytes.
  std::string_view ShortString() { return Bytes(Byte()); }
  // Bytes up to (not including) a NUL, which is consumed.
  std::string_view ZeroTerminated() {
    for (size_t i = 0; i < left_; ++i) {
      if (pos_[i] == 0) {
        std::string_view text = Bytes(i);
        Byte();
        return text;
      }
    }
    throw FormDamaged();
  }
  // Restricts the reader to its first n bytes (a resource's declared data size).
  void Limit(size_t n) {
    Need(n);
    left_ = n;
  }

 private:
  void Need(size_t n) const {
    if (n > left_) throw FormDamaged();
  }
  // Little-endian, as the stream stores every integer.
  uint64_t Unsigned(size_t width) {
    Need(width);
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= static_cast<uint64_t>(pos_[i]) << (8 * i);
    pos_ += width;
    left_ -= width;
    return value;
  }

  const unsigned char* pos_;
  size_t left_;
};

}  // namespace qrx
