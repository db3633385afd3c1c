// The macros in record.ini (one section per macro: "ItemCount" and "Item0".."Item<n-1>")
// and the rebuild of the record's MacroMemory from them. The macro number of a macro is the
// position of its section in the file; saving a macro rewrites its section, which the
// profile store then puts at the end of the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "settings/profile_store.h"
#include "settings/settings_image.h"

namespace ombrisk {

inline constexpr std::string_view kItemCountKey = "ItemCount";
// Entries read from one section at most, whatever its "ItemCount" says: far more than the
// 63 events a block holds with their delays.
inline constexpr std::size_t kMacroItemLimit = 1024;

std::string macroItemKey(std::size_t index);  // "Item<index>"
// The index of a key macroItemKey writes (ASCII case ignored, as the store matches keys).
std::optional<std::size_t> macroItemIndex(std::string_view key);

// The section names of record.ini in file order.
std::vector<std::string> macroNames(ProfileStore& store, const std::string& recordIni);
// The entries of a macro: "ItemCount" (non-numeric reads as 0) and the items from 0 upward,
// at most kMacroItemLimit.
std::vector<std::string> macroEntries(const ProfileSection& section);
std::vector<std::string> readMacroEntries(ProfileStore& store, const std::string& recordIni,
                                          std::string_view name);
// False when record.ini could not be read whole or written (it was left as it was).
bool deleteMacro(ProfileStore& store, const std::string& recordIni, std::string_view name);
// What the user is told then, in the given language.
std::string macroFileNotSavedMessage(Language language, const std::string& recordIni);

// A name the store can keep as a section and give back unchanged: not empty, shorter than
// the store's value buffer (in UTF-16 units), without line breaks, ']' or '=', not beginning
// with ';' or '[' (a comment or a second bracket), without blanks at either end.
bool macroNameFitsStore(std::string_view name);
// Why such a name is refused, in the given language.
std::string macroNameUnfitMessage(Language language);

// FileNotSaved: record.ini could not be read whole or written and was left as it was.
enum class MacroSaveOutcome { Saved, NothingSelected, NameUnfit, TooLong, FileNotSaved };
struct MacroSaveResult {
  MacroSaveOutcome outcome = MacroSaveOutcome::NothingSelected;
  std::string message;  // for the caller to show when outcome is TooLong or FileNotSaved
};

// Writes the macro's section anew (ItemCount and the items in list order) in one save of the
// file and rebuilds MacroMemory from the whole file. A macro whose events need more than the 63 pairs of a
// block is refused before anything is written, with a message in the interface language
// that says how many of its events fit.
MacroSaveResult saveMacro(ProfileStore& store, const std::string& recordIni, std::string_view name,
                          std::span<const std::string> entries, SettingsRecord& record,
                          Language language);

// Re-encodes blocks 0..11 from the first twelve sections of record.ini: a section with no
// items clears its whole block, loop count included; any other keeps its loop count and gets
// its pairs anew. Sections past the twelfth have no block and are passed over; blocks without
// a section keep what they hold.
void rebuildMacroMemory(ProfileStore& store, const std::string& recordIni, SettingsRecord& record);
void rebuildMacroMemory(const ProfileDocument& recordIni, SettingsRecord& record);

// The macro each block belongs to, by name ("" for none). Sections move when a macro is saved
// (to the end of the file) or deleted, the blocks only when they are encoded anew, so the
// two orders can differ; what a block holds tells: the section whose events encode to the
// block's pairs (the one at the block's own number first), else the section at the block's
// number when that one has no block of its own. Two macros with the same events cannot be
// told apart: the one at the block's number, or the first, takes it.
using MacroBlockOwners = std::array<std::string, rec::kMacroCount>;
MacroBlockOwners macroBlockOwners(const ProfileDocument& recordIni, const SettingsRecord& record);

// The loop-times box: its text read as a decimal number; outside 1..65535 it becomes 1. When a
// macro is selected at a position 0..11, its block's loop count is set. Returns the text the
// box should hold ("1" when the value was replaced, the text itself otherwise).
std::string setLoopCountFromText(std::string_view boxText, std::optional<std::size_t> selected,
                                 SettingsRecord& record);
std::uint16_t loopCountOfMacro(const SettingsRecord& record, std::size_t position);

// "This macro needs N slots ... the first K of its M events fit" in the given language.
std::string macroTooLongMessage(Language language, std::size_t pairsNeeded,
                                std::size_t eventCount, std::size_t eventsFitting);

}  // namespace ombrisk
