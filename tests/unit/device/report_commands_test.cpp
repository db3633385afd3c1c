#include <gtest/gtest.h>

#include "device/report_commands.h"
#include "fake_command_port.h"

namespace ombrisk {
namespace {

using testing::Bytes;
using testing::featureReport;
using testing::inputReport;

class ReportCommandsTest : public ::testing::Test {
 protected:
  // The frames sent, as the 8 bytes after the report id.
  std::vector<Bytes> framesSent() const {
    std::vector<Bytes> frames;
    for (const Bytes& report : port.reportsOf('S')) frames.emplace_back(report.begin() + 1, report.end());
    return frames;
  }

  testing::FakeCommandPort port;
  testing::RecordingPauser pauser;
  CommandProtocol protocol{port, pauser};
  DeviceImage image;
};

TEST_F(ReportCommandsTest, FrameWritesCarryTheImageFields) {
  image.reportInterval = 8;
  image.sensor = {2, 3, 4, 5};
  image.effect = {1, 2, 3};
  image.lightSets = {{{0x10, 0x20, 0x30}, {0x40, 0x50, 0x60}}};
  sendReportInterval(protocol, image);
  writeSensorBlock(protocol, image);
  writeEffectBlock(protocol, image);
  writeLightSets(protocol, image);
  EXPECT_EQ(framesSent(), (std::vector<Bytes>{
                              {0x01, 0x08, 0, 0, 0, 0, 0, 0xF6},
                              {0x03, 2, 3, 4, 5, 0, 0, 0xEE},
                              {0x0D, 1, 2, 3, 0, 0, 0, 0xEC},
                              {0x07, 0, 0x10, 0x20, 0x30, 0, 0, 0x98},
                              {0x07, 1, 0x40, 0x50, 0x60, 0, 0, 0x07},
                          }));
  EXPECT_EQ(port.kinds(), "SSSSS");
  EXPECT_EQ(pauser.pauses, (std::vector<unsigned>{2, 2}));
}

TEST_F(ReportCommandsTest, BlockWritesCarryTheirDataInWireOrder) {
  image.featureBlocks[0].fill(0xA0);
  image.featureBlocks[1].fill(0xA1);
  image.stageCount = 4;
  image.stageCodes = {1, 2, 3, 4, 5, 6, 7, 8};
  image.keyMatrices[0][0] = 0x44332211;
  image.keyMatrices[0][15] = 0xDDCCBBAA;
  image.macros[11].fill(0x5C);
  writeFeatureBlocks(protocol, image);
  writeStageCodes(protocol, image);
  writeKeyMatrices(protocol, image);
  writeMacros(protocol, image);

  const auto frames = framesSent();
  ASSERT_EQ(frames.size(), 2u + 1 + 4 + 12);
  EXPECT_EQ(frames[0], (Bytes{0x10, 0, 24, 0, 0, 0, 0, 0xD7}));
  EXPECT_EQ(frames[1], (Bytes{0x10, 1, 24, 0, 0, 0, 0, 0xD6}));
  EXPECT_EQ(frames[2], (Bytes{0x11, 4, 8, 0, 0, 0, 0, 0xE2}));
  EXPECT_EQ(frames[3], (Bytes{0x12, 1, 64, 0, 0, 0, 0, 0xAC}));
  EXPECT_EQ(frames[18], (Bytes{0x13, 12, 128, 0, 0, 0, 0, 0x60}));

  const auto blocks = port.reportsOf('W');
  ASSERT_EQ(blocks.size(), 2u + 1 + 4 * 2 + 12 * 4);
  Bytes featureBlock(33, 0);
  std::fill(featureBlock.begin() + 1, featureBlock.begin() + 25, 0xA1);
  EXPECT_EQ(blocks[1], featureBlock);
  EXPECT_EQ(blocks[2], (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(blocks[3].begin(), blocks[3].begin() + 5), (Bytes{0, 0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(Bytes(blocks[4].end() - 4, blocks[4].end()), (Bytes{0xAA, 0xBB, 0xCC, 0xDD}));
  EXPECT_EQ(blocks.back(), inputReport(0x5C));
}

TEST_F(ReportCommandsTest, KeyMatrixWordsGoOutB0First) {
  KeyMatrix matrix{};
  matrix[1] = 0x04030201;
  const auto bytes = keyMatrixBytes(matrix);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0, 0, 0, 0, 1, 2, 3, 4}));
}

TEST_F(ReportCommandsTest, ReadsStoreIntoTheSetNamedByTheAnswer) {
  port.featureAnswers = {
      featureReport({0x87, 1, 0x11, 0x12, 0x13}),  // asked for 0, answered as set 1
      featureReport({0x87, 2, 0x21, 0x22, 0x23}),  // out of range: dropped
  };
  image.lightSets = {{{9, 9, 9}, {8, 8, 8}}};
  readLightSets(protocol, image);
  EXPECT_EQ(image.lightSets[0], (std::array<std::uint8_t, 3>{9, 9, 9}));
  EXPECT_EQ(image.lightSets[1], (std::array<std::uint8_t, 3>{0x11, 0x12, 0x13}));
  EXPECT_EQ(framesSent()[1], (Bytes{0x87, 1, 0, 0, 0, 0, 0, 0x77}));
}

TEST_F(ReportCommandsTest, BlockReadsOutOfRangeStoreNothingAndLongOnesStopAtTheBlock) {
  // Feature block 0 answered with length 255 and eight blocks; block 1's answer names 7.
  port.featureAnswers = {featureReport({0x90, 0, 255}), featureReport({0x90, 7, 24})};
  for (int b = 0; b < 8; ++b) port.inputAnswers.push_back(inputReport(0xEE));
  port.inputAnswers.push_back(inputReport(0x33));
  image.featureBlocks[1].fill(0x01);
  readFeatureBlocks(protocol, image);
  EXPECT_EQ(image.featureBlocks[0], (std::array<std::uint8_t, 24>{
                                        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                                        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                                        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(image.featureBlocks[1], (std::array<std::uint8_t, 24>{
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(pauser.pauses, (std::vector<unsigned>{2, 2}));
}

TEST_F(ReportCommandsTest, MacroReadsHonourTheAnsweredNumberAndLength) {
  // Answers for macro numbers 1..12: 1 -> as 2 with 20 bytes, 2 -> 0, 3 -> 13, others none.
  port.featureAnswers = {featureReport({0x93, 2, 20}), featureReport({0x93, 0, 128}),
                         featureReport({0x93, 13, 128})};
  port.inputAnswers = {inputReport(0x61), inputReport(0x62), inputReport(0x62), inputReport(0x62),
                       inputReport(0x62), inputReport(0x63), inputReport(0x63), inputReport(0x63),
                       inputReport(0x63)};
  for (auto& macro : image.macros) macro.fill(0x0F);
  readMacros(protocol, image);

  MacroBlock expected2;
  expected2.fill(0x0F);
  std::fill(expected2.begin(), expected2.begin() + 20, 0x61);
  EXPECT_EQ(image.macros[1], expected2);
  MacroBlock untouched;
  untouched.fill(0x0F);
  EXPECT_EQ(image.macros[0], untouched);
  // Numbers 4..12 got zero answers (number 0): nothing stored either.
  for (std::size_t k = 2; k < 12; ++k) EXPECT_EQ(image.macros[k], untouched) << k;
  EXPECT_EQ(framesSent().size(), 12u);
}

TEST_F(ReportCommandsTest, TheSensorBlockAtConnectionSetsBit6AndWritesItBack) {
  port.featureAnswers = {featureReport({0x83, 3, 0x01, 0x22, 0x05})};
  readSensorAtConnection(protocol, image);
  EXPECT_EQ(image.currentSensorType, 3);
  EXPECT_EQ(image.sensor, (std::array<std::uint8_t, 4>{3, 0x01, 0x22, 0x45}));
  EXPECT_EQ(port.kinds(), "SGS");
  EXPECT_EQ(framesSent()[1], (Bytes{0x03, 3, 0x01, 0x22, 0x45, 0, 0, 0x91}));
}

}  // namespace
}  // namespace ombrisk
