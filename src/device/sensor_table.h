// The sensors the mouse reports in its sensor block (types 0..3): how many DPI levels each
// offers, the code the mouse takes for each level, and the DPI value text of each level that
// the Basic page and the DPI-stage balloon show. A type outside 0..3 offers 12 levels, all
// with code 0 and no value text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ombrisk {

inline constexpr std::size_t kMostDpiLevels = 12;

// Levels offered for a sensor type: 8 for types 1..3, 12 otherwise.
std::size_t dpiLevelCount(std::uint8_t sensorType);
// The code of a DPI level index; an index past the sensor's levels is clamped to its last.
std::uint8_t dpiCode(std::uint8_t sensorType, std::uint8_t levelIndex);
// The value text of a level index, clamped likewise; "" for a type outside 0..3.
std::string_view dpiValueText(std::uint8_t sensorType, std::size_t levelIndex);

}  // namespace ombrisk
