#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "macros/macro_codec.h"
#include "macros/macro_store.h"
#include "settings/file_io.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using Entries = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

class MacroStore : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
  testing::TempFolder folder;
  std::string ini = folder.file("record.ini");
  SettingsRecord record;

  void writeIni(const std::string& text) { testing::writeBytes(ini, Bytes(text.begin(), text.end())); }
  std::string iniText() {
    const Bytes bytes = testing::readBytes(ini);
    return std::string(bytes.begin(), bytes.end());
  }
  Bytes block(std::size_t index) {
    return Bytes(record.macroBlock(index), record.macroBlock(index) + rec::kMacroBlockSize);
  }
  // A block: loop count bytes, then pairs, then zeros.
  static Bytes blockOf(Bytes head) {
    head.resize(rec::kMacroBlockSize, 0);
    return head;
  }
  MacroSaveResult save(const std::string& name, const Entries& entries,
                       Language language = Language::English) {
    return saveMacro(*store, ini, name, entries, record, language);
  }
};

TEST_F(MacroStore, SaveWritesTheSectionAndEncodesEveryMacroInFileOrder) {
  setMacroLoopCount(record.macroBlock(0), 1);
  ASSERT_EQ(save("First", {"A   Dn", "50 ms", "A   Up", "50 ms"}).outcome, MacroSaveOutcome::Saved);
  ASSERT_EQ(save("Second", {"B   Dn", "1500 ms"}).outcome, MacroSaveOutcome::Saved);
  EXPECT_EQ(block(0), blockOf({0x00, 0x01, 0x05, 0x04, 0x85, 0x04}));
  EXPECT_EQ(block(1), blockOf({0x00, 0x00, 0x00, 0x05, 0x0F, 0x03}));
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(readMacroEntries(*store, ini, "First"), (Entries{"A   Dn", "50 ms", "A   Up", "50 ms"}));
  EXPECT_EQ(store->read(ini, "Second", "ItemCount"), "2");
  EXPECT_EQ(store->read(ini, "Second", "Item1"), "1500 ms");
}

TEST_F(MacroStore, SavingAnEarlierMacroMovesItToTheEndAndRenumbersTheBlocks) {
  save("One", {"A   Dn", "10 ms"});
  save("Two", {"B   Dn", "20 ms", "B   Up", "20 ms"});
  save("One", {"C   Dn", "30 ms"});  // rewritten: now macro number 2
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"Two", "One"}));
  EXPECT_EQ(block(0), blockOf({0x00, 0x00, 0x02, 0x05, 0x82, 0x05}));
  EXPECT_EQ(block(1), blockOf({0x00, 0x00, 0x03, 0x06}));
  // The rewritten section holds only its new items.
  EXPECT_EQ(readMacroEntries(*store, ini, "One"), (Entries{"C   Dn", "30 ms"}));
}

TEST_F(MacroStore, EmptyOrMissingItemCountClearsTheWholeBlockOthersKeepTheirLoopCount) {
  for (std::size_t b = 0; b < 4; ++b) {
    std::fill(record.macroBlock(b), record.macroBlock(b) + rec::kMacroBlockSize, 0x77);
  }
  writeIni("[Empty]\nItemCount=0\n[NoCount]\nItem0=A   Dn\n[Letters]\nItemCount=abc\n");
  save("Kept", {"A   Dn", "50 ms"});
  EXPECT_EQ(block(0), Bytes(rec::kMacroBlockSize, 0));
  EXPECT_EQ(block(1), Bytes(rec::kMacroBlockSize, 0));
  EXPECT_EQ(block(2), Bytes(rec::kMacroBlockSize, 0));
  EXPECT_EQ(block(3), blockOf({0x77, 0x77, 0x05, 0x04}));
  EXPECT_EQ(record.macroBlock(4)[0], 0);  // no section: untouched (it was zero)
}

