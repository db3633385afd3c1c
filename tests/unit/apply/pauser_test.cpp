#include <gtest/gtest.h>

#include <chrono>

#include "device/pauser.h"

namespace ombrisk {
namespace {

// The protocol relies on its pauses for flow control: one that ends early lets a block
// overtake the mouse. (How much longer they last is the benchmark's business.)
TEST(PlatformPauser, NeverEndsBeforeItsTime) {
  const auto pauser = makePlatformPauser();
  const auto resolution = makePlatformTimerResolution();
  const TimerResolutionScope fine(resolution.get());
  for (unsigned milliseconds : {2u, 3u, 2u, 3u, 1u, 0u}) {
    const auto start = std::chrono::steady_clock::now();
    pauser->pauseMs(milliseconds);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(milliseconds));
  }
}

}  // namespace
}  // namespace ombrisk
