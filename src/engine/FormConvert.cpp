#include "engine/FormConvert.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "engine/FormByteReader.h"
#include "engine/FormText.h"

namespace qrx {
namespace {

// The type byte in front of every stored value.
enum ValueType : uint8_t {
  kEndOfList = 0,
  kList = 1,
  kInt8 = 2,
  kInt16 = 3,
  kInt32 = 4,
  kExtended = 5,
  kShortString = 6,
  kIdentifier = 7,
  kFalse = 8,
  kTrue = 9,
  kBinary = 10,
  kSet = 11,
  kLongString = 12,
  kNil = 13,
  kCollection = 14,
  kSingle = 15,
  kCurrency = 16,
  kDate = 17,
  kWideString = 18,
  kInt64 = 19,
  kUtf8String = 20,
};

// Object prefix byte: high nibble 0xF, flags in the low bits.
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kInheritedFlag = 0x01;
constexpr uint8_t kPositionFlag = 0x02;
constexpr uint8_t kInlineFlag = 0x04;

constexpr size_t kBinaryBytesPerLine = 32;
constexpr uint16_t kResourceTypeRcData = 10;

// Collects the text and refuses to let it grow past its limit.
class FormTextSink {
 public:
  FormTextSink(std::string& text, size_t limit) : text_(text), limit_(limit) {}

  void Add(std::string_view part) {
    Reserve(part.size());
    text_.append(part);
  }
  void Indent(int blanks) {
    Reserve(static_cast<size_t>(blanks));
    text_.append(static_cast<size_t>(blanks), ' ');
  }
  void EndLine() { Add("\r\n"); }
  size_t Room() const { return limit_ - text_.size(); }

 private:
  void Reserve(size_t more) const {
    if (more > limit_ - text_.size()) throw FormDamaged();
  }

  std::string& text_;
  size_t limit_;
};

class FormConverter {
 public:
  FormConverter(FormByteReader& in, FormTextSink& out) : in_(in), out_(out) {}

  // One object with its properties and children; depth sets the indentation.
  void Object(int depth, int nesting) {
    Enter(nesting);
    uint8_t flags = 0;
    if ((in_.PeekByte() & kPrefixMask) == kPrefixMask) flags = in_.Byte() & ~kPrefixMask;
    bool hasPosition = (flags & kPositionFlag) != 0;
    int64_t position = hasPosition ? Integer(in_.Byte()) : 0;
    std::string_view className = Name();
    if (className.empty()) throw FormDamaged();
    std::string_view objectName = Name();

    const int indent = 2 * depth;
    out_.Indent(indent);
    out_.Add((flags & kInheritedFlag) ? "inherited " : (flags & kInlineFlag) ? "inline " : "object ");
    if (!objectName.empty()) {
      out_.Add(objectName);
      out_.Add(": ");
    }
    out_.Add(className);
    if (hasPosition) AddOrder(position);
    out_.EndLine();

    Properties(indent + 2, nesting);
    while (in_.PeekByte() != 0) Object(depth + 1, nesting + 1);
    in_.Byte();
    out_.Indent(indent);
    out_.Add("end");
    out_.EndLine();
  }

 private:
  static void Enter(int nesting) {
    if (nesting > kFormMaxNesting) throw FormDamaged();
  }

  // Property lines until an empty name.
  void Properties(int indent, int nesting) {
    for (;;) {
      std::string_view name = Name();
      if (name.empty()) return;
      out_.Indent(indent);
      out_.Add(name);
      out_.Add(" = ");
      Value(in_.Byte(), indent, nesting);
      out_.EndLine();
    }
  }

  // Writes one value starting on the current line, which is indented by `indent`;
  // values spanning several lines indent their inner lines from there.
  void Value(uint8_t type, int indent, int nesting) {
    switch (type) {
      case kInt8:
      case kInt16:
      case kInt32:
      case kInt64:
        out_.Add(std::to_string(Integer(type)));
        return;
      case kExtended:
        out_.Add(FormExtendedText(in_.Bytes(10)));
        return;
      case kSingle:
        out_.Add(FormSingleText(in_.U32()));
        return;
      case kDate:
        out_.Add(FormDoubleText(in_.U64()));
        return;
      case kCurrency:
        out_.Add(FormCurrencyText(static_cast<int64_t>(in_.U64())));
        return;
      case kShortString:
        out_.Add(QuoteFormString(in_.ShortString(), out_.Room()));
        return;
      case kLongString:
      case kUtf8String:
        out_.Add(QuoteFormString(in_.Bytes(in_.U32()), out_.Room()));
        return;
      case kWideString: {
        uint32_t units = in_.U32();
        if (units > in_.Left() / 2) throw FormDamaged();
        out_.Add(QuoteFormWideString(in_.Bytes(size_t{units} * 2), out_.Room()));
        return;
      }
      case kIdentifier:
        out_.Add(Name());
        return;
      case kFalse:
        out_.Add("False");
        return;
      case kTrue:
        out_.Add("True");
        return;
      case kNil:
        out_.Add("nil");
        return;
      case kBinary:
        Binary(in_.Bytes(in_.U32()), indent);
        return;
      case kSet:
        Set();
        return;
      case kList:
        List(indent, nesting + 1);
        return;
      case kCollection:
        Collection(indent, nesting + 1);
        return;
      default:
        // Includes the list terminator where a value belongs.
        throw FormDamaged();
    }
  }

