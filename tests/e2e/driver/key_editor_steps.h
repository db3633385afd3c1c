// Giving a button its function as a user does: a press on its key box, a click in its function
// list, and the editor that comes up worked by its boxes and lists; the delay editor of the
// Advanced page's event list. The editors' controls by
// identifier, their buttons and boxes in dialog client pixels, the function list positions.
#pragma once

#include <windows.h>

#include <functional>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e::key_editor {

inline constexpr int kDpiActionList = 37;
// The editors, found by a child of each.
inline constexpr int kSingleKeyName = 502, kComboModifier = 512, kComboModifierList = 515, kComboKey1 = 516;
inline constexpr int kFireKeyText = 572, kFireKeyList = 573, kSpeedEdit = 574, kTimesEdit = 575;
inline constexpr int kMediaText = 552, kMediaList = 553, kWindowsText = 532, kWindowsList = 533;
inline constexpr int kMacroText = 592, kMacroList = 593;
// The delay editor of the Advanced page's event list.
inline constexpr int kDelayEdit = 600;
inline constexpr POINT kDialogOk{218, 263}, kDialogCancel{322, 263};
inline constexpr POINT kUpperBox{60, 77}, kChoiceBox{60, 136}, kSecondRepeatMode{228, 136};

// Function list positions.
enum Function {
  kLeftClick = 0, kDpiSwitch = 6, kRgbOnOff = 7, kWindows = 8, kMultimedia = 9, kFireKey = 10,
  kSingleKey = 11, kComboKey = 12, kMacroKey = 13, kShift = 14,
};

inline HWND functionList(const Program& program, int k) { return program.child(40 + k); }

// Rests the pointer on point of window until condition holds, moving it there again each
// second: on a loaded machine an older move can reach the window after the newest one.
inline bool restPointerUntil(HWND window, POINT point, const std::function<bool()>& condition) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    moveOverWindow(window, point.x, point.y);
    if (waitUntil(condition, 1s)) return true;
  }
  return false;
}

// Presses key box k (1..7) and waits for its function list.
inline bool openFunctionList(Program& program, int k) {
  program.clickClient(basic_page::keyBox(k).x, basic_page::keyBox(k).y);
  program.settle();
  return waitUntil([&] { return functionList(program, k) != nullptr; }, 5s);
}

// Opens button k's list, rests the pointer on item until the selection follows it, and
// clicks it there, as a user does; false when the list did not come.
inline bool chooseFunction(Program& program, int k, int item) {
  if (!openFunctionList(program, k)) return false;
  HWND list = functionList(program, k);
  const POINT centre = listItemCentre(list, item);
  restPointerUntil(list, centre, [&] { return listSelection(list) == item; });
  clickWindow(list, centre.x, centre.y);
  return true;
}

// Chooses a function that has an editor: the editor once it is up (found by its child
// childId), in the foreground for the keys typed next; nothing when it did not come.
inline HWND chooseEditor(Program& program, int k, int item, int childId) {
  if (!chooseFunction(program, k, item)) return nullptr;
  HWND dialog = waitForDialogWithControl(program.process().id(), childId, 10s);
  if (dialog) SetForegroundWindow(dialog);
  return dialog;
}

// The pointer on the DPI Switch item of button k's open list: the side list once it is open.
inline HWND pointAtDpiSwitch(const Program& program, int k) {
  HWND list = functionList(program, k);
  HWND side = nullptr;
  restPointerUntil(list, listItemCentre(list, kDpiSwitch),
                   [&] { return (side = program.child(kDpiActionList)) != nullptr; });
  return side;
}

// Clicks OK or Cancel of an editor; true once it is gone and the program has settled.
inline bool closeEditor(Program& program, HWND dialog, POINT button) {
  clickWindow(dialog, button.x, button.y);
  return waitUntil([&] { return !IsWindow(dialog); }, 5s) && program.settle();
}

// Double-clicks entry index (a delay) of the Advanced page's event list as a user does: the
// delay editor once it is up, in the foreground for the digits typed next; nothing when it
// did not come.
inline HWND openDelayEditor(Program& program, HWND events, int index) {
  const POINT delay = listItemCentre(events, index);
  moveOverWindow(events, delay.x, delay.y);
  clickWindow(events, delay.x, delay.y);
  clickWindow(events, delay.x, delay.y);
  HWND dialog = waitForDialogWithControl(program.process().id(), kDelayEdit, 5s);
  if (dialog) SetForegroundWindow(dialog);
  return dialog;
}

// Opens an editor's drop-down list by its box; the list once it is open.
inline HWND openEditorList(HWND dialog, POINT box, int listId) {
  clickWindow(dialog, box.x, box.y);
  HWND list = nullptr;
  waitUntil([&] { return (list = GetDlgItem(dialog, listId)) != nullptr; }, 5s);
  return list;
}

// Clicks item of an editor's list, scrolled into view first as a user scrolls it, once the
// selection follows the pointer there; true once the choice has closed the list.
inline bool clickEditorItem(HWND dialog, HWND list, int listId, int index) {
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  const POINT centre = listItemCentre(list, index);
  restPointerUntil(list, centre, [&] { return listSelection(list) == index; });
  clickWindow(list, centre.x, centre.y);
  return waitUntil([&] { return GetDlgItem(dialog, listId) == nullptr; }, 5s);
}

}  // namespace ombrisk::e2e::key_editor
