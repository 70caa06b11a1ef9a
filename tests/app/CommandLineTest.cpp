#include "app/CommandLine.h"
#include "app/Globals.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

TEST(CommandLine, SplitsByThePlatformRule) {
  const struct {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"", {}},
      {"  hello   world ", {"hello", "world"}},
      {"\"/DIR=C:\\My Files\" foo bar", {"/DIR=C:\\My Files", "foo", "bar"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"C:\\dir\\ x", {"C:\\dir\\", "x"}},
      {"\\\\\"q\\\" ", {"\\q\" "}},
      {"\"unterminated stretch", {"unterminated stretch"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
  EXPECT_EQ(SplitArguments("\"C:\\Program Files\\q.exe\" hello"), std::vector<std::string>{"hello"});
  EXPECT_EQ(SplitArguments("q.exe"), std::vector<std::string>{});
}

TEST(CommandLine, FirstArgumentChoosesProfileOrDirectory) {
  const std::string base = kRegistryBase;
  const struct {
    std::vector<std::string> args;
    std::string root, dir, text;
  } cases[] = {
      {{"/KEY=Work"}, base + "Work", "", ""},
      {{"/key=Work", "find", "me"}, base + "Work", "", "find me"},
      {{"/KEY="}, kDefaultRegistryRoot, "", ""},
      {{"/DIR=C:\\My Files", "foo", "bar"}, kDefaultRegistryRoot, "C:\\My Files", "foo bar"},
      {{"/dir=c:\\x"}, kDefaultRegistryRoot, "c:\\x", ""},
      {{"foo", "/DIR=C:\\x"}, kDefaultRegistryRoot, "", "foo /DIR=C:\\x"},
      {{"foo", "/KEY=x"}, kDefaultRegistryRoot, "", "foo /KEY=x"},
      {{"hello"}, kDefaultRegistryRoot, "", "hello"},
      {{"/DIR=" + std::string(300, 'd')}, kDefaultRegistryRoot, std::string(255, 'd'), ""},
  };
  for (const auto& c : cases) {
    StartArgs a = ParseStartArgs(c.args);
    EXPECT_EQ(a.RegistryRoot, c.root) << c.args[0];
    EXPECT_EQ(a.StartDirectory, c.dir) << c.args[0];
    EXPECT_EQ(a.StartSearchText, c.text) << c.args[0];
  }
}

}  // namespace
}  // namespace qrx
