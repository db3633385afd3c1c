#include "device/sensor_table.h"

#include <algorithm>
#include <array>

namespace ombrisk {
namespace {

struct SensorLevels {
  std::size_t levelCount;
  std::array<std::uint8_t, kMostDpiLevels> codes;
  std::array<std::string_view, kMostDpiLevels> values;  // level 1 first
};

// Indexed by sensor type.
constexpr std::array<SensorLevels, 4> kSensorTable{{
    {12,
     {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x25, 0x26, 0x27, 0x28},
     {"250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500", "4000"}},
    {8,
     {0x01, 0x02, 0x03, 0x04, 0x05, 0x23, 0x24, 0x25},
     {"600", "800", "1000", "1200", "1600", "2000", "2400", "3200"}},
    {8,
     {0x02, 0x04, 0x06, 0x08, 0x0A, 0x26, 0x28, 0x2A},
     {"250", "500", "750", "1000", "1250", "1500", "2000", "2500"}},
    {8,
     {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08},
     {"400", "800", "1200", "1600", "2000", "2400", "2800", "3200"}},
}};
constexpr SensorLevels kUnknownSensor{kMostDpiLevels, {}, {}};

// Every level a sensor offers has a code and a value text, and nothing lies past them.
constexpr bool complete(const SensorLevels& sensor) {
  if (sensor.levelCount == 0 || sensor.levelCount > kMostDpiLevels) return false;
  for (std::size_t level = 0; level < kMostDpiLevels; ++level) {
    const bool offered = level < sensor.levelCount;
    if (offered == sensor.values[level].empty()) return false;
    if (!offered && sensor.codes[level] != 0) return false;
  }
  return true;
}
static_assert(std::all_of(kSensorTable.begin(), kSensorTable.end(), complete));

const SensorLevels& sensorLevels(std::uint8_t sensorType) {
  return sensorType < kSensorTable.size() ? kSensorTable[sensorType] : kUnknownSensor;
}

std::size_t clampedLevel(const SensorLevels& sensor, std::size_t levelIndex) {
  return std::min(levelIndex, sensor.levelCount - 1);
}

}  // namespace

std::size_t dpiLevelCount(std::uint8_t sensorType) { return sensorLevels(sensorType).levelCount; }

std::uint8_t dpiCode(std::uint8_t sensorType, std::uint8_t levelIndex) {
  const SensorLevels& sensor = sensorLevels(sensorType);
  return sensor.codes[clampedLevel(sensor, levelIndex)];
}

std::string_view dpiValueText(std::uint8_t sensorType, std::size_t levelIndex) {
  const SensorLevels& sensor = sensorLevels(sensorType);
  return sensor.values[clampedLevel(sensor, levelIndex)];
}

}  // namespace ombrisk
