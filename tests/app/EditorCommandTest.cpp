// The external editor's command line from the parameter template.
#include "app/EditorCommand.h"
#include "common/TempDir.h"
#include "winlib/Win.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

TEST(EditorCommand, TemplateSubstitution) {
  test::TempDir dir;
  const std::string file = dir.Write("my file.pas", "x");
  char shortName[MAX_PATH] = {};
  ::GetShortPathNameA(file.c_str(), shortName, MAX_PATH);
  const std::string editor = "C:\\Ed\\ed.exe";
  struct Case {
    const char* Params;
    std::string File;
    bool LongNames;
    std::string Command;  // empty: refused
  };
  const Case cases[] = {
      {"-l#LINENUM# #filename#", file, true, editor + " -l12 \"" + file + "\""},
      {"-l#LINENUM# #filename#", file, false, editor + " -l12 " + shortName},
      {"/n", file, true, editor + " /n"},
      {"#FileName#", "-x.pas", false, editor + " .\\-x.pas"},
      {"#FILENAME#", "C:\\no such dir\\a b.pas", false, editor + " \"C:\\no such dir\\a b.pas\""},
      {"#FILENAME#", "C:\\a\" -evil \"b", true, ""},
      {"#LINENUM#", "C:\\a\"b", true, editor + " 12"},
  };
  for (const Case& c : cases) {
    auto command = ExternalEditorCommand(editor, c.Params, c.File, 12, c.LongNames);
    EXPECT_EQ(command.value_or(""), c.Command) << c.Params << " " << c.File;
  }
  // A long template is passed whole, never cut into another command.
  const std::string longParams = std::string(300, 'x') + " #LINENUM#";
  EXPECT_EQ(ExternalEditorCommand(editor, longParams, file, 7, true), editor + " " + std::string(300, 'x') + " 7");
}

TEST(EditorCommand, StartErrorTexts) {
  EXPECT_EQ(EditorStartErrorText(2), "Path was not found.  Make sure that the path entered\rin the properties page is correct");
  EXPECT_EQ(EditorStartErrorText(3), EditorStartErrorText(2));
  EXPECT_EQ(EditorStartErrorText(31), "Other error(31)");
}

}  // namespace
}  // namespace qrx
