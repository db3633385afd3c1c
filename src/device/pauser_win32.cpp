// Pauses on Windows. With the timer resolution raised to 1 ms a Sleep ends up to a tick late,
// so the pause sleeps one millisecond short and spins on the performance counter to the
// deadline: never short, rarely more than a few tenths long. (A high-resolution waitable
// timer, or yielding with Sleep(0) while spinning, each cost a round trip to the scheduler,
// under Wine to its server, and came out later than this.)
#include <windows.h>
#include <mmsystem.h>

#include "device/pauser.h"

namespace ombrisk {
namespace {

class Win32Pauser final : public Pauser {
 public:
  Win32Pauser() { QueryPerformanceFrequency(&frequency_); }

  void pauseMs(unsigned milliseconds) override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONGLONG deadline = now.QuadPart + frequency_.QuadPart * milliseconds / 1000;
    if (milliseconds > 1) Sleep(milliseconds - 1);
    for (QueryPerformanceCounter(&now); now.QuadPart < deadline; QueryPerformanceCounter(&now))
      YieldProcessor();
  }

 private:
  LARGE_INTEGER frequency_{};
};

class Win32TimerResolution final : public TimerResolution {
 public:
  void raise() override {
    if (!raised_) raised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
  void restore() override {
    if (raised_) timeEndPeriod(1);
    raised_ = false;
  }
  ~Win32TimerResolution() override { restore(); }

 private:
  bool raised_ = false;
};

}  // namespace

std::unique_ptr<Pauser> makePlatformPauser() { return std::make_unique<Win32Pauser>(); }
std::unique_ptr<TimerResolution> makePlatformTimerResolution() {
  return std::make_unique<Win32TimerResolution>();
}

}  // namespace ombrisk