  void Binary(std::string_view bytes, int indent) {
    static const char kHex[] = "0123456789ABCDEF";
    out_.Add("{");
    const bool wrapped = bytes.size() >= kBinaryBytesPerLine;
    for (size_t start = 0; start < bytes.size(); start += kBinaryBytesPerLine) {
      if (wrapped) {
        out_.EndLine();
        out_.Indent(indent + 2);
      }
      const size_t count = std::min(kBinaryBytesPerLine, bytes.size() - start);
      char line[2 * kBinaryBytesPerLine];
      for (size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[start + i]);
        line[2 * i] = kHex[byte >> 4];
        line[2 * i + 1] = kHex[byte & 0x0F];
      }
      out_.Add(std::string_view(line, 2 * count));
    }
    out_.Add("}");
  }

  void Set() {
    out_.Add("[");
    for (bool first = true;; first = false) {
      std::string_view element = Name();
      if (element.empty()) break;
      if (!first) out_.Add(", ");
      out_.Add(element);
    }
    out_.Add("]");
  }

  void List(int indent, int nesting) {
    Enter(nesting);
    out_.Add("(");
    for (uint8_t type = in_.Byte(); type != kEndOfList; type = in_.Byte()) {
      out_.EndLine();
      out_.Indent(indent + 2);
      Value(type, indent + 2, nesting);
    }
    out_.Add(")");
  }

  // Items, each optionally preceded by its order value, end where an item would start
  // with a zero byte.
  void Collection(int indent, int nesting) {
    Enter(nesting);
    out_.Add("<");
    for (uint8_t marker = in_.Byte(); marker != kEndOfList; marker = in_.Byte()) {
      out_.EndLine();
      out_.Indent(indent + 2);
      out_.Add("item");
      if (IsInteger(marker)) {
        AddOrder(Integer(marker));
        marker = in_.Byte();
      }
      if (marker != kList) throw FormDamaged();
      out_.EndLine();
      Properties(indent + 4, nesting);
      out_.Indent(indent + 2);
      out_.Add("end");
    }
    out_.Add(">");
  }

  void AddOrder(int64_t value) {
    out_.Add(" [");
    out_.Add(std::to_string(value));
    out_.Add("]");
  }

  static bool IsInteger(uint8_t type) { return type == kInt8 || type == kInt16 || type == kInt32 || type == kInt64; }

  int64_t Integer(uint8_t type) {
    switch (type) {
      case kInt8:
        return static_cast<int8_t>(in_.Byte());
      case kInt16:
        return static_cast<int16_t>(in_.U16());
      case kInt32:
        return static_cast<int32_t>(in_.U32());
      case kInt64:
        return static_cast<int64_t>(in_.U64());
      default:
        throw FormDamaged();
    }
  }

  // Class, object, property, identifier and set element names. A control character
  // would break the one-line-per-property shape of the text, and no form has one.
  std::string_view Name() {
    std::string_view name = in_.ShortString();
    for (char c : name) {
      if (static_cast<unsigned char>(c) < 32) throw FormDamaged();
    }
    return name;
  }

  FormByteReader& in_;
  FormTextSink& out_;
};

// The 16-bit resource header: 0xFF, type, name (string or 0xFF + ordinal), memory flags,
// data size. The stream is then read only within the declared data.
void SkipResourceHeader(FormByteReader& in) {
  in.Byte();
  if (in.U16() != kResourceTypeRcData) throw FormDamaged();
  if (in.PeekByte() == 0xFF) {
    in.Byte();
    in.U16();
  } else {
    in.ZeroTerminated();
  }
  in.U16();
  in.Limit(in.U32());
}

size_t OutputLimit(size_t inputSize) {
  if (inputSize > kFormMaxOutput / kFormMaxExpansion) return kFormMaxOutput;
  return std::max(kFormMinOutputLimit, inputSize * kFormMaxExpansion);
}

}  // namespace
}  // namespace qrx

bool ConvertFormStream(const unsigned char* data, size_t size, std::string& out) {
  out.clear();
  using namespace qrx;
  try {
    if (data == nullptr) return false;
    FormByteReader in(data, size);
    if (in.PeekByte() == 0xFF) SkipResourceHeader(in);
    if (in.Bytes(4) != "TPF0") return false;
    std::string text;
    FormTextSink sink(text, OutputLimit(size));
    FormConverter(in, sink).Object(0, 1);
    out = std::move(text);
    return true;
  } catch (...) {
    // Damaged input, or no memory for its text: either way this file is not searched.
    out.clear();
    return false;
  }
}
