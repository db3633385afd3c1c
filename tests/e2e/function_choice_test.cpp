// Giving the buttons their functions through the real program: the function lists under the
// key boxes, the DPI side list, the six editors worked with real clicks and key presses, both
// key tables; then Apply, and the key matrices the virtual mouse holds and the labels in
// str.ini. Steps that build on each other share one running program.
#include <gtest/gtest.h>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/key_editor_steps.h"
#include "e2e/with_mouse.h"

namespace ombrisk::e2e {
namespace {

using namespace basic_page;
using namespace key_editor;

constexpr POINT kModeA{305, 528}, kModeB{409, 528};
// The key boxes' labels, and the whole column of boxes.
constexpr RECT kKeyBoxes{252, 199, 463, 359};
RECT labelArea(int k) { return {272, 199 + 23 * (k - 1), 439, 220 + 23 * (k - 1)}; }

// A key matrix as vmouse dumps it: the words of entries 0..7 as hex (wire order), then the
// zero words 8..13 and the fixed words 14 and 15.
std::string matrix(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += word;
  return out + std::string(6 * 8, '0') + "0100f700" "0100f800";
}

bool sameArea(const Capture& a, const Capture& b, RECT area) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (a.at(x, y) != b.at(x, y)) return false;
  return true;
}

class FunctionChoiceJourney : public WithMouse {
 protected:
  void click(POINT p) {
    program->clickClient(p.x, p.y);
    EXPECT_TRUE(program->settle());
  }
  HWND functionList(int k) const { return key_editor::functionList(*program, k); }
  bool openList(int k) { return openFunctionList(*program, k); }
  // A second press on box k, out of a double click's reach of the press that opened its list
  // (the window takes a quick second press at the same spot for a double click).
  void pressBoxAgain(int k) { click({keyBox(k).x + 40, keyBox(k).y}); }
  void chooseFunction(int k, int item) {
    ASSERT_TRUE(key_editor::chooseFunction(*program, k, item)) << "no function list for button " << k;
  }
  HWND chooseEditor(int k, int item, int childId) {
    HWND dialog = key_editor::chooseEditor(*program, k, item, childId);
    EXPECT_TRUE(dialog) << "no editor for function " << item << " of button " << k;
    return dialog;
  }
  void closeEditor(HWND dialog, POINT button) {
    EXPECT_TRUE(key_editor::closeEditor(*program, dialog, button)) << "the editor stays";
  }
  // Opens an editor's drop-down list by its box and chooses item in it.
  static void chooseInEditor(HWND dialog, POINT box, int listId, int index) {
    HWND list = openEditorList(dialog, box, listId);
    ASSERT_TRUE(list) << "list " << listId;
    EXPECT_TRUE(clickEditorItem(dialog, list, listId, index)) << "the choice closes it";
  }
  // Single Key on button k by pressing virtualKey: the editor names it and stays until OK.
  void giveSingleKey(int k, WORD virtualKey, const std::wstring& name, bool extended = false) {
    HWND dialog = chooseEditor(k, kSingleKey, kSingleKeyName);
    ASSERT_TRUE(dialog);
    typeKey(virtualKey, extended);
    EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, kSingleKeyName)) == name; }, 5s)) << utf8(name);
    EXPECT_TRUE(IsWindow(dialog)) << "the key does not end the editor";
    closeEditor(dialog, kDialogOk);
  }
  // A function whose editor offers one list (textId shows the choice): item index, then OK.
  // Gives the editor before OK, for more to do in it, when keepOpen.
  HWND giveListChoice(int k, int function, int textId, int listId, int index, const std::wstring& name,
                      bool keepOpen = false) {
    HWND dialog = chooseEditor(k, function, textId);
    if (!dialog) return nullptr;
    chooseInEditor(dialog, kChoiceBox, listId, index);
    EXPECT_EQ(textOf(GetDlgItem(dialog, textId)), name);
    if (!keepOpen) closeEditor(dialog, kDialogOk);
    return dialog;
  }
  HWND pointAtDpiSwitch(int k) { return key_editor::pointAtDpiSwitch(*program, k); }
  std::wstring label(const wchar_t* section, const wchar_t* key) {
    wchar_t text[256] = {};
    GetPrivateProfileStringW(section, key, L"", text, ARRAYSIZE(text), install.strIni().c_str());
    return text;
  }
  MouseState dump() {
    const auto state = mouse.dump();
    EXPECT_TRUE(state) << mouse.error();
    return state.value_or(MouseState{});
  }
  // Two macros in record.ini for the macro editor's list.
  void installMacros() {
    const std::wstring file = (install.folder() / L"record.ini").wstring();
    for (const wchar_t* name : {L"Reload", L"Sprint"}) WritePrivateProfileStringW(name, L"ItemCount", L"0", file.c_str());
  }
};

