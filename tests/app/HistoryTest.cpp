#include "app/History.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

using List = std::vector<std::string>;

TEST(History, PushesMovesAndTrims) {
  const struct {
    List before;
    std::string text;
    int32_t max;
    List after;
  } cases[] = {
      {{"a", "b", "c"}, "d", 3, {"d", "a", "b"}},
      {{"a", "b", "c"}, "b", 3, {"b", "a", "c"}},
      {{"a", "b", "c"}, "", 3, {"a", "b", "c"}},
      {{"abc"}, "ABC", 3, {"ABC", "abc"}},
      {{}, "x", 20, {"x"}},
      {{"a", "b", "c", "d"}, "e", 2, {"e", "a", "b", "c"}},  // only one entry leaves per push
      {{"a"}, "b", 0, {}},
      {{"a", "b"}, "b", 1, {"b", "a"}},
  };
  for (const auto& c : cases) {
    List list = c.before;
    UpdateHistory(list, c.text, c.max);
    EXPECT_EQ(list, c.after) << c.text << " max " << c.max;
  }
}

}  // namespace
}  // namespace qrx
