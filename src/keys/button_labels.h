// The labels the key boxes show, in the interface language: where each button's label is
// kept, and how a label is composed from a function and what its editor chose. Every label
// the program makes (a choice, "Default", the first build) is composed here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/interface_texts.h"
#include "keys/key_functions.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"

namespace ombrisk {

// The index of a table's entry (0..11) in a ButtonLabelSet.
constexpr std::size_t labelIndex(KeyTableId table, std::size_t entry) {
  return (table == KeyTableId::A ? 0 : kButtonCount) + entry;
}
// The label of an entry (0..11) of a table; an entry outside the table is a programming
// error (std::out_of_range).
std::string& buttonLabel(ButtonLabelSet& labels, KeyTableId table, std::size_t entry);
const std::string& buttonLabel(const ButtonLabelSet& labels, KeyTableId table, std::size_t entry);

// A function named by itself: its list text; DPI Switch the name of its action ("DPI +",
// ...), or its list text when the action is none of the four.
std::string functionLabel(const InterfaceTexts& texts, KeyFunction function, std::uint8_t dpiAction = 0);
// "<function text>-<detail>": a function with what its editor chose (a key, a macro, ...).
std::string detailedLabel(const InterfaceTexts& texts, KeyFunction function, const std::string& detail);
// "<Combo Key>-" and the parts given (modifier, key 1, key 2) joined by "+".
std::string comboLabel(const InterfaceTexts& texts, const std::string& modifier, const std::string& key1,
                       const std::string& key2);

// A Macro Key button plays a macro by its number, the macro's position in record.ini, which
// changes when a saved macro moves to the end of the file or one before it is deleted. Each
// Macro Key entry of both tables whose label ("<Macro Key>-<name>") names one of macroNames
// (the file's order, in which the blocks were just encoded; the first twelve have numbers)
// gets that macro's number; one whose label names none of them keeps its number.
void followMacroLabels(SettingsRecord& record, const ButtonLabelSet& labels, const InterfaceTexts& texts,
                       std::span<const std::string> macroNames);

// The label of one entry as its function alone names it (functions with parameters read as
// the function's text alone); an unknown function value gives "".
std::string functionLabel(const SettingsRecord& record, KeyTableId table, std::size_t entry,
                          const InterfaceTexts& texts);
// The 24 labels of both tables as their functions name them. After "Default" these are the
// factory labels: "Left Click" .. "Backward", "DPI +", "DPI -", then "Key Off".
ButtonLabelSet functionLabels(const SettingsRecord& record, const InterfaceTexts& texts);

}  // namespace ombrisk