TEST_F(FunctionChoiceJourney, EveryKindOfFunctionReachesBothKeyMatrices) {
  installMacros();
  start();
  show();
  click(kKeyDefault);  // button 1 is now table A's only Left Click
  {
    SCOPED_TRACE("the left button: refused while button 1 holds the table's only Left Click");
    program->clickClient(keyBox(1).x, keyBox(1).y);
    const MessageBoxInfo box = program->answerNextMessage();
    EXPECT_EQ(box.caption, L"Warning");
    EXPECT_EQ(box.text, L"Left key must be selected!");
    EXPECT_EQ(functionList(1), nullptr);
    chooseFunction(2, kLeftClick);
    EXPECT_TRUE(waitUntil([&] { return functionList(2) == nullptr; }, 5s)) << "the choice closes the list";
    ASSERT_TRUE(openList(1)) << "with a second Left Click button 1's list opens";
    EXPECT_EQ(listItems(functionList(1)).size(), 16u);
    EXPECT_EQ(listItems(functionList(1))[kMacroKey], L"Macro Key");
  }
  {
    SCOPED_TRACE("one list at a time; the selection follows the pointer");
    pressBoxAgain(1);
    EXPECT_EQ(functionList(1), nullptr) << "a second press on the box closes it";
    ASSERT_TRUE(openList(3));
    EXPECT_TRUE(restPointerUntil(functionList(3), listItemCentre(functionList(3), 4),
                                 [&] { return listSelection(functionList(3)) == 4; }));
    EXPECT_EQ(program->child(kDpiActionList), nullptr);
    // The open list covers the boxes below its own; box 1 above it stays in reach.
    ASSERT_TRUE(openList(1));
    EXPECT_EQ(functionList(3), nullptr);
    pressBoxAgain(1);
    EXPECT_EQ(functionList(1), nullptr);
  }
  {
    SCOPED_TRACE("Fire Key on button 1: R-Button, speed 3 typed becomes 5");
    HWND dialog = chooseEditor(1, kFireKey, kFireKeyText);
    ASSERT_TRUE(dialog);
    chooseInEditor(dialog, kUpperBox, kFireKeyList, 55);
    EXPECT_EQ(textOf(GetDlgItem(dialog, kFireKeyText)), L"R-Button");
    EXPECT_TRUE(replaceEditText(GetDlgItem(dialog, kSpeedEdit), L"3"));
    clickWindow(GetDlgItem(dialog, kTimesEdit), 20, 7);  // the speed edit loses the focus
    EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, kSpeedEdit)) == L"5"; }, 5s));
    closeEditor(dialog, kDialogOk);
    EXPECT_EQ(functionList(1), nullptr);
  }
  {
    SCOPED_TRACE("Single Key on button 4 by pressing Enter, which does not end the editor");
    const Capture before = settledCapture();
    giveSingleKey(4, VK_RETURN, L"Enter");
    EXPECT_FALSE(sameArea(before, settledCapture(), labelArea(4))) << "the box shows its new label";
  }
  {
    SCOPED_TRACE("Combo Key on button 5: Left Ctrl + C");
    HWND dialog = chooseEditor(5, kComboKey, kComboModifier);
    ASSERT_TRUE(dialog);
    chooseInEditor(dialog, kUpperBox, kComboModifierList, 0);
    clickWindow(GetDlgItem(dialog, kComboKey1), 20, 7);
    typeKey('C');
    EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(dialog, kComboKey1)) == L"C"; }, 5s));
    closeEditor(dialog, kDialogOk);
  }
  {
    SCOPED_TRACE("Multimedia Vol+ on button 6, Windows Browser-My Favorites on button 7");
    EXPECT_TRUE(giveListChoice(6, kMultimedia, kMediaText, kMediaList, 5, L"Vol+"));
    EXPECT_TRUE(giveListChoice(7, kWindows, kWindowsText, kWindowsList, 10, L"Browser-My Favorites"));
  }
  {
    SCOPED_TRACE("Shift on button 3 in Mode A: both tables");
    chooseFunction(3, kShift);
    EXPECT_TRUE(waitUntil([&] { return functionList(3) == nullptr; }, 5s));
  }
  click(kModeB);
  {
    SCOPED_TRACE("Mode B: Single Key on the Shift button 3 by the letter Q changes both tables");
    giveSingleKey(3, 'Q', L"Q");
  }
  {
    SCOPED_TRACE("Mode B: the right Ctrl key on button 6");
    giveSingleKey(6, VK_RCONTROL, L"Right Ctrl", true);
  }
  {
    SCOPED_TRACE("Mode B: Macro Key on button 2, the second macro in the second repeat mode");
    HWND dialog = giveListChoice(2, kMacroKey, kMacroText, kMacroList, 1, L"Sprint", true);
    ASSERT_TRUE(dialog);
    clickWindow(dialog, kSecondRepeatMode.x, kSecondRepeatMode.y);
    program->settle();
    closeEditor(dialog, kDialogOk);
  }
  {
    SCOPED_TRACE("Mode B: DPI - on button 4 through the side list beside DPI Switch");
    ASSERT_TRUE(openList(4));
    HWND side = pointAtDpiSwitch(4);
    ASSERT_TRUE(side) << "no side list while the pointer is on DPI Switch";
    RECT item{}, sideRect{};
    SendMessageW(functionList(4), LB_GETITEMRECT, kDpiSwitch, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(functionList(4), nullptr, reinterpret_cast<POINT*>(&item), 2);
    GetWindowRect(side, &sideRect);
    EXPECT_EQ(sideRect.left, item.right);
    EXPECT_EQ(sideRect.top, item.top);
    RECT lastAction{}, sideClient{};
    SendMessageW(side, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&lastAction));
    GetClientRect(side, &sideClient);
    EXPECT_LE(lastAction.bottom, sideClient.bottom) << "all four actions shown";
    EXPECT_LE(sideRect.bottom - sideRect.top, 80);
    EXPECT_EQ(listItems(side), (std::vector<std::wstring>{L"DPI +", L"DPI -", L"DPI Loop", L"Shift DPI"}));
    // Elsewhere in the list the side list goes; back on DPI Switch it comes again.
    EXPECT_TRUE(restPointerUntil(functionList(4), listItemCentre(functionList(4), 2),
                                 [&] { return program->child(kDpiActionList) == nullptr; }));
    // A click on DPI Switch itself chooses nothing: the list stays.
    ASSERT_TRUE(program->chooseListItem(44, kDpiSwitch));
    EXPECT_TRUE(program->settle());
    EXPECT_NE(functionList(4), nullptr);
    side = pointAtDpiSwitch(4);
    ASSERT_TRUE(side);
    ASSERT_TRUE(program->chooseListItem(kDpiActionList, 1));
    EXPECT_TRUE(waitUntil([&] { return functionList(4) == nullptr && program->child(kDpiActionList) == nullptr; },
                          5s));
  }
  {
    SCOPED_TRACE("Mode B: a cancelled editor on button 5 changes nothing; RGB On/Off on button 7");
    const Capture before = settledCapture();
    HWND dialog = chooseEditor(5, kComboKey, kComboModifier);
    ASSERT_TRUE(dialog);
    clickWindow(GetDlgItem(dialog, kComboKey1), 20, 7);
    typeKey('X');
    closeEditor(dialog, kDialogCancel);
    EXPECT_EQ(functionList(5), nullptr);
    EXPECT_TRUE(sameArea(before, settledCapture(), kKeyBoxes)) << "every box as it was";
    chooseFunction(7, kRgbOnOff);
  }
  {
    SCOPED_TRACE("Apply: both key matrices and the labels");
    click(kApply);
    const MouseState state = dump();
    const std::vector<std::string> matrices = state.strings("key_matrices");
    ASSERT_EQ(matrices.size(), 4u);
    // Entries 4 and 5 trade places in the matrix.
    EXPECT_EQ(matrices[0], matrix({"0af10501", "0100f000", "00001400", "00010600", "00002800", "0300e900",
                                   "03002a02", "00000000"}));
    EXPECT_EQ(matrices[2], matrix({"0100f000", "09010200", "00001400", "0100f300", "07000200", "0000e400",
                                   "08000300", "00000000"}));
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> labels = {
        {L"Item1", L"Fire Key-R-Button"},       {L"Item2", L"Left Click"},
        {L"Item3", L"Single Key-Q"},            {L"Item4", L"Single Key-Enter"},
        {L"Item5", L"Combo Key-Left Ctrl+C"},   {L"Item6", L"Multimedia-Vol+"},
        {L"Item7", L"Browser-My Favorites"},    {L"Item13", L"Left Click"},
        {L"Item23", L"Macro Key-Sprint"},       {L"Item33", L"Single Key-Q"},
        {L"Item43", L"DPI -"},                  {L"Item53", L"Backward"},
        {L"Item63", L"Single Key-Right Ctrl"},  {L"Item73", L"RGB On/Off"},
    };
    for (const auto& [key, expected] : labels) EXPECT_EQ(label(L"Setting-EN", key), expected) << utf8(key);
  }
  {
    SCOPED_TRACE("Mode B's button 1 is table B's only Left Click: refused there too");
    program->clickClient(keyBox(1).x, keyBox(1).y);
    EXPECT_EQ(program->answerNextMessage().text, L"Left key must be selected!");
    EXPECT_EQ(functionList(1), nullptr);
  }
}

