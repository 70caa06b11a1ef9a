// The picture list box's tab stops as text, without a window.
#include "controls/PicTabStops.h"

#include <gtest/gtest.h>

namespace qrx {
namespace {

using Stops = std::vector<int32_t>;

TEST(PixelTabStops, ReadsOnlyValuesEndedByASpaceAtMostTen) {
  const struct {
    const char* text;
    Stops stops;
  } cases[] = {
      {"", {}},
      {"40 120 200", {40, 120}},
      {"40 120 200 ", {40, 120, 200}},
      {"40 40 ", {40, 40}},
      {"1 2 3 4 5 6 7 8 9 10 11 ", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"1 2 3 4 5 6 7 8 9 10 x ", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"-5 0 ", {-5, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePixelTabStops(c.text), c.stops) << '"' << c.text << '"';
}

TEST(PixelTabStops, DecreasingValuesAreRefusedWithEOrder) {
  try {
    ParsePixelTabStops("120 40 ");
    FAIL() << "accepted";
  } catch (const EOrder& e) {
    EXPECT_STREQ(e.what(), "Tab stops must be in increasing order.");
  }
}

TEST(PixelTabStops, PiecesThatAreNotNumbersAreConversionErrors) {
  for (const char* text : {"abc ", "12x ", " 12 ", "40  ", "99999999999 ", "- "}) {
    EXPECT_THROW(ParsePixelTabStops(text), EConvertError) << '"' << text << '"';
  }
  try {
    ParsePixelTabStops("4o ");
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'4o' is not a valid integer value");
  }
}

TEST(PixelTabStops, WritesEachStopFollowedByOneSpaceAndReadsItBack) {
  const Stops stops{40, 120};
  EXPECT_EQ(FormatPixelTabStops(stops), "40 120 ");
  EXPECT_EQ(ParsePixelTabStops(FormatPixelTabStops(stops)), stops);
  EXPECT_EQ(FormatPixelTabStops({}), "");
}

}  // namespace
}  // namespace qrx
