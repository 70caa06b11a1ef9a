// The text written for well-formed streams, byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "dfm/FormStreamWriter.h"
#include "dfm/FormTestSupport.h"

namespace qrx::test {
namespace {

using Build = std::function<void(FormStreamWriter&)>;

// One form with the properties that `props` writes.
std::string FormWith(const Build& props) {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1");
  props(w);
  w.EndProps().EndObject();
  return w.Bytes();
}

struct PropertyCase {
  const char* name;
  Build props;
  std::string expected;  // the property lines between the header and "end"
  friend void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }
};

class PropertyText : public testing::TestWithParam<PropertyCase> {};

TEST_P(PropertyText, IsWrittenAsExpected) {
  const PropertyCase& c = GetParam();
  std::string text;
  ASSERT_TRUE(TryConvert(FormWith(c.props), text));
  EXPECT_EQ(text, Crlf("object Form1: TForm1\n" + c.expected + "end\n"));
}

const std::string k32(32, '\xAB');
const std::string kHex32 = "ABABABABABABABABABABABABABABABABABABABABABABABABABABABABABABABAB";

INSTANTIATE_TEST_SUITE_P(
    Values, PropertyText,
    testing::Values(
        PropertyCase{"Integers",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Int8(-5).Prop("B").Int8(127).Prop("C").Int16(-300).Prop("D").Int32(100000);
                       w.Prop("E").Int32(INT32_MIN).Prop("F").Int64(5000000000LL).Prop("G").Int64(INT64_MIN);
                     },
                     "  A = -5\n  B = 127\n  C = -300\n  D = 100000\n  E = -2147483648\n"
                     "  F = 5000000000\n  G = -9223372036854775808\n"},
        PropertyCase{"Extended",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Extended(1.5).Prop("B").Extended(0).Prop("C").Extended(-2.25);
                       w.Prop("D").Extended(1e10).Prop("E").Extended(0.1).Prop("F").Extended(1e15);
                       w.Prop("G").Extended(1.0 / 3).Prop("H").Extended(-1.25e-7);
                     },
                     "  A = 1.5\n  B = 0\n  C = -2.25\n  D = 10000000000\n  E = 0.1\n  F = 1e+15\n"
                     "  G = 0.333333333333333\n  H = -1.25e-07\n"},
        PropertyCase{"ExtendedFromLiteralBytes",
                     [](FormStreamWriter& w) {
                       // 1.5, 10^10, +infinity, a NaN, a denormal too small for a double.
                       w.Prop("A").Byte(5).Raw(std::string("\0\0\0\0\0\0\0\xC0\xFF\x3F", 10));
                       w.Prop("B").Byte(5).Raw(std::string("\0\0\0\0\0\xF9\x02\x95\x20\x40", 10));
                       w.Prop("C").Byte(5).Raw(std::string("\0\0\0\0\0\0\0\x80\xFF\x7F", 10));
                       w.Prop("D").Byte(5).Raw(std::string("\0\0\0\0\0\0\0\xC0\xFF\xFF", 10));
                       w.Prop("E").Byte(5).Raw(std::string("\1\0\0\0\0\0\0\0\0\0", 10));
                     },
                     "  A = 1.5\n  B = 10000000000\n  C = INF\n  D = NAN\n  E = 0\n"},
        PropertyCase{"OtherNumbers",
                     [](FormStreamWriter& w) {
                       w.Prop("S").Single(1.5f).Prop("T").Single(0.1f).Prop("U").Currency(12345);
                       w.Prop("V").Currency(10000).Prop("W").Currency(-15000).Prop("X").Currency(-5);
                       w.Prop("Y").Date(36526.5).Prop("Z").Date(0).Prop("M").Currency(INT64_MIN);
                     },
                     "  S = 1.5\n  T = 0.1\n  U = 1.2345\n  V = 1\n  W = -1.5\n  X = -0.0005\n"
                     "  Y = 36526.5\n  Z = 0\n  M = -922337203685477.5808\n"},
        PropertyCase{"Strings",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Str("Hello").Prop("B").Str("a'b").Prop("C").Str("ab\r\ncd").Prop("D").Str("");
                       w.Prop("E").Str("\tx").Prop("F").Str("'").Prop("G").Str("caf\xE9");
                       w.Prop("H").Str(std::string("x\0y", 3)).Prop("I").Str("''");
                     },
                     "  A = 'Hello'\n  B = 'a'#39'b'\n  C = 'ab'#13#10'cd'\n  D = ''\n  E = #9'x'\n  F = #39\n"
                     "  G = 'caf\xE9'\n  H = 'x'#0'y'\n  I = #39#39\n"},
        PropertyCase{"LongUtf8AndWideStrings",
                     [](FormStreamWriter& w) {
                       w.Prop("L").LStr(std::string(300, 'z')).Prop("E").LStr("").Prop("U").Utf8("it's");
                       w.Prop("W").WStr(u"AB\u20AC\u00E9\n'").Prop("V").WStr(u"");
                     },
                     "  L = '" + std::string(300, 'z') +
                         "'\n  E = ''\n  U = 'it'#39's'\n  W = 'AB'#8364'\xE9'#10#39\n  V = ''\n"},
        PropertyCase{"IdentifiersAndConstants",
                     [](FormStreamWriter& w) {
                       w.Prop("Color").Ident("clBtnFace").Prop("A").False().Prop("B").True().Prop("C").Nil();
                       w.Prop("OnClick").Ident("Button1Click");
                     },
                     "  Color = clBtnFace\n  A = False\n  B = True\n  C = nil\n  OnClick = Button1Click\n"},
        PropertyCase{"Sets",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Set({}).Prop("B").Set({"akLeft"}).Prop("C").Set({"akLeft", "akTop", "akRight"});
                     },
                     "  A = []\n  B = [akLeft]\n  C = [akLeft, akTop, akRight]\n"},
        PropertyCase{"ShortBinary",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Binary("").Prop("B").Binary(std::string("\x00\xFF\x10", 3));
                       w.Prop("C").Binary(std::string(31, '\x01'));
                     },
                     "  A = {}\n  B = {00FF10}\n"
                     "  C = {01010101010101010101010101010101010101010101010101010101010101}\n"},
        PropertyCase{"LongBinary",
                     [](FormStreamWriter& w) {
                       w.Prop("A").Binary(k32).Prop("B").Binary(k32 + "\x0C");
                       w.Prop("C").Binary(k32 + std::string(32, '\x0F'));
                     },
                     "  A = {\n    " + kHex32 + "}\n  B = {\n    " + kHex32 + "\n    0C}\n  C = {\n    " + kHex32 +
                         "\n    " + "0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F" + "}\n"},
        PropertyCase{"Lists",
                     [](FormStreamWriter& w) {
                       w.Prop("Empty").List().EndList();
                       w.Prop("Lines.Strings").List().Str("one").Str("two").EndList();
                       w.Prop("Nested").List().Int(1).List().Str("a").List().EndList().EndList().True().EndList();
                     },
                     "  Empty = ()\n"
                     "  Lines.Strings = (\n    'one'\n    'two')\n"
                     "  Nested = (\n    1\n    (\n      'a'\n      ())\n    True)\n"},
        PropertyCase{"Collections",
                     [](FormStreamWriter& w) {
                       w.Prop("Empty").Collection().EndCollection();
                       w.Prop("Columns").Collection();
                       w.Item().Prop("Width").Int(10).Prop("Caption").Str("Name").EndItem();
                       w.Item().EndItem();
                       w.EndCollection();
                       w.Prop("Panels").Collection().Item(0).Prop("Width").Int(50).EndItem();
                       w.Item(300).Prop("Sub").Collection().Item(-1).Prop("X").Int(1).EndItem().EndCollection();
                       w.EndItem().EndCollection();
                     },
                     "  Empty = <>\n"
                     "  Columns = <\n    item\n      Width = 10\n      Caption = 'Name'\n    end\n    item\n    end>\n"
                     "  Panels = <\n    item [0]\n      Width = 50\n    end\n    item [300]\n      Sub = <\n"
                     "        item [-1]\n          X = 1\n        end>\n    end>\n"},
        PropertyCase{"MultiLineValuesInsideListsAndItems",
                     [](FormStreamWriter& w) {
                       w.Prop("A").List().Binary(k32).Collection().Item().EndItem().EndCollection().EndList();
                       w.Prop("B").Collection().Item().Prop("Data").Binary(k32).Prop("L").List().Str("x").EndList();
                       w.EndItem().EndCollection();
                     },
                     "  A = (\n    {\n      " + kHex32 + "}\n    <\n      item\n      end>)\n"
                     "  B = <\n    item\n      Data = {\n        " + kHex32 + "}\n      L = (\n        'x')\n    end>\n"}),
    [](const testing::TestParamInfo<PropertyCase>& info) { return std::string(info.param.name); });

