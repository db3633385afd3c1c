#include "settings/settings_image.h"

#include <stdexcept>

namespace ombrisk {
namespace {

// An index past the last entry or block would land in the next field (or, multiplied, past
// the record or around to its start), where .at() alone cannot catch it.
std::size_t checked(std::size_t index, std::size_t count, const char* what) {
  if (index >= count) throw std::out_of_range(what);
  return index;
}

std::size_t keyOffset(KeyTableId table, KeyField field, std::size_t entry) {
  const std::size_t base = table == KeyTableId::A ? rec::kKeyTableA : rec::kKeyTableB;
  return base + kButtonCount * static_cast<std::size_t>(field) +
         checked(entry, kButtonCount, "key table entry");
}

std::size_t dpiActionOffset(KeyTableId table, std::size_t entry) {
  return (table == KeyTableId::A ? rec::kDpiActionsA : rec::kDpiActionsB) +
         checked(entry, kButtonCount, "DPI action entry");
}

std::size_t macroBlockOffset(std::size_t index) {
  return rec::kMacroMemory + checked(index, rec::kMacroCount, "macro block") * rec::kMacroBlockSize;
}

}  // namespace

std::uint8_t& SettingsRecord::key(KeyTableId table, KeyField field, std::size_t entry) {
  return bytes.at(keyOffset(table, field, entry));
}
std::uint8_t SettingsRecord::key(KeyTableId table, KeyField field, std::size_t entry) const {
  return bytes.at(keyOffset(table, field, entry));
}
std::uint8_t& SettingsRecord::dpiAction(KeyTableId table, std::size_t entry) {
  return bytes.at(dpiActionOffset(table, entry));
}
std::uint8_t SettingsRecord::dpiAction(KeyTableId table, std::size_t entry) const {
  return bytes.at(dpiActionOffset(table, entry));
}
std::uint8_t* SettingsRecord::macroBlock(std::size_t index) {
  return &bytes.at(macroBlockOffset(index));
}
const std::uint8_t* SettingsRecord::macroBlock(std::size_t index) const {
  return &bytes.at(macroBlockOffset(index));
}

SettingsImage& settingsImage() {
  static SettingsImage image;
  return image;
}

}  // namespace ombrisk
