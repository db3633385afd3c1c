// One operation per command of the mouse's protocol, filling or sending the DeviceImage.
// None reports a failure: a read that fails leaves the zero-filled answer, and the pauses
// are the only flow control.
#pragma once

#include "device/command_protocol.h"
#include "device/device_image.h"

namespace ombrisk {

void sendReportInterval(CommandProtocol& protocol, const DeviceImage& image);  // 0x01
void readSensorBlock(CommandProtocol& protocol, DeviceImage& image);           // 0x83
void writeSensorBlock(CommandProtocol& protocol, const DeviceImage& image);    // 0x03
void readLightSets(CommandProtocol& protocol, DeviceImage& image);             // 0x87 x 2
void writeLightSets(CommandProtocol& protocol, const DeviceImage& image);      // 0x07 x 2
void readEffectBlock(CommandProtocol& protocol, DeviceImage& image);           // 0x8D
void writeEffectBlock(CommandProtocol& protocol, const DeviceImage& image);    // 0x0D
void readFeatureBlocks(CommandProtocol& protocol, DeviceImage& image);         // 0x90 x 2
void writeFeatureBlocks(CommandProtocol& protocol, const DeviceImage& image);  // 0x10 x 2
void writeStageCodes(CommandProtocol& protocol, const DeviceImage& image);     // 0x11
void writeKeyMatrices(CommandProtocol& protocol, const DeviceImage& image);    // 0x12 x 4
void writeMacros(CommandProtocol& protocol, const DeviceImage& image);         // 0x13 x 12
void readMacros(CommandProtocol& protocol, DeviceImage& image);                // 0x93 x 12

// At connection: read the sensor block, take its sensor type as the current one, set bit 6
// of option 2 and write it back.
void readSensorAtConnection(CommandProtocol& protocol, DeviceImage& image);

// The 64 wire bytes of a key matrix: each word b0..b3, word 0 first.
std::array<std::uint8_t, 64> keyMatrixBytes(const KeyMatrix& matrix);

}  // namespace ombrisk