struct ObjectCase {
  const char* name;
  std::function<std::string()> bytes;
  std::string expected;
  friend void PrintTo(const ObjectCase& c, std::ostream* os) { *os << c.name; }
};

class ObjectText : public testing::TestWithParam<ObjectCase> {};

TEST_P(ObjectText, IsWrittenAsExpected) {
  const ObjectCase& c = GetParam();
  std::string text;
  ASSERT_TRUE(TryConvert(c.bytes(), text));
  EXPECT_EQ(text, Crlf(c.expected));
}

std::string NestedForm() {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1").Prop("Caption").Str("x").EndProps();
  w.Object("TPanel", "Panel1").Prop("Left").Int(1).EndProps();
  w.Object("TButton", "Button1").Prop("Top").Int(2).EndProps().EndObject();
  w.EndObject();
  w.Object("TLabel", "Label1").EndProps().EndObject();
  w.EndObject();
  return w.Bytes();
}
const char* const kNestedText =
    "object Form1: TForm1\n  Caption = 'x'\n  object Panel1: TPanel\n    Left = 1\n"
    "    object Button1: TButton\n      Top = 2\n    end\n  end\n  object Label1: TLabel\n  end\nend\n";

INSTANTIATE_TEST_SUITE_P(
    Objects, ObjectText,
    testing::Values(
        ObjectCase{"Minimal",
                   [] { return FormStreamWriter().Signature().Object("TForm1", "Form1").EndProps().EndObject().Bytes(); },
                   "object Form1: TForm1\nend\n"},
        ObjectCase{"Unnamed",
                   [] { return FormStreamWriter().Signature().Object("TForm1", "").EndProps().EndObject().Bytes(); },
                   "object TForm1\nend\n"},
        ObjectCase{"NestedTwoLevels", NestedForm, kNestedText},
        ObjectCase{"InheritedInlineAndPositions",
                   [] {
                     FormStreamWriter w;
                     w.Signature().Object("TForm2", "Form2", FormStreamWriter::kInherited).EndProps();
                     w.Object("TPanel", "Panel1", FormStreamWriter::kInherited, 2).EndProps().EndObject();
                     w.Object("TEdit", "Edit1", 0, 0).EndProps().EndObject();
                     w.Object("TFrame1", "Frame1", FormStreamWriter::kInline).EndProps();
                     w.Object("TButton", "Button1", FormStreamWriter::kInherited).EndProps().EndObject();
                     w.EndObject();
                     w.Object("TX", "Big", FormStreamWriter::kInherited | FormStreamWriter::kInline, 70000);
                     w.EndProps().EndObject();
                     w.Object("TY", "", 0, -3).EndProps().EndObject();
                     w.EndObject();
                     return w.Bytes();
                   },
                   "inherited Form2: TForm2\n  inherited Panel1: TPanel [2]\n  end\n  object Edit1: TEdit [0]\n  end\n"
                   "  inline Frame1: TFrame1\n    inherited Button1: TButton\n    end\n  end\n"
                   "  inherited Big: TX [70000]\n  end\n  object TY [-3]\n  end\nend\n"},
        ObjectCase{"ResourceHeaderWithName", [] { return WithResourceHeader("TFORM1", NestedForm()); }, kNestedText},
        ObjectCase{"ResourceHeaderWithOrdinal", [] { return WithResourceHeader(uint16_t{7}, NestedForm()); },
                   kNestedText},
        ObjectCase{"ResourceHeaderWithEmptyName", [] { return WithResourceHeader("", NestedForm()); }, kNestedText},
        // Resource files pad their data; whatever follows the form is not part of it.
        ObjectCase{"TrailingBytesIgnored", [] { return NestedForm() + std::string("\0\0\x1A junk", 8); },
                   kNestedText},
        ObjectCase{"DeclaredResourceSizeExcludesPadding",
                   [] { return WithResourceHeader("TFORM1", NestedForm()) + std::string(4, '\0'); }, kNestedText},
        ObjectCase{"KitchenSink", KitchenSinkForm,
                   "object Form1: TForm1\n  Left = -5\n  Width = 640\n  Tag = 100000\n  Big = 5000000000\n"
                   "  Ratio = 1.5\n  Scale = 0.25\n  Price = 1.2345\n  When = 36526.5\n"
                   "  Caption = 'It'#39's'#13#10'here'\n  Hint = '" + std::string(40, 'h') + "'\n"
                   "  Title = 'A'#8364'b'\n  Text = 'plain'\n  Color = clBtnFace\n  Visible = False\n"
                   "  Enabled = True\n  PopupMenu = nil\n  Anchors = [akLeft, akTop]\n  Options = []\n"
                   "  Data = {\n    5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A\n    5A5A5A5A5A5A5A5A}\n"
                   "  Small = {0102}\n  Lines.Strings = (\n    'one'\n    (\n      1\n      2))\n"
                   "  Columns = <\n    item\n      Width = 10\n    end\n    item [3]\n      Title.Caption = 'x'\n"
                   "      Sub = <>\n    end>\n"
                   "  inherited Panel1: TPanel [2]\n    Align = alTop\n    inline TButton\n    end\n  end\nend\n"}),
    [](const testing::TestParamInfo<ObjectCase>& info) { return std::string(info.param.name); });

// The one test that spells the line ends out instead of relying on Crlf().
TEST(FormText, EveryLineEndsWithCrLf) {
  std::string text;
  ASSERT_TRUE(TryConvert(FormWith([](FormStreamWriter& w) { w.Prop("L").List().Str("a").EndList(); }), text));
  EXPECT_EQ(text, "object Form1: TForm1\r\n  L = (\r\n    'a')\r\nend\r\n");
}

}  // namespace
}  // namespace qrx::test
