// The shell with the virtual mouse: the window from the tray, hiding, and the balloons of the
// mouse's events.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/with_mouse.h"

namespace ombrisk::e2e {
namespace {

constexpr COLORREF kGraphiteTextColour = RGB(150, 220, 255);  // str.ini as installed
constexpr RECT kPageTitle{105, 51, 320, 99};
constexpr POINT kNextPageButton{80, 74};

class ShellWithMouse : public WithMouse {
 protected:
  std::optional<TrayBalloon> eventBalloon(int type, int value, Milliseconds timeout = kDefaultTimeout) {
    program->dismissBalloon();
    EXPECT_TRUE(mouse.sendEvent(type, value));
    return waitForBalloon({}, timeout);
  }
};

TEST_F(ShellWithMouse, TrayClickShowsTheSkinnedBasicPage) {
  start();
  EXPECT_FALSE(program->windowVisible());
  show();
  const Capture picture = settledCapture();
  EXPECT_EQ(picture.width, 880);
  EXPECT_EQ(picture.height, 650);
  // The title in the skin's text colour, the close button's cross in the skin's glyph colour.
  EXPECT_TRUE(picture.hasColour(kPageTitle, kGraphiteTextColour)) << "no page title";
  EXPECT_TRUE(picture.hasColour(RECT{850, 5, 868, 23}, RGB(210, 222, 235), 30)) << "no close button";
}

TEST_F(ShellWithMouse, TheWindowHasNoTaskbarButton) {
  const auto hasButton = [](HWND window) {
    const std::vector<HWND> windows = taskbarButtonWindows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
  };
  start();  // the taskbar shows once it holds a tray icon
  show();
  EXPECT_FALSE(waitUntil([&] { return hasButton(program->mainWindow()); }, 1s));
  program->clickClient(kNextPageButton.x, kNextPageButton.y);
  EXPECT_FALSE(waitUntil([&] { return hasButton(program->mainWindow()); }, 1s));
  for (HWND window : taskbarButtonWindows()) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    EXPECT_NE(process, program->process().id()) << "a taskbar button for a window of the program";
  }
  // A window of the test's own, shown without an owner, gets its button: the taskbar lists
  // windows.
  HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  EXPECT_TRUE(waitUntil([&] { return hasButton(plain); }, 5s)) << "no taskbar to look at";
  DestroyWindow(plain);
}

TEST_F(ShellWithMouse, WindowButtonsShowTheirOverImageUnderThePointer) {
  start();
  show();
  POINT close{859, 14};
  ClientToScreen(program->mainWindow(), &close);
  // Graphite's close button turns red once the pointer rests on it. A move that reaches the
  // window before it tracks the pointer (a loaded machine) starts no hover: move again a
  // pixel further, as a user's hand would.
  bool red = false;
  for (int attempt = 0; attempt < 3 && !red; ++attempt) {
    moveScreen({close.x + attempt, close.y});
    red = waitUntil([&] {
      return program->captureClient().hasColour(RECT{851, 6, 867, 22}, RGB(190, 50, 50), 10);
    }, 3s);
  }
  EXPECT_TRUE(red);
  // Off the buttons but still over the window: the normal image again.
  POINT empty{700, 140};
  ClientToScreen(program->mainWindow(), &empty);
  moveScreen(empty);
  EXPECT_TRUE(waitUntil([&] {
    return !program->captureClient().hasColour(RECT{851, 6, 867, 22}, RGB(190, 50, 50), 10);
  }, 5s));
}

TEST_F(ShellWithMouse, APressOnEmptySpaceDragsTheWindow) {
  start();
  show();
  RECT before{};
  GetWindowRect(program->mainWindow(), &before);
  program->dragClient(150, 620, 40, -30);  // the bottom bar, left of the web link
  EXPECT_TRUE(waitUntil([&] {
    RECT after{};
    GetWindowRect(program->mainWindow(), &after);
    return after.left == before.left + 40 && after.top == before.top - 30;
  }, 5s));
}

TEST_F(ShellWithMouse, EscapeHidesAndATrayClickShowsTheSamePage) {
  start();
  show();
  program->clickClient(kNextPageButton.x, kNextPageButton.y);  // the Advanced page
  const Capture before = settledCapture();
  SetForegroundWindow(program->mainWindow());
  typeKey(VK_ESCAPE);
  ASSERT_TRUE(program->waitForVisible(false));
  EXPECT_TRUE(program->trayIconPresent());
  show();
  const Capture after = settledCapture();
  // The page's picture; its child windows may show the focus that showing gives back.
  EXPECT_TRUE(withoutChildren(before, program->mainWindow()).samePicture(withoutChildren(after, program->mainWindow())))
      << "the page changed while hidden";
}

TEST_F(ShellWithMouse, CloseRequestAndMinimiseOnlyHide) {
  start();
  show();
  PostMessageW(program->mainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program->waitForVisible(false));
  EXPECT_TRUE(program->process().running());
  show();
  program->clickClient(834, 14);  // minimise
  EXPECT_TRUE(program->waitForVisible(false));
  EXPECT_TRUE(program->process().running());
}

TEST_F(ShellWithMouse, CloseButtonExitsWithZeroAndRemovesTheIcon) {
  start();
  show();
  program->clickClient(859, 14);
  const auto code = program->process().waitForExit();
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(program->trayIconPresent());
}

TEST_F(ShellWithMouse, ApplyWritesTheSettingsFileAndOkHides) {
  start();
  show();
  ASSERT_EQ(install.readFile(L"config.bin").at(0), 0);
  program->clickClient(718, 633);  // Apply
  EXPECT_TRUE(waitUntil([&] { return install.readFile(L"config.bin").at(0) == 1; }));
  EXPECT_EQ(install.readFile(L"config.bin").size(), 1986u);
  EXPECT_TRUE(program->windowVisible());
  program->clickClient(614, 633);  // OK
  EXPECT_TRUE(program->waitForVisible(false));
}

TEST_F(ShellWithMouse, KeyMatrixEventBalloons) {
  start();
  const auto second = eventBalloon(8, 2);
  ASSERT_TRUE(second) << describeCurrentBalloon();
  EXPECT_EQ(second->text, L"Switch to key matrix 2");
  EXPECT_TRUE(second->titleIs(L"Info"));
  EXPECT_FALSE(eventBalloon(8, 3, 3s)) << describeCurrentBalloon();
  const auto first = eventBalloon(8, 1);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->text, L"Switch to key matrix 1");
}

