// The Advanced page and the skin dialog through the real program with the virtual mouse:
// the pointer settings against the system's, a macro recorded, edited, saved and applied to
// the mouse, and a skin with its text colour chosen or cancelled.
#include <gtest/gtest.h>

#include "e2e/driver/key_editor_steps.h"
#include "e2e/with_mouse.h"

namespace ombrisk::e2e {
namespace {

constexpr POINT kNextPage{80, 74};
constexpr POINT kApply{718, 633};
constexpr POINT kSkinsButton{710, 14};
constexpr POINT kPointerDefault{90, 594};
constexpr POINT kStartRecording{749, 243}, kStopRecording{749, 279};
constexpr POINT kNew{565, 538}, kDelete{669, 538}, kConfirm{773, 538};
constexpr POINT kMouseEventBox{790, 409};
constexpr POINT kDialogOk{218, 263}, kDialogCancel{322, 263};
constexpr RECT kPrecisionBox{51, 255, 67, 271}, kOneScreenBox{51, 405, 67, 421};
constexpr int kMacroList = 151, kEventList = 152, kNameEdit = 150, kLoopEdit = 149, kMouseEventList = 154;
constexpr POINT kModeB{409, 528};
using key_editor::kDelayEdit;
constexpr int kSkinColourBox = 561, kSkinList = 562, kColourChooserRed = 706;

// Graphite's slider cells and tick, and a colour only Ember's page picture has.
constexpr COLORREF kLitCell = RGB(80, 200, 255), kDarkCell = RGB(48, 56, 68);
constexpr COLORREF kEmberPanel = RGB(38, 27, 26), kGraphitePanel = RGB(30, 35, 43);

POINT pointerCell(int row, int position) { return {52 + 24 * (position - 1) + 12, 200 + 150 * (row - 1) + 5}; }

int lightCells(const Capture& picture, int row) {
  int lit = 0;
  for (int position = 1; position <= 11; ++position) {
    const POINT cell = pointerCell(row, position);
    lit += picture.hasColour({cell.x - 1, cell.y - 1, cell.x + 2, cell.y + 2}, kLitCell, 12);
  }
  return lit;
}

class AdvancedPage : public WithMouse {
 protected:
  // Starts the program, shows its window from the tray and turns to the Advanced page.
  void openAdvancedPage() {
    start();
    show();
    click(kNextPage);
    ASSERT_TRUE(waitUntil([&] { return child(kMacroList) != nullptr; })) << "no macro list";
  }

  void click(POINT point) { program->clickClient(point.x, point.y); }
  HWND child(int id) const { return program->child(id); }
  std::vector<std::wstring> entries() const { return listItems(child(kEventList)); }
  // Types name into the name box and presses New.
  void newMacro(const std::wstring& name) {
    ASSERT_TRUE(replaceEditText(child(kNameEdit), name)) << utf8(textOf(child(kNameEdit)));
    click(kNew);
  }
  // Chooses item of the mouse-event list under the mouse-event box.
  void insertMouseEvent(int item) {
    click(kMouseEventBox);
    HWND list = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (list = child(kMouseEventList)) != nullptr; }, 5s));
    const POINT centre = listItemCentre(list, item);
    clickWindow(list, centre.x, centre.y);
    ASSERT_TRUE(waitUntil([&] { return child(kMouseEventList) == nullptr; }, 5s));
  }
};

// The pointer settings change the desktop's, shared by every test: put back afterwards.
class AdvancedPagePointer : public AdvancedPage {
 protected:
  void SetUp() override {
    AdvancedPage::SetUp();
    saved = readPointerSettings();
  }
  void TearDown() override {
    program.reset();
    writePointerSettings(saved);
  }
  PointerSettings saved;
};

