// Feeds arbitrary key strings to the parser with a US-like layout, and aborts when a
// plan leaves a key down: after every key-down, modifiers included, a key-up must follow.
#include "extdll/KeyString.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

int16_t Layout(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return c;
  if (c == '(') return 0x139;
  if (c == '@') return 0x632;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qrx::TKeyPlan plan = qrx::ParseKeyString(text, Layout);
  // A key is down or up; a second key-down does not need a second key-up.
  bool down[256] = {};
  for (const auto& a : plan.Actions) {
    if (a.What == qrx::TKeyAction::Down) down[a.Key] = true;
    if (a.What == qrx::TKeyAction::Up) down[a.Key] = false;
  }
  for (bool d : down)
    if (d) std::abort();
  if (text.empty() && plan.Complete) std::abort();
  return 0;
}
