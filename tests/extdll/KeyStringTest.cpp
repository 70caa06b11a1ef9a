// The key-string parser against a small US layout: which key events a string becomes.
#include "extdll/KeyNames.h"
#include "extdll/KeyString.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qrx {
namespace {

// Letters, digits and the few signs the cases use, as a US keyboard has them; '#' has no key.
int16_t UsLayout(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return c;
  switch (c) {
    case ' ': return 0x20;
    case '+': return 0x1BB;
    case '(': return 0x139;
    case ')': return 0x130;
    case ':': return 0x1BA;
    case '\\': return 0xDC;
    case '.': return 0xBE;
    case '~': return 0x1C0;
    case '%': return 0x135;
    case '@': return 0x632;  // AltGr: Ctrl and Alt
    default: return -1;
  }
}

// "v41" down, "^41" up, "N" Num Lock, "[text]" a message.
std::string Render(const TKeyPlan& plan) {
  std::string out;
  for (const TKeyAction& a : plan.Actions) {
    char buf[8];
    switch (a.What) {
      case TKeyAction::Down: std::snprintf(buf, sizeof buf, "v%02X", a.Key); break;
      case TKeyAction::Up: std::snprintf(buf, sizeof buf, "^%02X", a.Key); break;
      case TKeyAction::NumLock: std::snprintf(buf, sizeof buf, "N"); break;
      case TKeyAction::Message: break;
    }
    if (!out.empty()) out += ' ';
    out += a.What == TKeyAction::Message ? "[" + a.Text + "]" : std::string(buf);
  }
  return out;
}

struct Case {
  const char* Text;
  const char* Events;
  bool Complete;
};

TEST(KeyString, SyntaxTable) {
  const Case cases[] = {
      {"", "", false},
      {"ab", "v41 ^41 v42 ^42", true},
      {"A", "v10 v41 ^41 ^10", true},
      // Held modifiers go after the next key; a group keeps them down until it closes.
      {"+ab", "v10 v41 ^41 ^10 v42 ^42", true},
      {"+(ab)c", "v10 v41 ^41 v42 ^42 ^10 v43 ^43", true},
      {"^%a", "v11 v12 v41 ^41 ^11 ^12", true},
      {"^(+a", "v11 v10 v41 ^41 ^10 ^11", true},  // a group left open ends with the text
      // Inside quotes every sign is a character, and the quotes type nothing.
      {"^o\"a+(b)~\"", "v11 v4F ^4F ^11 v41 ^41 v10 vBB ^BB ^10 v10 v39 ^39 ^10 v42 ^42 v10 v30 ^30 ^10 v10 vC0 ^C0 ^10",
       true},
      {"~", "v0D ^0D", true},
      {"{{}{}}", "v10 vDB ^DB ^10 v10 vDD ^DD ^10", true},
      {"{DOWN 3}", "v28 ^28 v28 ^28 v28 ^28", true},
      {"{down 0}x", "v58 ^58", true},
      {"{DOWN  2 }", "v28 ^28 v28 ^28", true},
      {"{bs}{BKSP}{BackSpace}", "v08 ^08 v08 ^08 v08 ^08", true},
      {"{x}", "v10 v58 ^58 ^10", true},
      {"{x 2}", "v10 v58 ^58 v58 ^58 ^10", true},
      {"+{F10}a", "v10 v79 ^79 ^10 v41 ^41", true},
      {"%{@}", "v12 v11 v12 v32 ^32 ^11 ^12 ^12", true},
      // A name beyond 20 characters is cut, so it is unknown.
      {"{DOWNDOWNDOWNDOWNDOWNDOWN}a", "[Invalid Key Name] v41 ^41", true},
      {"{FOO}a", "[Invalid Key Name] v41 ^41", true},
      {"{}a", "[Invalid Key Name] v41 ^41", true},
      {"a#b", "v41 ^41 [Invalid KeyName] v42 ^42", true},
      {"{NUMLOCK}a", "N v41 ^41", true},
      {"{NUMLOCK 4}", "N", true},
      // The text stops at a brace that never closes, and at a count that is no number.
      {"+a{END", "v10 v41 ^41 ^10 [No Close]", false},
      {"+(a{END", "v10 v41 ^41 [No Close] ^10", false},
      {"(+a{DOWN x}b", "v10 v41 ^41 [Invalid Key Name] ^10", false},
      {"{DOWN -1}b", "[Invalid Key Name]", false},
      {"{DOWN 65536}b", "[Invalid Key Name]", false},
      {"{DOWN }b", "[Invalid Key Name]", false},
      {"{DOWN 0x3}b", "[Invalid Key Name]", false},
  };
  for (const Case& c : cases) {
    TKeyPlan plan = ParseKeyString(c.Text, UsLayout);
    EXPECT_EQ(Render(plan), c.Events) << c.Text;
    EXPECT_EQ(plan.Complete, c.Complete) << c.Text;
  }
}

TEST(KeyString, LargestCountIsTyped) {
  TKeyPlan plan = ParseKeyString("{UP 65535}", UsLayout);
  EXPECT_TRUE(plan.Complete);
  EXPECT_EQ(plan.Actions.size(), 2u * 65535);
}

TEST(KeyNames, EveryRowIsFoundAndNothingElse) {
  ASSERT_EQ(KeyNameTable().size(), 41u);
  for (const TKeyName& row : KeyNameTable()) {
    EXPECT_EQ(FindKeyName(row.Name), row.Key) << row.Name;
    TKeyPlan plan = ParseKeyString(std::string("{") + row.Name + "}", UsLayout);
    ASSERT_FALSE(plan.Actions.empty()) << row.Name;
    EXPECT_NE(plan.Actions[0].What, TKeyAction::Message) << row.Name;
  }
  for (const char* unknown : {"", "A", "F17", "F0", "ESCAP", "UPP", "ZZZ", "BACKSPACE "})
    EXPECT_EQ(FindKeyName(unknown), 0) << unknown;
  EXPECT_EQ(FindKeyName("PRTSC"), 0x2A);
  EXPECT_EQ(FindKeyName("F9"), 0x78);
  for (int k = 0; k < 256; ++k)
    EXPECT_EQ(InExtendedKeySet(static_cast<uint8_t>(k)), (k >= 0x21 && k <= 0x28) || k == 0x2D || k == 0x2E) << k;
}

}  // namespace
}  // namespace qrx
