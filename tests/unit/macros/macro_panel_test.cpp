// The macro panel against a record.ini of its own: the first display, New with its refusals,
// Delete, Confirm, the insertion rules of the mouse events, delays and entry deletion.
#include <gtest/gtest.h>

#include "keys/button_labels.h"
#include "keys/delay_time_dialog.h"
#include "macros/macro_codec.h"
#include "macros/macro_panel.h"
#include "macros/macro_store.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using Entries = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;
using Caption = PanelMessage::Caption;

class MacroPanelTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
  testing::TempFolder folder;
  std::string ini = folder.file("record.ini");
  SettingsRecord record;
  InterfaceTexts texts{Language::English};
  MacroPanel panel{*store, ini, record, texts};

  void writeIni(const std::string& text) { testing::writeBytes(ini, Bytes(text.begin(), text.end())); }
  void addMacro(const std::string& name, std::size_t count = 0) {
    panel.setNameText(name);
    ASSERT_EQ(panel.newMacro(), std::nullopt) << name;
    for (std::size_t i = 0; i < count; ++i) panel.insertMouseEvent(i ? "A" : "L-Button Click");
  }
  Bytes block(std::size_t index) const {
    return Bytes(record.macroBlock(index), record.macroBlock(index) + rec::kMacroBlockSize);
  }
  static Bytes blockOf(Bytes head) {
    head.resize(rec::kMacroBlockSize, 0);
    return head;
  }
};

TEST_F(MacroPanelTest, FirstDisplayShowsTheFirstMacroAndTheLoopRuleRunsOnItsCount) {
  writeIni("[Greet]\nItemCount=2\nItem0=A   Dn\nItem1=50 ms\n[Other]\nItemCount=1\nItem0=B   Up\n");
  setMacroLoopCount(record.macroBlock(1), 7);
  panel.load();
  EXPECT_EQ(panel.macroNames(), (Entries{"Greet", "Other"}));
  EXPECT_EQ(panel.selectedMacro(), 0u);
  EXPECT_EQ(panel.nameText(), "Greet");
  EXPECT_EQ(panel.entries(), (Entries{"A   Dn", "50 ms"}));
  // Block 0's count is 0: the box shows "1" at once and the block stores it.
  EXPECT_EQ(panel.loopText(), "1");
  EXPECT_EQ(macroLoopCount(record.macroBlock(0)), 1);

  panel.selectMacro(1);
  EXPECT_EQ(panel.nameText(), "Other");
  EXPECT_EQ(panel.entries(), (Entries{"B   Up"}));
  EXPECT_EQ(panel.loopText(), "7");
}

TEST_F(MacroPanelTest, NoFileGivesAnEmptyPanelWithLoopOne) {
  panel.load();
  EXPECT_TRUE(panel.macroNames().empty());
  EXPECT_EQ(panel.selectedMacro(), std::nullopt);
  EXPECT_EQ(panel.loopText(), "1");
  EXPECT_EQ(record, SettingsRecord{});
}

TEST_F(MacroPanelTest, LoopTimesBoxKeepsValuesInRangeAndStoresThem) {
  writeIni("[M]\nItemCount=1\nItem0=A   Dn\n");
  panel.load();
  for (const auto& [typed, shown, stored] : {std::tuple{"65535", "65535", 65535}, {"70000", "1", 1}, {"abc", "1", 1},
                                              {"0", "1", 1}, {"12", "12", 12}, {"", "1", 1}}) {
    panel.setLoopText(typed);
    EXPECT_EQ(panel.loopText(), shown) << typed;
    EXPECT_EQ(macroLoopCount(record.macroBlock(0)), stored) << typed;
  }
}

