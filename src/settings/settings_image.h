// The settings image: everything the utility knows about the mouse's settings.
//
// SettingsRecord is the 1985-byte record of the user's choices, the body of config.bin byte
// for byte; AppliedCopy is the record as last applied; FirstRunFlag is the byte stored ahead
// of the record in the file; DeviceImage holds the mouse's settings in the form the report
// commands carry them. One SettingsImage exists in the program (settingsImage()); tools and
// tests may build their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/device_image.h"

namespace ombrisk {

// Offsets of the record's fields, from the start of the record (file offset = offset + 1).
namespace rec {
inline constexpr std::size_t kSize = 1985;

inline constexpr std::size_t kKeyTableA = 0x000;
inline constexpr std::size_t kKeyTableB = 0x0C0;
inline constexpr std::size_t kKeyTableSize = 192;
inline constexpr std::size_t kMacroMemory = 0x180;
using ombrisk::kMacroBlockSize;  // the record holds the macro blocks as the mouse does
using ombrisk::kMacroCount;
inline constexpr std::size_t kMacroMemorySize = kMacroBlockSize * kMacroCount;  // 1536
inline constexpr std::size_t kReserved0 = 0x780;                                 // 5 bytes
inline constexpr std::size_t kReportInterval = 0x785;  // 1, 2, 4, 8 = 1000, 500, 250, 125 Hz
inline constexpr std::size_t kReserved1 = 0x786;
inline constexpr std::size_t kDpiLevel = 0x787;      // 4 bytes, stages 1..4
inline constexpr std::size_t kStageEnabled = 0x78B;  // 4 bytes, stages 1..4
inline constexpr std::size_t kStageColours = 0x78F;  // 4 x (red, green, blue)
inline constexpr std::size_t kLightingMode = 0x79B;  // 1, 2, 3; other values: as read
inline constexpr std::size_t kMode1Parameter = 0x79C;
inline constexpr std::size_t kMode2Parameter = 0x79D;
inline constexpr std::size_t kMode3Parameter = 0x79E;
inline constexpr std::size_t kLightingOption = 0x79F;  // kept for the lighting page, not sent
inline constexpr std::size_t kMode2Effect = 0x7A0;     // 1 or 2
inline constexpr std::size_t kMode3Effect = 0x7A1;     // 2 or 3
inline constexpr std::size_t kReserved2 = 0x7A2;
inline constexpr std::size_t kEnhancePrecision = 0x7A3;  // pointer settings, never sent
inline constexpr std::size_t kWheelOneScreen = 0x7A4;
inline constexpr std::size_t kPointerSpeed = 0x7A5;
inline constexpr std::size_t kWheelLines = 0x7A6;
inline constexpr std::size_t kDoubleClickIndex = 0x7A7;
inline constexpr std::size_t kKeyTableSelector = 0x7A8;  // 0 = table A shown, 1 = table B
inline constexpr std::size_t kDpiActionsA = 0x7A9;       // 12 DpiAction bytes of table A
inline constexpr std::size_t kDpiActionsB = 0x7B5;       // 12 DpiAction bytes of table B

inline constexpr std::size_t kStageCount = 4;
}  // namespace rec

inline constexpr std::size_t kButtonCount = 12;   // entries of a key table
inline constexpr std::size_t kEncodedButtons = 8; // entries 0..7 reach the mouse

// The sixteen parallel twelve-byte arrays of a key table, in table order.
enum class KeyField : std::uint8_t {
  Function = 0,
  MediaIndex,
  MediaUsage,
  WindowsIndex,
  WindowsUsageLow,
  WindowsUsagePage,
  FireIndex,
  FireKey,
  FireSpeed,
  FireTimes,
  SingleKey,
  ComboModifiers,
  ComboKey1,
  ComboKey2,
  MacroNumber,
  MacroRepeat,
};
inline constexpr std::size_t kKeyFieldCount = 16;

enum class KeyTableId : std::uint8_t { A = 0, B = 1 };

struct SettingsRecord {
  std::array<std::uint8_t, rec::kSize> bytes{};

  std::uint8_t& operator[](std::size_t offset) { return bytes.at(offset); }
  std::uint8_t operator[](std::size_t offset) const { return bytes.at(offset); }

  // Every accessor throws std::out_of_range for an entry or block index past 11.
  // One entry of a key table field; entry is a ButtonIndex 0..11.
  std::uint8_t& key(KeyTableId table, KeyField field, std::size_t entry);
  std::uint8_t key(KeyTableId table, KeyField field, std::size_t entry) const;
  // The DpiAction (1..4) of an entry, kept beside the key table.
  std::uint8_t& dpiAction(KeyTableId table, std::size_t entry);
  std::uint8_t dpiAction(KeyTableId table, std::size_t entry) const;
  // The 128 bytes of the macro block of macro number 1..12 (index 0..11).
  std::uint8_t* macroBlock(std::size_t index);
  const std::uint8_t* macroBlock(std::size_t index) const;

  bool operator==(const SettingsRecord&) const = default;
};

struct SettingsImage {
  SettingsRecord record;
  SettingsRecord appliedCopy;
  std::uint8_t firstRunFlag = 0;
  DeviceImage device;
};

// The program's one settings image.
SettingsImage& settingsImage();

}  // namespace ombrisk
