#include "macros/macro_store.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "macros/macro_codec.h"
#include "util/decimal.h"
#include "util/utf.h"

namespace ombrisk {
namespace {

constexpr std::uint16_t kLoopCountMax = 65535;

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Texts with three %zu in the order: pairs needed, events that fit, events in all.
// By Language: English, Simplified Chinese, Traditional Chinese.
constexpr std::array<const char*, 3> kTooLongFormats{
    "This macro needs %zu of the mouse's 63 event slots per macro (an event with a delay "
    "above 1270 ms takes two slots). Only the first %zu of its %zu events fit: remove some "
    "events or shorten long delays, then save again.",
    "此宏需要 %zu 个事件位置，但鼠标每个宏只有 63 个（延时超过 1270 毫秒的事件占两个）。"
    "只能存下前 %zu 个事件（共 %zu 个）：请删除一些事件或缩短长延时后再保存。",
    "此巨集需要 %zu 個事件位置，但滑鼠每個巨集只有 63 個（延時超過 1270 毫秒的事件佔兩個）。"
    "只能存下前 %zu 個事件（共 %zu 個）：請刪除一些事件或縮短長延時後再儲存。",
};

// The entries of a macro up to its last item that the section holds: the claimed count may
// run far past it, and the items after it all read as empty.
std::vector<std::string> heldMacroEntries(const ProfileSection& section, std::size_t& count) {
  const long long claimed = leadingDecimal(section.read(kItemCountKey));
  count = static_cast<std::size_t>(std::clamp<long long>(claimed, 0, kMacroItemLimit));
  // One pass over the keys the section holds rather than a look-up per claimed item.
  std::vector<std::pair<std::size_t, std::string>> held;
  std::size_t end = 0;
  for (ProfileEntry& entry : section.entries()) {
    const std::optional<std::size_t> index = macroItemIndex(entry.key);
    if (!index || *index >= count) continue;
    end = std::max(end, *index + 1);
    held.emplace_back(*index, std::move(entry.value));
  }
  std::vector<std::string> entries(end);
  for (auto& [index, value] : held) entries[index] = std::move(value);
  return entries;
}

}  // namespace

std::string macroItemKey(std::size_t index) { return "Item" + std::to_string(index); }

std::optional<std::size_t> macroItemIndex(std::string_view key) {
  constexpr std::string_view kItem = "item";
  if (key.size() <= kItem.size() || key.size() > kItem.size() + 9) return std::nullopt;
  for (std::size_t i = 0; i < kItem.size(); ++i)
    if ((key[i] | 0x20) != kItem[i]) return std::nullopt;
  const std::string_view digits = key.substr(kItem.size());
  // Only the digits macroItemKey writes: "Item01" is another key than "Item1".
  if (digits.size() > 1 && digits.front() == '0') return std::nullopt;
  std::size_t index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + static_cast<std::size_t>(c - '0');
  }
  return index;
}

std::vector<std::string> macroNames(ProfileStore& store, const std::string& recordIni) {
  return store.sectionNames(recordIni);
}

std::vector<std::string> macroEntries(const ProfileSection& section) {
  std::size_t count = 0;
  std::vector<std::string> entries = heldMacroEntries(section, count);
  entries.resize(count);
  return entries;
}

std::vector<std::string> readMacroEntries(ProfileStore& store, const std::string& recordIni,
                                          std::string_view name) {
  return macroEntries(store.load(recordIni).section(name));
}

bool deleteMacro(ProfileStore& store, const std::string& recordIni, std::string_view name) {
  return store.deleteSection(recordIni, name);
}

std::string macroFileNotSavedMessage(Language language, const std::string& recordIni) {
  return fileNotRewrittenMessage(InterfaceTexts(language), fileNameOf(recordIni));
}

bool macroNameFitsStore(std::string_view name) {
  if (name.empty() || utf8ToUtf16(name).size() >= kProfileValueMax) return false;
  if (name.find_first_of("\r\n]=") != std::string_view::npos) return false;
  if (name.front() == ';' || name.front() == '[') return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(name.front()) && !blank(name.back());
}

std::string macroNameUnfitMessage(Language language) {
  static constexpr std::array<const char*, 3> kTexts{
      "This macro name cannot be stored as it is: a name must not contain \"]\", \"=\" or a line "
      "break, must not begin with \";\" or \"[\", must not begin or end with a blank, and must "
      "be shorter than 1024 characters.",
      "无法按原样保存此宏名称：名称中不能有“]”、“=”或换行，不能以“;”或“[”开头，首尾不能有空格，"
      "且须少于 1024 个字符。",
      "無法按原樣儲存此巨集名稱：名稱中不能有「]」、「=」或換行，不能以「;」或「[」開頭，首尾不能有空格，"
      "且須少於 1024 個字元。",
  };
  return kTexts[static_cast<std::size_t>(language)];
}

