#include "macros/macro_codec.h"

#include <algorithm>
#include <cstring>

#include "keys/key_names.h"
#include "util/decimal.h"

namespace ombrisk {
namespace {

std::string withoutAll(std::string_view text, std::string_view part) {
  std::string result(text);
  for (std::size_t at = result.find(part); at != std::string::npos; at = result.find(part, at))
    result.erase(at, part.size());
  return result;
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

std::uint32_t delayOfEntry(std::string_view entry) {
  const long long value = leadingDecimal(withoutAll(entry, kDelaySuffix));
  return static_cast<std::uint32_t>(std::clamp<long long>(value, 0, kLongDelayMaxMs));
}

std::vector<MacroEvent> macroEventsFromEntries(std::span<const std::string> entries, std::size_t limit) {
  std::vector<MacroEvent> events;
  for (std::size_t j = 0; j < entries.size() && events.size() < limit; ++j) {
    MacroEvent event;
    if (contains(entries[j], kPressSuffix)) {
      event.keyName = withoutAll(entries[j], kPressSuffix);
    } else if (contains(entries[j], kReleaseSuffix)) {
      event.keyName = withoutAll(entries[j], kReleaseSuffix);
      event.release = true;
    } else {
      continue;  // a delay entry, or anything else
    }
    event.code = keyNameToUsage(event.keyName);
    event.delayMs = j + 1 < entries.size() ? delayOfEntry(entries[j + 1]) : 0;
    events.push_back(std::move(event));
  }
  return events;
}

std::size_t pairsOfEvent(const MacroEvent& event) {
  return event.delayMs > kShortDelayMaxMs ? 2 : 1;
}

std::size_t pairsOfEvents(std::span<const MacroEvent> events) {
  std::size_t pairs = 0;
  for (const MacroEvent& event : events) pairs += pairsOfEvent(event);
  return pairs;
}

std::size_t eventsThatFit(std::span<const MacroEvent> events) {
  std::size_t pairs = 0, count = 0;
  for (const MacroEvent& event : events) {
    pairs += pairsOfEvent(event);
    if (pairs > kMacroPairCapacity) break;
    ++count;
  }
  return count;
}

std::size_t encodeMacroEvents(std::span<const MacroEvent> events, std::uint8_t* block) {
  std::fill(block + kMacroFirstPairByte, block + rec::kMacroBlockSize, std::uint8_t{0});
  const std::size_t count = eventsThatFit(events);
  std::uint8_t* out = block + kMacroFirstPairByte;
  for (std::size_t i = 0; i < count; ++i) {
    const MacroEvent& event = events[i];
    const std::uint8_t flag = event.release ? kReleaseFlag : 0;
    if (event.delayMs <= kShortDelayMaxMs) {
      *out++ = static_cast<std::uint8_t>(flag | (event.delayMs / 10));
      *out++ = event.code;
    } else {
      *out++ = static_cast<std::uint8_t>(flag | (event.delayMs % 100));
      *out++ = event.code;
      *out++ = static_cast<std::uint8_t>(event.delayMs / 100);
      *out++ = kLongDelayMarker;
    }
  }
  return count;
}

std::vector<MacroEvent> decodeMacroBlock(const std::uint8_t* block) {
  std::vector<MacroEvent> events;
  for (std::size_t at = kMacroFirstPairByte; at + 1 < rec::kMacroBlockSize; at += 2) {
    const std::uint8_t timing = block[at], code = block[at + 1];
    if (timing == 0 && code == 0) break;
    const bool longDelay = at + 3 < rec::kMacroBlockSize && block[at + 3] == kLongDelayMarker &&
                           block[at + 2] != 0;
    MacroEvent event;
    event.keyName = std::string(usageToKeyName(code));
    event.code = code;
    event.release = (timing & kReleaseFlag) != 0;
    const std::uint32_t low = timing & 0x7F;
    if (longDelay) {
      event.delayMs = block[at + 2] * 100u + low;
      at += 2;
    } else {
      event.delayMs = low * 10;
    }
    events.push_back(std::move(event));
  }
  return events;
}

std::uint16_t macroLoopCount(const std::uint8_t* block) {
  return static_cast<std::uint16_t>(block[0] << 8 | block[1]);
}

void setMacroLoopCount(std::uint8_t* block, std::uint16_t count) {
  block[0] = static_cast<std::uint8_t>(count >> 8);
  block[1] = static_cast<std::uint8_t>(count & 0xFF);
}

}  // namespace ombrisk
