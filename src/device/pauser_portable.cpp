// Pauses on the standard library's steady clock; sleep_until never returns early.
#include <chrono>
#include <thread>

#include "device/pauser.h"

namespace ombrisk {
namespace {

class SteadyClockPauser final : public Pauser {
 public:
  void pauseMs(unsigned milliseconds) override {
    std::this_thread::sleep_until(std::chrono::steady_clock::now() +
                                  std::chrono::milliseconds(milliseconds));
  }
};

class NoTimerResolution final : public TimerResolution {
 public:
  void raise() override {}
  void restore() override {}
};

}  // namespace

#ifndef _WIN32
std::unique_ptr<Pauser> makePlatformPauser() { return std::make_unique<SteadyClockPauser>(); }
std::unique_ptr<TimerResolution> makePlatformTimerResolution() {
  return std::make_unique<NoTimerResolution>();
}
#endif

}  // namespace ombrisk
