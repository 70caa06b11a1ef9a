// Streams that are not forms, or damaged ones: refused, never half converted.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "dfm/FormStreamWriter.h"
#include "dfm/FormTestSupport.h"

namespace qrx::test {
namespace {

// A form whose only property is written by `value` (type byte and all).
std::string FormWithRawValue(const std::string& value) {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1").Prop("P").Raw(value).EndProps().EndObject();
  return w.Bytes();
}

std::string SmallForm() { return FormWithRawValue("\x09"); }  // P = True

struct DamagedCase {
  const char* name;
  std::function<std::string()> bytes;
  friend void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }
};

class DamagedStream : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedStream, IsRefused) {
  std::string text = "left over";
  EXPECT_FALSE(TryConvert(GetParam().bytes(), text));
  EXPECT_TRUE(text.empty());
}

std::string WithHeaderSize(uint32_t size) {
  std::string stream = SmallForm();
  std::string bytes = WithResourceHeader("TFORM1", stream);
  const size_t sizeAt = bytes.size() - stream.size() - 4;
  for (int i = 0; i < 4; ++i) bytes[sizeAt + i] = static_cast<char>(size >> (8 * i));
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DamagedStream,
    testing::Values(
        DamagedCase{"Empty", [] { return std::string(); }},
        DamagedCase{"OtherSignature", [] { return "TPF1" + SmallForm().substr(4); }},
        DamagedCase{"TextForm", [] { return std::string("object Form1: TForm1\r\nend\r\n"); }},
        DamagedCase{"SignatureOnly", [] { return std::string("TPF0"); }},
        DamagedCase{"OtherResourceType",
                    [] {
                      std::string bytes = WithResourceHeader("TFORM1", SmallForm());
                      bytes[1] = 6;
                      return bytes;
                    }},
        DamagedCase{"ResourceLargerThanFile", [] { return WithHeaderSize(static_cast<uint32_t>(SmallForm().size() + 1)); }},
        DamagedCase{"ResourceSmallerThanForm", [] { return WithHeaderSize(static_cast<uint32_t>(SmallForm().size() - 1)); }},
        DamagedCase{"ResourceNameUnterminated", [] { return std::string("\xFF\x0A\x00TFORM1", 9); }},
        DamagedCase{"UnknownValueType", [] { return FormWithRawValue("\x15"); }},
        DamagedCase{"ListEndWhereValueBelongs", [] { return FormWithRawValue(std::string(1, '\0')); }},
        DamagedCase{"EmptyClassName",
                    [] { return FormStreamWriter().Signature().Object("", "Form1").EndProps().EndObject().Bytes(); }},
        DamagedCase{"ControlCharacterInPropertyName",
                    [] {
                      FormStreamWriter w;
                      w.Signature().Object("TForm1", "Form1").Prop("A\r\nB").True().EndProps().EndObject();
                      return w.Bytes();
                    }},
        DamagedCase{"ControlCharacterInIdentifier", [] { return FormWithRawValue("\x07\x02\x61\x0A"); }},
        DamagedCase{"NonIntegerPosition",
                    [] {
                      FormStreamWriter w;
                      w.Signature().Byte(0xF2).Str("1").Object("TForm1", "Form1").EndProps().EndObject();
                      return w.Bytes();
                    }},
        DamagedCase{"ItemWithoutListMarker",
                    [] { return FormWithRawValue(FormStreamWriter().Collection().Int(1).Str("x").Bytes()); }},
        DamagedCase{"ItemOrderNotAnInteger",
                    [] { return FormWithRawValue(FormStreamWriter().Collection().Str("1").Item().EndItem().EndCollection().Bytes()); }},
        DamagedCase{"LongStringLongerThanFile", [] { return FormWithRawValue(std::string("\x0C\xFF\xFF\xFF\xFF", 5)); }},
        DamagedCase{"Utf8StringLongerThanFile", [] { return FormWithRawValue(std::string("\x14\x00\x00\x00\x80", 5)); }},
        DamagedCase{"BinaryLongerThanFile", [] { return FormWithRawValue(std::string("\x0A\xF0\xFF\xFF\xFF", 5)); }},
        // 0x80000000 units would be 0 bytes if the count were doubled in 32 bits.
        DamagedCase{"WideStringCountOverflowing", [] { return FormWithRawValue(std::string("\x12\x00\x00\x00\x80", 5)); }},
        DamagedCase{"WideStringOddBytesLeft", [] { return FormWithRawValue(std::string("\x12\x02\x00\x00\x00\x41\x00\x42", 8)); }},
        DamagedCase{"MissingChildTerminator",
                    [] {
                      std::string bytes = SmallForm();
                      bytes.pop_back();
                      return bytes;
                    }}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qrx::test
