// A command port that records every report and answers from a script, and a pauser that
// records the pauses: enough to check the protocol byte by byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/command_port.h"

namespace ombrisk::testing {

using Bytes = std::vector<std::uint8_t>;

class FakeCommandPort final : public CommandPort {
 public:
  struct Call {
    char kind;  // 'S' set feature, 'G' get feature, 'W' write output, 'R' read input,
                // 'D' discard input
    Bytes report;
  };

  ReportLengths lengths() const override { return reportLengths; }
  bool setFeature(std::span<const std::uint8_t> report) override {
    calls.push_back({'S', Bytes(report.begin(), report.end())});
    return true;
  }
  bool getFeature(std::span<std::uint8_t> report) override {
    calls.push_back({'G', Bytes(report.begin(), report.end())});
    return answer(featureAnswers, report);
  }
  bool writeOutput(std::span<const std::uint8_t> report) override {
    calls.push_back({'W', Bytes(report.begin(), report.end())});
    return true;
  }
  bool readInput(std::span<std::uint8_t> report) override {
    calls.push_back({'R', Bytes(report.begin(), report.end())});
    return answer(inputAnswers, report);
  }
  bool discardInput() override {
    calls.push_back({'D', {}});
    return true;
  }

  // The kinds of the calls in order, e.g. "SG" for a frame read.
  std::string kinds() const {
    std::string text;
    for (const Call& call : calls) text += call.kind;
    return text;
  }
  std::vector<Bytes> reportsOf(char kind) const {
    std::vector<Bytes> reports;
    for (const Call& call : calls)
      if (call.kind == kind) reports.push_back(call.report);
    return reports;
  }

  ReportLengths reportLengths{9, 33, 33};
  // Whole reports (report id first) handed out in order; when none is left the call fails
  // and leaves the buffer as it was.
  std::deque<Bytes> featureAnswers;
  std::deque<Bytes> inputAnswers;
  std::vector<Call> calls;

 private:
  static bool answer(std::deque<Bytes>& answers, std::span<std::uint8_t> report) {
    if (answers.empty()) return false;
    const Bytes next = answers.front();
    answers.pop_front();
    std::copy_n(next.begin(), std::min(next.size(), report.size()), report.begin());
    return true;
  }
};

class RecordingPauser final : public Pauser {
 public:
  void pauseMs(unsigned milliseconds) override { pauses.push_back(milliseconds); }
  std::vector<unsigned> pauses;
};

// A 33-byte input report: report id 0, then 32 bytes of fill.
inline Bytes inputReport(std::uint8_t fill) {
  Bytes report(33, fill);
  report[0] = 0;
  return report;
}

// A 9-byte feature report: report id 0 and the frame.
inline Bytes featureReport(std::initializer_list<std::uint8_t> frame) {
  Bytes report{0};
  report.insert(report.end(), frame.begin(), frame.end());
  report.resize(9, 0);
  return report;
}

}  // namespace ombrisk::testing