TEST_F(AdvancedPagePointer, ReadFromTheSystemAppliedBackAndDefault) {
  PointerSettings system = saved;
  system.mouse[0] = 6, system.mouse[1] = 10, system.mouse[2] = 1;
  system.speed = 10;
  system.wheelLines = WHEEL_PAGESCROLL;
  system.doubleClickMs = 500;
  writePointerSettings(system);
  openAdvancedPage();

  const Capture read = settledCapture();
  EXPECT_EQ(lightCells(read, 1), 6) << "pointer speed 10";
  EXPECT_EQ(lightCells(read, 2), 0) << "one screen per notch";
  EXPECT_EQ(lightCells(read, 3), 6) << "500 ms";
  EXPECT_TRUE(read.hasColour(kPrecisionBox, kLitCell, 12)) << "precision ticked";
  EXPECT_TRUE(read.hasColour(kOneScreenBox, kLitCell, 12)) << "one screen ticked";
  const POINT dark = pointerCell(1, 7);
  EXPECT_TRUE(read.hasColour({dark.x - 1, dark.y - 1, dark.x + 2, dark.y + 2}, kDarkCell, 12));

  // Something else changes the speed; Apply writes the page's 10 back.
  PointerSettings changed = system;
  changed.speed = 4;
  writePointerSettings(changed);
  click(kApply);
  EXPECT_TRUE(waitUntil([] { return readPointerSettings().speed == 10; }, 5s)) << readPointerSettings().speed;
  EXPECT_EQ(readPointerSettings().wheelLines, WHEEL_PAGESCROLL);

  // "Default" writes the system's defaults at once; Apply then writes the sliders' 550 ms.
  click(kPointerDefault);
  EXPECT_TRUE(waitUntil([] { return profileDoubleClickMs() == 500u; }, 5s));
  const Capture defaults = settledCapture();
  EXPECT_EQ(lightCells(defaults, 1), 6);
  EXPECT_EQ(lightCells(defaults, 2), 3);
  EXPECT_FALSE(defaults.hasColour(kOneScreenBox, kLitCell, 12)) << "one screen unticked";
  EXPECT_EQ(readPointerSettings().wheelLines, 3u);
  click(kApply);
  EXPECT_TRUE(waitUntil([] { return profileDoubleClickMs() == 550u; }, 5s)) << profileDoubleClickMs().value_or(0);
  EXPECT_EQ(readPointerSettings().doubleClickMs, 550u);

  // A slider cell: row 2 position 9 sets nine lines at the next Apply.
  const POINT nine = pointerCell(2, 9);
  click(nine);
  click(kApply);
  EXPECT_TRUE(waitUntil([] { return readPointerSettings().wheelLines == 9; }, 5s));
}

