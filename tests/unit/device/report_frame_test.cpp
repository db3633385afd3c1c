#include <gtest/gtest.h>

#include <random>

#include "device/report_frame.h"

namespace ombrisk {
namespace {

struct ChecksumCase {
  Frame frame;
  std::uint8_t checksum;
};

TEST(ReportFrame, ChecksumIsFfMinusTheSumOfBytesZeroToSix) {
  const ChecksumCase cases[] = {
      {{0x83, 0, 0, 0, 0, 0, 0, 0}, 0x7C},
      {{0x00, 0xAA, 0xDD, 0x3B, 0x62, 0x00, 0x00, 0}, 0xDB},
      {{0x12, 0x01, 0x40, 0, 0, 0, 0, 0}, 0xAC},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x55}, 0x06},  // wraps; byte 7 ignored
      {{0, 0, 0, 0, 0, 0, 0, 0}, 0xFF},
  };
  for (const auto& c : cases) EXPECT_EQ(frameChecksum(c.frame), c.checksum);
}

TEST(ReportFrame, MakeFrameSealsTheChecksum) {
  EXPECT_EQ(makeFrame(0x12, 0x01, 0x40), (Frame{0x12, 0x01, 0x40, 0, 0, 0, 0, 0xAC}));
  EXPECT_EQ(makeFrame(0x00, 0xAA, 0xDD, 0x3B, 0x62),
            (Frame{0x00, 0xAA, 0xDD, 0x3B, 0x62, 0, 0, 0xDB}));
}

// Worked out by hand from the transform's four steps with the protocol's key and table.
TEST(ScrambleTransform, MatchesTheTransformWorkedOutByHand) {
  struct Case {
    Frame plain;
    Frame wire;
  };
  const Case cases[] = {
      {{0x00, 0xAA, 0xDD, 0x3B, 0x62, 0x00, 0x00, 0xDB},
       {0xA4, 0x09, 0x8D, 0x60, 0x53, 0xC1, 0xAC, 0xBD}},
      {{0x83, 0, 0, 0, 0, 0, 0, 0x7C}, {0xA5, 0xFE, 0xC5, 0x65, 0x27, 0xC8, 0x4E, 0xD5}},
  };
  for (const auto& c : cases) {
    Frame frame = c.plain;
    scrambleFrame(frame, protocolScrambleKey());
    EXPECT_EQ(frame, c.wire);
    unscrambleFrame(frame, protocolScrambleKey());
    EXPECT_EQ(frame, c.plain);
  }
}

TEST(ScrambleTransform, KeyBytesZeroAndSevenAreNeverUsed) {
  ScrambleKey key = protocolScrambleKey();
  EXPECT_EQ(key[0], 0);
  EXPECT_EQ(key[7], 0);
  ScrambleKey noisy = key;
  noisy[0] = 0x5A;
  noisy[7] = 0xA5;
  Frame a = makeFrame(0x90, 1, 24), b = a;
  scrambleFrame(a, key);
  scrambleFrame(b, noisy);
  EXPECT_EQ(a, b);
}

TEST(ScrambleTransform, UnscrambleUndoesScrambleForRandomFramesAndKeys) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  int changed = 0;
  for (int round = 0; round < 20000; ++round) {
    Frame plain{};
    ScrambleKey key{};
    for (auto& b : plain) b = static_cast<std::uint8_t>(byte(random));
    for (std::size_t i = 1; i <= 6; ++i) key[i] = static_cast<std::uint8_t>(byte(random));
    if (round % 2) key = protocolScrambleKey();
    Frame frame = plain;
    scrambleFrame(frame, key);
    changed += frame != plain;
    unscrambleFrame(frame, key);
    ASSERT_EQ(frame, plain) << "round " << round;
  }
  EXPECT_GT(changed, 19900);
}

}  // namespace
}  // namespace ombrisk
