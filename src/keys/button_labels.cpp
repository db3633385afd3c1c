#include "keys/button_labels.h"

#include <algorithm>
#include <stdexcept>

namespace ombrisk {
namespace {

void checkEntry(std::size_t entry) {
  if (entry >= kButtonCount) throw std::out_of_range("button index outside the key table");
}

}  // namespace

std::string& buttonLabel(ButtonLabelSet& labels, KeyTableId table, std::size_t entry) {
  checkEntry(entry);
  return labels[labelIndex(table, entry)];
}

const std::string& buttonLabel(const ButtonLabelSet& labels, KeyTableId table, std::size_t entry) {
  checkEntry(entry);
  return labels[labelIndex(table, entry)];
}

std::string functionLabel(const InterfaceTexts& texts, KeyFunction function, std::uint8_t dpiAction) {
  if (function == KeyFunction::DpiSwitch)
    if (const std::string_view action = dpiActionName(dpiAction); !action.empty()) return std::string(action);
  return texts[keyFunctionText(function)];
}

std::string detailedLabel(const InterfaceTexts& texts, KeyFunction function, const std::string& detail) {
  return texts[keyFunctionText(function)] + "-" + detail;
}

void followMacroLabels(SettingsRecord& record, const ButtonLabelSet& labels, const InterfaceTexts& texts,
                       std::span<const std::string> macroNames) {
  const std::size_t numbered = std::min(macroNames.size(), rec::kMacroCount);
  for (const KeyTableId table : {KeyTableId::A, KeyTableId::B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      if (record.key(table, KeyField::Function, entry) != static_cast<std::uint8_t>(KeyFunction::MacroKey)) continue;
      const std::string& label = buttonLabel(labels, table, entry);
      for (std::size_t number = 0; number < numbered; ++number)
        if (label == detailedLabel(texts, KeyFunction::MacroKey, macroNames[number])) {
          record.key(table, KeyField::MacroNumber, entry) = static_cast<std::uint8_t>(number);
          break;
        }
    }
}

std::string comboLabel(const InterfaceTexts& texts, const std::string& modifier, const std::string& key1,
                       const std::string& key2) {
  std::string parts;
  for (const std::string* part : {&modifier, &key1, &key2}) {
    if (part->empty()) continue;
    if (!parts.empty()) parts += '+';
    parts += *part;
  }
  return detailedLabel(texts, KeyFunction::ComboKey, parts);
}

std::string functionLabel(const SettingsRecord& record, KeyTableId table, std::size_t entry,
                          const InterfaceTexts& texts) {
  const std::uint8_t function = record.key(table, KeyField::Function, entry);
  if (function >= kKeyFunctionCount) return "";
  return functionLabel(texts, static_cast<KeyFunction>(function), record.dpiAction(table, entry));
}

ButtonLabelSet functionLabels(const SettingsRecord& record, const InterfaceTexts& texts) {
  ButtonLabelSet labels;
  for (KeyTableId table : {KeyTableId::A, KeyTableId::B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry)
      labels[labelIndex(table, entry)] = functionLabel(record, table, entry, texts);
  return labels;
}

}  // namespace ombrisk
