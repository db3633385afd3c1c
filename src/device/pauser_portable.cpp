// Pauses on the standard library's steady clock. sleep_until never returns early but wakes
// a tenth of a millisecond late, and more when the processors are busy; sleeping to just short of the deadline and yielding the
// rest keeps the Apply sequence's hundred pauses close to their sum.
#include <chrono>
#include <thread>

#include "device/pauser.h"

namespace ombrisk {
namespace {

constexpr auto kWakeUpMargin = std::chrono::microseconds(300);

class SteadyClockPauser final : public Pauser {
 public:
  void pauseMs(unsigned milliseconds) override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::this_thread::sleep_until(deadline - kWakeUpMargin);
    while (std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
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
