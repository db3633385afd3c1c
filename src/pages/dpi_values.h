// The DPI value texts of the levels of each sensor type, level 1 first: the texts beside the
// Basic page's DPI grid and the value in the DPI-stage balloon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ombrisk {

// The value text of a level index (0-based) for a sensor type. Types outside 0..3 give "";
// an index past the sensor's levels reads as its top level.
std::string_view dpiValueText(std::uint8_t sensorType, std::size_t levelIndex);

}  // namespace ombrisk