TEST_F(AdvancedPage, RecordEditSaveAndApplyAMacro) {
  openAdvancedPage();
  newMacro(L"greet");
  ASSERT_TRUE(waitUntil([&] { return listItems(child(kMacroList)) == std::vector<std::wstring>{L"greet"}; }, 5s));
  EXPECT_EQ(listSelection(child(kMacroList)), 0);

  // Recording: "A" pressed and released, then "B" held (the keyboard repeats it).
  click(kStartRecording);
  EXPECT_EQ(program->answerNextMessage().text, L"Start Recording");
  EXPECT_TRUE(waitUntil([&] { return program->title() == L"Press Ctrl+Break key to stop recording"; }, 5s));
  SetForegroundWindow(program->mainWindow());
  typeKey('A');
  EXPECT_TRUE(waitUntil([&] { return entries().size() == 3; }, 5s));
  EXPECT_EQ(entries(), (std::vector<std::wstring>{L"A   Dn", L"50 ms", L"A   Up"}));
  holdKey('B', 4);
  // Enter is recorded, not taken as "hide the window", and by the name the key editors give
  // it (Wine's keyboard layout calls it "Return"). F13 is a key the mouse cannot play back:
  // it is left out, and Stop says so.
  typeKey(VK_RETURN);
  typeKey(VK_F13);
  EXPECT_TRUE(waitUntil([&] { return entries().size() == 11; }, 5s));
  EXPECT_EQ(entries(), (std::vector<std::wstring>{L"A   Dn", L"50 ms", L"A   Up", L"50 ms", L"B   Dn", L"50 ms", L"B   Up",
                                                  L"50 ms", L"Enter   Dn", L"50 ms", L"Enter   Up"}));
  EXPECT_TRUE(program->windowVisible());
  click(kStopRecording);
  EXPECT_EQ(program->answerNextMessage().text, L"Stop Recording");
  const MessageBoxInfo leftOut = program->answerNextMessage();
  EXPECT_EQ(leftOut.caption, L"Warning");
  EXPECT_EQ(leftOut.text.rfind(L"Keys the mouse cannot play back were not recorded", 0), 0u) << utf8(leftOut.text);
  // A second press further than a double click's reach from the first, whatever the
  // double-click time the pointer tests left.
  click({kStopRecording.x - 10, kStopRecording.y - 10});
  EXPECT_EQ(program->answerNextMessage().text, L"Stop Recording");
  const MessageBoxInfo warning = program->answerNextMessage();
  EXPECT_EQ(warning.caption, L"Warning");
  EXPECT_EQ(warning.text, L"It doesn\u2019t start recording, unnecessary to press Stop key!");

  // The context menu deletes the entry under the pointer: the last three (Enter and its delay).
  for (int i = 0; i < 3; ++i) {
    HWND events = child(kEventList);
    const POINT last = listItemCentre(events, static_cast<int>(entries().size()) - 1);
    moveOverWindow(events, last.x, last.y);
    ASSERT_TRUE(waitUntil([&] { return listSelection(events) == static_cast<int>(entries().size()) - 1; }, 5s));
    const std::size_t before = entries().size();
    clickWindow(events, last.x, last.y, true);
    ASSERT_TRUE(program->waitForMenu(5s));
    ASSERT_TRUE(program->chooseFirstTrayMenuItem());
    ASSERT_TRUE(waitUntil([&] { return entries().size() == before - 1; }, 5s));
  }
  EXPECT_EQ(entries().back(), L"50 ms");

  // A delay through the delay dialog: 300 stays, 10001 becomes "50 ms".
  for (const auto& [typed, expected] : {std::pair{L"300", L"300 ms"}, std::pair{L"10001", L"50 ms"}}) {
    HWND dialog = key_editor::openDelayEditor(*program, child(kEventList), 1);
    ASSERT_TRUE(dialog) << "no delay dialog";
    typeText(typed);
    ASSERT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, kDelayEdit)) == typed; }, 5s));
    clickWindow(dialog, kDialogOk.x, kDialogOk.y);
    ASSERT_TRUE(waitUntil([&] { return entries().at(1) == expected; }, 5s)) << utf8(entries().at(1));
  }
  ASSERT_EQ(entries(), (std::vector<std::wstring>{L"A   Dn", L"50 ms", L"A   Up", L"50 ms", L"B   Dn", L"50 ms",
                                                  L"B   Up", L"50 ms"}));

  // Confirm writes record.ini; Apply gives the mouse the block, played once.
  click(kConfirm);
  const std::wstring recordIni = (install.folder() / L"record.ini").wstring();
  EXPECT_TRUE(waitUntil([&] { return GetPrivateProfileIntW(L"greet", L"ItemCount", 0, recordIni.c_str()) == 8; }, 5s));
  EXPECT_TRUE(waitUntil([&] {
    wchar_t item[64] = {};
    GetPrivateProfileStringW(L"greet", L"Item4", L"", item, 64, recordIni.c_str());
    return std::wstring(item) == L"B   Dn";
  }, 5s));
  click(kApply);
  EXPECT_TRUE(waitUntil([&] {
    const auto block = mouse.macroBlock(0);
    return block && block->rfind("00010504850405058505" "0000", 0) == 0;
  }, 10s)) << mouse.macroBlock(0).value_or("no dump");

  // New: a name differing only in case, then the twelve, then the thirteenth.
  newMacro(L"GREET");
  EXPECT_EQ(program->answerNextMessage().text, L"Macro name already exists");
  // "R-Button Click" on the empty list of a new macro: the four entries.
  newMacro(L"clicks");
  ASSERT_TRUE(waitUntil([&] { return listSelection(child(kMacroList)) == 1; }, 5s));
  insertMouseEvent(1);
  EXPECT_EQ(entries(), (std::vector<std::wstring>{L"R-Button   Dn", L"50 ms", L"R-Button   Up", L"50 ms"}));
  EXPECT_EQ(textOf(child(119)), L"R-Button Click");
  for (int i = 3; i <= 12; ++i) newMacro(L"m" + std::to_wstring(i));
  ASSERT_TRUE(waitUntil([&] { return listItems(child(kMacroList)).size() == 12; }, 5s));
  newMacro(L"thirteen");
  const MessageBoxInfo refused = program->answerNextMessage();
  EXPECT_EQ(refused.caption, L"Warning");
  EXPECT_EQ(refused.text, L"Macro numbers up to 12.");

  // Delete takes the selected macro out of the list and the file.
  const POINT first = listItemCentre(child(kMacroList), 0);
  clickWindow(child(kMacroList), first.x, first.y);
  click(kDelete);
  EXPECT_TRUE(waitUntil([&] { return listItems(child(kMacroList)).size() == 11; }, 5s));
  EXPECT_EQ(GetPrivateProfileIntW(L"greet", L"ItemCount", -1, recordIni.c_str()), -1);
}

