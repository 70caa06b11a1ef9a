#include <gtest/gtest.h>

#include <string>

#include "outline/NodeText.h"

namespace {

using qrx::outline::TNodeText;

// Texts on both sides of the inline limit, one replacing the other in every order: a wrong
// tag or length shows as a changed text, a block freed twice or never as a crash or a leak
// under the heap checks.
TEST(NodeText, KeepsEveryTextWhateverItReplaces) {
  std::string texts[] = {"", " ", "ab", "abcdef", "abcdefg", "abcdefgh", "abcdefghi", std::string(300, 'x'),
                         std::string("a\0b", 3), std::string(1, '\xFF')};
  for (const std::string& first : texts) {
    for (const std::string& second : texts) {
      TNodeText t;
      EXPECT_EQ(t.View(), "");
      t.Assign(first);
      EXPECT_EQ(t.View(), first);
      t.Assign(second);
      EXPECT_EQ(t.View(), second) << "after \"" << first << "\"";
      t.Assign(t.View());  // itself, from its own storage
      EXPECT_EQ(t.View(), second);
    }
  }
}

}  // namespace
