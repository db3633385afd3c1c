// The 8-byte command frame: command byte, six payload bytes, checksum; and the scramble
// transform that the handshake may switch on.
#pragma once

#include <array>
#include <cstdint>

namespace ombrisk {

using Frame = std::array<std::uint8_t, 8>;

// 0xFF minus the sum of bytes 0..6, modulo 256.
std::uint8_t frameChecksum(const Frame& frame);
// A frame with the given command and payload bytes 1..6 and its checksum in byte 7.
Frame makeFrame(std::uint8_t command, std::uint8_t b1 = 0, std::uint8_t b2 = 0,
                std::uint8_t b3 = 0, std::uint8_t b4 = 0, std::uint8_t b5 = 0,
                std::uint8_t b6 = 0);

// Bytes 0 and 7 are 0; bytes 1..6 are the protocol's key bytes once scrambling starts.
using ScrambleKey = std::array<std::uint8_t, 8>;
ScrambleKey protocolScrambleKey();

void scrambleFrame(Frame& frame, const ScrambleKey& key);
void unscrambleFrame(Frame& frame, const ScrambleKey& key);

}  // namespace ombrisk
