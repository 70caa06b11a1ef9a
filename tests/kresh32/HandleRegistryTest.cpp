// Handles: every issued one finds its expression, anything else finds nothing.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "kresh32/HandleRegistry.h"

namespace {

using qrx::kresh::HandleRegistry;
using qrx::kresh::Regex;

TEST(HandleRegistry, IssuedHandlesFindTheirExpressionAndNothingElseFindsAny) {
  HandleRegistry registry;
  std::vector<std::int32_t> handles;
  std::vector<const Regex*> expressions;
  // More than one chunk's worth, so lookups cross chunk boundaries.
  for (std::uint32_t i = 0; i < HandleRegistry::kChunkSize + 3; ++i) {
    auto compiled = Regex::Compile(i % 2 ? "a" : "b+");
    ASSERT_TRUE(compiled.regex);
    expressions.push_back(compiled.regex.get());
    handles.push_back(registry.Add(std::move(compiled.regex)));
    ASSERT_NE(handles.back(), 0);
  }
  for (std::size_t i = 0; i < handles.size(); ++i) EXPECT_EQ(registry.Find(handles[i]), expressions[i]);

  const std::int32_t unknown[] = {0, 1, -1, INT_MIN, INT_MAX, HandleRegistry::kFirstHandle - 1,
                                  handles.back() + 1, handles.back() + 100000};
  for (std::int32_t handle : unknown) EXPECT_EQ(registry.Find(handle), nullptr) << handle;
}

}  // namespace
