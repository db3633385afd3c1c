#include "keys/function_choice.h"

#include <array>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "keys/key_names.h"

namespace ombrisk {
namespace {

constexpr std::size_t kShiftEntriesChecked = kEncodedButtons;  // buttons 1..8
constexpr int kDpiActionCount = 4;
constexpr int kDpiListWidth = 60, kDpiListHeight = 80;

// The editor of each function that has one.
struct EditorOfFunction {
  KeyFunction function;
  EditorDialog dialog;
};
constexpr std::array<EditorOfFunction, 6> kEditors{{
    {KeyFunction::Windows, EditorDialog::Windows},
    {KeyFunction::Multimedia, EditorDialog::Media},
    {KeyFunction::FireKey, EditorDialog::FireKey},
    {KeyFunction::SingleKey, EditorDialog::Single},
    {KeyFunction::ComboKey, EditorDialog::Combo},
    {KeyFunction::MacroKey, EditorDialog::Macro},
}};

void checkEntry(std::size_t entry) {
  if (entry >= kButtonCount) throw std::out_of_range("button index outside the key table");
}

KeyFunction functionAt(const SettingsRecord& record, KeyTableId table, std::size_t entry) {
  return static_cast<KeyFunction>(record.key(table, KeyField::Function, entry));
}

// The only Left Click of its table: the mouse would be left without a left button.
bool lastLeftClick(const SettingsRecord& record, KeyTableId table, std::size_t entry) {
  if (functionAt(record, table, entry) != KeyFunction::LeftClick) return false;
  for (std::size_t other = 0; other < kButtonCount; ++other)
    if (other != entry && functionAt(record, table, other) == KeyFunction::LeftClick) return false;
  return true;
}

MessageToShow leftKeyMessage(const InterfaceTexts& texts) { return {texts[TextId::LeftKeyRequired], "Warning"}; }

using FieldValues = std::initializer_list<std::pair<KeyField, std::uint8_t>>;

// Gives entry of the current table its function, parameters and label. An entry that held
// Shift holds it in both tables, so both get the new function; its parameters and label go
// with it, so that the other table sends what its label says.
void assign(KeyChoiceContext& context, std::size_t entry, KeyFunction function, FieldValues fields,
            std::optional<std::uint8_t> dpiAction, const std::string& label) {
  const KeyTableId current = currentKeyTable(context.record);
  const bool paired = functionAt(context.record, current, entry) == KeyFunction::Shift;
  for (const KeyTableId table : {current, otherKeyTable(current)}) {
    if (table != current && !paired) break;
    for (const auto& [field, value] : fields) context.record.key(table, field, entry) = value;
    if (dpiAction) context.record.dpiAction(table, entry) = *dpiAction;
    context.record.key(table, KeyField::Function, entry) = static_cast<std::uint8_t>(function);
    buttonLabel(context.labels, table, entry) = label;
  }
}

// Shift is one button of both tables.
CloseList chooseShift(KeyChoiceContext& context, std::size_t entry) {
  const KeyTableId current = currentKeyTable(context.record), other = otherKeyTable(current);
  for (std::size_t e = 0; e < kShiftEntriesChecked; ++e)
    if (functionAt(context.record, current, e) == KeyFunction::Shift) return {};
  // The other table gets Shift too: it must not lose its last Left Click by it.
  if (lastLeftClick(context.record, other, entry)) return {false, leftKeyMessage(context.texts)};
  const std::string label = functionLabel(context.texts, KeyFunction::Shift);
  for (const KeyTableId table : {current, other}) {
    context.record.key(table, KeyField::Function, entry) = static_cast<std::uint8_t>(KeyFunction::Shift);
    buttonLabel(context.labels, table, entry) = label;
  }
  return {true, std::nullopt};
}

std::uint8_t byteOf(int value) { return static_cast<std::uint8_t>(value); }

void store(KeyChoiceContext& context, std::size_t entry, const WindowsChoice& choice) {
  const auto i = static_cast<std::size_t>(choice.index);
  assign(context, entry, KeyFunction::Windows,
         {{KeyField::WindowsIndex, byteOf(choice.index)},
          {KeyField::WindowsUsageLow, windowsIndexToUsage(i)},
          {KeyField::WindowsUsagePage, windowsIndexToUsagePage(i)}},
         std::nullopt, choice.text);
}

void store(KeyChoiceContext& context, std::size_t entry, const MediaChoice& choice) {
  assign(context, entry, KeyFunction::Multimedia,
         {{KeyField::MediaIndex, byteOf(choice.index)},
          {KeyField::MediaUsage, mediaIndexToUsage(static_cast<std::size_t>(choice.index))}},
         std::nullopt, detailedLabel(context.texts, KeyFunction::Multimedia, choice.text));
}

void store(KeyChoiceContext& context, std::size_t entry, const FireKeyChoice& choice) {
  assign(context, entry, KeyFunction::FireKey,
         {{KeyField::FireIndex, byteOf(choice.index)},
          {KeyField::FireKey, fireIndexToUsage(static_cast<std::size_t>(choice.index))},
          {KeyField::FireSpeed, choice.speed},
          {KeyField::FireTimes, choice.times}},
         std::nullopt, detailedLabel(context.texts, KeyFunction::FireKey, choice.text));
}

void store(KeyChoiceContext& context, std::size_t entry, const SingleKeyChoice& choice) {
  assign(context, entry, KeyFunction::SingleKey, {{KeyField::SingleKey, keyNameToUsage(choice.keyName)}},
         std::nullopt, detailedLabel(context.texts, KeyFunction::SingleKey, choice.keyName));
}

void store(KeyChoiceContext& context, std::size_t entry, const ComboKeyChoice& choice) {
  assign(context, entry, KeyFunction::ComboKey,
         {{KeyField::ComboModifiers, modifierNameToBit(choice.modifier)},
          {KeyField::ComboKey1, keyNameToUsage(choice.key1)},
          {KeyField::ComboKey2, keyNameToUsage(choice.key2)}},
         // A key the tables do not know is still named, so that the user sees what the
         // button holds.
         std::nullopt, comboLabel(context.texts, choice.modifier, choice.key1, choice.key2));
}

void store(KeyChoiceContext& context, std::size_t entry, const MacroKeyChoice& choice) {
  assign(context, entry, KeyFunction::MacroKey,
         {{KeyField::MacroNumber, byteOf(choice.index)}, {KeyField::MacroRepeat, byteOf(choice.repeatMode - 1)}},
         std::nullopt, detailedLabel(context.texts, KeyFunction::MacroKey, choice.name));
}

}  // namespace

FunctionListOpening openFunctionList(const SettingsRecord& record, const InterfaceTexts& texts, std::size_t entry,
                                     const DropDownBox& geometry) {
  if (entry >= kButtonsWithKeyBox) throw std::out_of_range("no key box for this button");
  if (lastLeftClick(record, currentKeyTable(record), entry)) return leftKeyMessage(texts);
  FunctionListToOpen list{geometry, {}};
  for (std::size_t value = 0; value < kKeyFunctionCount; ++value)
    list.items.push_back(texts[keyFunctionText(static_cast<KeyFunction>(value))]);
  return list;
}

DpiSideListChange dpiSideListOnHover(int itemUnderPointer, bool sideListOpen) {
  const bool onDpiSwitch = itemUnderPointer == kDpiSwitchPosition;
  if (onDpiSwitch && !sideListOpen) return DpiSideListChange::Open;
  if (!onDpiSwitch && sideListOpen) return DpiSideListChange::Close;
  return DpiSideListChange::None;
}

Region dpiActionListRegion(const Region& functionList, const Region& dpiItem) {
  const int left = functionList.left + dpiItem.right, top = functionList.top + dpiItem.top;
  return {left, top, left + kDpiListWidth, top + kDpiListHeight};
}

std::vector<std::string> dpiActionItems() {
  std::vector<std::string> items;
  for (int action = 1; action <= kDpiActionCount; ++action)
    items.emplace_back(dpiActionName(static_cast<std::uint8_t>(action)));
  return items;
}

KeyChoiceStep chooseKeyFunction(KeyChoiceContext& context, std::size_t entry, std::optional<int> position) {
  checkEntry(entry);
  if (!position || *position == kDpiSwitchPosition) return KeepListOpen{};
  if (*position < 0 || *position >= static_cast<int>(kKeyFunctionCount)) return CloseList{};
  const auto function = static_cast<KeyFunction>(*position);
  if (function == KeyFunction::Shift) return chooseShift(context, entry);
  for (const EditorOfFunction& editor : kEditors)
    if (editor.function == function) return RunEditor{editor.dialog};
  assign(context, entry, function, {}, std::nullopt, functionLabel(context.texts, function));
  return CloseList{true, std::nullopt};
}

CloseList finishKeyEditor(KeyChoiceContext& context, std::size_t entry, const std::optional<EditorAnswer>& answer) {
  checkEntry(entry);
  if (!answer) return {};
  std::visit([&](const auto& choice) { store(context, entry, choice); }, *answer);
  return {true, std::nullopt};
}

KeyChoiceStep chooseDpiAction(KeyChoiceContext& context, std::size_t entry, std::optional<int> position) {
  checkEntry(entry);
  if (!position) return KeepListOpen{};
  if (*position < 0 || *position >= kDpiActionCount) return CloseList{};
  const auto action = static_cast<std::uint8_t>(*position + 1);
  assign(context, entry, KeyFunction::DpiSwitch, {}, action,
         functionLabel(context.texts, KeyFunction::DpiSwitch, action));
  return CloseList{true, std::nullopt};
}

void resetKeyAssignments(KeyChoiceContext& context) {
  resetKeyTables(context.record);
  context.labels = functionLabels(context.record, context.texts);
}

}  // namespace ombrisk
