#include "extdll/KeyNames.h"

#include <algorithm>

namespace qrx {
namespace {

constexpr TKeyName kKeyNames[] = {
    {"BACKSPACE", 0x08}, {"BKSP", 0x08},     {"BREAK", 0x03},      {"BS", 0x08},    {"CAPSLOCK", 0x14},
    {"CLEAR", 0x0C},     {"DEL", 0x2E},      {"DELETE", 0x2E},     {"DOWN", 0x28},  {"END", 0x23},
    {"ENTER", 0x0D},     {"ESC", 0x1B},      {"ESCAPE", 0x1B},     {"F1", 0x70},    {"F10", 0x79},
    {"F11", 0x7A},       {"F12", 0x7B},      {"F13", 0x7C},        {"F14", 0x7D},   {"F15", 0x7E},
    {"F16", 0x7F},       {"F2", 0x71},       {"F3", 0x72},         {"F4", 0x73},    {"F5", 0x74},
    {"F6", 0x75},        {"F7", 0x76},       {"F8", 0x77},         {"F9", 0x78},    {"HELP", 0x2F},
    {"HOME", 0x24},      {"INS", 0x2D},      {"LEFT", 0x25},       {"NUMLOCK", 0x90}, {"PGDN", 0x22},
    {"PGUP", 0x21},      {"PRTSC", 0x2A},    {"RIGHT", 0x27},      {"SCROLLLOCK", 0x91}, {"TAB", 0x09},
    {"UP", 0x26},
};

constexpr bool Sorted() {
  for (size_t i = 1; i < std::size(kKeyNames); ++i)
    if (!(std::string_view(kKeyNames[i - 1].Name) < std::string_view(kKeyNames[i].Name))) return false;
  return true;
}
// The lookup bisects: a row out of order would be unreachable.
static_assert(Sorted());
static_assert(std::size(kKeyNames) == 41);

}  // namespace

std::span<const TKeyName> KeyNameTable() { return kKeyNames; }

uint8_t FindKeyName(std::string_view name) {
  auto it = std::lower_bound(std::begin(kKeyNames), std::end(kKeyNames), name,
                             [](const TKeyName& row, std::string_view n) { return std::string_view(row.Name) < n; });
  return it != std::end(kKeyNames) && name == it->Name ? it->Key : 0;
}

bool InExtendedKeySet(uint8_t key) { return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E; }

}  // namespace qrx