// Saving a macro moves it to the end of record.ini and deleting one moves those after it up, so
// macro numbers change; the loop counts and the Macro Key buttons of both key tables stay with
// their macros, also across a restart.
TEST_F(AdvancedPage, LoopCountsAndMacroKeysStayWithTheirMacros) {
  const std::wstring recordIni = (install.folder() / L"record.ini").wstring();
  for (const auto& [name, press] : {std::pair{L"A", L"A   Dn"}, std::pair{L"B", L"B   Dn"}, std::pair{L"C", L"C   Dn"}}) {
    WritePrivateProfileStringW(name, L"ItemCount", L"2", recordIni.c_str());
    WritePrivateProfileStringW(name, L"Item0", press, recordIni.c_str());
    WritePrivateProfileStringW(name, L"Item1", L"50 ms", recordIni.c_str());
  }
  start();
  show();
  // Button 4 of key table A plays B, button 4 of table B plays C.
  const auto giveMacro = [&](int item, const std::wstring& name) {
    HWND dialog = key_editor::chooseEditor(*program, 4, key_editor::kMacroKey, key_editor::kMacroText);
    ASSERT_TRUE(dialog) << "no macro editor";
    HWND list = key_editor::openEditorList(dialog, key_editor::kChoiceBox, key_editor::kMacroList);
    ASSERT_TRUE(list);
    ASSERT_TRUE(key_editor::clickEditorItem(dialog, list, key_editor::kMacroList, item));
    EXPECT_EQ(textOf(GetDlgItem(dialog, key_editor::kMacroText)), name);
    EXPECT_TRUE(key_editor::closeEditor(*program, dialog, kDialogOk));
  };
  giveMacro(1, L"B");
  click(kModeB);
  program->settle();
  giveMacro(2, L"C");
  click(kNextPage);
  ASSERT_TRUE(waitUntil([&] { return listItems(child(kMacroList)).size() == 3; }, 5s));

  const auto select = [&](const std::wstring& name) {
    ASSERT_TRUE(clickListItem(child(kMacroList), name));
    ASSERT_TRUE(waitUntil([&] { return textOf(child(kNameEdit)) == name; }, 5s));
  };
  const auto setLoopTimes = [&](const std::wstring& count) {
    // Into the box, and all of its text selected, as a user's double click does.
    clickWindow(child(kLoopEdit), 20, 7);
    program->settle();
    SendMessageW(child(kLoopEdit), EM_SETSEL, 0, -1);
    typeText(count);
    ASSERT_TRUE(waitUntil([&] { return textOf(child(kLoopEdit)) == count; }, 5s));
  };
  for (const auto& [name, count] : {std::pair{L"A", L"5"}, std::pair{L"B", L"7"}, std::pair{L"C", L"9"}}) {
    select(name);
    setLoopTimes(count);
  }
  // A goes: C shows its own count, and Confirm keeps B's and C's with them.
  select(L"A");
  click(kDelete);
  ASSERT_TRUE(waitUntil([&] { return listItems(child(kMacroList)).size() == 2; }, 5s));
  select(L"C");
  EXPECT_EQ(textOf(child(kLoopEdit)), L"9");
  click(kConfirm);
  program->settle();
  click(kApply);
  // A block: the loop count, then the press after its 50 ms; a macro word: class 9, repeat
  // mode, number + 1.
  const auto blockOf = [](const char* loop, const char* key) { return std::string(loop) + "05" + key + "0000"; };
  const auto macroWord = [](int number) { return "09000" + std::to_string(number + 1) + "00"; };
  const auto button4 = [](const std::string& matrix) { return matrix.substr(4 * 8, 8); };  // entry 3 is word 4
  const auto expectMouse = [&](const std::string& block0, const std::string& block1, int numberA, int numberB) {
    ASSERT_TRUE(program->settle()) << "the Apply did not end";
    const auto first = mouse.macroBlock(0), second = mouse.macroBlock(1);
    ASSERT_TRUE(first && second) << mouse.error();
    EXPECT_EQ(first->substr(0, block0.size()), block0);
    EXPECT_EQ(second->substr(0, block1.size()), block1);
    const auto state = mouse.dump();
    ASSERT_TRUE(state);
    const std::vector<std::string> matrices = state->strings("key_matrices");
    ASSERT_EQ(matrices.size(), 4u);
    EXPECT_EQ(button4(matrices[0]), macroWord(numberA)) << "key table A: the macro number of B";
    EXPECT_EQ(button4(matrices[2]), macroWord(numberB)) << "key table B: the macro number of C";
  };
  expectMouse(blockOf("0007", "05"), blockOf("0009", "06"), 0, 1);

  // After a restart Confirm of B moves it behind C: the buttons follow again.
  program.reset();
  start();
  show();
  click(kNextPage);
  ASSERT_TRUE(waitUntil([&] { return listItems(child(kMacroList)) == std::vector<std::wstring>{L"B", L"C"}; }, 5s));
  select(L"B");
  EXPECT_EQ(textOf(child(kLoopEdit)), L"7");
  click(kConfirm);
  program->settle();
  click(kApply);
  expectMouse(blockOf("0009", "06"), blockOf("0007", "05"), 1, 0);
}

