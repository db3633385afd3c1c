// The mouse through the system's own HID stack, as every user's program reaches it: the real
// Ombrisk.exe and ombriskctl.exe with no --device, and the virtual HID device of the test
// prefix presenting vmouse's mouse to the system's HID class driver. Journeys that build on
// each other share one running program. (The Basic-page and fault journeys, a plain-echo,
// silent, hostile and late mouse among them, run this way too, beside their runs over
// loopback.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kMouseDetected[] = L"The system detect the gaming mouse.";
constexpr wchar_t kNoMouse[] = L"The system did not detect the gaming mouse!";
constexpr wchar_t kApplyIncomplete[] =
    L"The mouse did not receive all the settings, so nothing was saved. Check that it is "
    L"connected and apply again.";
// The frames of one handshake as vmouse logs them: the plain attempt and the scrambled one.
constexpr char kHandshakeFrame[] = "00aadd3b620000db";

class SystemHidMouse : public ::testing::Test {
 protected:
  void startMouse(const std::wstring& arguments = L"") {
    dismissBalloons();
    mouse.emplace(arguments, MouseRoute::SystemHid);
    ASSERT_TRUE(mouse->ready()) << mouse->error();
  }
  void startProgram(const wchar_t* balloon = kMouseDetected) {
    program.emplace(install, L"");  // no --device: the system's HID interfaces
    ASSERT_TRUE(program->waitForMainWindow());
    ASSERT_TRUE(waitForText(balloon)) << describeCurrentBalloon();
    program->dismissBalloon();
  }
  bool waitForText(const wchar_t* text, Milliseconds timeout = kDefaultTimeout) {
    return waitForBalloon([&](const TrayBalloon& b) { return b.text == text; }, timeout).has_value();
  }
  void show() {
    moveScreen({1000, 10});
    program->trayClick();
    ASSERT_TRUE(program->waitForVisible(true));
    ASSERT_TRUE(program->settle());
  }
  // The balloon an event of the mouse brings, or none within timeout.
  std::optional<TrayBalloon> eventBalloon(int type, int value, Milliseconds timeout = kDefaultTimeout) {
    program->dismissBalloon();
    EXPECT_TRUE(mouse->sendEvent(type, value)) << mouse->error();
    return waitForBalloon([](const TrayBalloon& b) { return !b.text.empty(); }, timeout);
  }
  MouseState dump() {
    const auto state = mouse->dump();
    EXPECT_TRUE(state) << mouse->error();
    return state.value_or(MouseState{});
  }
  std::vector<std::string> log() { return dump().strings("log"); }
  static long handshakes(const std::vector<std::string>& frames, std::size_t from = 0) {
    return std::count(frames.begin() + static_cast<std::ptrdiff_t>(std::min(from, frames.size())), frames.end(),
                      std::string(kHandshakeFrame));
  }
  // ombriskctl.exe of the installation, run in its folder: its exit code and what it wrote.
  std::pair<std::optional<DWORD>, std::string> ctl(const std::wstring& arguments) {
    Process process(install.folder() / L"ombriskctl.exe", arguments, install.folder(), true);
    std::string output;
    while (auto line = process.readLine(30s)) output += *line + "\n";
    return {process.waitForExit(30s), output};
  }

  Installation install;
  std::optional<VirtualMouse> mouse;
  std::optional<Program> program;
};

