// The two forms of a macro and the encoding between them.
//
// Text form: a list of entries as the macro panel shows them, alternately a key entry
// ("A   Dn", "A   Up") and a delay entry ("50 ms"), the delay being the wait after the key
// event before it. Device form: a 128-byte MacroBlock, bytes 0-1 the big-endian loop count,
// then two-byte event pairs (timing byte with the release flag in bit 7, key code); a delay
// above 1270 ms takes a second pair (delay / 100, 0x03).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_image.h"

namespace ombrisk {

inline constexpr std::string_view kPressSuffix = "   Dn";
inline constexpr std::string_view kReleaseSuffix = "   Up";
inline constexpr std::string_view kDelaySuffix = " ms";
inline constexpr std::size_t kMacroFirstPairByte = 2;
inline constexpr std::size_t kMacroPairCapacity = (rec::kMacroBlockSize - kMacroFirstPairByte) / 2;  // 63
// Delays up to this fit one pair (units of 10 ms in seven bits).
inline constexpr std::uint32_t kShortDelayMaxMs = 1270;
// The longest delay two pairs can carry: 255 hundreds and 99 ms.
inline constexpr std::uint32_t kLongDelayMaxMs = 255 * 100 + 99;
inline constexpr std::uint8_t kReleaseFlag = 0x80;
inline constexpr std::uint8_t kLongDelayMarker = 0x03;

struct MacroEvent {
  std::string keyName;
  std::uint8_t code = 0;  // HID usage or mouse code; 0 for a name the key table lacks
  bool release = false;
  std::uint32_t delayMs = 0;
  bool operator==(const MacroEvent&) const = default;
};

// The delay of a delay entry: " ms" removed, the rest read as a decimal number; an absent or
// non-numeric entry reads as 0, a negative one as 0, and a longer one than two pairs can
// carry as kLongDelayMaxMs.
std::uint32_t delayOfEntry(std::string_view entry);

// The key events of a list of entries, each with the delay of the entry that follows it (0
// for the last entry). Entries that are neither a press nor a release are skipped. At most
// limit events, the first ones.
std::vector<MacroEvent> macroEventsFromEntries(std::span<const std::string> entries,
                                               std::size_t limit = SIZE_MAX);

// 1, or 2 for a delay above 1270 ms.
std::size_t pairsOfEvent(const MacroEvent& event);
std::size_t pairsOfEvents(std::span<const MacroEvent> events);
// How many leading events fit the 63 pairs of a block.
std::size_t eventsThatFit(std::span<const MacroEvent> events);

// Clears bytes 2..127 of block and writes the pairs of the events that fit, stopping at the
// first event that would pass byte 127 (an event is never cut in half). Returns the number
// of events written. The loop count (bytes 0-1) is left alone.
std::size_t encodeMacroEvents(std::span<const MacroEvent> events, std::uint8_t* block);

// The events of a block, for display: the pairs up to the first all-zero pair.
std::vector<MacroEvent> decodeMacroBlock(const std::uint8_t* block);

std::uint16_t macroLoopCount(const std::uint8_t* block);
void setMacroLoopCount(std::uint8_t* block, std::uint16_t count);

}  // namespace ombrisk