TEST_F(AdvancedPage, SkinDialogChoosesSkinAndColourOrChangesNothing) {
  openAdvancedPage();
  const Capture before = settledCapture();
  EXPECT_TRUE(before.hasColour({40, 540, 420, 580}, kGraphitePanel, 0));
  const DWORD process = program->process().id();

  click(kSkinsButton);
  HWND dialog = waitForDialogWithControl(process, kSkinColourBox, 5s);
  ASSERT_TRUE(dialog) << "no skin dialog";
  clickWindow(dialog, 90, 136);  // the skin box
  HWND list = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (list = GetDlgItem(dialog, kSkinList)) != nullptr; }, 5s));
  EXPECT_EQ(listItems(list).size(), 2u) << "the two skins; files are no skins";
  ASSERT_TRUE(clickListItem(list, L"Ember"));
  EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, 560)) == L"Ember"; }, 5s));
  clickWindow(dialog, 96, 102);  // the colour box
  HWND chooser = waitForDialogWithControl(process, kColourChooserRed, 5s);
  ASSERT_TRUE(chooser) << "no colour chooser";
  ASSERT_TRUE(answerColourChooser(chooser, 255, 128, 0));
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(chooser); }, 5s));
  clickWindow(dialog, kDialogOk.x, kDialogOk.y);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5s));

  const std::wstring strIni = install.strIni().wstring();
  const auto value = [&](const wchar_t* key) {
    wchar_t text[64] = {};
    GetPrivateProfileStringW(L"Skins", key, L"", text, 64, strIni.c_str());
    return std::wstring(text);
  };
  ASSERT_TRUE(waitUntil([&] { return value(L"Path") == L"Ember"; }, 5s)) << utf8(value(L"Path"));
  EXPECT_EQ(value(L"RColor"), L"255");
  EXPECT_EQ(value(L"GColor"), L"128");
  EXPECT_EQ(value(L"BColor"), L"0");
  EXPECT_EQ(value(L"Path"), L"Ember");
  // The page came back in Ember, its macro panel with it.
  EXPECT_TRUE(waitUntil([&] { return child(kMacroList) != nullptr; }, 5s));
  const Capture ember = settledCapture();
  EXPECT_TRUE(ember.hasColour({40, 540, 420, 580}, kEmberPanel, 0)) << "the page in Ember";
  EXPECT_TRUE(ember.hasColour({105, 51, 320, 99}, RGB(255, 128, 0), 40)) << "the title in the new colour";

  // Choosing Graphite and cancelling changes nothing, and leaves none of the dialog's GDI
  // objects behind.
  const auto counts = program->resourceCounts();
  ASSERT_TRUE(counts) << "the program does not tell its GDI objects";
  EXPECT_GT(counts->gdiObjects, 0);
  click(kSkinsButton);
  dialog = waitForDialogWithControl(process, kSkinColourBox, 5s);
  ASSERT_TRUE(dialog);
  clickWindow(dialog, 90, 136);
  ASSERT_TRUE(waitUntil([&] { return (list = GetDlgItem(dialog, kSkinList)) != nullptr; }, 5s));
  ASSERT_TRUE(clickListItem(list, L"Graphite"));
  clickWindow(dialog, kDialogCancel.x, kDialogCancel.y);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5s));
  Sleep(300);
  EXPECT_EQ(value(L"Path"), L"Ember");
  EXPECT_EQ(value(L"RColor"), L"255");
  const Capture after = settledCapture();
  EXPECT_TRUE(after.hasColour({40, 540, 420, 580}, kEmberPanel, 0)) << "the page left Ember";
  EXPECT_FALSE(after.hasColour({40, 540, 420, 580}, kGraphitePanel, 0)) << "the page left Ember";
  EXPECT_TRUE(after.hasColour({105, 51, 320, 99}, RGB(255, 128, 0), 40)) << "the title changed colour";
  EXPECT_EQ(program->resourceCounts().value_or(Program::ResourceCounts{}).gdiObjects, counts->gdiObjects);
}

}  // namespace
}  // namespace ombrisk::e2e
