// The mouse's answers to every read command, plain and scrambled: the handshake, the frame
// and block reads of each command, with report lengths, answers and failures taken from the
// input. Whatever the mouse answers, nothing is read or written outside the image.
#include "device/command_protocol.h"
#include "device/handshake.h"
#include "device/report_commands.h"
#include "fuzz_input.h"

namespace {

using namespace ombrisk;

class ScriptedPort final : public CommandPort {
 public:
  explicit ScriptedPort(fuzz::FuzzInput& input) : input_(input) {
    static constexpr std::uint16_t kLengths[] = {0, 1, 8, 9, 9, 9, 16, 33, 33, 33, 64, 65};
    lengths_.feature = kLengths[input_.byte() % std::size(kLengths)];
    lengths_.input = kLengths[input_.byte() % std::size(kLengths)];
    lengths_.output = kLengths[input_.byte() % std::size(kLengths)];
  }
  ReportLengths lengths() const override { return lengths_; }
  bool setFeature(std::span<const std::uint8_t>) override { return succeeds(); }
  bool getFeature(std::span<std::uint8_t> report) override { return answer(report); }
  bool writeOutput(std::span<const std::uint8_t>) override { return succeeds(); }
  bool readInput(std::span<std::uint8_t> report) override { return answer(report); }
  bool discardInput() override { return true; }

 private:
  // One call in sixteen fails; the input's end fails them all.
  bool succeeds() { return !input_.empty() && input_.byte() % 16 != 0; }
  bool answer(std::span<std::uint8_t> report) {
    if (!succeeds()) return false;
    const auto bytes = input_.take(report.size());
    std::copy(bytes.begin(), bytes.end(), report.begin());
    return true;
  }

  fuzz::FuzzInput& input_;
  ReportLengths lengths_;
};

class NoPause final : public Pauser {
 public:
  void pauseMs(unsigned) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const bool scrambled = input.byte() & 1;
  ScriptedPort port(input);
  NoPause pauser;
  CommandProtocol protocol(port, pauser);
  DeviceImage image;
  if (input.byte() & 1) {
    runHandshake(protocol, pauser);
  } else {
    protocol.setScrambling(scrambled, protocolScrambleKey());
  }
  readSensorAtConnection(protocol, image);
  readSensorBlock(protocol, image);
  readLightSets(protocol, image);
  readEffectBlock(protocol, image);
  readFeatureBlocks(protocol, image);
  readMacros(protocol, image);
  return 0;
}
