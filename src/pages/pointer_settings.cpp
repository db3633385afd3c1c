#include "pages/pointer_settings.h"

#include <algorithm>

namespace ombrisk {
namespace {

int clampIndex(long index) { return static_cast<int>(std::clamp<long>(index, kPointerIndexMin, kPointerIndexMax)); }

constexpr int kDefaultSpeed = 10, kDefaultWheelLines = 3;
constexpr unsigned kDefaultDoubleClickMs = 500;
constexpr int kDefaultIndex = 6;

}  // namespace

int speedIndexFromSystem(int systemSpeed) { return clampIndex(systemSpeed / 2 + 1); }

int doubleClickIndexFromSystem(unsigned milliseconds) {
  // Longer than 900 ms is the slowest position, shorter than 200 ms the fastest.
  return clampIndex((900L - static_cast<long>(std::min(milliseconds, 100000u))) / 70 + 1);
}

int wheelLinesFromSystem(std::uint32_t lines) {
  if (lines == kWheelOneScreen) return 0;
  return static_cast<int>(std::min<std::uint32_t>(lines, kPointerIndexMax));
}

int systemSpeedFromIndex(int index) {
  index = clampIndex(index);
  return index == 1 ? 1 : 2 * index - 2;
}

unsigned doubleClickTimeFromIndex(int index) { return static_cast<unsigned>(970 - 70 * clampIndex(index)); }

bool recordHoldsPointerSettings(const SettingsRecord& record) {
  const auto isIndex = [](std::uint8_t value) { return value >= kPointerIndexMin && value <= kPointerIndexMax; };
  return record[rec::kEnhancePrecision] <= 1 && record[rec::kWheelOneScreen] <= 1 && isIndex(record[rec::kPointerSpeed]) &&
         record[rec::kWheelLines] <= kPointerIndexMax && isIndex(record[rec::kDoubleClickIndex]);
}

std::vector<PointerCall> pointerApplyCalls(const SettingsRecord& record) {
  using Kind = PointerCall::Kind;
  if (!recordHoldsPointerSettings(record)) return {};
  const bool precision = record[rec::kEnhancePrecision] != 0;
  const int wheel = record[rec::kWheelOneScreen] != 0 ? static_cast<int>(kWheelOneScreen)
                                                      : record[rec::kWheelLines];
  return {
      {Kind::SetMouse, {precision ? 6 : 0, precision ? 10 : 0, precision ? 1 : 0}, false, "SETMOUSE failed."},
      {Kind::SetMouseSpeed, {systemSpeedFromIndex(record[rec::kPointerSpeed])}, false, "SETMOUSESPEED failed."},
      {Kind::SetWheelLines, {wheel}, false, "SETWHEELSCROLLLINES failed."},
      {Kind::SetDoubleClickTime, {static_cast<int>(doubleClickTimeFromIndex(record[rec::kDoubleClickIndex]))}, true,
       "SPI_SETDOUBLECLICKTIME failed."},
  };
}

std::vector<PointerCall> pointerDefaultCalls() {
  using Kind = PointerCall::Kind;
  return {
      {Kind::SetMouse, {0, 0, 0}, false, "SETMOUSE failed."},
      {Kind::SetMouseSpeed, {kDefaultSpeed}, false, "SETMOUSESPEED failed."},
      {Kind::SetWheelLines, {kDefaultWheelLines}, false, "SETWHEELSCROLLLINES failed."},
      {Kind::SetDoubleClickTime, {static_cast<int>(kDefaultDoubleClickMs)}, true, "SPI_SETDOUBLECLICKTIME failed."},
  };
}

void setDefaultPointerRecord(SettingsRecord& record) {
  record[rec::kEnhancePrecision] = 0;
  record[rec::kWheelOneScreen] = 0;
  record[rec::kPointerSpeed] = kDefaultIndex;
  record[rec::kWheelLines] = kDefaultWheelLines;
  record[rec::kDoubleClickIndex] = kDefaultIndex;
}

void takeSystemPointerReading(const SystemPointerReading& reading, SettingsRecord& record) {
  record[rec::kEnhancePrecision] = reading.acceleration && *reading.acceleration != 0 ? 1 : 0;
  if (reading.speed) record[rec::kPointerSpeed] = static_cast<std::uint8_t>(speedIndexFromSystem(*reading.speed));
  if (reading.wheelLines) {
    record[rec::kWheelOneScreen] = *reading.wheelLines == kWheelOneScreen ? 1 : 0;
    record[rec::kWheelLines] = static_cast<std::uint8_t>(wheelLinesFromSystem(*reading.wheelLines));
  }
  if (reading.doubleClickMs && *reading.doubleClickMs != 0)
    record[rec::kDoubleClickIndex] = static_cast<std::uint8_t>(doubleClickIndexFromSystem(*reading.doubleClickMs));
}

}  // namespace ombrisk
