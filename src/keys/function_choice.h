// Giving a button its function on the Basic page, without the page's windows: opening a
// button's function list (the left-button rule), what a choice in it does (the DPI side
// list, the Shift pairing of both key tables, the editor to run), storing an editor's answer
// with the button's label, and the factory assignments.
//
// The page calls these with the settings record, the labels of the interface language and
// its texts; each call says what the page must do next (show a message, open or keep a list,
// run an editor, close the list and repaint the key box).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/interface_texts.h"
#include "keys/button_labels.h"
#include "keys/captured_keys.h"
#include "keys/consumer_key_editors.h"
#include "keys/fire_key_editor.h"
#include "keys/key_functions.h"
#include "macros/macro_key_choice.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"
#include "skin/dialog_frame.h"
#include "skin/surface.h"

namespace ombrisk {

struct KeyChoiceContext {
  SettingsRecord& record;
  ButtonLabelSet& labels;  // of the interface language
  const InterfaceTexts& texts;
};

// A message box with an OK button.
struct MessageToShow {
  std::string text;
  std::string caption;
  bool operator==(const MessageToShow&) const = default;
};

// --- Opening a function list -------------------------------------------------------------

// Open the list (a child list box at geometry.list under identifier geometry.listId) with
// the sixteen function texts in value order.
struct FunctionListToOpen {
  DropDownBox geometry;
  std::vector<std::string> items;
};
// The buttons the Basic page shows a key box for.
inline constexpr std::size_t kButtonsWithKeyBox = 7;

// The page has already closed an open list of this button (a second press on its box closes
// it) and any other function list. entry is the button's index 0..6 and geometry its key
// box and list. The last Left Click of the current table cannot be replaced: a message
// instead of the list.
using FunctionListOpening = std::variant<MessageToShow, FunctionListToOpen>;
FunctionListOpening openFunctionList(const SettingsRecord& record, const InterfaceTexts& texts,
                                     std::size_t entry, const DropDownBox& geometry);

// --- The DPI side list -------------------------------------------------------------------

inline constexpr int kDpiActionListId = 37;
inline constexpr int kDpiSwitchPosition = static_cast<int>(KeyFunction::DpiSwitch);

// What the pointer resting on an item of the open function list does to the side list.
enum class DpiSideListChange { None, Open, Close };
DpiSideListChange dpiSideListOnHover(int itemUnderPointer, bool sideListOpen);
// The side list: 60 by 80 pixels, its left edge at the right edge of the DPI Switch item and
// its top at that item's top. functionList is the list's rectangle in the page, dpiItem the
// item's rectangle inside the list (LB_GETITEMRECT).
Region dpiActionListRegion(const Region& functionList, const Region& dpiItem);
// "DPI +", "DPI -", "DPI Loop", "Shift DPI".
std::vector<std::string> dpiActionItems();

// --- Choosing ----------------------------------------------------------------------------

// Nothing chosen yet: no selection, or DPI Switch (whose choice is made in the side list).
struct KeepListOpen {
  bool operator==(const KeepListOpen&) const = default;
};
// Run this editor modally, then hand its answer (or its cancellation) to finishKeyEditor.
struct RunEditor {
  EditorDialog dialog;
  bool operator==(const RunEditor&) const = default;
};
// Close the function list (and the side list); repaint the key box when changed, after
// showing the message if there is one.
struct CloseList {
  bool changed = false;
  std::optional<MessageToShow> message;
  bool operator==(const CloseList&) const = default;
};
using KeyChoiceStep = std::variant<KeepListOpen, RunEditor, CloseList>;

// A selection (position 0..15, or none) in the function list of button entry.
KeyChoiceStep chooseKeyFunction(KeyChoiceContext& context, std::size_t entry, std::optional<int> position);

// The answer of an editor: its type says which editor gave it.
using EditorAnswer =
    std::variant<WindowsChoice, MediaChoice, FireKeyChoice, SingleKeyChoice, ComboKeyChoice, MacroKeyChoice>;

// After RunEditor: stores the answer in the current table's fields of entry and sets the
// label; nothing (a cancelled editor) changes nothing.
CloseList finishKeyEditor(KeyChoiceContext& context, std::size_t entry, const std::optional<EditorAnswer>& answer);

// A selection (0..3, or none) in the DPI side list while button entry's function list is
// open. Without a selection both lists stay open.
KeyChoiceStep chooseDpiAction(KeyChoiceContext& context, std::size_t entry, std::optional<int> position);

// --- Factory assignments -----------------------------------------------------------------

// The key section's "Default": factory functions and labels in both tables.
void resetKeyAssignments(KeyChoiceContext& context);

}  // namespace ombrisk