TEST_F(FunctionChoiceJourney, ChineseLabelsSurviveARestart) {
  install.setLanguage(L"CHS");
  start();
  show();
  click(kKeyDefault);
  giveSingleKey(4, 'A', L"A");
  EXPECT_TRUE(giveListChoice(5, kWindows, kWindowsText, kWindowsList, 10, L"浏览器-收藏夹"));
  click(kApply);
  EXPECT_EQ(label(L"Setting-CHS", L"Item4"), L"单键-A");
  EXPECT_EQ(label(L"Setting-CHS", L"Item5"), L"浏览器-收藏夹");
  EXPECT_EQ(label(L"Setting-CHS", L"Item1"), L"左键");
  EXPECT_EQ(dump().strings("key_matrices").at(0).substr(24, 16), "03002a02" "00000400");
  const Capture shown = settledCapture();

  program.reset();
  start();
  show();
  EXPECT_TRUE(sameArea(shown, settledCapture(), kKeyBoxes)) << "the boxes show the labels read back";
  install.setProfileValue(L"Setting-CHS", L"Item5", L"stale");
  click(kApply);  // writes the labels it holds
  EXPECT_EQ(label(L"Setting-CHS", L"Item4"), L"单键-A");
  EXPECT_EQ(label(L"Setting-CHS", L"Item5"), L"浏览器-收藏夹");
}

}  // namespace
}  // namespace ombrisk::e2e
