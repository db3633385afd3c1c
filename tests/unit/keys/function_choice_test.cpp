// Giving buttons their functions: the left-button rule, the function list, the DPI side
// list, the Shift pairing, the editors' answers with their labels, and the words the mouse
// then gets.
#include <gtest/gtest.h>

#include "keys/function_choice.h"
#include "keys/key_functions.h"
#include "pages/basic_page_surface.h"

namespace ombrisk {
namespace {

// The function list of button entry at its place on the Basic page.
FunctionListOpening openList(const SettingsRecord& record, const InterfaceTexts& texts, std::size_t entry) {
  return openFunctionList(record, texts, entry, keyDropDown(static_cast<int>(entry)));
}

constexpr auto A = KeyTableId::A;
constexpr auto B = KeyTableId::B;

class FunctionChoice : public ::testing::Test {
 protected:
  explicit FunctionChoice(Language language = Language::English) : texts(language) {
    resetKeyAssignments(context);
  }

  SettingsRecord record;
  ButtonLabelSet labels;
  InterfaceTexts texts;
  KeyChoiceContext context{record, labels, texts};

  void modeB() { record[rec::kKeyTableSelector] = 1; }
  int function(KeyTableId table, std::size_t entry) const { return record.key(table, KeyField::Function, entry); }
  const std::string& label(KeyTableId table, std::size_t entry) const { return buttonLabel(labels, table, entry); }
  // The word of entry in the matrix of table after the matrices are built for Apply.
  std::uint32_t word(KeyTableId table, std::size_t entry) const {
    DeviceImage device;
    buildKeyMatrices(record, device);
    return device.keyMatrices[table == A ? 0 : 2][wordIndexOfEntry(entry)];
  }
  KeyChoiceStep choose(std::size_t entry, std::optional<int> position) {
    return chooseKeyFunction(context, entry, position);
  }
  // Chooses a function with an editor and answers for the editor.
  KeyChoiceStep chooseWithEditor(std::size_t entry, int position, const EditorAnswer& answer) {
    const KeyChoiceStep step = choose(entry, position);
    if (!std::holds_alternative<RunEditor>(step)) return step;
    return finishKeyEditor(context, entry, answer);
  }
  bool opens(std::size_t entry) const {
    return std::holds_alternative<FunctionListToOpen>(openList(record, texts, entry));
  }
};

const KeyChoiceStep kChanged = CloseList{true, std::nullopt};
const KeyChoiceStep kUnchanged = CloseList{false, std::nullopt};

TEST_F(FunctionChoice, TheLastLeftClickOfTheCurrentTableCannotBeReplaced) {
  const FunctionListOpening refused = openList(record, texts, 0);
  ASSERT_TRUE(std::holds_alternative<MessageToShow>(refused));
  EXPECT_EQ(std::get<MessageToShow>(refused), (MessageToShow{"Left key must be selected!", "Warning"}));
  EXPECT_TRUE(opens(1));
  // Once button 2 is a left button too, button 1's list opens.
  EXPECT_EQ(choose(1, 0), kChanged);
  EXPECT_TRUE(opens(0));
  // Table B still has button 1 as its only left button.
  modeB();
  EXPECT_FALSE(opens(0));
  const InterfaceTexts traditional(Language::TraditionalChinese);
  EXPECT_EQ(std::get<MessageToShow>(openList(record, traditional, 0)).text, "左鍵功能必須選擇！");
  // A left button among buttons 8..12 counts as well.
  record.key(B, KeyField::Function, 11) = 0;
  EXPECT_TRUE(opens(0));
}

TEST_F(FunctionChoice, TheListHoldsTheSixteenTextsInValueOrderUnderItsBox) {
  const InterfaceTexts simplified(Language::SimplifiedChinese);
  const auto list = std::get<FunctionListToOpen>(openList(record, simplified, 3));
  ASSERT_EQ(list.items.size(), 16u);
  EXPECT_EQ(list.items[0], "左键");
  EXPECT_EQ(list.items[6], "DPI切换");
  EXPECT_EQ(list.items[7], "RGB打开/关闭");  // not Shift, which the text table lists here
  EXPECT_EQ(list.items[13], "宏");
  EXPECT_EQ(list.items[14], "Shift");
  EXPECT_EQ(list.items[15], "按键关闭");
  EXPECT_EQ(list.geometry.listId, 44);
  EXPECT_EQ(list.geometry.box, (Region{252, 268, 463, 289}));
  EXPECT_EQ(list.geometry.list, (Region{252, 290, 463, 560}));
}

TEST_F(FunctionChoice, FunctionsWithoutParametersTakeTheirListTextAsLabel) {
  struct Case {
    int position;
    const char* label;
    std::uint32_t word;
  };
  const Case cases[] = {
      {0, "Left Click", 0x00F00001}, {1, "Right Click", 0x00F10001}, {2, "Mid Click", 0x00F20001},
      {3, "Forward", 0x00F40001},    {4, "Backward", 0x00F30001},    {5, "Triple-click", 0x0322F00A},
      {7, "RGB On/Off", 0x00030008}, {15, "Key Off", 0x00000000},
  };
  modeB();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // Button 4, whose word is the fifth of the matrix.
    EXPECT_EQ(choose(3, c.position), kChanged);
    EXPECT_EQ(function(B, 3), c.position);
    EXPECT_EQ(label(B, 3), c.label);
    EXPECT_EQ(word(B, 3), c.word);
    // Mode B edits table B only.
    EXPECT_EQ(function(A, 3), 3);
    EXPECT_EQ(label(A, 3), "Forward");
  }
}

TEST_F(FunctionChoice, NoSelectionAndDpiSwitchKeepTheListOpenAndChangeNothing) {
  const SettingsRecord before = record;
  const ButtonLabelSet labelsBefore = labels;
  EXPECT_EQ(choose(2, std::nullopt), KeyChoiceStep{KeepListOpen{}});
  EXPECT_EQ(choose(2, 6), KeyChoiceStep{KeepListOpen{}});
  EXPECT_EQ(chooseDpiAction(context, 2, std::nullopt), KeyChoiceStep{KeepListOpen{}});
  EXPECT_EQ(record, before);
  EXPECT_EQ(labels, labelsBefore);
}

TEST_F(FunctionChoice, TheDpiSideListOpensBesideTheDpiSwitchItem) {
  EXPECT_EQ(dpiSideListOnHover(6, false), DpiSideListChange::Open);
  EXPECT_EQ(dpiSideListOnHover(6, true), DpiSideListChange::None);
  EXPECT_EQ(dpiSideListOnHover(7, true), DpiSideListChange::Close);
  EXPECT_EQ(dpiSideListOnHover(-1, true), DpiSideListChange::Close);
  EXPECT_EQ(dpiSideListOnHover(5, false), DpiSideListChange::None);
  // Button 1's list; items 16 pixels high, 209 wide inside its border.
  EXPECT_EQ(dpiActionListRegion({252, 221, 463, 491}, {0, 96, 209, 112}), (Region{461, 317, 521, 397}));
  EXPECT_EQ(dpiActionItems(), (std::vector<std::string>{"DPI +", "DPI -", "DPI Loop", "Shift DPI"}));
}

TEST_F(FunctionChoice, ADpiActionSetsDpiSwitchWithItsLabel) {
  struct Case {
    int position;
    const char* label;
    std::uint32_t word;
  };
  const Case cases[] = {{0, "DPI +", 0x00010007},
                        {1, "DPI -", 0x00020007},
                        {2, "DPI Loop", 0x00030007},
                        {3, "Shift DPI", 0x01040007}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(chooseDpiAction(context, 4, c.position), kChanged);
    EXPECT_EQ(function(A, 4), 6);
    EXPECT_EQ(record.dpiAction(A, 4), c.position + 1);
    EXPECT_EQ(label(A, 4), c.label);
    EXPECT_EQ(word(A, 4), c.word);
    EXPECT_EQ(function(B, 4), 4);
  }
}

TEST_F(FunctionChoice, FunctionsWithParametersRunTheirEditor) {
  const SettingsRecord before = record;
  const std::pair<int, EditorDialog> editors[] = {
      {8, EditorDialog::Windows},   {9, EditorDialog::Media}, {10, EditorDialog::FireKey},
      {11, EditorDialog::Single},   {12, EditorDialog::Combo}, {13, EditorDialog::Macro},
  };
  for (const auto& [position, dialog] : editors) EXPECT_EQ(choose(5, position), KeyChoiceStep{RunEditor{dialog}});
  EXPECT_EQ(record, before);
}

TEST_F(FunctionChoice, EditorAnswersSetTheFieldsAndTheLabel) {
  struct Case {
    int position;
    EditorAnswer answer;
    const char* label;
    std::uint32_t word;
  };
  const Case cases[] = {
      {8, WindowsChoice{{2, "Calculator"}}, "Calculator", 0x01920003},
      {8, WindowsChoice{{10, "Browser-My Favorites"}}, "Browser-My Favorites", 0x022A0003},
      {9, MediaChoice{{5, "Vol+"}}, "Multimedia-Vol+", 0x00E90003},
      {10, FireKeyChoice{}, "Fire Key-A", 0x0120040A},
      {10, FireKeyChoice{55, "R-Button", 5, 0}, "Fire Key-R-Button", 0x0005F10A},
      {11, SingleKeyChoice{"A"}, "Single Key-A", 0x00040000},
      {11, SingleKeyChoice{"Right Ctrl"}, "Single Key-Right Ctrl", 0x00E40000},
      {11, SingleKeyChoice{""}, "Single Key-", 0x00000000},
      {12, ComboKeyChoice{"Left Ctrl", "C", ""}, "Combo Key-Left Ctrl+C", 0x00060100},
      {12, ComboKeyChoice{"", "A", "B"}, "Combo Key-A+B", 0x05040000},
      {12, ComboKeyChoice{"Right Win", "", "Tab"}, "Combo Key-Right Win+Tab", 0x2B008000},
      {12, ComboKeyChoice{}, "Combo Key-", 0x00000000},
      {13, MacroKeyChoice{2, "Boss", 3}, "Macro Key-Boss", 0x00030209},
      {13, MacroKeyChoice{}, "Macro Key-", 0x00010009},
      // Keys the tables do not know are sent as nothing, but the label names them.
      {11, SingleKeyChoice{"Strg"}, "Single Key-Strg", 0x00000000},
      {12, ComboKeyChoice{"Left Shift", "Entf", "A"}, "Combo Key-Left Shift+Entf+A", 0x04000200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // Button 5, whose word is the fourth of the matrix.
    EXPECT_EQ(chooseWithEditor(4, c.position, c.answer), kChanged);
    EXPECT_EQ(function(A, 4), c.position);
    EXPECT_EQ(label(A, 4), c.label);
    EXPECT_EQ(word(A, 4), c.word);
    EXPECT_EQ(function(B, 4), 4);
    EXPECT_EQ(label(B, 4), "Backward");
  }
  // The list positions are kept beside the codes.
  chooseWithEditor(6, 10, FireKeyChoice{55, "R-Button", 5, 0});
  EXPECT_EQ(record.key(A, KeyField::FireIndex, 6), 55);
  chooseWithEditor(6, 8, WindowsChoice{{10, "Browser-My Favorites"}});
  EXPECT_EQ(record.key(A, KeyField::WindowsIndex, 6), 10);
  chooseWithEditor(6, 9, MediaChoice{{6, "Vol-"}});
  EXPECT_EQ(record.key(A, KeyField::MediaIndex, 6), 6);
}

class FunctionChoiceInChinese : public FunctionChoice {
 protected:
  FunctionChoiceInChinese() : FunctionChoice(Language::SimplifiedChinese) {}
};

TEST_F(FunctionChoiceInChinese, LabelsUseTheLanguagesFunctionTexts) {
  chooseWithEditor(3, 9, MediaChoice{{5, "音量+"}});
  EXPECT_EQ(label(A, 3), "多媒体-音量+");
  chooseWithEditor(3, 8, WindowsChoice{{10, "浏览器-收藏夹"}});
  EXPECT_EQ(label(A, 3), "浏览器-收藏夹");
  chooseWithEditor(3, 12, ComboKeyChoice{"Left Ctrl", "C", ""});
  EXPECT_EQ(label(A, 3), "组合键-Left Ctrl+C");
  chooseWithEditor(3, 13, MacroKeyChoice{0, "连招", 2});
  EXPECT_EQ(label(A, 3), "宏-连招");
  EXPECT_EQ(choose(3, 2), kChanged);
  EXPECT_EQ(label(A, 3), "中键");
  resetKeyAssignments(context);
  EXPECT_EQ(label(A, 0), "左键");
}

TEST_F(FunctionChoice, ACancelledEditorChangesNothing) {
  chooseWithEditor(3, 11, SingleKeyChoice{"A"});
  const SettingsRecord before = record;
  const ButtonLabelSet labelsBefore = labels;
  for (const int position : {8, 9, 10, 11, 12, 13}) {
    ASSERT_TRUE(std::holds_alternative<RunEditor>(choose(3, position)));
    EXPECT_EQ(finishKeyEditor(context, 3, std::nullopt), (CloseList{false, std::nullopt}));
  }
  EXPECT_EQ(record, before);
  EXPECT_EQ(labels, labelsBefore);
  EXPECT_EQ(label(A, 3), "Single Key-A");
}

TEST_F(FunctionChoice, ShiftIsOneButtonOfBothTables) {
  EXPECT_EQ(choose(2, 14), kChanged);
  for (const KeyTableId table : {A, B}) {
    EXPECT_EQ(function(table, 2), 14);
    EXPECT_EQ(label(table, 2), "Shift");
    EXPECT_EQ(word(table, 2), 0x00020008u);
  }
  // A second Shift, or the same one again: the list closes and nothing changes.
  const SettingsRecord before = record;
  EXPECT_EQ(choose(5, 14), kUnchanged);
  EXPECT_EQ(choose(2, 14), kUnchanged);
  modeB();
  EXPECT_EQ(choose(6, 14), kUnchanged);
  record[rec::kKeyTableSelector] = 0;
  EXPECT_EQ(record, before);

  // Giving the Shift button another function, from either table, gives it to both, with the
  // parameters, so that both tables send what their labels say.
  modeB();
  EXPECT_EQ(chooseWithEditor(2, 11, SingleKeyChoice{"A"}), kChanged);
  for (const KeyTableId table : {A, B}) {
    EXPECT_EQ(function(table, 2), 11);
    EXPECT_EQ(label(table, 2), "Single Key-A");
    EXPECT_EQ(word(table, 2), 0x00040000u);
  }
  // No longer a Shift button: the next choice is table B's alone.
  EXPECT_EQ(choose(2, 1), kChanged);
  EXPECT_EQ(function(B, 2), 1);
  EXPECT_EQ(function(A, 2), 11);
}

TEST_F(FunctionChoice, AShiftButtonGivenADpiActionKeepsBothTablesAlike) {
  choose(2, 14);
  EXPECT_EQ(chooseDpiAction(context, 2, 2), kChanged);
  for (const KeyTableId table : {A, B}) {
    EXPECT_EQ(function(table, 2), 6);
    EXPECT_EQ(label(table, 2), "DPI Loop");
    EXPECT_EQ(word(table, 2), 0x00030007u);
  }
}

TEST_F(FunctionChoice, ShiftNeverTakesTheOtherTablesLastLeftClick) {
  // Table A has two left buttons, table B one: button 1 may leave table A but not table B.
  choose(1, 0);
  EXPECT_TRUE(opens(0));
  const SettingsRecord before = record;
  EXPECT_EQ(choose(0, 14), (KeyChoiceStep{CloseList{false, MessageToShow{"Left key must be selected!", "Warning"}}}));
  EXPECT_EQ(record, before);
  // Any other function is table A's own and may replace it.
  EXPECT_EQ(choose(0, 2), kChanged);
  EXPECT_EQ(function(B, 0), 0);
}

TEST_F(FunctionChoice, FactoryAssignmentsInBothTables) {
  choose(4, 14);
  chooseWithEditor(3, 11, SingleKeyChoice{"A"});
  resetKeyAssignments(context);
  const std::vector<std::string> expected = {"Left Click", "Right Click", "Mid Click", "Forward",
                                             "Backward",   "DPI +",       "DPI -",     "Key Off",
                                             "Key Off",    "Key Off",     "Key Off",   "Key Off"};
  const std::array<std::uint32_t, 8> words = {0x00F00001, 0x00F10001, 0x00F20001, 0x00F40001,
                                              0x00F30001, 0x00010007, 0x00020007, 0};
  for (const KeyTableId table : {A, B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      EXPECT_EQ(label(table, entry), expected[entry]);
      if (entry < words.size()) EXPECT_EQ(word(table, entry), words[entry]) << entry;
    }
  const InterfaceTexts traditionalTexts(Language::TraditionalChinese);
  ButtonLabelSet traditional;
  KeyChoiceContext traditionalContext{record, traditional, traditionalTexts};
  resetKeyAssignments(traditionalContext);
  EXPECT_EQ(traditional[4], "後退方向鍵");
  EXPECT_EQ(traditional[kButtonCount + 6], "DPI -");
  EXPECT_EQ(traditional[kButtonCount + 11], "按鍵關閉");
}

TEST_F(FunctionChoice, ButtonsOutsideTheTableAreProgrammingErrors) {
  EXPECT_THROW(openFunctionList(record, texts, 7, keyDropDown(6)), std::out_of_range);
  EXPECT_THROW(choose(12, 0), std::out_of_range);
  EXPECT_THROW(buttonLabel(labels, B, 12), std::out_of_range);
}

}  // namespace
}  // namespace ombrisk
