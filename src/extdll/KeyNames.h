#pragma once
// Names a key string may give in braces, and the keys whose events carry the
// extended-key flag. Plain C++: no platform headers.
#include <cstdint>
#include <span>
#include <string_view>

namespace qrx {

struct TKeyName {
  const char* Name;  // upper case, at most 20 characters
  uint8_t Key;       // virtual-key code
};

// Sorted by name in ascending byte order.
std::span<const TKeyName> KeyNameTable();
// The virtual key of an upper-case name, or 0 when the table lacks it.
uint8_t FindKeyName(std::string_view name);
// Page Up/Down, End, Home, the arrows, Insert and Delete.
bool InExtendedKeySet(uint8_t key);

}  // namespace qrx
