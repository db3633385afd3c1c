#include "settings/settings_image.h"

namespace ombrisk {
namespace {

std::size_t keyOffset(KeyTableId table, KeyField field, std::size_t entry) {
  const std::size_t base = table == KeyTableId::A ? rec::kKeyTableA : rec::kKeyTableB;
  return base + kButtonCount * static_cast<std::size_t>(field) + entry;
}

std::size_t dpiActionOffset(KeyTableId table, std::size_t entry) {
  return (table == KeyTableId::A ? rec::kDpiActionsA : rec::kDpiActionsB) + entry;
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
  return &bytes.at(rec::kMacroMemory + index * rec::kMacroBlockSize);
}
const std::uint8_t* SettingsRecord::macroBlock(std::size_t index) const {
  return &bytes.at(rec::kMacroMemory + index * rec::kMacroBlockSize);
}

SettingsImage& settingsImage() {
  static SettingsImage image;
  return image;
}

}  // namespace ombrisk
