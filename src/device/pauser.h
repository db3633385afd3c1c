// The protocol's pauses on the system's clock, and the timer resolution they need.
//
// On Windows the default timer tick is about 15.6 ms, so Sleep(2) lasts a tick and an Apply
// with its ~100 pauses takes well over a second. The Apply sequence therefore raises the timer
// resolution to 1 ms for its own length (timeBeginPeriod(1)) and restores it afterwards
// (timeEndPeriod(1)); the Win32 pauser then sleeps a millisecond short and spins to the
// deadline. Elsewhere the system's sleep is already fine-grained and the resolution is a
// no-op.
#pragma once

#include <memory>

#include "device/command_port.h"

namespace ombrisk {

// Pauses that last at least the given time and as little more as the system allows.
std::unique_ptr<Pauser> makePlatformPauser();

class TimerResolution {
 public:
  virtual ~TimerResolution() = default;
  virtual void raise() = 0;
  virtual void restore() = 0;
};

std::unique_ptr<TimerResolution> makePlatformTimerResolution();

// Raises the resolution for the life of the scope (nothing when resolution is null).
class TimerResolutionScope {
 public:
  explicit TimerResolutionScope(TimerResolution* resolution) : resolution_(resolution) {
    if (resolution_) resolution_->raise();
  }
  ~TimerResolutionScope() {
    if (resolution_) resolution_->restore();
  }
  TimerResolutionScope(const TimerResolutionScope&) = delete;
  TimerResolutionScope& operator=(const TimerResolutionScope&) = delete;

 private:
  TimerResolution* resolution_;
};

}  // namespace ombrisk
