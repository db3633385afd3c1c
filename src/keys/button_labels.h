// The labels the key boxes show for what a key table holds, in the interface language.
#pragma once

#include <string>

#include "app/interface_texts.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"

namespace ombrisk {

// The label of one entry as its function alone names it: the function's list text, the
// DPI action ("DPI +", ...) for DPI Switch. Functions whose label also names what their
// editor chose (a key, a macro, ...) read as the function's text alone; an unknown
// function value gives "".
std::string functionLabel(const SettingsRecord& record, KeyTableId table, std::size_t entry,
                          const InterfaceTexts& texts);

// The 24 labels of both tables as their functions name them. After "Default" these are the
// factory labels: "Left Click" .. "Backward", "DPI +", "DPI -", then "Key Off".
ButtonLabelSet functionLabels(const SettingsRecord& record, const InterfaceTexts& texts);

// The index of a table's entry in a ButtonLabelSet.
constexpr std::size_t labelIndex(KeyTableId table, std::size_t entry) {
  return (table == KeyTableId::A ? 0 : kButtonCount) + entry;
}

}  // namespace ombrisk
