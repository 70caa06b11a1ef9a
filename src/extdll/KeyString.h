#pragma once
// Key strings ("^o\"c:\\my (old) files\\a+b.pas\"~", "{DOWN 3}") turned into the key
// events that type them. Plain C++: the keyboard layout comes in as a function, so the
// parser runs (and is fuzzed) without a system behind it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qrx {

struct TKeyAction {
  enum Kind : uint8_t {
    Down,     // key-down of Key
    Up,       // key-up of Key
    NumLock,  // flip the Num Lock toggle instead of sending the key
    Message,  // tell the user Text, then go on
  };
  Kind What;
  uint8_t Key = 0;
  std::string Text;
  bool operator==(const TKeyAction&) const = default;
};

struct TKeyPlan {
  std::vector<TKeyAction> Actions;
  bool Complete = false;  // false: empty text, unclosed brace or bad repeat count
};

// A character's key in the current layout: the virtual key in the low byte, the
// modifiers it needs in the high byte (Shift 1, Ctrl 2, Alt 4); -1 when it has none.
using CharToKey = std::function<int16_t(char)>;

TKeyPlan ParseKeyString(std::string_view text, const CharToKey& charToKey);

}  // namespace qrx
