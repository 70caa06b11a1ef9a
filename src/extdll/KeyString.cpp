#include "extdll/KeyString.h"

#include "extdll/KeyNames.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace qrx {
namespace {

constexpr uint8_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12, kEnter = 0x0D, kNumLock = 0x90;
constexpr uint8_t kOpenBraceKey = 0xDB, kCloseBraceKey = 0xDD;
constexpr uint8_t kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;
constexpr size_t kNameMax = 20;

// A repeat count: decimal digits (blanks around them allowed) within 16 bits.
std::optional<uint16_t> ParseCount(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  uint32_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<uint32_t>(c - '0');
    if (n > 0xFFFF) return std::nullopt;
  }
  return static_cast<uint16_t>(n);
}

class Parser {
 public:
  Parser(std::string_view text, const CharToKey& charToKey) : text_(text), charToKey_(charToKey) {}

  TKeyPlan Run() {
    if (text_.empty()) return std::move(plan_);
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '"') {
        literal_ = !literal_;
        ++pos_;
      } else if (literal_) {
        TypeChar(c);
        ++pos_;
      } else if (c == '{') {
        if (!Braces()) {
          ReleaseAll();
          return std::move(plan_);
        }
      } else {
        Special(c);
        ++pos_;
      }
    }
    ReleaseAll();
    plan_.Complete = true;
    return std::move(plan_);
  }

 private:
  void Special(char c) {
    switch (c) {
      case '+': Hold(kShiftBit, kShift); break;
      case '^': Hold(kCtrlBit, kCtrl); break;
      case '%': Hold(kAltBit, kAlt); break;
      case '(': group_ = true; break;
      case ')':
        group_ = false;
        ReleaseHeld();
        break;
      case '~': Typed(kEnter, 1, 0); break;
      default: TypeChar(c); break;
    }
  }

  // At an opening brace; false when the text cannot go on (no closing brace, bad count).
  bool Braces() {
    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '{') {
      Typed(kOpenBraceKey, 1, kShiftBit);
      pos_ = std::min(pos_ + 3, text_.size());
      return true;
    }
    size_t close = pos_ + 1;
    std::string name;
    for (; close < text_.size() && text_[close] != '}'; ++close) {
      char c = text_[close];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (name.size() < kNameMax) name += c;
    }
    if (close >= text_.size()) {
      Say("No Close");
      return false;
    }
    if (name.empty() && close + 1 < text_.size() && text_[close + 1] == '}') {
      Typed(kCloseBraceKey, 1, kShiftBit);
      pos_ = close + 2;
      return true;
    }
    pos_ = close + 1;
    uint16_t count = 1;
    if (size_t space = name.find(' '); space != std::string::npos) {
      auto n = ParseCount(std::string_view(name).substr(space + 1));
      if (!n) {
        // Typing on after a count that means nothing could do far more than was asked.
        Say("Invalid Key Name");
        return false;
      }
      count = *n;
      name.resize(space);
    }
    if (name.size() == 1) {
      TypeChar(name[0], count);
      return true;
    }
    uint8_t key = FindKeyName(name);
    if (key == 0) {
      Say("Invalid Key Name");
    } else if (key == kNumLock) {
      Add(TKeyAction::NumLock, key);
      ReleaseHeld();
    } else {
      Typed(key, count, 0);
    }
    return true;
  }

  void TypeChar(char c, uint16_t count = 1) {
    int16_t k = charToKey_ ? charToKey_(c) : -1;
    if (k == -1 || (k & 0xFF) == 0xFF) {
      Say("Invalid KeyName");
      return;
    }
    Typed(static_cast<uint8_t>(k & 0xFF), count, static_cast<uint8_t>((k >> 8) & 0xFF));
  }

  // A key typed count times with the modifiers it needs, then the held ones let go.
  void Typed(uint8_t key, uint16_t count, uint8_t mods) {
    static constexpr std::pair<uint8_t, uint8_t> kMods[] = {{kShiftBit, kShift}, {kCtrlBit, kCtrl}, {kAltBit, kAlt}};
    for (auto [bit, vk] : kMods)
      if (mods & bit) Add(TKeyAction::Down, vk);
    for (uint16_t i = 0; i < count; ++i) {
      Add(TKeyAction::Down, key);
      Add(TKeyAction::Up, key);
    }
    for (auto [bit, vk] : kMods)
      if (mods & bit) Add(TKeyAction::Up, vk);
    ReleaseHeld();
  }

  void Hold(uint8_t bit, uint8_t key) {
    Add(TKeyAction::Down, key);
    held_ |= bit;
  }
  void ReleaseHeld() {
    if (!group_) ReleaseAll();
  }
  void ReleaseAll() {
    if (held_ & kShiftBit) Add(TKeyAction::Up, kShift);
    if (held_ & kCtrlBit) Add(TKeyAction::Up, kCtrl);
    if (held_ & kAltBit) Add(TKeyAction::Up, kAlt);
    held_ = 0;
  }
  void Say(const char* text) { plan_.Actions.push_back({TKeyAction::Message, 0, text}); }
  void Add(TKeyAction::Kind kind, uint8_t key) { plan_.Actions.push_back({kind, key, {}}); }

  std::string_view text_;
  const CharToKey& charToKey_;
  TKeyPlan plan_;
  size_t pos_ = 0;
  bool literal_ = false;
  bool group_ = false;
  uint8_t held_ = 0;
};

}  // namespace

TKeyPlan ParseKeyString(std::string_view text, const CharToKey& charToKey) { return Parser(text, charToKey).Run(); }

}  // namespace qrx