TEST_F(MacroPanelTest, NewRefusesBlankTwelveTakenAndUnstorableNames) {
  panel.load();
  struct Refusal {
    std::string name;
    std::string text;
    Caption caption;
  };
  addMacro("Alpha");
  for (const Refusal& refusal : {Refusal{"", "Macro name is blank", Caption::Application},
                                 {"   ", "Macro name is blank", Caption::Application},
                                 {"ALPHA", "Macro name already exists", Caption::Application},
                                 {"a]b", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {"a=b", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {";note", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {"[x", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {"two\nlines", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {" padded", macroNameUnfitMessage(Language::English), Caption::Warning},
                                 {std::string(1024, 'n'), macroNameUnfitMessage(Language::English), Caption::Warning}}) {
    panel.setNameText(refusal.name);
    EXPECT_EQ(panel.newMacro(), (PanelMessage{refusal.text, refusal.caption})) << refusal.name;
  }
  EXPECT_EQ(panel.macroNames(), (Entries{"Alpha"}));
  for (int i = 2; i <= 12; ++i) addMacro("M" + std::to_string(i));
  panel.setNameText("Thirteenth");
  EXPECT_EQ(panel.newMacro(), (PanelMessage{"Macro numbers up to 12.", Caption::Warning}));
  EXPECT_EQ(panel.macroNames().size(), 12u);
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(ini))) << "New writes nothing";
}

TEST_F(MacroPanelTest, UnstorableNameMessageInTheThreeLanguages) {
  const std::pair<Language, const char*> messages[] = {
      {Language::English,
       "This macro name cannot be stored as it is: a name must not contain \"]\", \"=\" or a line break, must not "
       "begin with \";\" or \"[\", must not begin or end with a blank, and must be shorter than 1024 characters."},
      {Language::SimplifiedChinese,
       "无法按原样保存此宏名称：名称中不能有“]”、“=”或换行，不能以“;”或“[”开头，首尾不能有空格，且须少于 1024 个字符。"},
      {Language::TraditionalChinese,
       "無法按原樣儲存此巨集名稱：名稱中不能有「]」、「=」或換行，不能以「;」或「[」開頭，首尾不能有空格，且須少於 1024 個字元。"},
  };
  for (const auto& [language, text] : messages) {
    const InterfaceTexts languageTexts(language);
    MacroPanel other(*store, ini, record, languageTexts);
    other.setNameText("a=b");
    EXPECT_EQ(other.newMacro(), (PanelMessage{text, Caption::Warning})) << languageCode(language);
  }
}

TEST_F(MacroPanelTest, MouseEventsInsertByTheSelectedEntry) {
  panel.load();
  // Nothing selected and no macro: nothing; the box shows the event all the same.
  panel.insertMouseEvent("R-Button Click");
  EXPECT_TRUE(panel.entries().empty());
  EXPECT_EQ(panel.mouseEventText(), "R-Button Click");

  addMacro("Clicks");
  panel.insertMouseEvent("R-Button Click");
  EXPECT_EQ(panel.entries(), (Entries{"R-Button   Dn", "50 ms", "R-Button   Up", "50 ms"}));
  EXPECT_EQ(panel.selectedEntry(), std::nullopt);
  // A filled list without a selection takes nothing.
  panel.insertMouseEvent("M-Button Click");
  EXPECT_EQ(panel.entries().size(), 4u);

  // After a delay: the events and their delays, the first one selected.
  panel.selectEntry(1);
  panel.insertMouseEvent("L-Button   Dn");
  EXPECT_EQ(panel.entries(), (Entries{"R-Button   Dn", "50 ms", "L-Button   Dn", "50 ms", "R-Button   Up", "50 ms"}));
  EXPECT_EQ(panel.selectedEntry(), 2u);
  // After a key entry: a delay first, the event selected; a click selects its press.
  panel.insertMouseEvent("M-Button Click");
  EXPECT_EQ(panel.entries(), (Entries{"R-Button   Dn", "50 ms", "L-Button   Dn", "50 ms", "M-Button   Dn", "50 ms",
                                      "M-Button   Up", "50 ms", "R-Button   Up", "50 ms"}));
  EXPECT_EQ(panel.selectedEntry(), 4u);
  panel.selectEntry(5);
  panel.insertMouseEvent("L-Button Click");
  EXPECT_EQ(panel.entries()[6], "L-Button   Dn");
  EXPECT_EQ(panel.entries()[8], "L-Button   Up");
  EXPECT_EQ(panel.selectedEntry(), 6u);
  EXPECT_EQ(panel.mouseEventText(), "L-Button Click");
}

TEST_F(MacroPanelTest, KeyEntrySelectedTakesADelayThenTheButton) {
  addMacro("K");
  panel.appendEntries({"A   Dn", "50 ms", "A   Up"});
  panel.selectEntry(0);
  panel.insertMouseEvent("L-Button   Dn");
  EXPECT_EQ(panel.entries(), (Entries{"A   Dn", "50 ms", "L-Button   Dn", "50 ms", "A   Up"}));
  EXPECT_EQ(panel.selectedEntry(), 2u);
}

TEST_F(MacroPanelTest, DelaysFromTheDelayDialogAndEntryDeletion) {
  addMacro("D");
  panel.appendEntries({"A   Dn", "50 ms", "A   Up", "50 ms"});
  for (const auto& [typed, entry] : {std::pair{"10000", "10000 ms"}, {"10001", "50 ms"}, {"0", "0 ms"}, {"-5", "50 ms"},
                                     {"abc", "50 ms"}, {"", "50 ms"}, {" 120", "120 ms"}, {"99999999999999", "50 ms"}}) {
    panel.setDelay(1, typed);
    EXPECT_EQ(panel.entries()[1], entry) << typed;
    EXPECT_EQ(panel.selectedEntry(), 1u);
  }
  EXPECT_EQ(delayTimeFromText("10001").delay, 10001);
  EXPECT_EQ(delayTimeFromText("abc").delay, 0);
  EXPECT_EQ(delayTimeFromText(" -5").text, " -5");
  panel.setDelay(0, "300");  // a key entry takes no delay
  EXPECT_EQ(panel.entries()[0], "A   Dn");
  panel.setDelay(9, "300");  // past the end
  EXPECT_EQ(panel.entries().size(), 4u);

  panel.selectEntry(2);
  panel.deleteSelectedEntry();
  EXPECT_EQ(panel.entries(), (Entries{"A   Dn", "50 ms", "50 ms"}));
  EXPECT_EQ(panel.selectedEntry(), std::nullopt);
  panel.deleteSelectedEntry();  // none selected: nothing
  EXPECT_EQ(panel.entries().size(), 3u);
}

TEST_F(MacroPanelTest, ConfirmSavesAndEncodesWithTheLoopCountOfTheBox) {
  panel.load();
  addMacro("Typed");
  panel.appendEntries({"A   Dn", "50 ms", "A   Up"});
  EXPECT_EQ(panel.save(), std::nullopt);
  EXPECT_EQ(readMacroEntries(*store, ini, "Typed"), (Entries{"A   Dn", "50 ms", "A   Up"}));
  // The box showed "1" (nothing was selected when the rule ran): the new macro plays once.
  EXPECT_EQ(block(0), blockOf({0x00, 0x01, 0x05, 0x04, 0x80, 0x04}));
}

TEST_F(MacroPanelTest, ConfirmKeepsLoopCountsWithTheirMacrosAndTheListInFileOrder) {
  writeIni("[One]\nItemCount=1\nItem0=A   Dn\n[Two]\nItemCount=1\nItem0=B   Dn\n[Three]\nItemCount=1\nItem0=C   Dn\n");
  setMacroLoopCount(record.macroBlock(0), 11);
  setMacroLoopCount(record.macroBlock(1), 22);
  setMacroLoopCount(record.macroBlock(2), 33);
  panel.load();
  EXPECT_EQ(panel.loopText(), "11");
  panel.setLoopText("5");
  panel.appendEntries({"50 ms", "D   Dn"});
  ASSERT_EQ(panel.save(), std::nullopt);
  // "One" moved to the end of the file, and so in the list; the counts went along.
  EXPECT_EQ(macroNames(*store, ini), (Entries{"Two", "Three", "One"}));
  EXPECT_EQ(panel.macroNames(), (Entries{"Two", "Three", "One"}));
  EXPECT_EQ(panel.selectedMacro(), 2u);
  EXPECT_EQ(macroLoopCount(record.macroBlock(0)), 22);
  EXPECT_EQ(macroLoopCount(record.macroBlock(1)), 33);
  EXPECT_EQ(macroLoopCount(record.macroBlock(2)), 5);
  EXPECT_EQ(block(2)[3], 0x04);  // "A" first
  panel.selectMacro(0);
  EXPECT_EQ(panel.loopText(), "22");
}

TEST_F(MacroPanelTest, LoopCountsStayWithTheirMacrosAfterADelete) {
  constexpr const char* kFile =
      "[A]\nItemCount=1\nItem0=A   Dn\n[B]\nItemCount=1\nItem0=B   Dn\n[C]\nItemCount=1\nItem0=C   Dn\n";
  // The blocks as loaded: never encoded (positions tell whose count is whose), or encoded by
  // saves; the panel shown again (or the program restarted) between the delete and the save.
  for (const bool encoded : {false, true})
    for (const bool reloaded : {false, true}) {
      // Never encoded and loaded afresh after the delete, the blocks tell nothing.
      if (!encoded && reloaded) continue;
      SCOPED_TRACE(std::string(encoded ? "encoded" : "never encoded") + (reloaded ? ", reloaded" : ""));
      writeIni(kFile);
      record = SettingsRecord{};
      if (encoded) rebuildMacroMemory(*store, ini, record);
      MacroPanel first{*store, ini, record, texts};
      first.load();
      for (std::size_t m = 0; m < 3; ++m) {
        first.selectMacro(m);
        first.setLoopText(std::to_string(5 + 2 * m));  // A 5, B 7, C 9
      }
      first.selectMacro(0);
      ASSERT_EQ(first.deleteMacro(), std::nullopt);
      MacroPanel second{*store, ini, record, texts};
      MacroPanel& panel = reloaded ? second : first;
      if (reloaded) panel.load();
      panel.selectMacro(0);
      EXPECT_EQ(panel.loopText(), "7");
      panel.selectMacro(1);
      EXPECT_EQ(panel.loopText(), "9");
      ASSERT_EQ(panel.save(), std::nullopt);
      EXPECT_EQ(macroNames(*store, ini), (Entries{"B", "C"}));
      EXPECT_EQ(macroLoopCount(record.macroBlock(0)), 7);
      EXPECT_EQ(macroLoopCount(record.macroBlock(1)), 9);
      EXPECT_EQ(block(0)[3], 0x05);  // B's events
      EXPECT_EQ(block(1)[3], 0x06);  // C's
    }
}

TEST_F(MacroPanelTest, MacroKeyButtonsFollowTheMacrosTheirLabelsName) {
  writeIni("[A]\nItemCount=1\nItem0=A   Dn\n[B]\nItemCount=1\nItem0=B   Dn\n[C]\nItemCount=1\nItem0=C   Dn\n");
  ButtonLabelSet labels;
  const auto macroButton = [&](KeyTableId table, std::size_t entry, std::uint8_t number, const std::string& label) {
    record.key(table, KeyField::Function, entry) = static_cast<std::uint8_t>(KeyFunction::MacroKey);
    record.key(table, KeyField::MacroNumber, entry) = number;
    buttonLabel(labels, table, entry) = label;
  };
  macroButton(KeyTableId::A, 3, 1, "Macro Key-B");
  macroButton(KeyTableId::B, 0, 2, "Macro Key-C");
  macroButton(KeyTableId::B, 6, 0, "Macro Key-Gone");  // names no macro: keeps its number
  buttonLabel(labels, KeyTableId::A, 4) = "Macro Key-A";  // a Single Key entry: not a macro button
  const auto numbers = [&] {
    return std::vector<int>{record.key(KeyTableId::A, KeyField::MacroNumber, 3),
                            record.key(KeyTableId::B, KeyField::MacroNumber, 0),
                            record.key(KeyTableId::B, KeyField::MacroNumber, 6),
                            record.key(KeyTableId::A, KeyField::MacroNumber, 4)};
  };
  MacroPanel withLabels{*store, ini, record, texts, &labels};
  withLabels.load();
  withLabels.selectMacro(1);  // Confirm B: [A][C][B]
  ASSERT_EQ(withLabels.save(), std::nullopt);
  EXPECT_EQ(numbers(), (std::vector<int>{2, 1, 0, 0}));
  withLabels.selectMacro(0);  // Delete A: [C][B], numbered anew at the next save
  ASSERT_EQ(withLabels.deleteMacro(), std::nullopt);
  EXPECT_EQ(numbers(), (std::vector<int>{2, 1, 0, 0}));
  // The program restarted: a panel of its own, Confirm C: [B][C].
  MacroPanel again{*store, ini, record, texts, &labels};
  again.load();
  again.selectMacro(0);
  ASSERT_EQ(again.save(), std::nullopt);
  EXPECT_EQ(macroNames(*store, ini), (Entries{"B", "C"}));
  EXPECT_EQ(numbers(), (std::vector<int>{0, 1, 0, 0}));
  // The labels of the interface language name the macros.
  const InterfaceTexts chinese(Language::SimplifiedChinese);
  buttonLabel(labels, KeyTableId::A, 3) = detailedLabel(chinese, KeyFunction::MacroKey, "B");
  MacroPanel inChinese{*store, ini, record, chinese, &labels};
  inChinese.load();
  inChinese.selectMacro(0);  // Confirm B: [C][B]
  ASSERT_EQ(inChinese.save(), std::nullopt);
  EXPECT_EQ(numbers(), (std::vector<int>{1, 1, 0, 0}));  // "Macro Key-C" is not a Chinese label
}

TEST_F(MacroPanelTest, UnsavedNamesStayAfterTheSavedOnes) {
  writeIni("[Saved]\nItemCount=1\nItem0=A   Dn\n");
  panel.load();
  addMacro("Later");
  addMacro("Now");
  panel.appendEntries({"B   Dn"});
  ASSERT_EQ(panel.save(), std::nullopt);
  EXPECT_EQ(panel.macroNames(), (Entries{"Saved", "Now", "Later"}));
  EXPECT_EQ(panel.selectedMacro(), 1u);
}

TEST_F(MacroPanelTest, ConfirmRefusesAMacroTooLongForItsBlockAndWritesNothing) {
  panel.load();
  addMacro("Long");
  Entries entries;
  for (int i = 0; i < 64; ++i) entries.insert(entries.end(), {"A   Dn", "50 ms"});
  panel.appendEntries(entries);
  const auto message = panel.save();
  ASSERT_TRUE(message);
  EXPECT_EQ(message->caption, Caption::Warning);
  EXPECT_NE(message->text.find("Only the first 63 of its 64 events fit"), std::string::npos) << message->text;
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(ini)));
  EXPECT_EQ(record, SettingsRecord{});
}

TEST_F(MacroPanelTest, DeleteRemovesTheSectionAndLeavesNoSelection) {
  writeIni("[Keep]\nItemCount=1\nItem0=A   Dn\n[Drop]\nItemCount=1\nItem0=B   Dn\n");
  panel.load();
  panel.selectMacro(1);
  panel.deleteMacro();
  EXPECT_EQ(panel.macroNames(), (Entries{"Keep"}));
  EXPECT_EQ(panel.selectedMacro(), std::nullopt);
  EXPECT_TRUE(panel.entries().empty());
  EXPECT_EQ(panel.nameText(), "");
  EXPECT_EQ(macroNames(*store, ini), (Entries{"Keep"}));
  // Without a selection Delete and Confirm do nothing.
  panel.deleteMacro();
  EXPECT_EQ(panel.save(), std::nullopt);
  EXPECT_EQ(macroNames(*store, ini), (Entries{"Keep"}));
}

TEST_F(MacroPanelTest, HostileRecordIniIsShownWithoutOverrun) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "[S" + std::to_string(i) + "]\nItemCount=" + (i % 2 ? "999999999" : "x") + "\n";
  writeIni(text);
  panel.load();
  EXPECT_EQ(panel.macroNames().size(), 300u);
  EXPECT_TRUE(panel.entries().empty());
  panel.selectMacro(299);
  EXPECT_EQ(panel.entries().size(), kMacroItemLimit) << "a count past the limit reads only the limit";
  panel.setLoopText("9");  // no block past the twelfth: nothing stored, nothing overrun
  EXPECT_EQ(panel.loopText(), "9");
  panel.setNameText("New");
  EXPECT_EQ(panel.newMacro(), (PanelMessage{"Macro numbers up to 12.", Caption::Warning}));
}

}  // namespace
}  // namespace ombrisk
