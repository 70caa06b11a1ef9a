#pragma once
// Builds binary form streams for the tests and the fuzzing seeds, value by value, in
// the layout the converter reads.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qrx::test {

class FormStreamWriter {
 public:
  enum Flag : uint8_t { kInherited = 1, kPosition = 2, kInline = 4 };

  FormStreamWriter& Signature() { return Raw("TPF0"); }

  // Object header; flags without kPosition, a position adds it.
  FormStreamWriter& Object(std::string_view className, std::string_view name) {
    return Short(className).Short(name);
  }
  FormStreamWriter& Object(std::string_view className, std::string_view name, uint8_t flags) {
    return Byte(0xF0 | flags).Object(className, name);
  }
  FormStreamWriter& Object(std::string_view className, std::string_view name, uint8_t flags, int64_t position) {
    return Byte(0xF0 | flags | kPosition).Int(position).Object(className, name);
  }
  FormStreamWriter& Prop(std::string_view name) { return Short(name); }
  // Closes the property list, and later the child list, of an object.
  FormStreamWriter& EndProps() { return Byte(0); }
  FormStreamWriter& EndObject() { return Byte(0); }

  // Integers in the smallest type that holds them, as a real writer stores them.
  FormStreamWriter& Int(int64_t v) {
    if (v >= INT8_MIN && v <= INT8_MAX) return Int8(static_cast<int8_t>(v));
    if (v >= INT16_MIN && v <= INT16_MAX) return Int16(static_cast<int16_t>(v));
    if (v >= INT32_MIN && v <= INT32_MAX) return Int32(static_cast<int32_t>(v));
    return Int64(v);
  }
  FormStreamWriter& Int8(int8_t v) { return Byte(2).Byte(static_cast<uint8_t>(v)); }
  FormStreamWriter& Int16(int16_t v) { return Byte(3).Le(static_cast<uint16_t>(v), 2); }
  FormStreamWriter& Int32(int32_t v) { return Byte(4).Le(static_cast<uint32_t>(v), 4); }
  FormStreamWriter& Int64(int64_t v) { return Byte(19).Le(static_cast<uint64_t>(v), 8); }

  // Finite values only: sign, 15-bit biased exponent, 64-bit mantissa with its integer bit.
  FormStreamWriter& Extended(double v) {
    uint64_t mantissa = 0;
    uint16_t signExponent = std::signbit(v) ? 0x8000 : 0;
    if (v != 0) {
      int exponent = 0;
      double fraction = std::frexp(std::fabs(v), &exponent);  // [0.5, 1)
      mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
      signExponent |= static_cast<uint16_t>(exponent - 1 + 16383);
    }
    return Byte(5).Le(mantissa, 8).Le(signExponent, 2);
  }
  FormStreamWriter& Single(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return Byte(15).Le(bits, 4);
  }
  FormStreamWriter& Currency(int64_t tenThousandths) { return Byte(16).Le(static_cast<uint64_t>(tenThousandths), 8); }
  FormStreamWriter& Date(double days) {
    uint64_t bits;
    std::memcpy(&bits, &days, 8);
    return Byte(17).Le(bits, 8);
  }

  FormStreamWriter& Str(std::string_view s) { return Byte(6).Short(s); }
  FormStreamWriter& LStr(std::string_view s) { return Byte(12).Le(s.size(), 4).Raw(s); }
  FormStreamWriter& Utf8(std::string_view s) { return Byte(20).Le(s.size(), 4).Raw(s); }
  FormStreamWriter& WStr(std::u16string_view s) {
    Byte(18).Le(s.size(), 4);
    for (char16_t unit : s) Le(unit, 2);
    return *this;
  }
  FormStreamWriter& Ident(std::string_view s) { return Byte(7).Short(s); }
  FormStreamWriter& False() { return Byte(8); }
  FormStreamWriter& True() { return Byte(9); }
  FormStreamWriter& Nil() { return Byte(13); }
  FormStreamWriter& Binary(std::string_view bytes) { return Byte(10).Le(bytes.size(), 4).Raw(bytes); }
  FormStreamWriter& Set(std::initializer_list<std::string_view> elements) {
    Byte(11);
    for (std::string_view e : elements) Short(e);
    return Byte(0);
  }

  FormStreamWriter& List() { return Byte(1); }
  FormStreamWriter& EndList() { return Byte(0); }
  FormStreamWriter& Collection() { return Byte(14); }
  FormStreamWriter& Item() { return Byte(1); }
  FormStreamWriter& Item(int64_t order) { return Int(order).Byte(1); }
  // Ends an item's properties; EndCollection ends the items.
  FormStreamWriter& EndItem() { return Byte(0); }
  FormStreamWriter& EndCollection() { return Byte(0); }

  FormStreamWriter& Byte(uint8_t b) {
    bytes_ += static_cast<char>(b);
    return *this;
  }
  FormStreamWriter& Raw(std::string_view s) {
    bytes_.append(s);
    return *this;
  }
  FormStreamWriter& Short(std::string_view s) { return Byte(static_cast<uint8_t>(s.size())).Raw(s); }
  FormStreamWriter& Le(uint64_t v, int width) {
    for (int i = 0; i < width; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The 16-bit resource header in front of a stream: named, or by ordinal.
inline std::string WithResourceHeader(std::string_view name, const std::string& stream) {
  FormStreamWriter w;
  w.Byte(0xFF).Le(10, 2).Raw(name).Byte(0).Le(0x1030, 2).Le(stream.size(), 4);
  return w.Bytes() + stream;
}
inline std::string WithResourceHeader(uint16_t ordinal, const std::string& stream) {
  FormStreamWriter w;
  w.Byte(0xFF).Le(10, 2).Byte(0xFF).Le(ordinal, 2).Le(0x1030, 2).Le(stream.size(), 4);
  return w.Bytes() + stream;
}

// A stream with every value type, nesting, inherited objects, a collection and a
// header: the base for the truncation and corruption tests and the fuzzing seeds.
inline std::string KitchenSinkForm() {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1");
  w.Prop("Left").Int(-5).Prop("Width").Int(640).Prop("Tag").Int(100000).Prop("Big").Int(5000000000LL);
  w.Prop("Ratio").Extended(1.5).Prop("Scale").Single(0.25f).Prop("Price").Currency(12345).Prop("When").Date(36526.5);
  w.Prop("Caption").Str("It's\r\nhere").Prop("Hint").LStr(std::string(40, 'h')).Prop("Title").WStr(u"A\u20ACb");
  w.Prop("Text").Utf8("plain").Prop("Color").Ident("clBtnFace").Prop("Visible").False().Prop("Enabled").True();
  w.Prop("PopupMenu").Nil().Prop("Anchors").Set({"akLeft", "akTop"}).Prop("Options").Set({});
  w.Prop("Data").Binary(std::string(40, '\x5A')).Prop("Small").Binary("\x01\x02");
  w.Prop("Lines.Strings").List().Str("one").List().Int(1).Int(2).EndList().EndList();
  w.Prop("Columns").Collection().Item().Prop("Width").Int(10).EndItem();
  w.Item(3).Prop("Title.Caption").Str("x").Prop("Sub").Collection().EndCollection().EndItem().EndCollection();
  w.EndProps();
  w.Object("TPanel", "Panel1", FormStreamWriter::kInherited, 2).Prop("Align").Ident("alTop").EndProps();
  w.Object("TButton", "", FormStreamWriter::kInline).EndProps().EndObject();
  w.EndObject();
  w.EndObject();
  return WithResourceHeader("TFORM1", w.Bytes());
}

}  // namespace qrx::test
