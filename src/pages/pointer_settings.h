// The Windows pointer settings of the Advanced page: the record's five pointer fields, the
// system values they stand for, and the system calls that read and write them. The calls
// are data here; the Win32 side makes them with SystemParametersInfoW and shows each
// failure's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/settings_image.h"

namespace ombrisk {

inline constexpr int kPointerIndexMin = 1, kPointerIndexMax = 11;
inline constexpr std::uint32_t kWheelOneScreen = 0xFFFFFFFF;

// Slider positions from system values; values outside the sliders' range are clamped.
int speedIndexFromSystem(int systemSpeed);                // speed / 2 + 1
int doubleClickIndexFromSystem(unsigned milliseconds);    // (900 - time) / 70 + 1
int wheelLinesFromSystem(std::uint32_t lines);            // 0..11; one screen reads as 0

// System values from slider positions.
int systemSpeedFromIndex(int index);                      // 1 for 1, else 2 × index - 2
unsigned doubleClickTimeFromIndex(int index);             // 970 - 70 × index

// One call to the system: what it sets and the text shown when it fails.
struct PointerCall {
  enum class Kind { SetMouse, SetMouseSpeed, SetWheelLines, SetDoubleClickTime } kind;
  int values[3] = {};       // SetMouse: thresholds and acceleration; others: values[0]
  bool saveToProfile = false;  // written to the user profile as well as sent to every window
  std::string_view failureText;
};

// Whether the record's pointer fields hold slider positions: they do once the Advanced page
// has read the system, or when the settings file brought them. A settings file that never
// held them (a fresh one is all zeros) does not.
bool recordHoldsPointerSettings(const SettingsRecord& record);
// What OK and Apply write, in order: precision (6, 10, 1 or 0, 0, 0), speed, wheel lines or
// one screen, double-click time. Nothing while the record does not hold pointer settings:
// zeros would set the slowest pointer, no wheel scrolling and the slowest double click.
std::vector<PointerCall> pointerApplyCalls(const SettingsRecord& record);
// What "Default" writes at once: no acceleration, speed 10, 3 lines, 500 ms.
std::vector<PointerCall> pointerDefaultCalls();
// The record after "Default": nothing ticked, speed 6, 3 lines, double-click 6.
void setDefaultPointerRecord(SettingsRecord& record);

// What the system reported when the Advanced page was first built; a failed read is none
// and leaves its field as it was.
struct SystemPointerReading {
  std::optional<int> acceleration;         // SPI_GETMOUSE's third value
  std::optional<int> speed;
  std::optional<std::uint32_t> wheelLines;
  std::optional<unsigned> doubleClickMs;   // 0 counts as a failed read
};
inline constexpr std::string_view kGetSpeedFailed = "GETMOUSESPEED failed.";
inline constexpr std::string_view kGetWheelFailed = "GETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kGetDoubleClickFailed = "GetDoubleClickTime failed.";
void takeSystemPointerReading(const SystemPointerReading& reading, SettingsRecord& record);

}  // namespace ombrisk
