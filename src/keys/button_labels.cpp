#include "keys/button_labels.h"

#include "keys/key_functions.h"

namespace ombrisk {

std::string functionLabel(const SettingsRecord& record, KeyTableId table, std::size_t entry,
                          const InterfaceTexts& texts) {
  const std::uint8_t function = record.key(table, KeyField::Function, entry);
  if (function >= kKeyFunctionCount) return "";
  if (function == static_cast<std::uint8_t>(KeyFunction::DpiSwitch)) {
    const std::string_view action = dpiActionName(record.dpiAction(table, entry));
    if (!action.empty()) return std::string(action);
  }
  return texts[keyFunctionText(static_cast<KeyFunction>(function))];
}

ButtonLabelSet functionLabels(const SettingsRecord& record, const InterfaceTexts& texts) {
  ButtonLabelSet labels;
  for (KeyTableId table : {KeyTableId::A, KeyTableId::B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry)
      labels[labelIndex(table, entry)] = functionLabel(record, table, entry, texts);
  return labels;
}

}  // namespace ombrisk
