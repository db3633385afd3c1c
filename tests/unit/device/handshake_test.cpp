#include <gtest/gtest.h>

#include "device/handshake.h"
#include "device/report_frame.h"
#include "fake_command_port.h"

namespace ombrisk {
namespace {

using testing::Bytes;
using testing::featureReport;

const Bytes kPlainHandshake{0x00, 0x00, 0xAA, 0xDD, 0x3B, 0x62, 0x00, 0x00, 0xDB};
const Bytes kScrambledHandshake{0x00, 0xA4, 0x09, 0x8D, 0x60, 0x53, 0xC1, 0xAC, 0xBD};

class HandshakeTest : public ::testing::Test {
 protected:
  testing::FakeCommandPort port;
  testing::RecordingPauser pauser;
  CommandProtocol protocol{port, pauser};
};

TEST_F(HandshakeTest, AMouseThatAnswersOnlyTheScrambledFrameTurnsScramblingOn) {
  port.featureAnswers = {Bytes(9, 0), kScrambledHandshake};
  EXPECT_TRUE(runHandshake(protocol, pauser));
  EXPECT_TRUE(protocol.scrambling());
  EXPECT_EQ(port.kinds(), "SGSG");
  EXPECT_EQ(port.calls[0].report, kPlainHandshake);
  EXPECT_EQ(port.calls[2].report, kScrambledHandshake);
  EXPECT_EQ(pauser.pauses, (std::vector<unsigned>{5, 5}));

  // Later frames go out scrambled.
  port.calls.clear();
  Frame frame = makeFrame(0x83);
  port.featureAnswers = {Bytes(9, 0)};
  protocol.frameTransaction(frame);
  EXPECT_EQ(port.calls[0].report, (Bytes{0x00, 0xA5, 0xFE, 0xC5, 0x65, 0x27, 0xC8, 0x4E, 0xD5}));
}

TEST_F(HandshakeTest, FailuresLeaveScramblingOff) {
  struct Case {
    const char* mouse;
    std::deque<Bytes> answers;
    std::string calls;
  };
  const Case cases[] = {
      {"echoes the plain frame", {kPlainHandshake}, "SG"},
      {"echoes the plain frame, checksum aside", {featureReport({0x00, 0xAA, 0xDD, 0x3B, 0x62, 9, 9, 0})}, "SG"},
      {"answers nothing", {}, "SGSG"},
      {"answers the scrambled frame with plain magic", {Bytes(9, 0), kPlainHandshake}, "SGSG"},
  };
  for (const Case& c : cases) {
    port.calls.clear();
    port.featureAnswers = c.answers;
    protocol.setScrambling(true, protocolScrambleKey());
    EXPECT_FALSE(runHandshake(protocol, pauser)) << c.mouse;
    EXPECT_FALSE(protocol.scrambling()) << c.mouse;
    EXPECT_EQ(port.kinds(), c.calls) << c.mouse;
  }
}

}  // namespace
}  // namespace ombrisk
