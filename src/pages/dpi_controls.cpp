#include "pages/dpi_controls.h"

#include <algorithm>
#include <array>

#include "device/sensor_table.h"

namespace ombrisk {
namespace {

constexpr std::array<std::uint8_t, 4> kReportRateCodes = {8, 4, 2, 1};
constexpr int kStages = static_cast<int>(rec::kStageCount);
constexpr int kLevelsOfEverySensor = 8;

std::size_t at(std::size_t field, int stage) { return field + static_cast<std::size_t>(stage); }

}  // namespace

std::uint8_t reportRateCode(int position) { return kReportRateCodes.at(static_cast<std::size_t>(position)); }

std::optional<int> reportRatePosition(std::uint8_t code) {
  const auto found = std::find(kReportRateCodes.begin(), kReportRateCodes.end(), code);
  if (found == kReportRateCodes.end()) return std::nullopt;
  return static_cast<int>(found - kReportRateCodes.begin());
}

bool stageOn(const SettingsRecord& record, int stage) { return record[at(rec::kStageEnabled, stage)] != 0; }

bool toggleStage(SettingsRecord& record, int stage) {
  if (!stageOn(record, stage)) {
    record[at(rec::kStageEnabled, stage)] = 1;
    return true;
  }
  for (int other = 0; other < kStages; ++other)
    if (other != stage && stageOn(record, other)) {
      record[at(rec::kStageEnabled, stage)] = 0;
      return true;
    }
  return false;  // at least one stage always stays on
}

std::size_t gridLevels(std::uint8_t sensorType) { return dpiLevelCount(sensorType); }

bool levelTakesPress(std::uint8_t sensorType, int level) {
  return level >= 1 && (level <= kLevelsOfEverySensor || (sensorType == 0 && level <= 12));
}

std::size_t litCells(const SettingsRecord& record, int stage, std::size_t levels) {
  if (!stageOn(record, stage)) return 0;
  return std::min<std::size_t>(record[at(rec::kDpiLevel, stage)] + 1u, levels);
}

std::string_view gridValueText(std::uint8_t sensorType, std::size_t levelIndex) {
  return dpiValueText(sensorType >= 1 && sensorType <= 3 ? sensorType : 0, levelIndex);
}

Rgb stageColour(const SettingsRecord& record, int stage) {
  const std::size_t colour = at(rec::kStageColours, 3 * stage);
  return {record[colour], record[colour + 1], record[colour + 2]};
}

void setStageColour(SettingsRecord& record, int stage, Rgb colour) {
  const std::size_t at = rec::kStageColours + 3 * static_cast<std::size_t>(stage);
  record[at] = colour.red;
  record[at + 1] = colour.green;
  record[at + 2] = colour.blue;
}

}  // namespace ombrisk
