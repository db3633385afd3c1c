#include "device/command_protocol.h"

#include <algorithm>
#include <vector>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

constexpr unsigned kPauseAfterBlockMs = 3;

std::size_t blockCount(std::size_t bytes) { return (bytes + kBlockSize - 1) / kBlockSize; }

// A report buffer of the interface's length, never shorter than id + payload.
std::vector<std::uint8_t> reportBuffer(std::uint16_t length, std::size_t minimum) {
  return std::vector<std::uint8_t>(std::max<std::size_t>(length, minimum), 0);
}

}  // namespace

bool CommandProtocol::frameTransaction(Frame& frame) {
  frame[7] = frameChecksum(frame);
  const bool reads = (frame[0] & cmd::kReadBit) != 0;
  Frame wire = frame;
  if (scrambling_) scrambleFrame(wire, key_);

  std::vector<std::uint8_t> report = reportBuffer(port_.lengths().feature, kFeatureReportLength);
  std::copy(wire.begin(), wire.end(), report.begin() + 1);
  const bool sent = noted(port_.setFeature(report));
  if (!reads) return sent;

  std::fill(report.begin(), report.end(), 0);
  noted(port_.getFeature(report));
  std::copy(report.begin() + 1, report.begin() + 1 + wire.size(), wire.begin());
  if (scrambling_) unscrambleFrame(wire, key_);
  frame = wire;
  return sent;
}

bool CommandProtocol::blockTransaction(Frame& frame, std::span<std::uint8_t> data) {
  const bool reads = (frame[0] & cmd::kReadBit) != 0;
  if (reads) noted(port_.discardInput());
  const bool sent = frameTransaction(frame);
  const std::size_t length = std::min<std::size_t>(frame[2], data.size());
  const std::size_t blocks = blockCount(frame[2]);

  if (!reads) {
    std::vector<std::uint8_t> report = reportBuffer(port_.lengths().output, kBlockReportLength);
    for (std::size_t block = 0; block < blocks; ++block) {
      std::fill(report.begin(), report.end(), 0);
      const std::size_t start = block * kBlockSize;
      if (start < length)
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(start),
                    std::min(kBlockSize, length - start), report.begin() + 1);
      noted(port_.writeOutput(report));
      pauser_.pauseMs(kPauseAfterBlockMs);
    }
    return sent;
  }

  std::vector<std::uint8_t> report = reportBuffer(port_.lengths().input, kBlockReportLength);
  for (std::size_t block = 0; block < blocks; ++block) {
    std::fill(report.begin(), report.end(), 0);
    noted(port_.readInput(report));
    const std::size_t start = block * kBlockSize;
    if (start < data.size())
      std::copy_n(report.begin() + 1, std::min(kBlockSize, data.size() - start),
                  data.begin() + static_cast<std::ptrdiff_t>(start));
  }
  return sent;
}

}  // namespace ombrisk