TEST_F(MacroStore, SixtyFourPairsAreRefusedBeforeAnythingIsWritten) {
  save("Kept", {"A   Dn", "50 ms"});
  Entries entries;
  for (int i = 0; i < 63; ++i) entries.insert(entries.end(), {"A   Dn", "10 ms"});
  EXPECT_EQ(save("Full", entries).outcome, MacroSaveOutcome::Saved);  // 63 pairs fit exactly
  EXPECT_EQ(record.macroBlock(1)[127], 0x04);
  const std::string before = iniText();
  const SettingsRecord recordBefore = record;
  entries.insert(entries.end(), {"A   Up", "10 ms"});
  const MacroSaveResult english = save("Kept", entries);
  EXPECT_EQ(english.outcome, MacroSaveOutcome::TooLong);
  EXPECT_NE(english.message.find("needs 64 of the mouse's 63"), std::string::npos) << english.message;
  EXPECT_NE(english.message.find("first 63 of its 64 events"), std::string::npos) << english.message;
  // One long delay takes a second pair: of 63 events, 62 then fit.
  Entries longDelay(entries.begin(), entries.begin() + 2 * 63);
  longDelay[1] = "5000 ms";
  const MacroSaveResult chinese = save("Kept", longDelay, Language::SimplifiedChinese);
  EXPECT_EQ(chinese.outcome, MacroSaveOutcome::TooLong);
  EXPECT_NE(chinese.message.find("此宏需要 64"), std::string::npos) << chinese.message;
  EXPECT_NE(chinese.message.find("只能存下前 62 个事件（共 63 个）"), std::string::npos)
      << chinese.message;
  const MacroSaveResult traditional = save("Kept", longDelay, Language::TraditionalChinese);
  EXPECT_NE(traditional.message.find("此巨集需要 64"), std::string::npos) << traditional.message;
  EXPECT_NE(traditional.message.find("只能存下前 62 個事件（共 63 個）"), std::string::npos)
      << traditional.message;
  EXPECT_EQ(iniText(), before);
  EXPECT_EQ(record, recordBefore);
}

TEST_F(MacroStore, NoNameNothingHappensAndNamesTheStoreCannotKeepAreRefused) {
  EXPECT_EQ(save("", {"A   Dn", "50 ms"}).outcome, MacroSaveOutcome::NothingSelected);
  for (const std::string& name : {std::string("a]b"), std::string(" padded"), std::string("line\nbreak"),
                                  std::string(kProfileValueMax, 'n')})
    EXPECT_EQ(save(name, {"A   Dn"}).outcome, MacroSaveOutcome::NameUnfit) << name;
  EXPECT_TRUE(macroNames(*store, ini).empty());
  EXPECT_TRUE(macroNameFitsStore("宏一"));
  EXPECT_TRUE(macroNameFitsStore(std::string(kProfileValueMax - 1, 'n')));
}

TEST_F(MacroStore, HostileRecordIniIsBoundedToTwelveBlocksAndNeverOverflows) {
  std::string text = "[Dup]\nItemCount=2\nItem0=A   Dn\nItem1=50 ms\n[Dup]\nItemCount=9\n";
  text += "[Huge]\nItemCount=2000000000\nItem0=B   Dn\nItem1=20\n";  // no " ms": still a delay
  text += "[Negative]\nItemCount=-3\n";
  text += "[" + std::string(3000, 'x') + "]\nItemCount=1\nItem0=C   Up\n";
  text += "[Many]\nItemCount=200\n";
  for (int i = 0; i < 200; ++i) text += "Item" + std::to_string(i) + (i % 2 ? "=10 ms\n" : "=D   Dn\n");
  for (int s = 0; s < 10; ++s) text += "[Extra" + std::to_string(s) + "]\nItemCount=1\nItem0=E   Dn\n";
  writeIni(text);
  std::fill(record.bytes.begin() + rec::kReserved0, record.bytes.end(), 0x5A);
  const SettingsRecord before = record;
  rebuildMacroMemory(*store, ini, record);
  EXPECT_EQ(block(0), blockOf({0, 0, 0x05, 0x04}));
  EXPECT_EQ(block(1), blockOf({0, 0, 0x05, 0x04}));  // a duplicate name reads the first section
  EXPECT_EQ(block(2), blockOf({0, 0, 0x02, 0x05}));
  EXPECT_EQ(block(3), Bytes(rec::kMacroBlockSize, 0));
  EXPECT_EQ(block(4), blockOf({0, 0, 0x80, 0x06}));
  Bytes many{0, 0};
  for (int i = 0; i < 63; ++i) many.insert(many.end(), {0x01, 0x07});
  EXPECT_EQ(block(5), many);  // 100 events: the block stops at 63
  EXPECT_EQ(block(11), blockOf({0, 0, 0x00, 0x08}));
  // Sections 13 and on have no block: the rest of the record is untouched.
  EXPECT_TRUE(std::equal(record.bytes.begin() + rec::kReserved0, record.bytes.end(),
                         before.bytes.begin() + rec::kReserved0));
  EXPECT_EQ(readMacroEntries(*store, ini, "Huge").size(), kMacroItemLimit);
}

