// Pauses on Windows: a high-resolution waitable timer where the system has one (Windows 10
// 1803 and later), otherwise Sleep at the raised 1 ms resolution. Either wait aims a little
// short of the deadline, since wake-ups come late, and the pause is finished off by yielding
// until the performance counter passes the deadline: never short, rarely much long.
#include <windows.h>
#include <mmsystem.h>

#include "device/pauser.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace ombrisk {
namespace {

constexpr LONGLONG kWakeUpMargin100ns = 3000;  // 0.3 ms

class Win32Pauser final : public Pauser {
 public:
  Win32Pauser() {
    QueryPerformanceFrequency(&frequency_);
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
  }
  ~Win32Pauser() override {
    if (timer_) CloseHandle(timer_);
  }
  Win32Pauser(const Win32Pauser&) = delete;
  Win32Pauser& operator=(const Win32Pauser&) = delete;

  void pauseMs(unsigned milliseconds) override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONGLONG deadline = now.QuadPart + frequency_.QuadPart * milliseconds / 1000;
    LARGE_INTEGER due;
    due.QuadPart = -(static_cast<LONGLONG>(milliseconds) * 10000 - kWakeUpMargin100ns);  // relative
    if (timer_ && due.QuadPart < 0 && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE))
      WaitForSingleObject(timer_, milliseconds + 50);
    else if (milliseconds > 1)
      Sleep(milliseconds - 1);  // a 1 ms tick may end the sleep up to a tick late
    for (QueryPerformanceCounter(&now); now.QuadPart < deadline; QueryPerformanceCounter(&now))
      Sleep(0);
  }

 private:
  LARGE_INTEGER frequency_{};
  HANDLE timer_ = nullptr;
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
