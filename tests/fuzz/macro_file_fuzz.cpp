// record.ini to macro blocks and back: whatever the file holds, the blocks stay inside the
// record, and a block's events written as entries encode to the same pairs.
#include <algorithm>
#include <cstdlib>

#include "macros/macro_codec.h"
#include "macros/macro_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ombrisk;
  const ProfileDocument file = ProfileDocument::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  SettingsRecord record;
  rebuildMacroMemory(file, record);
  for (std::size_t t = 0; t < rec::kMacroCount; ++t) {
    const std::uint8_t* block = record.macroBlock(t);
    const std::vector<MacroEvent> events = decodeMacroBlock(block);
    std::uint8_t again[rec::kMacroBlockSize] = {};
    std::copy(block, block + 2, again);
    encodeMacroEvents(events, again);
    if (decodeMacroBlock(again) != events) std::abort();
  }
  // Back to the file: a macro's entries saved as a section read back the same, unless the
  // store changes an entry on reading, as the system's does: it drops one pair of quotes and
  // the blanks at either end. An entry read may have such blanks: cut at the read buffer's
  // length right after a blank, or unquoted with blanks inside the quotes.
  const std::vector<std::string> names = file.sectionNames();
  if (names.empty()) return 0;
  std::vector<std::string> entries = macroEntries(file.section(names.front()));
  // A claimed ItemCount of up to 1024 brings as many empty items, which are written and read
  // back like any other: the whole list is taken only when the file ends in a DEL byte, else
  // it ends at its last item that holds something (most inputs claim far more than they hold).
  if (data[size - 1] != 0x7F)
    while (!entries.empty() && entries.back().empty()) entries.pop_back();
  const auto changedOnReading = [](const std::string& entry) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    if (!entry.empty() && (blank(entry.front()) || blank(entry.back()))) return true;
    return entry.size() >= 2 && (entry.front() == '"' || entry.front() == '\'') && entry.back() == entry.front();
  };
  if (std::any_of(entries.begin(), entries.end(), changedOnReading)) return 0;
  std::vector<ProfileEntry> section{{std::string(kItemCountKey), std::to_string(entries.size())}};
  for (std::size_t i = 0; i < entries.size(); ++i) section.push_back({macroItemKey(i), entries[i]});
  ProfileDocument saved = file;
  saved.rewriteSection("Saved", section);
  const ProfileDocument reread = ProfileDocument::fromBytes(saved.toBytes());
  if (macroEntries(reread.section("Saved")) != entries) std::abort();
  return 0;
}
