#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/macro_codec.h"

namespace ombrisk {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Pair bytes 2.. of the block that the entries encode to, up to the last non-zero pair.
Bytes pairsOf(const std::vector<std::string>& entries) {
  MacroBlock block{};
  encodeMacroEvents(macroEventsFromEntries(entries), block.data());
  Bytes bytes(block.begin() + 2, block.end());
  while (bytes.size() >= 2 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0)
    bytes.resize(bytes.size() - 2);
  return bytes;
}

TEST(MacroEncoding, ExamplesAndDelayBoundaries) {
  struct Case {
    std::vector<std::string> entries;
    Bytes pairs;
  };
  const Case cases[] = {
      {{"A   Dn", "50 ms", "A   Up", "50 ms"}, {0x05, 0x04, 0x85, 0x04}},
      {{"A   Dn", "1500 ms"}, {0x00, 0x04, 0x0F, 0x03}},
      {{"B   Dn", "1270 ms"}, {0x7F, 0x05}},
      {{"B   Up", "1270 ms"}, {0xFF, 0x05}},
      {{"B   Dn", "1271 ms"}, {71, 0x05, 12, 0x03}},
      {{"B   Up", "1271 ms"}, {0x80 | 71, 0x05, 12, 0x03}},
      {{"B   Dn", "10000 ms"}, {0, 0x05, 100, 0x03}},
      {{"C   Dn", "9 ms", "C   Up"}, {0x00, 0x06, 0x80, 0x06}},  // the last entry: delay 0
      {{"Ctrl   Dn", "30 ms", "L-Button   Dn", "20 ms", "L-Button   Up", "20 ms", "Ctrl   Up",
        "10 ms"},
       {0x03, 0xE0, 0x02, 0xF0, 0x82, 0xF0, 0x81, 0xE0}},
      // Unknown names give code 0; a key entry followed by a key entry reads delay 0.
      {{"Strg   Dn", "50 ms"}, {0x05, 0x00}},
      {{"A   Dn", "B   Dn", "60 ms"}, {0x00, 0x04, 0x06, 0x05}},
      // Entries that are neither key nor delay entries are passed over.
      {{"50 ms", "hello", "A   Dn", "abc"}, {0x00, 0x04}},
      {{"A   Dn", "-20 ms"}, {0x00, 0x04}},
      {{"A   Dn", "99999 ms"}, {99, 0x04, 255, 0x03}},  // the longest delay two pairs carry
      {{}, {}},
  };
  for (const Case& c : cases) {
    std::string what;
    for (const std::string& e : c.entries) what += "[" + e + "]";
    EXPECT_EQ(pairsOf(c.entries), c.pairs) << what;
  }
}

TEST(MacroEncoding, DelayEntryReadsAsTheLibraryReadsANumber) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"50 ms", 50}, {"50", 50},   {" 70 ms", 70}, {"12abc", 12}, {"abc", 0},
      {"", 0},       {"ms", 0},    {"-5 ms", 0},   {"25599 ms", 25599},
      {"25600 ms", 25599}, {"99999999999999999999 ms", 25599},
  };
  for (const auto& [entry, delay] : cases) EXPECT_EQ(delayOfEntry(entry), delay) << entry;
}

TEST(MacroEncoding, NeverWritesPastTheBlockAndNeverCutsAnEvent) {
  // 62 short events, then one with a long delay that needs two pairs: only one is left.
  std::vector<std::string> entries;
  for (int i = 0; i < 62; ++i) entries.insert(entries.end(), {"A   Dn", "10 ms"});
  entries.insert(entries.end(), {"B   Up", "2000 ms", "C   Dn", "10 ms"});
  std::array<std::uint8_t, 2 * rec::kMacroBlockSize> twoBlocks{};
  twoBlocks.fill(0xEE);
  const auto events = macroEventsFromEntries(entries);
  EXPECT_EQ(pairsOfEvents(events), 62u + 2 + 1);
  EXPECT_EQ(eventsThatFit(events), 62u);
  EXPECT_EQ(encodeMacroEvents(events, twoBlocks.data()), 62u);
  EXPECT_EQ(twoBlocks[0], 0xEE);  // the loop count is not touched
  EXPECT_EQ(twoBlocks[124], 0x01);
  EXPECT_EQ(twoBlocks[125], 0x04);
  EXPECT_EQ(twoBlocks[126], 0x00);
  EXPECT_EQ(twoBlocks[127], 0x00);
  EXPECT_EQ(twoBlocks[128], 0xEE);  // the next block is not touched
}

TEST(MacroBlockDecoding, GivesTheEventsBack) {
  MacroBlock block{};
  setMacroLoopCount(block.data(), 0x1234);
  const std::vector<std::string> entries{"Ctrl   Dn", "50 ms", "A   Dn", "1500 ms", "A   Up",
                                         "1270 ms", "Ctrl   Up"};
  encodeMacroEvents(macroEventsFromEntries(entries), block.data());
  EXPECT_EQ(block[0], 0x12);
  EXPECT_EQ(block[1], 0x34);
  EXPECT_EQ(macroLoopCount(block.data()), 0x1234);
  EXPECT_EQ(decodeMacroBlock(block.data()), macroEventsFromEntries(entries));
}

}  // namespace
}  // namespace ombrisk
