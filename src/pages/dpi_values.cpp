#include "pages/dpi_values.h"

#include <array>

namespace ombrisk {
namespace {

constexpr std::array<std::string_view, 12> kSensor0 = {
    "250", "500", "750", "1000", "1250", "1500", "1750", "2000", "2500", "3000", "3500", "4000"};
constexpr std::array<std::string_view, 8> kSensor1 = {"600",  "800",  "1000", "1200",
                                                      "1600", "2000", "2400", "3200"};
constexpr std::array<std::string_view, 8> kSensor2 = {"250",  "500",  "750",  "1000",
                                                      "1250", "1500", "2000", "2500"};
constexpr std::array<std::string_view, 8> kSensor3 = {"400",  "800",  "1200", "1600",
                                                      "2000", "2400", "2800", "3200"};

template <std::size_t N>
std::string_view clamped(const std::array<std::string_view, N>& values, std::size_t index) {
  return values[index < N ? index : N - 1];
}

}  // namespace

std::string_view dpiValueText(std::uint8_t sensorType, std::size_t levelIndex) {
  switch (sensorType) {
    case 0: return clamped(kSensor0, levelIndex);
    case 1: return clamped(kSensor1, levelIndex);
    case 2: return clamped(kSensor2, levelIndex);
    case 3: return clamped(kSensor3, levelIndex);
    default: return {};
  }
}

}  // namespace ombrisk
