#include "device/handshake.h"

#include <algorithm>
#include <vector>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

constexpr unsigned kPauseBeforeAnswerMs = 5;

Frame handshakeFrame() {
  const auto& m = kHandshakeMagic;
  return makeFrame(cmd::kHandshake, m[0], m[1], m[2], m[3]);
}

bool carriesMagic(const Frame& frame) {
  return std::equal(kHandshakeMagic.begin(), kHandshakeMagic.end(), frame.begin() + 1);
}

// Sends the frame as a feature report, pauses, and reads the feature report back. The
// handshake command has bit 7 clear, so the ordinary frame transaction would not read.
Frame exchange(CommandPort& port, Pauser& pauser, const Frame& wire) {
  std::vector<std::uint8_t> report(std::max<std::size_t>(port.lengths().feature,
                                                         kFeatureReportLength), 0);
  std::copy(wire.begin(), wire.end(), report.begin() + 1);
  port.setFeature(report);
  pauser.pauseMs(kPauseBeforeAnswerMs);
  std::fill(report.begin(), report.end(), 0);
  port.getFeature(report);
  Frame answer{};
  std::copy_n(report.begin() + 1, answer.size(), answer.begin());
  return answer;
}

}  // namespace

bool runHandshake(CommandProtocol& protocol, Pauser& pauser) {
  protocol.setScrambling(false);
  const Frame plain = handshakeFrame();
  if (carriesMagic(exchange(protocol.port(), pauser, plain))) return false;

  const ScrambleKey key = protocolScrambleKey();
  Frame wire = plain;
  scrambleFrame(wire, key);
  Frame answer = exchange(protocol.port(), pauser, wire);
  unscrambleFrame(answer, key);
  if (!carriesMagic(answer)) return false;
  protocol.setScrambling(true, key);
  return true;
}

}  // namespace ombrisk