// Items are found in one pass over the section, with the store's own key matching: ASCII
// case ignored, the first of two equal keys, quotes dropped; "Item01" is not item 1.
TEST_F(MacroStore, ItemsAreMatchedAsTheStoreMatchesKeys) {
  writeIni("[M]\nItemCount=6\nITEM0=A   Dn\nItem01=B   Dn\nitem2=\"50 ms\"\nItem2=C   Dn\n"
           "Item 3=D   Dn\nItem5=A   Up\nItem6=B   Up\n");
  EXPECT_EQ(readMacroEntries(*store, ini, "M"), (Entries{"A   Dn", "", "50 ms", "", "", "A   Up"}));
  rebuildMacroMemory(*store, ini, record);
  EXPECT_EQ(block(0), blockOf({0, 0, 0x00, 0x04, 0x80, 0x04}));  // an empty entry is no delay

  const std::pair<const char*, std::optional<std::size_t>> keys[] = {
      {"Item0", 0},          {"item1023", 1023},  {"ITEM12", 12},   {"Item01", std::nullopt},
      {"Item", std::nullopt}, {"Item-1", std::nullopt}, {"Item1x", std::nullopt},
      {"Iten1", std::nullopt}, {"Item99999999999", std::nullopt}};
  for (const auto& [key, index] : keys) EXPECT_EQ(macroItemIndex(key), index) << key;
}

TEST_F(MacroStore, TenThousandSectionsAreListedAndOnlyTwelveEncoded) {
  std::string text;
  for (int s = 0; s < 10000; ++s) text += "[M" + std::to_string(s) + "]\r\nItemCount=1\r\nItem0=A   Dn\r\n";
  writeIni(text);
  EXPECT_EQ(macroNames(*store, ini).size(), 10000u);
  rebuildMacroMemory(*store, ini, record);
  for (std::size_t t = 0; t < rec::kMacroCount; ++t) EXPECT_EQ(block(t), blockOf({0, 0, 0x00, 0x04})) << t;
}

// record.ini too large to be read whole: the save is refused and said so, nothing is lost.
TEST_F(MacroStore, FileThatCannotBeReadWholeIsNeverRewritten) {
  std::string text = "[Keep]\r\nItemCount=1\r\nItem0=A   Dn\r\n";
  text.resize(kLargestFileRead + 100, ';');
  writeIni(text);
  const SettingsRecord before = record;
  const MacroSaveResult result = save("New", {"B   Dn", "50 ms"}, Language::SimplifiedChinese);
  EXPECT_EQ(result.outcome, MacroSaveOutcome::FileNotSaved);
  EXPECT_NE(result.message.find("record.ini"), std::string::npos) << result.message;
  EXPECT_EQ(result.message, fileNotRewrittenMessage(InterfaceTexts(Language::SimplifiedChinese), "record.ini"));
  EXPECT_FALSE(deleteMacro(*store, ini, "Keep"));
  EXPECT_EQ(iniText(), text);
  EXPECT_EQ(record, before);
}

TEST_F(MacroStore, MissingFileSkipsTheRebuild) {
  setMacroLoopCount(record.macroBlock(0), 9);
  record.macroBlock(0)[2] = 0x44;
  const SettingsRecord before = record;
  rebuildMacroMemory(*store, folder.file("absent.ini"), record);
  EXPECT_EQ(record, before);
}

TEST_F(MacroStore, DeleteRemovesTheSectionButNotTheBlock) {
  save("One", {"A   Dn", "10 ms"});
  save("Two", {"B   Dn", "10 ms"});
  deleteMacro(*store, ini, "One");
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"Two"}));
  EXPECT_EQ(block(0), blockOf({0, 0, 0x01, 0x04}));
}

TEST_F(MacroStore, LoopCountFromTheBoxText) {
  const struct {
    const char* text;
    const char* box;
    std::uint8_t high, low;
  } cases[] = {
      {"1", "1", 0x00, 0x01},   {"300", "300", 0x01, 0x2C}, {"65535", "65535", 0xFF, 0xFF},
      {"0", "1", 0x00, 0x01},   {"70000", "1", 0x00, 0x01}, {"abc", "1", 0x00, 0x01},
      {"", "1", 0x00, 0x01},    {"-4", "1", 0x00, 0x01},    {"12x", "12x", 0x00, 0x0C},
  };
  for (const auto& c : cases) {
    SettingsRecord fresh;
    EXPECT_EQ(setLoopCountFromText(c.text, 3, fresh), c.box) << c.text;
    EXPECT_EQ(fresh.macroBlock(3)[0], c.high) << c.text;
    EXPECT_EQ(fresh.macroBlock(3)[1], c.low) << c.text;
    EXPECT_EQ(loopCountOfMacro(fresh, 3), c.high * 256 + c.low);
  }
  const SettingsRecord before = record;
  EXPECT_EQ(setLoopCountFromText("5", std::nullopt, record), "5");
  EXPECT_EQ(setLoopCountFromText("5", 12, record), "5");  // no block 12
  EXPECT_EQ(record, before);
}

TEST_F(MacroStore, ChineseNamesAndTextsSurviveTheFile) {
  save("宏一", {"A   Dn", "50 ms"});
  save("巨集二", {"B   Dn", "50 ms"});
  EXPECT_EQ(macroNames(*store, ini), (std::vector<std::string>{"宏一", "巨集二"}));
  EXPECT_EQ(block(1), blockOf({0, 0, 0x05, 0x05}));
}

}  // namespace
}  // namespace ombrisk
