// The open command interface of the mouse, as the protocol needs it. Backends: the real
// HID one (Win32) and the virtual one (TCP to vmouse); tests use fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrisk {

struct ReportLengths {
  std::uint16_t feature = 0;  // FeatureReportByteLength
  std::uint16_t input = 0;    // InputReportByteLength
  std::uint16_t output = 0;   // OutputReportByteLength
};

class CommandPort {
 public:
  virtual ~CommandPort() = default;
  virtual ReportLengths lengths() const = 0;
  // Each report starts with its report id. Failures return false and are not retried.
  virtual bool setFeature(std::span<const std::uint8_t> report) = 0;
  virtual bool getFeature(std::span<std::uint8_t> report) = 0;
  virtual bool writeOutput(std::span<const std::uint8_t> report) = 0;
  // Waits a bounded time for one input report; false (buffer untouched) when none came.
  virtual bool readInput(std::span<std::uint8_t> report) = 0;
  // Drops the input reports already waiting, such as the late answer to an earlier read.
  virtual bool discardInput() = 0;
};

// The protocol's fixed pauses. The Win32 one raises the timer resolution while it lives,
// so that 2 ms is 2 ms and not a 15.6 ms tick.
class Pauser {
 public:
  virtual ~Pauser() = default;
  virtual void pauseMs(unsigned milliseconds) = 0;
};

}  // namespace ombrisk
