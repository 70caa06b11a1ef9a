// Writes the seed corpus for form_fuzzer: small valid streams built with the tests'
// stream writer, one file each, into the folder named on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "dfm/FormStreamWriter.h"

using qrx::test::FormStreamWriter;

namespace {

std::string Form(void (*props)(FormStreamWriter&)) {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1");
  props(w);
  w.EndProps().EndObject();
  return w.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <folder>\n");
    return 2;
  }
  std::vector<std::string> seeds = {
      qrx::test::KitchenSinkForm(),
      Form([](FormStreamWriter& w) { w.Prop("A").Int(1).Prop("B").Int(-300).Prop("C").Int(1 << 20).Prop("D").Int(1LL << 40); }),
      Form([](FormStreamWriter& w) { w.Prop("E").Extended(1.5).Prop("S").Single(2.5f).Prop("C").Currency(5).Prop("D").Date(1); }),
      Form([](FormStreamWriter& w) { w.Prop("S").Str("a'b\r\n").Prop("L").LStr("long").Prop("W").WStr(u"w\u20AC").Prop("U").Utf8("u"); }),
      Form([](FormStreamWriter& w) { w.Prop("I").Ident("x").Prop("F").False().Prop("T").True().Prop("N").Nil().Prop("S").Set({"a", "b"}); }),
      Form([](FormStreamWriter& w) { w.Prop("B").Binary(std::string(33, '\x11')).Prop("E").Binary(""); }),
      Form([](FormStreamWriter& w) { w.Prop("L").List().Str("x").List().Int(1).EndList().EndList(); }),
      Form([](FormStreamWriter& w) {
        w.Prop("C").Collection().Item().Prop("W").Int(1).EndItem().Item(2).Prop("N").Collection().EndCollection().EndItem().EndCollection();
      }),
      qrx::test::WithResourceHeader(uint16_t{3}, Form([](FormStreamWriter& w) { w.Prop("A").True(); })),
      FormStreamWriter()
          .Signature()
          .Object("TForm2", "Form2", FormStreamWriter::kInherited)
          .EndProps()
          .Object("TPanel", "P", FormStreamWriter::kInherited, 1)
          .EndProps()
          .Object("TFrame", "", FormStreamWriter::kInline)
          .EndProps()
          .EndObject()
          .EndObject()
          .EndObject()
          .Bytes(),
  };
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::string name = std::string(argv[1]) + "/seed" + std::to_string(i) + ".dfm";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return 1;
    const bool ok = std::fwrite(seeds[i].data(), 1, seeds[i].size(), file) == seeds[i].size();
    if (std::fclose(file) != 0 || !ok) return 1;
  }
  return 0;
}
