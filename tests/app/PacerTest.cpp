#include "app/Pacer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qrx {
namespace {

TEST(Pacer, LetsThroughOncePerInterval) {
  // Each step: the clock's reading, whether to Reset first, and the answer of Due().
  const struct Step {
    uint32_t now;
    bool reset;
    bool due;
  } steps[] = {
      {5000, false, true},    // the first call always passes
      {5000, false, false},   // the same moment
      {5099, false, false},   // one short of the interval
      {5100, false, true},    // the interval has passed
      {5150, false, false},   // counted from the last pass, not from the first
      {5150, true, true},     // a reset lets the next call through at once
      {5151, false, false},
      {0xFFFFFFC0u, false, true},
      {0x00000010u, false, false},  // 80 ms later, across the tick count's wrap
      {0x00000024u, false, true},   // 100 ms later
  };
  uint32_t now = 0;
  TPacer pacer(100, [&now] { return now; });
  for (const Step& s : steps) {
    now = s.now;
    if (s.reset) pacer.Reset();
    EXPECT_EQ(pacer.Due(), s.due) << "at " << s.now;
  }
}

}  // namespace
}  // namespace qrx
