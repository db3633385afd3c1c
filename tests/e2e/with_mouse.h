// A test that runs the program with the virtual mouse from a fresh installation: start()
// waits for the link, show() opens the window from the tray, settledCapture() takes its
// picture with the pointer out of the way of hover images. WithMouse reaches the mouse over
// loopback; WithMouseOnRoute takes the route as its test parameter (loopback, or the system's
// own HID stack as a user's program reaches the mouse).
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {

template <typename TestBase>
class MouseFixture : public TestBase {
 protected:
  explicit MouseFixture(MouseRoute route) : mouse(L"", route) {}

  void SetUp() override {
    dismissBalloons();
    ASSERT_TRUE(mouse.ready()) << "vmouse.exe did not start: " << mouse.error();
  }

  // Starts the program and waits for the link-ready balloon.
  void start() {
    program.emplace(install, mouse.deviceOption());
    ASSERT_TRUE(program->waitForMainWindow());
    ASSERT_TRUE(waitForBalloon([](const TrayBalloon& balloon) {
      return balloon.text == L"The system detect the gaming mouse.";
    })) << describeCurrentBalloon();
    program->dismissBalloon();
  }

  // Shows the window from the tray with the pointer out of the way of hover images.
  void show() {
    moveScreen({1000, 10});
    program->trayClick();
    ASSERT_TRUE(program->waitForVisible(true));
    Sleep(500);
  }

  Capture settledCapture() {
    moveScreen({1000, 10});
    Sleep(700);
    return program->captureClient();
  }

  VirtualMouse mouse;
  Installation install;
  std::optional<Program> program;
};

class WithMouse : public MouseFixture<::testing::Test> {
 protected:
  WithMouse() : MouseFixture(MouseRoute::Loopback) {}
};

class WithMouseOnRoute : public MouseFixture<::testing::TestWithParam<MouseRoute>> {
 protected:
  WithMouseOnRoute() : MouseFixture(GetParam()) {}
};

// For INSTANTIATE_TEST_SUITE_P: both routes, named "Loopback" and "SystemHid".
inline const auto kBothRoutes = ::testing::Values(MouseRoute::Loopback, MouseRoute::SystemHid);
inline std::string routeTestName(const ::testing::TestParamInfo<MouseRoute>& info) { return routeName(info.param); }

}  // namespace ombrisk::e2e
