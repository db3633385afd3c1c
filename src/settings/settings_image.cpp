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

struct DpiCodes {
  std::size_t levels;
  std::array<std::uint8_t, 12> codes;
};

// Indexed by sensor type.
constexpr std::array<DpiCodes, 4> kDpiCodeTable{{
    {12, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x25, 0x26, 0x27, 0x28}},
    {8, {0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0x24, 0x25}},
    {8, {0x02, 0x04, 0x06, 0x08, 0x0A, 0x26, 0x28, 0x2A}},
    {8, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}},
}};

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

std::uint8_t dpiCode(std::uint8_t sensorType, std::uint8_t levelIndex) {
  if (sensorType >= kDpiCodeTable.size()) return 0x00;
  const DpiCodes& table = kDpiCodeTable[sensorType];
  const std::size_t index = levelIndex < table.levels ? levelIndex : table.levels - 1;
  return table.codes[index];
}

std::size_t dpiLevelCount(std::uint8_t sensorType) {
  return sensorType >= 1 && sensorType <= 3 ? 8 : 12;
}

}  // namespace ombrisk
