// Hostile input: nesting and output size are bounded, truncated or corrupted streams
// are refused without crashing.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

#include "dfm/FormStreamWriter.h"
#include "dfm/FormTestSupport.h"
#include "engine/FormText.h"

namespace qrx::test {
namespace {

enum class Nest { kObjects, kLists, kCollections, kMixed };

// `levels` nested containers counted together with the form itself.
std::string Nested(Nest kind, int levels) {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1");
  if (kind == Nest::kObjects) {
    for (int i = 1; i < levels; ++i) w.EndProps().Object("TPanel", "");
    w.EndProps();
    for (int i = 0; i < levels; ++i) w.EndObject();
    return w.Bytes();
  }
  w.Prop("P");
  for (int i = 1; i < levels; ++i) {
    const bool list = kind == Nest::kLists || (kind == Nest::kMixed && i % 2 == 0);
    if (list)
      w.List();
    else
      w.Collection().Item().Prop("Q");
  }
  w.True();
  for (int i = levels - 1; i >= 1; --i) {
    const bool list = kind == Nest::kLists || (kind == Nest::kMixed && i % 2 == 0);
    if (list)
      w.EndList();
    else
      w.EndItem().EndCollection();
  }
  w.EndProps().EndObject();
  return w.Bytes();
}

TEST(FormLimits, NestingUpToTheLimitConvertsAndOneMoreIsRefused) {
  for (Nest kind : {Nest::kObjects, Nest::kLists, Nest::kCollections, Nest::kMixed}) {
    SCOPED_TRACE(static_cast<int>(kind));
    std::string text;
    EXPECT_TRUE(TryConvert(Nested(kind, kFormMaxNesting), text));
    EXPECT_FALSE(TryConvert(Nested(kind, kFormMaxNesting + 1), text));
  }
}

TEST(FormLimits, DeepObjectsAreIndentedTwoBlanksPerLevel) {
  std::string text;
  ASSERT_TRUE(TryConvert(Nested(Nest::kObjects, kFormMaxNesting), text));
  const std::string innermost = "\r\n" + std::string(2 * (kFormMaxNesting - 1), ' ') + "object TPanel\r\n";
  EXPECT_NE(text.find(innermost), std::string::npos);
}

// Deeply indented one-byte list elements: the densest text a stream can produce.
std::string Dense(int elements) {
  FormStreamWriter w;
  w.Signature().Object("TForm1", "Form1");
  const int depth = kFormMaxNesting - 2;
  for (int i = 0; i < depth; ++i) w.EndProps().Object("T", "");
  w.Prop("P").List();
  for (int i = 0; i < elements; ++i) w.True();
  w.EndList().EndProps();
  for (int i = 0; i <= depth; ++i) w.EndObject();
  return w.Bytes();
}

TEST(FormLimits, TextFarLargerThanTheInputIsRefused) {
  std::string text;
  std::string fits = Dense(5000);
  ASSERT_TRUE(TryConvert(fits, text));
  EXPECT_GT(text.size(), 64 * fits.size());  // allowed: below the minimum limit
  EXPECT_LE(text.size(), kFormMinOutputLimit);

  std::string tooDense = Dense(20000);
  EXPECT_FALSE(TryConvert(tooDense, text));
}

// A long string of control characters quadruples in the text; quoting it must give up
// at the output limit instead of first building the whole quoted text.
TEST(FormLimits, QuotingStopsAtTheOutputLimit) {
  const std::string quoted = QuoteFormString(std::string(10, '\r'), 31);
  EXPECT_EQ(quoted, "#13#13#13#13#13#13#13#13#13#13");
  EXPECT_THROW(QuoteFormString(std::string(10, '\r'), 29), std::length_error);
  EXPECT_THROW(QuoteFormString("abc", 4), std::length_error);
  EXPECT_EQ(QuoteFormString("", 2), "''");
  EXPECT_THROW(QuoteFormWideString(std::string(2000, '\0'), 1000), std::length_error);
}

// A converted text keeps its shape whatever the input: CR and LF only as pairs, and
// it closes with the form's "end".
void ExpectWellShaped(const std::string& text) {
  ASSERT_GE(text.size(), 5u);
  EXPECT_EQ(text.substr(text.size() - 5), "end\r\n");
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
    } else if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
    }
  }
}

class ValidStream : public testing::TestWithParam<bool> {
 protected:
  std::string Bytes() const {
    std::string form = KitchenSinkForm();
    if (GetParam()) return form;
    return form.substr(form.find("TPF0"));  // the same stream without its resource header
  }
};

TEST_P(ValidStream, EveryProperPrefixIsRefused) {
  const std::string bytes = Bytes();
  std::string text;
  for (size_t length = 0; length <= bytes.size(); ++length) {
    const bool ok = TryConvert(bytes.substr(0, length), text);
    ASSERT_EQ(ok, length == bytes.size()) << "prefix of " << length << " of " << bytes.size();
  }
  ExpectWellShaped(text);
}

TEST_P(ValidStream, RandomCorruptionNeverBreaksTheText) {
  const std::string bytes = Bytes();
  std::mt19937 random(GetParam() ? 1234 : 5678);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string damaged = bytes;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
    if (round % 4 == 0) damaged.resize(random() % (damaged.size() + 1));
    std::string text;
    if (TryConvert(damaged, text)) {
      ++accepted;
      ExpectWellShaped(text);
      ASSERT_LE(text.size(), std::max(kFormMinOutputLimit, kFormMaxExpansion * damaged.size()));
    }
  }
  // Flips inside string contents keep the form valid; some must have been accepted.
  EXPECT_GT(accepted, 0);
}

INSTANTIATE_TEST_SUITE_P(Streams, ValidStream, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "WithResourceHeader" : "Bare");
                         });

}  // namespace
}  // namespace qrx::test