std::string macroTooLongMessage(Language language, std::size_t pairsNeeded,
                                std::size_t eventCount, std::size_t eventsFitting) {
  const char* format = kTooLongFormats[static_cast<std::size_t>(language)];
  const int length = std::snprintf(nullptr, 0, format, pairsNeeded, eventsFitting, eventCount);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, pairsNeeded, eventsFitting, eventCount);
  text.resize(text.size() - 1);
  return text;
}

MacroSaveResult saveMacro(ProfileStore& store, const std::string& recordIni, std::string_view name,
                          std::span<const std::string> entries, SettingsRecord& record,
                          Language language) {
  if (name.empty()) return {MacroSaveOutcome::NothingSelected, {}};
  if (!macroNameFitsStore(name)) return {MacroSaveOutcome::NameUnfit, {}};
  const std::vector<MacroEvent> events = macroEventsFromEntries(entries);
  const std::size_t pairs = pairsOfEvents(events);
  if (pairs > kMacroPairCapacity || entries.size() > kMacroItemLimit)
    return {MacroSaveOutcome::TooLong,
            macroTooLongMessage(language, pairs, events.size(), eventsThatFit(events))};

  ProfileDocument file = store.load(recordIni);
  std::vector<ProfileEntry> section{{std::string(kItemCountKey), std::to_string(entries.size())}};
  for (std::size_t index = 0; index < entries.size(); ++index) section.push_back({macroItemKey(index), entries[index]});
  file.rewriteSection(name, section);
  if (!store.save(recordIni, file))
    return {MacroSaveOutcome::FileNotSaved, macroFileNotSavedMessage(language, recordIni)};
  rebuildMacroMemory(file, record);
  return {MacroSaveOutcome::Saved, {}};
}

void rebuildMacroMemory(ProfileStore& store, const std::string& recordIni, SettingsRecord& record) {
  rebuildMacroMemory(store.load(recordIni), record);
}

void rebuildMacroMemory(const ProfileDocument& recordIni, SettingsRecord& record) {
  const std::vector<std::string> names = recordIni.sectionNames();
  const std::size_t sections = std::min(names.size(), rec::kMacroCount);
  for (std::size_t t = 0; t < sections; ++t) {
    std::uint8_t* block = record.macroBlock(t);
    std::size_t count = 0;
    // Empty entries at the end change no event (an empty delay is no delay).
    const std::vector<std::string> entries = heldMacroEntries(recordIni.section(names[t]), count);
    if (count == 0) {
      std::fill(block, block + rec::kMacroBlockSize, std::uint8_t{0});
      continue;
    }
    // No more events than pairs can reach the block.
    encodeMacroEvents(macroEventsFromEntries(entries, kMacroPairCapacity), block);
  }
}

MacroBlockOwners macroBlockOwners(const ProfileDocument& recordIni, const SettingsRecord& record) {
  using Pairs = std::array<std::uint8_t, rec::kMacroBlockSize>;
  const std::vector<std::string> names = recordIni.sectionNames();
  // Each section's block as the rebuild would encode it (the loop count aside).
  std::vector<Pairs> encoded(names.size(), Pairs{});
  for (std::size_t s = 0; s < names.size(); ++s) {
    std::size_t count = 0;
    const std::vector<std::string> entries = heldMacroEntries(recordIni.section(names[s]), count);
    if (count != 0) encodeMacroEvents(macroEventsFromEntries(entries, kMacroPairCapacity), encoded[s].data());
  }
  const auto holds = [&](std::size_t block, std::size_t s) {
    const std::uint8_t* pairs = record.macroBlock(block) + kMacroFirstPairByte;
    return std::equal(pairs, pairs + kMacroPairCapacity * 2, encoded[s].begin() + kMacroFirstPairByte);
  };
  MacroBlockOwners owners;
  std::vector<bool> owning(names.size(), false);
  const std::size_t blocks = std::min(names.size(), rec::kMacroCount);
  for (std::size_t t = 0; t < blocks; ++t)
    if (holds(t, t)) owners[t] = names[t], owning[t] = true;
  for (std::size_t t = 0; t < rec::kMacroCount; ++t) {
    if (!owners[t].empty()) continue;
    for (std::size_t s = 0; s < names.size(); ++s)
      if (!owning[s] && holds(t, s)) {
        owners[t] = names[s], owning[s] = true;
        break;
      }
  }
  for (std::size_t t = 0; t < blocks; ++t)
    if (owners[t].empty() && !owning[t]) owners[t] = names[t], owning[t] = true;
  return owners;
}

std::string setLoopCountFromText(std::string_view boxText, std::optional<std::size_t> selected,
                                 SettingsRecord& record) {
  const long long value = leadingDecimal(boxText);
  const bool replaced = value < 1 || value > kLoopCountMax;
  const auto count = static_cast<std::uint16_t>(replaced ? 1 : value);
  if (selected && *selected < rec::kMacroCount)
    setMacroLoopCount(record.macroBlock(*selected), count);
  return replaced ? std::string("1") : std::string(boxText);
}

std::uint16_t loopCountOfMacro(const SettingsRecord& record, std::size_t position) {
  return position < rec::kMacroCount ? macroLoopCount(record.macroBlock(position)) : 0;
}

}  // namespace ombrisk
