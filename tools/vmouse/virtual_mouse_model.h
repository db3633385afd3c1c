// The firmware of the virtual mouse: what it stores, how it answers the command frames and
// data blocks, its fault modes and the interfaces it presents. Built on the same frame and
// scramble code as the utility. Not thread-safe; the server serialises access.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/report_frame.h"
#include "device/virtual/virtual_mouse_wire.h"

namespace ombrisk {

// Everything the mouse remembers.
struct MouseSettings {
  std::array<std::uint8_t, 4> sensor{};  // sensor type, rate, option 1, option 2
  std::uint8_t reportInterval = 0;
  std::array<std::uint8_t, 3> effect{};
  std::array<std::array<std::uint8_t, 3>, 2> lightSets{};
  std::array<std::array<std::uint8_t, 24>, 2> featureBlocks{};
  std::uint8_t stageCount = 0;
  std::array<std::uint8_t, 8> stageCodes{};
  std::array<std::array<std::uint8_t, 64>, 4> keyMatrices{};  // wire order
  std::array<std::array<std::uint8_t, 128>, 12> macros{};

  bool operator==(const MouseSettings&) const = default;
};

// A fresh mouse of the given sensor type (0..3).
MouseSettings factorySettings(std::uint8_t sensorType);

enum class FaultMode { None, PlainEcho, Silent, Hostile, Late, Stuck };

struct FaultModeInfo {
  FaultMode mode;
  std::string_view option;  // command-line switch; empty for the well-behaved mouse
  bool echoesPlainHandshake;
  bool answersBlockReads;
  bool hostileAnswers;  // out-of-range indices and lengths in read answers
  // The answer to the first block read after each handshake comes one input report late:
  // the host's first wait for it passes empty, and its last block is still in the host's
  // input buffer when the next block read begins.
  bool lateFirstBlockRead;
  // Once the handshake is through, the mouse stops answering: every later request of the
  // host on the command interface waits for an answer that never comes.
  bool stopsAfterHandshake;
};

inline constexpr std::array<FaultModeInfo, 6> kFaultModes{{
    {FaultMode::None, "", false, true, false, false, false},
    {FaultMode::PlainEcho, "--plain-echo", true, true, false, false, false},
    {FaultMode::Silent, "--silent", false, false, false, false, false},
    {FaultMode::Hostile, "--hostile", false, true, true, false, false},
    {FaultMode::Late, "--late", false, true, false, true, false},
    {FaultMode::Stuck, "--stuck", false, true, false, false, true},
}};

const FaultModeInfo& faultModeInfo(FaultMode mode);

// One interface as vmouse presents it, with what the wire's interface record leaves out.
struct PresentedInterface {
  enum class Role { Other, Event, Command };
  vm::VirtualInterface info;
  Role role = Role::Other;
  std::uint8_t reportId = 0;  // of every report of the interface; 0: the reports carry none
};

// The interfaces presented while plugged in: an unrelated keyboard, then the mouse's event
// and command interfaces (command first on request, named so that the system too
// enumerates it first). Unplugged, only the keyboard remains.
std::vector<PresentedInterface> presentedInterfaces(bool plugged, bool commandFirst);

// The HID report descriptor of a presented interface, as its firmware gives it to the host:
// one application collection of the interface's usage holding 8-bit data items that make
// up its input, output and feature reports, under its report id.
std::vector<std::uint8_t> reportDescriptor(const PresentedInterface& interface);

// How long a late answer takes on its way to a host whose system keeps the input buffer
// (the virtual HID device): well past the host's wait for one input report, so that the
// wait passes empty and the answer is still waiting in the buffer when the next block read
// begins.
inline constexpr int kLateAnswerMs = 300;

class VirtualMouseModel {
 public:
  VirtualMouseModel(const MouseSettings& settings, FaultMode fault);

  // A feature report (report id, then the 8 frame bytes) set by the host.
  void receiveFeature(std::span<const std::uint8_t> report);
  // The feature report the host reads back, zero-padded to length.
  std::vector<std::uint8_t> answerFeature(std::size_t length) const;
  // An output report (report id, then 32 data bytes) of a block write.
  void receiveOutput(std::span<const std::uint8_t> report);
  // The next input report of a block read, zero-padded to length; none when nothing waits.
  // The input reports wait in the host's buffer: a new frame leaves them there.
  std::optional<std::vector<std::uint8_t>> takeInput(std::size_t length);
  // The host drops the input reports waiting in its buffer (a late answer still on its way
  // arrives afterwards).
  void discardInput() { input_.clear(); }
  // For a host that takes the input reports as the mouse sends them (the system's HID stack
  // keeps the buffer): the reports sent now, each the report id 0 and a block. A late
  // answer is held back until lateInput() is asked for it.
  std::vector<std::vector<std::uint8_t>> sendInput();
  bool lateInputOnItsWay() const { return !late_.empty(); }
  std::vector<std::vector<std::uint8_t>> lateInput();

  // Plug-in: the handshake and any half-done transfer start over.
  void resetLink();

  // Whether the host's requests get answers now (not once a stuck mouse has stopped).
  bool answersHost() const { return !fault_.stopsAfterHandshake || framesSinceHandshake_ == 0; }

  const MouseSettings& settings() const { return settings_; }
  bool scrambled() const { return scrambled_; }
  // The frames received, as the mouse read it (unscrambled when scrambling was on): the last
  // kFrameLogLimit of them, so that a client sending frames without end cannot grow the
  // server without bound. frameCount() counts them all.
  static constexpr std::size_t kFrameLogLimit = 4096;
  const std::deque<Frame>& log() const { return log_; }
  std::uint64_t frameCount() const { return frameCount_; }
  // Grows with every change of the settings (for saving the state file).
  unsigned revision() const { return revision_; }
  // commands: the requests answered on the command interface since start (the server's count).
  std::string dumpJson(bool plugged, unsigned long long commands) const;

 private:
  // A block write waiting for its data.
  struct PendingWrite {
    std::uint8_t command = 0;
    std::uint8_t index = 0;
    std::size_t length = 0;
    std::vector<std::uint8_t> data;
  };

  void handleFrame(const Frame& frame);
  void answer(Frame frame);
  void queueBlocks(std::span<const std::uint8_t> data, std::size_t announced);
  void finishWrite();
  std::uint8_t answeredIndex(std::uint8_t requested, bool valid) const;

  MouseSettings settings_;
  const FaultModeInfo& fault_;
  bool scrambled_ = false;
  Frame answer_{};
  std::optional<PendingWrite> pending_;
  using Block = std::array<std::uint8_t, 32>;
  std::deque<Block> input_;
  // A late answer on its way: it reaches the host's buffer once the host has waited for it.
  std::vector<Block> late_;
  bool lateAnswerDue_ = false;
  unsigned framesSinceHandshake_ = 0;
  void logFrame(const Frame& frame);

  std::deque<Frame> log_;
  std::uint64_t frameCount_ = 0;
  unsigned revision_ = 0;
};

// The frame as 16 hex digits, byte 0 first.
std::string frameHex(const Frame& frame);

}  // namespace ombrisk
