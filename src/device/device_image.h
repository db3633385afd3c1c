// The mouse's settings in the form the report commands carry them. The Apply sequence derives
// them from the settings record; the commands fill the pieces that are read from the mouse.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ombrisk {

inline constexpr std::size_t kFeatureBlockSize = 24;
inline constexpr std::size_t kKeyMatrixWords = 16;
inline constexpr std::size_t kKeyMatrixCount = 4;
inline constexpr std::size_t kStageCodeCount = 8;
// Twelve macros of 128 bytes each: a big-endian loop count, then two-byte event pairs.
inline constexpr std::size_t kMacroBlockSize = 128;
inline constexpr std::size_t kMacroCount = 12;

using KeyMatrix = std::array<std::uint32_t, kKeyMatrixWords>;  // words b0 + b1<<8 + ...
using MacroBlock = std::array<std::uint8_t, kMacroBlockSize>;

struct DeviceImage {
  std::uint8_t reportInterval = 0;
  std::array<std::array<std::uint8_t, kFeatureBlockSize>, 2> featureBlocks{};
  std::array<KeyMatrix, kKeyMatrixCount> keyMatrices{};  // matrix n at index n - 1
  std::array<MacroBlock, kMacroCount> macros{};          // macro number n at index n - 1
  std::uint8_t stageCount = 0;
  std::array<std::uint8_t, kStageCodeCount> stageCodes{};
  std::array<std::uint8_t, 3> effect{};                  // effect, option 1, option 2
  std::array<std::array<std::uint8_t, 3>, 2> lightSets{};
  std::array<std::uint8_t, 4> sensor{};                  // sensor type, rate, option 1, option 2
  std::uint8_t currentSensorType = 0;
};

}  // namespace ombrisk
