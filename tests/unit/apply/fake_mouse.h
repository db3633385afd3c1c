// An in-process mouse for the Apply tests: answers the read commands from its own state and
// logs every report, pause and timer change in one trace, in the order they happen.
#pragma once

#include <array>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "device/command_port.h"
#include "device/pauser.h"

namespace ombrisk::testing {

using Bytes = std::vector<std::uint8_t>;

struct TraceEntry {
  char kind;   // 'F' frame sent, 'G' frame read, 'O' block out, 'I' block in, 'P' pause,
               // 'R' timer raised, 'r' timer restored
  Bytes bytes; // frame bytes 0..7, block bytes 1..32, or { pause ms }
};

class FakeMouse final : public CommandPort, public Pauser, public TimerResolution {
 public:
  // What the mouse answers to the read commands.
  std::array<std::uint8_t, 3> effect{0x11, 0x22, 0x33};
  std::array<std::array<std::uint8_t, 3>, 2> lightSets{{{0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}}};
  std::array<std::array<std::uint8_t, 24>, 2> featureBlocks{};
  std::array<std::uint8_t, 4> sensor{0, 0, 0, 0};
  // Block k of a 0x93 answer; the mouse answers each macro number with its own contents.
  std::array<std::array<std::uint8_t, 128>, 12> macros{};

  std::vector<TraceEntry> trace;

  ReportLengths lengths() const override { return {9, 33, 33}; }

  bool setFeature(std::span<const std::uint8_t> report) override {
    last_.assign(report.begin() + 1, report.begin() + 9);
    trace.push_back({'F', last_});
    return true;
  }

  bool getFeature(std::span<std::uint8_t> report) override {
    trace.push_back({'G', {}});
    Bytes answer(8, 0);
    answer[0] = last_[0];
    const std::uint8_t index = last_[1];
    switch (last_[0]) {
      case 0x8D: std::copy(effect.begin(), effect.end(), answer.begin() + 1); break;
      case 0x83: std::copy(sensor.begin(), sensor.end(), answer.begin() + 1); break;
      case 0x87:
        answer[1] = index;
        if (index < 2) std::copy(lightSets[index].begin(), lightSets[index].end(), answer.begin() + 2);
        break;
      case 0x90:
        answer[1] = index;
        answer[2] = 24;
        queue(index < 2 ? Bytes(featureBlocks[index].begin(), featureBlocks[index].end()) : Bytes(24));
        break;
      case 0x93:
        answer[1] = index;
        answer[2] = 128;
        queue(index >= 1 && index <= 12 ? Bytes(macros[index - 1].begin(), macros[index - 1].end())
                                        : Bytes(128));
        break;
      default: break;
    }
    std::copy(answer.begin(), answer.end(), report.begin() + 1);
    return true;
  }

  bool writeOutput(std::span<const std::uint8_t> report) override {
    trace.push_back({'O', Bytes(report.begin() + 1, report.begin() + 33)});
    return true;
  }

  bool readInput(std::span<std::uint8_t> report) override {
    trace.push_back({'I', {}});
    if (pending_.empty()) return false;
    std::copy(pending_.front().begin(), pending_.front().end(), report.begin() + 1);
    pending_.pop_front();
    return true;
  }

  // The host's buffer holds nothing stale here: every block is read as it is queued.
  bool discardInput() override { return true; }

  void pauseMs(unsigned milliseconds) override {
    trace.push_back({'P', {static_cast<std::uint8_t>(milliseconds)}});
  }
  void raise() override { trace.push_back({'R', {}}); }
  void restore() override { trace.push_back({'r', {}}); }

  // The trace in short: "F01 G P2 O ..." (frames by their command byte).
  std::string outline() const {
    std::string text;
    for (const TraceEntry& e : trace) {
      char item[8];
      if (e.kind == 'F') std::snprintf(item, sizeof item, "F%02X", e.bytes[0]);
      else if (e.kind == 'P') std::snprintf(item, sizeof item, "P%u", e.bytes[0]);
      else std::snprintf(item, sizeof item, "%c", e.kind);
      text += (text.empty() ? "" : " ") + std::string(item);
    }
    return text;
  }

  // Frames sent with the given command, bytes 0..6 (the checksum is the protocol's business).
  std::vector<Bytes> framesOf(std::uint8_t command) const {
    std::vector<Bytes> frames;
    for (const TraceEntry& e : trace)
      if (e.kind == 'F' && e.bytes[0] == command) frames.emplace_back(e.bytes.begin(), e.bytes.begin() + 7);
    return frames;
  }

  // The data blocks that followed each frame of a write command, joined per frame.
  std::vector<Bytes> dataOf(std::uint8_t command) const {
    std::vector<Bytes> data;
    bool inside = false;
    for (const TraceEntry& e : trace) {
      if (e.kind == 'F') {
        inside = e.bytes[0] == command;
        if (inside) data.emplace_back();
      } else if (e.kind == 'O' && inside) {
        data.back().insert(data.back().end(), e.bytes.begin(), e.bytes.end());
      }
    }
    return data;
  }

 private:
  void queue(const Bytes& data) {
    for (std::size_t at = 0; at < data.size(); at += 32) {
      Bytes block(32, 0);
      std::copy(data.begin() + at, data.begin() + std::min(data.size(), at + 32), block.begin());
      pending_.push_back(block);
    }
  }

  Bytes last_ = Bytes(8, 0);
  std::deque<Bytes> pending_;
};

}  // namespace ombrisk::testing