TEST_F(ShellWithMouse, ReportRateAndMacroEventBalloons) {
  start();
  const auto rate = eventBalloon(5, 4);
  ASSERT_TRUE(rate);
  EXPECT_EQ(rate->text, L"Switch report rate into 250HZ");
  const auto macro = eventBalloon(9, 11);
  ASSERT_TRUE(macro);
  EXPECT_EQ(macro->text, L"Switch to macro key11");
  EXPECT_FALSE(eventBalloon(9, 0, 3s));
}

// A fresh settings file holds level 1 on every stage: "250" on the mouse's sensor type 0.
TEST_F(ShellWithMouse, DpiStageBalloonKeepsTheBlankInEnglish) {
  start();
  const auto stage = eventBalloon(7, 2);
  ASSERT_TRUE(stage) << describeCurrentBalloon();
  EXPECT_EQ(stage->text, L"Switch DPI into the second stage 250");
}

TEST_F(ShellWithMouse, DpiStageBalloonHasNoBlankInChinese) {
  install.setLanguage(L"CHS");
  start();
  const auto stage = eventBalloon(7, 2);
  ASSERT_TRUE(stage) << describeCurrentBalloon();
  EXPECT_EQ(stage->text, L"DPI切换到第二段250");
}

}  // namespace
}  // namespace ombrisk::e2e

namespace ombrisk::e2e {
namespace {

// The mouse plugged in after the start: the link comes up and the window shows from the tray.
TEST(ShellMouseArrival, PluggingInMakesTheWindowAvailable) {
  dismissBalloons();
  VirtualMouse mouse;
  ASSERT_TRUE(mouse.ready()) << mouse.error();
  ASSERT_TRUE(mouse.unplug()) << mouse.error();
  Installation install;
  Program program(install, mouse.deviceOption());
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_TRUE(waitForBalloon([](const TrayBalloon& balloon) {
    return balloon.text == L"The system did not detect the gaming mouse!";
  })) << describeCurrentBalloon();
  program.dismissBalloon();
  ASSERT_TRUE(mouse.plug()) << mouse.error();
  EXPECT_TRUE(waitForBalloon([](const TrayBalloon& balloon) {
    return balloon.text == L"The system detect the gaming mouse.";
  })) << describeCurrentBalloon();
  program.trayClick();
  EXPECT_TRUE(program.waitForVisible(true));
}

}  // namespace
}  // namespace ombrisk::e2e
