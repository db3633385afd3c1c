// Key names and list positions to the codes the mouse wants: HID keyboard usages, modifier
// bits, mouse codes and consumer-control usages. Every lookup is exact (case-sensitive,
// whole text) and yields 0 for what its table does not hold.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/interface_texts.h"

namespace ombrisk {

struct KeyNameUsage {
  std::string_view name;
  std::uint8_t usage;
};
// Key names as the keyboard layout gives them (US English), plus the program's own
// "Eurpo(Note 2)" and the three recorded mouse buttons.
std::span<const KeyNameUsage> keyNameTable();
std::uint8_t keyNameToUsage(std::string_view name);
// Left and right Ctrl, Shift, Alt and Win (0xE0..0xE7).
constexpr bool isModifierUsage(std::uint8_t usage) { return usage >= 0xE0 && usage <= 0xE7; }
// The first key name of a usage, for display; "" when no name has it.
std::string_view usageToKeyName(std::uint8_t usage);

// The name the US English keyboard layout gives the key with this scan code (plus 0x100 for
// an extended key): a name of the key name table, or "" for a key the table has no name for.
std::string_view usLayoutKeyName(unsigned key);

struct ModifierNameBit {
  std::string_view name;
  std::uint8_t bit;
};
// In the order in which the combination editor lists them.
std::span<const ModifierNameBit> modifierNameTable();
std::uint8_t modifierNameToBit(std::string_view name);

struct FireKeyEntry {
  std::string_view text;  // the same in every language
  std::uint8_t code;      // HID usage or mouse code
};
inline constexpr std::size_t kFireKeyCount = 61;
std::span<const FireKeyEntry> fireKeyList();
std::uint8_t fireIndexToUsage(std::size_t position);

// A list entry of the multimedia and Windows-function editors, with its consumer usage.
struct ConsumerFunctionEntry {
  std::array<std::string_view, 3> text;  // English, Simplified, Traditional Chinese (Language)
  std::uint16_t usage;
};
std::span<const ConsumerFunctionEntry> mediaFunctionList();
std::span<const ConsumerFunctionEntry> windowsFunctionList();

// The usage of a multimedia position; 0 outside the list.
std::uint8_t mediaIndexToUsage(std::size_t position);
// The low byte of the usage of a Windows-function position; 0 outside the list.
std::uint8_t windowsIndexToUsage(std::size_t position);
// The high byte of that usage (1 for positions 0..3, 2 for 4..10); 0 outside the list.
std::uint8_t windowsIndexToUsagePage(std::size_t position);

std::string_view listText(const ConsumerFunctionEntry& entry, Language language);

}  // namespace ombrisk
