// The sixteen button functions and their key-matrix words.
//
// A key table entry becomes one 32-bit KeyMatrixWord b0 + b1<<8 + b2<<16 + b3<<24 (b0 first
// on the wire, b0 the action class). Table A is sent as key matrix 1, table B as matrix 3;
// matrices 2 and 4 are all zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/interface_texts.h"
#include "settings/settings_image.h"

namespace ombrisk {

// The value of a function is its position in the function list.
enum class KeyFunction : std::uint8_t {
  LeftClick = 0,
  RightClick = 1,
  MidClick = 2,
  Forward = 3,
  Backward = 4,
  TripleClick = 5,
  DpiSwitch = 6,
  RgbOnOff = 7,
  Windows = 8,
  Multimedia = 9,
  FireKey = 10,
  SingleKey = 11,
  ComboKey = 12,
  MacroKey = 13,
  Shift = 14,
  KeyOff = 15,
};
inline constexpr std::size_t kKeyFunctionCount = 16;

// Mouse button codes of mouse-button words and fire keys.
namespace mouse_code {
inline constexpr std::uint8_t kLeft = 0xF0;
inline constexpr std::uint8_t kRight = 0xF1;
inline constexpr std::uint8_t kMiddle = 0xF2;
inline constexpr std::uint8_t kFourth = 0xF3;  // "Backward"
inline constexpr std::uint8_t kFifth = 0xF4;   // "Forward"
inline constexpr std::uint8_t kTiltLeft = 0xF5;
inline constexpr std::uint8_t kTiltRight = 0xF6;
inline constexpr std::uint8_t kFixedWord14 = 0xF7;
inline constexpr std::uint8_t kFixedWord15 = 0xF8;
}  // namespace mouse_code

// The function-list text of a function in every language.
TextId keyFunctionText(KeyFunction function);
// The English function-list text of a function value; "" outside 0..15.
std::string_view keyFunctionName(std::uint8_t function);
// "DPI +", "DPI -", "DPI Loop", "Shift DPI" for DpiAction 1..4; "" otherwise.
std::string_view dpiActionName(std::uint8_t action);

// The word of one key table entry, from that entry's fields and its DpiAction. A function
// value outside 0..15 gives the zero word.
std::uint32_t keyMatrixWord(const SettingsRecord& record, KeyTableId table, std::size_t entry);

// The matrix word that each of the entries 0..7 fills: buttons 4 and 5 trade places.
std::size_t wordIndexOfEntry(std::size_t entry);

inline constexpr std::uint32_t kFixedWord14 = 0x00F70001;
inline constexpr std::uint32_t kFixedWord15 = 0x00F80001;

// Fills the four key matrices of the device image: matrix 1 from table A, matrix 3 from
// table B (entries 0..7; entries 8..11 are never sent), words 14 and 15 fixed, matrices 2
// and 4 zero.
void buildKeyMatrices(const SettingsRecord& record, DeviceImage& device);

// The key table the Basic page shows and edits: B when the selector is 1, A otherwise.
KeyTableId currentKeyTable(const SettingsRecord& record);
KeyTableId otherKeyTable(KeyTableId table);

// The record side of "Default" on the key page: the factory functions of entries 0..11 in
// both key tables, DPI + on entry 5 and DPI - on entry 6; nothing else changes.
void resetKeyTables(SettingsRecord& record);

}  // namespace ombrisk
