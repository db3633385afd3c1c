#include "device/report_commands.h"

#include <algorithm>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

constexpr unsigned kPauseInSeriesMs = 2;
// Room for the longest answer a block read can announce (byte 2 is at most 255).
constexpr std::size_t kLongestBlockAnswer = 256;

using BlockAnswer = std::array<std::uint8_t, kLongestBlockAnswer>;

}  // namespace

void sendReportInterval(CommandProtocol& protocol, const DeviceImage& image) {
  Frame frame = makeFrame(cmd::kReportInterval, image.reportInterval);
  protocol.frameTransaction(frame);
}

void readSensorBlock(CommandProtocol& protocol, DeviceImage& image) {
  Frame frame = makeFrame(cmd::kReadSensor);
  protocol.frameTransaction(frame);
  std::copy_n(frame.begin() + 1, image.sensor.size(), image.sensor.begin());
}

void writeSensorBlock(CommandProtocol& protocol, const DeviceImage& image) {
  const auto& s = image.sensor;
  Frame frame = makeFrame(cmd::kWriteSensor, s[0], s[1], s[2], s[3]);
  protocol.frameTransaction(frame);
}

void readLightSets(CommandProtocol& protocol, DeviceImage& image) {
  for (std::uint8_t index = 0; index < image.lightSets.size(); ++index) {
    Frame frame = makeFrame(cmd::kReadLightSet, index);
    protocol.frameTransaction(frame);
    if (frame[1] < image.lightSets.size())
      std::copy_n(frame.begin() + 2, 3, image.lightSets[frame[1]].begin());
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void writeLightSets(CommandProtocol& protocol, const DeviceImage& image) {
  for (std::uint8_t index = 0; index < image.lightSets.size(); ++index) {
    const auto& set = image.lightSets[index];
    Frame frame = makeFrame(cmd::kWriteLightSet, index, set[0], set[1], set[2]);
    protocol.frameTransaction(frame);
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void readEffectBlock(CommandProtocol& protocol, DeviceImage& image) {
  Frame frame = makeFrame(cmd::kReadEffect);
  protocol.frameTransaction(frame);
  std::copy_n(frame.begin() + 1, image.effect.size(), image.effect.begin());
}

void writeEffectBlock(CommandProtocol& protocol, const DeviceImage& image) {
  const auto& e = image.effect;
  Frame frame = makeFrame(cmd::kWriteEffect, e[0], e[1], e[2]);
  protocol.frameTransaction(frame);
}

void readFeatureBlocks(CommandProtocol& protocol, DeviceImage& image) {
  for (std::uint8_t index = 0; index < image.featureBlocks.size(); ++index) {
    Frame frame = makeFrame(cmd::kReadFeatureBlock, index);
    BlockAnswer answer{};
    protocol.blockTransaction(frame, answer);
    if (frame[1] < image.featureBlocks.size()) {
      const std::size_t length = std::min<std::size_t>(frame[2], kFeatureBlockSize);
      std::copy_n(answer.begin(), length, image.featureBlocks[frame[1]].begin());
    }
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void writeFeatureBlocks(CommandProtocol& protocol, const DeviceImage& image) {
  for (std::uint8_t index = 0; index < image.featureBlocks.size(); ++index) {
    Frame frame = makeFrame(cmd::kWriteFeatureBlock, index, kFeatureBlockSize);
    auto data = image.featureBlocks[index];
    protocol.blockTransaction(frame, data);
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void writeStageCodes(CommandProtocol& protocol, const DeviceImage& image) {
  Frame frame = makeFrame(cmd::kWriteStageCodes, image.stageCount, kStageCodeCount);
  auto data = image.stageCodes;
  protocol.blockTransaction(frame, data);
}

std::array<std::uint8_t, 64> keyMatrixBytes(const KeyMatrix& matrix) {
  std::array<std::uint8_t, 64> bytes{};
  for (std::size_t word = 0; word < matrix.size(); ++word)
    for (std::size_t b = 0; b < 4; ++b)
      bytes[word * 4 + b] = static_cast<std::uint8_t>(matrix[word] >> (8 * b));
  return bytes;
}

void writeKeyMatrices(CommandProtocol& protocol, const DeviceImage& image) {
  for (std::uint8_t number = 1; number <= image.keyMatrices.size(); ++number) {
    auto data = keyMatrixBytes(image.keyMatrices[number - 1]);
    Frame frame = makeFrame(cmd::kWriteKeyMatrix, number, static_cast<std::uint8_t>(data.size()));
    protocol.blockTransaction(frame, data);
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void writeMacros(CommandProtocol& protocol, const DeviceImage& image) {
  for (std::uint8_t number = 1; number <= image.macros.size(); ++number) {
    MacroBlock data = image.macros[number - 1];
    Frame frame = makeFrame(cmd::kWriteMacro, number, static_cast<std::uint8_t>(data.size()));
    protocol.blockTransaction(frame, data);
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void readMacros(CommandProtocol& protocol, DeviceImage& image) {
  for (std::uint8_t number = 1; number <= image.macros.size(); ++number) {
    Frame frame = makeFrame(cmd::kReadMacro, number);
    BlockAnswer answer{};
    protocol.blockTransaction(frame, answer);
    if (frame[1] >= 1 && frame[1] <= image.macros.size()) {
      const std::size_t length = std::min<std::size_t>(frame[2], kMacroBlockSize);
      std::copy_n(answer.begin(), length, image.macros[frame[1] - 1].begin());
    }
    protocol.pauseMs(kPauseInSeriesMs);
  }
}

void readSensorAtConnection(CommandProtocol& protocol, DeviceImage& image) {
  readSensorBlock(protocol, image);
  image.currentSensorType = image.sensor[0];
  image.sensor[3] |= 0x40;
  writeSensorBlock(protocol, image);
}

}  // namespace ombrisk
