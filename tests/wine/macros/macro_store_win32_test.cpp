// The macro store on the system's private-profile API: the file order of the sections is
// the macro numbering, so what the API does with a rewritten section decides the blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/macro_store.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using Entries = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

class Win32MacroStore : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
  testing::TempFolder folder;
  std::string ini = folder.file("record.ini");
  SettingsRecord record;

  Bytes pairs(std::size_t block, std::size_t count) {
    return Bytes(record.macroBlock(block) + 2, record.macroBlock(block) + 2 + 2 * count);
  }
  void save(const std::string& name, const Entries& entries) {
    ASSERT_EQ(saveMacro(*store, ini, name, entries, record, Language::English).outcome,
              MacroSaveOutcome::Saved);
  }
};

TEST_F(Win32MacroStore, ARewrittenSectionGoesToTheEndAndTheBlocksFollow) {
  save("宏一", {"A   Dn", "50 ms"});
  save("巨集二", {"B   Dn", "1500 ms"});
  save("Third", {"C   Up", "1270 ms"});
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"宏一", "巨集二", "Third"}));
  EXPECT_EQ(pairs(0, 1), (Bytes{0x05, 0x04}));
  EXPECT_EQ(pairs(1, 2), (Bytes{0x00, 0x05, 0x0F, 0x03}));
  EXPECT_EQ(pairs(2, 1), (Bytes{0xFF, 0x06}));

  save("宏一", {"D   Dn", "20 ms", "D   Up", "20 ms"});
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"巨集二", "Third", "宏一"}));
  EXPECT_EQ(pairs(0, 2), (Bytes{0x00, 0x05, 0x0F, 0x03}));
  EXPECT_EQ(pairs(1, 1), (Bytes{0xFF, 0x06}));
  EXPECT_EQ(pairs(2, 2), (Bytes{0x02, 0x07, 0x82, 0x07}));
  EXPECT_EQ(readMacroEntries(*store, ini, "宏一"), (Entries{"D   Dn", "20 ms", "D   Up", "20 ms"}));
}

TEST_F(Win32MacroStore, DeleteAndTheTwelveBlockBound) {
  for (int m = 0; m < 14; ++m) save("M" + std::to_string(m), {"E   Dn", std::to_string(10 * (m + 1)) + " ms"});
  std::fill(record.bytes.begin() + rec::kReserved0, record.bytes.end(), 0x5A);
  rebuildMacroMemory(*store, ini, record);
  EXPECT_EQ(pairs(11, 1), (Bytes{12, 0x08}));
  EXPECT_EQ(record[rec::kReserved0], 0x5A);  // sections 13 and 14 have no block
  deleteMacro(*store, ini, "M0");
  EXPECT_EQ(macroNames(*store, ini).front(), "M1");
  EXPECT_EQ(macroNames(*store, ini).size(), 13u);
  EXPECT_EQ(pairs(0, 1), (Bytes{1, 0x08}));  // delete does not rebuild
}

}  // namespace
}  // namespace ombrisk