TEST_F(SystemHidMouse, StartEventsUnplugAndPlugInOneRun) {
  startMouse();
  startProgram();
  show();
  {
    SCOPED_TRACE("the first build reads the sensor block and writes it back with bit 6 of option 2");
    const std::vector<std::string> frames = log();
    const auto read = std::find(frames.begin(), frames.end(), std::string("830000000000007c"));
    ASSERT_NE(read, frames.end());
    ASSERT_NE(read + 1, frames.end());
    EXPECT_EQ(*(read + 1), "03000100400000bb");
    EXPECT_EQ(dump().numbers("sensor"), (std::vector<int>{0, 1, 0, 0x40}));
  }
  {
    SCOPED_TRACE("the mouse's events through its event interface, as balloons");
    const struct {
      int type, value;
      const wchar_t* text;
    } shown[] = {
        {5, 2, L"Switch report rate into 500HZ"},
        {7, 3, L"Switch DPI into the third stage 250"},
        {8, 2, L"Switch to key matrix 2"},
        {9, 4, L"Switch to macro key4"},
    };
    for (const auto& event : shown) {
      const auto balloon = eventBalloon(event.type, event.value);
      ASSERT_TRUE(balloon) << "event " << event.type;
      EXPECT_EQ(balloon->text, event.text);
      EXPECT_TRUE(balloon->titleIs(L"Info"));
    }
    EXPECT_FALSE(eventBalloon(6, 1, 2s)) << "an unknown event code is shown as nothing: " << describeCurrentBalloon();
  }
  {
    SCOPED_TRACE("pulled out: the removal hides the window and warns");
    program->dismissBalloon();
    ASSERT_TRUE(mouse->unplug()) << mouse->error();
    EXPECT_TRUE(waitForText(kNoMouse)) << describeCurrentBalloon();
    EXPECT_TRUE(program->waitForVisible(false));
    program->dismissBalloon();
    program->trayClick();
    EXPECT_TRUE(waitForText(kNoMouse)) << "a tray click without the mouse warns again";
    EXPECT_FALSE(program->windowVisible());
  }
  {
    SCOPED_TRACE("plugged in again: one arrival per interface, each a search and a handshake");
    const std::size_t before = log().size();
    program->dismissBalloon();
    ASSERT_TRUE(mouse->plug()) << mouse->error();
    EXPECT_TRUE(waitForText(kMouseDetected)) << describeCurrentBalloon();
    // The second interface arrives while the link is ready already.
    EXPECT_TRUE(waitUntil([&] { return handshakes(log(), before) >= 4; }, 10s));
    Sleep(1000);
    EXPECT_EQ(handshakes(log(), before), 4) << "two interfaces, two arrivals, a plain and a scrambled frame each";
    const auto balloon = eventBalloon(8, 1);
    ASSERT_TRUE(balloon) << "the event interface, opened again, reads";
    EXPECT_EQ(balloon->text, L"Switch to key matrix 1");
    show();
  }
  {
    SCOPED_TRACE("an Apply goes through, and one the mouse is pulled out of does not");
    program->clickClient(basic_page::kApply.x, basic_page::kApply.y);
    EXPECT_TRUE(waitUntil([&] { return install.readFile(L"config.bin").at(0) == 1; }));
    EXPECT_TRUE(program->settle());
    EXPECT_FALSE(findMessageBox(program->process().id()));
    program->clickClient(basic_page::ratePosition(1).x, basic_page::ratePosition(1).y);
    EXPECT_TRUE(program->settle());
    const std::vector<std::uint8_t> config = install.readFile(L"config.bin");
    ASSERT_TRUE(mouse->unplugAfter(40)) << mouse->error();
    program->clickClient(basic_page::kApply.x, basic_page::kApply.y);
    const auto box = waitForMessageBox(program->process().id(), 10s);
    ASSERT_TRUE(box) << "no message that the Apply did not complete";
    EXPECT_EQ(box->text, kApplyIncomplete);
    answerMessageBox(*box);
    EXPECT_TRUE(program->waitForVisible(false)) << "the window goes with the mouse";
    EXPECT_EQ(install.readFile(L"config.bin"), config) << "nothing saved";
    ASSERT_TRUE(mouse->plug()) << mouse->error();
    EXPECT_TRUE(waitForText(kMouseDetected)) << describeCurrentBalloon();
  }
  {
    SCOPED_TRACE("Exit while the event read is under way ends the program at once");
    const auto exiting = Clock::now();
    program.reset();
    EXPECT_LT(Clock::now() - exiting, 10s);
    EXPECT_TRUE(processesNamed(L"Ombrisk.exe").empty());
  }
}

// ombriskctl.exe finds the mouse the way the window does, names what fails and shows no
// message box.
TEST_F(SystemHidMouse, OmbriskctlAppliesThroughTheSystemAndNamesWhatFails) {
  startMouse();
  install.replaceFile(L"config.bin", std::vector<std::uint8_t>(1986, 0));
  {
    const auto [code, output] = ctl(L"apply");
    ASSERT_EQ(code, 0u) << output;
    EXPECT_NE(output.find("connected: USB mouse, frames scrambled"), std::string::npos) << output;
    EXPECT_NE(output.find("sent: stage count 4"), std::string::npos) << output;
    EXPECT_EQ(install.readFile(L"config.bin").at(0), 1);
    EXPECT_EQ(dump().numbers("stage_codes"), (std::vector<int>{0x81, 0x81, 0x81, 0x81, 0x80, 0x80, 0x80, 0x80}));
  }
  {
    ASSERT_TRUE(mouse->unplug()) << mouse->error();
    ASSERT_TRUE(SystemMouse::waitForMouseInterfaces(0));
    const auto [code, output] = ctl(L"apply");
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(output, "ombriskctl: no mouse found\n");
  }
}

TEST_F(SystemHidMouse, TheCommandInterfaceFirstIsReadyButBringsNoEvents) {
  startMouse(L"--command-first");
  const std::vector<std::string> paths = SystemMouse::interfacePaths();
  const auto command = std::find_if(paths.begin(), paths.end(), [](const std::string& p) {
    return p.find("mi_01") != std::string::npos && p.find("vid_04d9") != std::string::npos;
  });
  ASSERT_NE(command, paths.end());
  startProgram();
  EXPECT_FALSE(eventBalloon(7, 1, 2s)) << describeCurrentBalloon();
  show();
}

// A mouse that stops answering after the handshake: each HID call is bounded, so the window
// stays usable, the Apply says it did not complete, and Exit ends the program.
TEST_F(SystemHidMouse, AMouseThatStopsAnsweringCostsABoundNotAHang) {
  startMouse(L"--stuck");
  startProgram();
  const auto shown = Clock::now();
  program->trayClick();
  ASSERT_TRUE(program->waitForVisible(true, 10s)) << "the first build waits out one bound";
  ASSERT_TRUE(program->settle(10s));
  program->clickClient(basic_page::kApply.x, basic_page::kApply.y);
  const auto box = waitForMessageBox(program->process().id(), 10s);
  ASSERT_TRUE(box) << "the Apply hangs";
  std::printf("stuck mouse: the message %lld ms after the window was asked for\n",
              static_cast<long long>(std::chrono::duration_cast<Milliseconds>(Clock::now() - shown).count()));
  EXPECT_EQ(box->text, kApplyIncomplete);
  answerMessageBox(*box);
  EXPECT_TRUE(program->settle(5s));
  EXPECT_EQ(install.readFile(L"config.bin").at(0), 0);
  const auto exiting = Clock::now();
  program.reset();
  EXPECT_LT(Clock::now() - exiting, 10s);
  EXPECT_TRUE(processesNamed(L"Ombrisk.exe").empty());
}

}  // namespace
}  // namespace ombrisk::e2e
