#include "device/report_frame.h"

#include <utility>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

std::uint8_t nibbleSwapped(std::uint8_t t) {
  return static_cast<std::uint8_t>((t << 4) | (t >> 4));
}

void swapPairs(Frame& d) {
  std::swap(d[0], d[5]);
  std::swap(d[1], d[4]);
  std::swap(d[2], d[7]);
  std::swap(d[3], d[6]);
}

void xorKey(Frame& d, const ScrambleKey& key) {
  for (std::size_t i = 1; i <= 6; ++i) d[i] ^= key[i];
}

// The frame as one 64-bit quantity, byte 0 most significant.
std::uint64_t toWord(const Frame& d) {
  std::uint64_t word = 0;
  for (std::uint8_t byte : d) word = (word << 8) | byte;
  return word;
}

Frame fromWord(std::uint64_t word) {
  Frame d{};
  for (std::size_t i = 8; i-- > 0;) {
    d[i] = static_cast<std::uint8_t>(word);
    word >>= 8;
  }
  return d;
}

}  // namespace

std::uint8_t frameChecksum(const Frame& frame) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < 7; ++i) sum += frame[i];
  return static_cast<std::uint8_t>(0xFF - sum);
}

Frame makeFrame(std::uint8_t command, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                std::uint8_t b4, std::uint8_t b5, std::uint8_t b6) {
  Frame frame{command, b1, b2, b3, b4, b5, b6, 0};
  frame[7] = frameChecksum(frame);
  return frame;
}

ScrambleKey protocolScrambleKey() {
  ScrambleKey key{};
  for (std::size_t i = 0; i < kScrambleKeyBytes.size(); ++i) key[i + 1] = kScrambleKeyBytes[i];
  return key;
}

void scrambleFrame(Frame& frame, const ScrambleKey& key) {
  swapPairs(frame);
  xorKey(frame, key);
  const std::uint64_t word = toWord(frame);
  frame = fromWord((word << 3) | (word >> 61));
  for (std::size_t i = 0; i < 8; ++i)
    frame[i] = static_cast<std::uint8_t>(frame[i] + nibbleSwapped(kNibbleTable[i]));
}

void unscrambleFrame(Frame& frame, const ScrambleKey& key) {
  for (std::size_t i = 0; i < 8; ++i)
    frame[i] = static_cast<std::uint8_t>(frame[i] - nibbleSwapped(kNibbleTable[i]));
  const std::uint64_t word = toWord(frame);
  frame = fromWord((word >> 3) | (word << 61));
  xorKey(frame, key);
  swapPairs(frame);
}

}  // namespace ombrisk
