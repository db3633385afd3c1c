// Constants of the mouse's command protocol, shared by the utility and vmouse.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ombrisk {

inline constexpr std::uint16_t kMouseVendorId = 0x04D9;
inline constexpr std::uint16_t kMouseProductId = 0xA09F;

// The ids as the names of the mouse's interfaces carry them: "VID_04D9&PID_A09F" (the system
// writes them in capitals or in small letters).
struct InterfaceIdSpelling {
  std::array<char, 17> text{};
  constexpr std::string_view view() const { return {text.data(), text.size()}; }
};
constexpr InterfaceIdSpelling spellInterfaceIds() {
  InterfaceIdSpelling spelling;
  constexpr std::string_view digits = "0123456789ABCDEF";
  std::size_t at = 0;
  const auto put = [&](std::string_view word, std::uint16_t id) {
    for (char c : word) spelling.text[at++] = c;
    for (int shift = 12; shift >= 0; shift -= 4) spelling.text[at++] = digits[(id >> shift) & 15];
  };
  put("VID_", kMouseVendorId);
  put("&PID_", kMouseProductId);
  return spelling;
}
inline constexpr InterfaceIdSpelling kMouseInterfaceIds = spellInterfaceIds();
inline constexpr std::uint16_t kCommandUsagePage = 0xFF00;  // usage 0xFF00 too
inline constexpr std::uint16_t kEventUsagePage = 0xFF01;    // usage 0xFF01 too
inline constexpr std::uint8_t kEventReportId = 6;

// Report lengths of the mouse's interfaces: report id + payload.
inline constexpr std::size_t kFeatureReportLength = 1 + 8;
inline constexpr std::size_t kBlockReportLength = 1 + 32;
inline constexpr std::size_t kEventReportLength = 1 + 8;
inline constexpr std::size_t kBlockSize = 32;

// Frame bytes 1..4 of the handshake, sent and expected back.
inline constexpr std::array<std::uint8_t, 4> kHandshakeMagic{0xAA, 0xDD, 0x3B, 0x62};

// Bytes 1..6 of the scramble key (bytes 0 and 7 are 0 and unused).
inline constexpr std::array<std::uint8_t, 6> kScrambleKeyBytes{0x5C, 0x93, 0x2E, 0xB7, 0x41, 0xD8};
// One byte per frame position, added nibble-swapped by the transform.
inline constexpr std::array<std::uint8_t, 8> kNibbleTable{0x3A, 0x71, 0xC4, 0x0F,
                                                          0x96, 0x2B, 0xE8, 0x5D};

// Commands; bit 7 set means the frame is read back.
namespace cmd {
inline constexpr std::uint8_t kReadBit = 0x80;
inline constexpr std::uint8_t kHandshake = 0x00;
inline constexpr std::uint8_t kReportInterval = 0x01;
inline constexpr std::uint8_t kWriteSensor = 0x03;
inline constexpr std::uint8_t kReadSensor = 0x83;
inline constexpr std::uint8_t kWriteLightSet = 0x07;
inline constexpr std::uint8_t kReadLightSet = 0x87;
inline constexpr std::uint8_t kWriteEffect = 0x0D;
inline constexpr std::uint8_t kReadEffect = 0x8D;
inline constexpr std::uint8_t kWriteFeatureBlock = 0x10;
inline constexpr std::uint8_t kReadFeatureBlock = 0x90;
inline constexpr std::uint8_t kWriteStageCodes = 0x11;
inline constexpr std::uint8_t kWriteKeyMatrix = 0x12;
inline constexpr std::uint8_t kWriteMacro = 0x13;
inline constexpr std::uint8_t kReadMacro = 0x93;
}  // namespace cmd

}  // namespace ombrisk
