#include <gtest/gtest.h>

#include "device/command_protocol.h"
#include "device/report_frame.h"
#include "fake_command_port.h"

namespace ombrisk {
namespace {

using testing::Bytes;
using testing::featureReport;
using testing::inputReport;

class CommandProtocolTest : public ::testing::Test {
 protected:
  testing::FakeCommandPort port;
  testing::RecordingPauser pauser;
  CommandProtocol protocol{port, pauser};
};

TEST_F(CommandProtocolTest, AWriteCommandSendsOneFeatureReportAndReadsNone) {
  Frame frame{0x01, 0x02, 0, 0, 0, 0, 0, 0x99};  // a stale checksum gets replaced
  protocol.frameTransaction(frame);
  EXPECT_EQ(port.kinds(), "S");
  EXPECT_EQ(port.calls[0].report, (Bytes{0x00, 0x01, 0x02, 0, 0, 0, 0, 0, 0xFC}));
  EXPECT_EQ(frame[7], 0xFC);
}

TEST_F(CommandProtocolTest, AReadCommandReadsExactlyOneFeatureReportBack) {
  port.featureAnswers.push_back(featureReport({0x83, 0x02, 0x01, 0x05, 0x06, 0, 0, 0x00}));
  Frame frame = makeFrame(0x83);
  protocol.frameTransaction(frame);
  EXPECT_EQ(port.kinds(), "SG");
  EXPECT_EQ(port.calls[0].report, (Bytes{0x00, 0x83, 0, 0, 0, 0, 0, 0, 0x7C}));
  EXPECT_EQ(port.calls[1].report, Bytes(9, 0)) << "the read buffer is zero-filled";
  EXPECT_EQ(frame, (Frame{0x83, 0x02, 0x01, 0x05, 0x06, 0, 0, 0x00}));
  EXPECT_TRUE(pauser.pauses.empty());
}

TEST_F(CommandProtocolTest, AFailedReadLeavesTheZeroFilledAnswer) {
  Frame frame = makeFrame(0x83, 7, 7, 7, 7);
  protocol.frameTransaction(frame);
  EXPECT_EQ(frame, Frame{});
}

TEST_F(CommandProtocolTest, FeatureReportsTakeTheInterfaceLengthZeroFilled) {
  port.reportLengths.feature = 65;
  Frame frame = makeFrame(0x0D, 1, 2, 3);
  protocol.frameTransaction(frame);
  Bytes expected(65, 0);
  const Bytes head{0x00, 0x0D, 1, 2, 3, 0, 0, 0, 0xEC};
  std::copy(head.begin(), head.end(), expected.begin());
  EXPECT_EQ(port.calls[0].report, expected);
}

TEST_F(CommandProtocolTest, ScramblingChangesTheWireButTheReadDecisionUsesThePlainBit) {
  protocol.setScrambling(true, protocolScrambleKey());
  // The answer on the wire is the scrambled form of 83 02 01 05 06 00 00 xx.
  Frame answer = makeFrame(0x83, 0x02, 0x01, 0x05, 0x06);
  scrambleFrame(answer, protocolScrambleKey());
  Bytes answerReport{0};
  answerReport.insert(answerReport.end(), answer.begin(), answer.end());
  port.featureAnswers.push_back(answerReport);

  Frame frame = makeFrame(0x83);
  protocol.frameTransaction(frame);
  ASSERT_EQ(port.kinds(), "SG");
  EXPECT_EQ(port.calls[0].report, (Bytes{0x00, 0xA5, 0xFE, 0xC5, 0x65, 0x27, 0xC8, 0x4E, 0xD5}));
  EXPECT_EQ(frame, makeFrame(0x83, 0x02, 0x01, 0x05, 0x06));

  // 0x10 (a write) scrambles to a wire byte with bit 7 set; still nothing is read back.
  Frame write = makeFrame(0x10, 0, 0);
  Frame wire = write;
  scrambleFrame(wire, protocolScrambleKey());
  port.calls.clear();
  protocol.frameTransaction(write);
  EXPECT_EQ(port.kinds(), "S");
  EXPECT_EQ(port.calls[0].report[1], wire[0]);
}

struct BlockWriteCase {
  std::uint8_t length;
  std::size_t blocks;
};

TEST_F(CommandProtocolTest, ABlockWriteSendsCeilNOver32BlocksZeroFilledWith3MsPauses) {
  for (const BlockWriteCase c : {BlockWriteCase{24, 1}, {64, 2}, {128, 4}, {0, 0}}) {
    port.calls.clear();
    pauser.pauses.clear();
    Bytes data(c.length);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    Frame frame = makeFrame(0x13, 5, c.length);
    protocol.blockTransaction(frame, data);

    EXPECT_EQ(port.kinds(), "S" + std::string(c.blocks, 'W')) << int(c.length);
    EXPECT_EQ(pauser.pauses, std::vector<unsigned>(c.blocks, 3u));
    const auto blocks = port.reportsOf('W');
    for (std::size_t b = 0; b < blocks.size(); ++b) {
      Bytes expected(33, 0);
      for (std::size_t i = 0; i < 32 && b * 32 + i < c.length; ++i)
        expected[1 + i] = static_cast<std::uint8_t>(b * 32 + i + 1);
      EXPECT_EQ(blocks[b], expected) << "n=" << int(c.length) << " block " << b;
    }
  }
}

TEST_F(CommandProtocolTest, TheFeatureBlockWriteEndsInEightZeroBytes) {
  Bytes data(24, 0xAB);
  Frame frame = makeFrame(0x10, 1, 24);
  protocol.blockTransaction(frame, data);
  Bytes expected(33, 0);
  std::fill(expected.begin() + 1, expected.begin() + 25, 0xAB);
  EXPECT_EQ(port.reportsOf('W'), std::vector<Bytes>{expected});
}

TEST_F(CommandProtocolTest, ABlockReadTakesItsLengthFromTheAnsweredFrame) {
  // Each block read starts by dropping stale input ('D'), then sends its frame.
  struct Case {
    std::uint8_t answered;
    std::size_t blocks;
  };
  for (const Case c : {Case{24, 1}, {64, 2}, {128, 4}, {0, 0}}) {
    port.calls.clear();
    port.featureAnswers = {featureReport({0x93, 3, c.answered})};
    for (std::size_t b = 0; b < c.blocks; ++b)
      port.inputAnswers.push_back(inputReport(static_cast<std::uint8_t>(0x10 + b)));
    Bytes data(128, 0xCC);
    Frame frame = makeFrame(0x93, 3);  // byte 2 sent as 0: the answer decides
    protocol.blockTransaction(frame, data);

    EXPECT_EQ(port.kinds(), "DSG" + std::string(c.blocks, 'R')) << int(c.answered);
    for (std::size_t i = 0; i < data.size(); ++i) {
      const std::uint8_t expected = i / 32 < c.blocks ? static_cast<std::uint8_t>(0x10 + i / 32) : 0xCC;
      ASSERT_EQ(data[i], expected) << "n=" << int(c.answered) << " byte " << i;
    }
  }
  EXPECT_TRUE(pauser.pauses.empty()) << "block reads do not pause";
}

TEST_F(CommandProtocolTest, AMissingInputReportLeavesZeros) {
  port.featureAnswers = {featureReport({0x90, 0, 64})};
  port.inputAnswers = {inputReport(0x77)};  // the second block never comes
  Bytes data(64, 0xCC);
  Frame frame = makeFrame(0x90, 0);
  protocol.blockTransaction(frame, data);
  EXPECT_EQ(Bytes(data.begin(), data.begin() + 32), Bytes(32, 0x77));
  EXPECT_EQ(Bytes(data.begin() + 32, data.end()), Bytes(32, 0));
}

TEST_F(CommandProtocolTest, AHostileLengthNeverWritesPastTheBuffer) {
  port.featureAnswers = {featureReport({0x90, 0, 255})};
  for (int b = 0; b < 8; ++b) port.inputAnswers.push_back(inputReport(0xEE));
  Bytes buffer(40, 0x11);  // 24 bytes of room and a guard of 16 that must stay
  Frame frame = makeFrame(0x90, 0);
  protocol.blockTransaction(frame, std::span(buffer).first(24));
  EXPECT_EQ(port.kinds(), "DSG" + std::string(8, 'R'));
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 24), Bytes(24, 0xEE));
  EXPECT_EQ(Bytes(buffer.begin() + 24, buffer.end()), Bytes(16, 0x11));
}

TEST_F(CommandProtocolTest, ShortInterfaceLengthsStillCarryAWholeFrameAndBlock) {
  port.reportLengths = {3, 5, 5};
  port.featureAnswers = {featureReport({0x90, 0, 32})};
  port.inputAnswers = {inputReport(0x42)};
  Bytes data(32, 0);
  Frame frame = makeFrame(0x90, 0);
  protocol.blockTransaction(frame, data);
  EXPECT_EQ(port.reportsOf('S').at(0).size(), 9u);
  EXPECT_EQ(data, Bytes(32, 0x42));
}

}  // namespace
}  // namespace ombrisk
