// The Basic page at work: every control pressed as a user presses it in the real program,
// then Apply, and what the virtual mouse, config.bin, str.ini and the screen then hold.
// Steps that build on each other share one running program. Each journey runs twice: with
// the mouse over loopback TCP and through the system's own HID stack, as a user's program
// reaches it.
#include <gtest/gtest.h>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {

// Graphite's lit and dark slider cells.
constexpr COLORREF kLight = RGB(80, 200, 255), kDark = RGB(48, 56, 68);
constexpr COLORREF kGraphiteTextColour = RGB(150, 220, 255);

using namespace basic_page;
constexpr POINT kEmptySpace{150, 130};

RECT around(POINT p, int half = 3) { return {p.x - half, p.y - half, p.x + half, p.y + half}; }

// Key matrix 1 or 3 as "Default" makes it: Left, Right, Mid, Backward's word before
// Forward's (entries 4 and 3 trade places), DPI +, DPI -, Key Off, then the fixed words 14, 15.
const std::string kFactoryMatrix = "0100f000" "0100f100" "0100f200" "0100f300" "0100f400" "07000100" "07000200"
                                   "00000000" "00000000" "00000000" "00000000" "00000000" "00000000" "00000000"
                                   "0100f700" "0100f800";
const std::string kZeroMatrix(128, '0');

class BasicPageJourney : public ::testing::TestWithParam<MouseRoute> {
 protected:
  void start(const std::wstring& mouseArguments = L"") {
    dismissBalloons();
    mouse.emplace(mouseArguments, GetParam());
    ASSERT_TRUE(mouse->ready()) << "vmouse.exe did not start: " << mouse->error();
    program.emplace(install, mouse->deviceOption());
    ASSERT_TRUE(program->waitForMainWindow());
    ASSERT_TRUE(waitForBalloon([](const TrayBalloon& b) { return b.text == L"The system detect the gaming mouse."; }))
        << describeCurrentBalloon();
    program->dismissBalloon();
  }
  void show() {
    moveScreen({1000, 10});
    program->trayClick();
    ASSERT_TRUE(program->waitForVisible(true));
    ASSERT_TRUE(program->settle());
  }
  void click(POINT p) {
    program->clickClient(p.x, p.y);
    EXPECT_TRUE(program->settle());
  }
  // Opens a lighting box's list and chooses item index in it.
  void choose(POINT box, int list, int index) {
    click(box);
    ASSERT_TRUE(waitUntil([&] { return program->child(list) != nullptr; }, 5s)) << "list " << list << " did not open";
    ASSERT_TRUE(program->chooseListItem(list, index));
    EXPECT_TRUE(waitUntil([&] { return program->child(list) == nullptr; }, 5s)) << "the choice closes list " << list;
  }
  Capture capture() {
    moveScreen({1000, 10});  // no hover image in the way
    program->settle();
    return program->captureClient();
  }
  MouseState dump() {
    const auto state = mouse->dump();
    EXPECT_TRUE(state) << mouse->error();
    return state.value_or(MouseState{});
  }
  std::wstring label(const wchar_t* key) {
    wchar_t text[256] = {};
    GetPrivateProfileStringW(L"Setting-EN", key, L"", text, ARRAYSIZE(text), install.strIni().c_str());
    return text;
  }
  static std::vector<int> slice(const std::vector<int>& numbers, std::size_t from, std::size_t count) {
    if (numbers.size() < from + count) return {};
    return std::vector<int>(numbers.begin() + from, numbers.begin() + from + count);
  }
  static std::vector<int> bytes(const std::vector<std::uint8_t>& file, std::size_t recordOffset, std::size_t count) {
    std::vector<int> out;
    for (std::size_t i = 0; i < count && 1 + recordOffset + i < file.size(); ++i) out.push_back(file[1 + recordOffset + i]);
    return out;
  }

  Installation install;
  std::optional<VirtualMouse> mouse;
  std::optional<Program> program;
};

TEST_P(BasicPageJourney, EveryControlReachesTheMouse) {
  start();
  show();
  {
    SCOPED_TRACE("first build: the sensor block written back, labels for a file never applied");
    EXPECT_EQ(dump().numbers("sensor"), (std::vector<int>{0, 1, 0, 0x40}));
    EXPECT_EQ(label(L"Item2"), L"Left Click");  // the installed record holds Left Click everywhere
    EXPECT_EQ(label(L"Item123"), L"Left Click");
  }
  {
    SCOPED_TRACE("report rate, stage switches and levels");
    click(ratePosition(3));
    click(stageSwitch(1));
    click(stageSwitch(2));
    click(cell(1, 4));
    click(cell(3, 5));  // stage 3 is off: the level is stored all the same
    const Capture shown = capture();
    EXPECT_TRUE(shown.hasColour(around(ratePosition(3)), kLight, 10));
    EXPECT_TRUE(shown.hasColour(around(ratePosition(4)), kDark, 10));
    EXPECT_TRUE(shown.hasColour(around(cell(1, 4)), kLight, 10));
    EXPECT_TRUE(shown.hasColour(around(cell(1, 5)), kDark, 10));
    EXPECT_TRUE(shown.hasColour(around(cell(3, 5)), kLight, 10));
    EXPECT_TRUE(shown.hasColour(around(stageSwitch(2), 2), kLight, 10)) << "stage 2's switch is ticked";
    EXPECT_FALSE(shown.hasColour(around(stageSwitch(3), 2), kLight, 10)) << "stage 3's switch is not";
  }
  {
    SCOPED_TRACE("colour swatches");
    click(swatch(3));
    EXPECT_FALSE(waitForColourDialog(program->process().id(), 1500ms)) << "stage 3 is off: its swatch is inert";
    program->clickClient(swatch(1).x, swatch(1).y);
    const auto dialog = waitForColourDialog(program->process().id());
    ASSERT_TRUE(dialog) << "no colour dialog for stage 1";
    chooseColour(*dialog, RGB(12, 200, 99));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(*dialog); }));
    EXPECT_TRUE(waitUntil([&] { return capture().hasColour(around(swatch(1)), RGB(12, 200, 99), 6); }, 5s))
        << "the swatch shows the colour chosen";
  }
  {
    SCOPED_TRACE("lighting: each mode with its own parameter and effect");
    EXPECT_EQ(program->childText(kModeValue), L"Off");
    EXPECT_EQ(program->child(kParameterValue), nullptr);
    choose(kModeBox, kModeList, 0);
    EXPECT_EQ(program->childText(kModeValue), L"Standard");
    EXPECT_EQ(program->childText(kParameterValue), L"5%");
    EXPECT_EQ(program->childText(kEffectValue), L"RGB Effect");
    choose(kParameterBox, kParameterList, 3);
    EXPECT_EQ(program->childText(kParameterValue), L"35%");
    // Standard's ten brightnesses make a shorter list than Neon's thirty periods: a press on
    // the page just under it closes it.
    click(kParameterBox);
    ASSERT_TRUE(waitUntil([&] { return program->child(kParameterList) != nullptr; }, 5s));
    click({kParameterBox.x, 374 + 173 + 10});
    EXPECT_TRUE(waitUntil([&] { return program->child(kParameterList) == nullptr; }, 5s));
    click(kEffectBox);
    EXPECT_EQ(program->child(kEffectList), nullptr) << "Standard offers no effect list";
    choose(kModeBox, kModeList, 2);
    EXPECT_EQ(program->childText(kModeValue), L"Neon");
    EXPECT_EQ(program->childText(kParameterValue), L"0.5S") << "Neon's own period, not Standard's brightness";
    choose(kParameterBox, kParameterList, 5);
    EXPECT_EQ(program->childText(kParameterValue), L"3S");
    choose(kEffectBox, kEffectList, 1);
    EXPECT_EQ(program->childText(kEffectValue), L"RGB Fixed On");
    // A press outside a list and its box closes it.
    click(kModeBox);
    ASSERT_TRUE(waitUntil([&] { return program->child(kModeList) != nullptr; }, 5s));
    click(kEmptySpace);
    EXPECT_TRUE(waitUntil([&] { return program->child(kModeList) == nullptr; }, 5s));
    // The lists took the keyboard focus while they were open; Escape still hides the window.
    SetForegroundWindow(program->mainWindow());
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(program->waitForVisible(false, 5s));
    show();
  }
  {
    SCOPED_TRACE("Default, then Apply");
    click(kKeyDefault);
    install.setProfileValue(L"Setting-EN", L"Item5", L"stale");
    click(kApply);
    EXPECT_TRUE(program->windowVisible()) << "Apply keeps the window";
    const MouseState state = dump();
    EXPECT_EQ(state.numbers("report_interval"), std::vector<int>{2});
    // Stage 1 level 4, stage 2 level 1, stage 3 off at level 5, stage 4 off at level 1.
    EXPECT_EQ(state.numbers("stage_codes"), (std::vector<int>{0x04, 0x01, 0x85, 0x81, 0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(state.numbers("stage_count"), std::vector<int>{4});
    EXPECT_EQ(slice(state.numbers("feature_blocks"), 24, 6), (std::vector<int>{12, 200, 99, 0, 0, 0}));
    // Neon with period 3 s ("RGB Fixed On"); option 2 stays as the mouse had it.
    EXPECT_EQ(state.numbers("effect"), (std::vector<int>{3, 6, 0}));
    EXPECT_EQ(slice(state.numbers("light_sets"), 0, 3), (std::vector<int>{3, 5, 5}));
    EXPECT_EQ(state.strings("key_matrices"),
              (std::vector<std::string>{kFactoryMatrix, kZeroMatrix, kFactoryMatrix, kZeroMatrix}));
    const auto config = install.readFile(L"config.bin");
    ASSERT_EQ(config.size(), 1986u);
    EXPECT_EQ(config[0], 1);
    EXPECT_EQ(bytes(config, 0x785, 1), std::vector<int>{2});
    EXPECT_EQ(bytes(config, 0x787, 8), (std::vector<int>{3, 0, 4, 0, 1, 1, 0, 0}));
    EXPECT_EQ(label(L"Item5"), L"Backward");
    EXPECT_EQ(label(L"Item2"), L"Right Click");
    EXPECT_EQ(label(L"Item63"), L"DPI +");
    EXPECT_EQ(label(L"Item123"), L"Key Off");
  }
  {
    SCOPED_TRACE("Cancel, then a tray click shows the applied record");
    click(ratePosition(1));
    choose(kModeBox, kModeList, 1);
    EXPECT_EQ(program->childText(kParameterValue), L"8S");
    click(kCancel);
    ASSERT_TRUE(program->waitForVisible(false));
    show();
    const Capture shown = capture();
    EXPECT_TRUE(shown.hasColour(around(ratePosition(3)), kLight, 10));
    EXPECT_TRUE(shown.hasColour(around(ratePosition(1)), kDark, 10));
    EXPECT_EQ(program->childText(kModeValue), L"Neon");
    EXPECT_EQ(program->childText(kParameterValue), L"3S");
  }
  {
    SCOPED_TRACE("OK applies and hides");
    const int frames = dump().numbers("frame_count").at(0);
    click(ratePosition(4));
    click(kOk);
    EXPECT_TRUE(program->waitForVisible(false));
    const MouseState state = dump();
    EXPECT_GT(state.numbers("frame_count").at(0), frames);
    EXPECT_EQ(state.numbers("report_interval"), std::vector<int>{1});
  }
  {
    SCOPED_TRACE("a press on Apply while the mouse is gone sends nothing and saves nothing");
    ASSERT_TRUE(mouse->unplug());
    ASSERT_TRUE(waitForBalloon([](const TrayBalloon& b) { return b.titleIs(L"Warning"); }));
    const int frames = dump().numbers("frame_count").at(0);
    install.setProfileValue(L"Setting-EN", L"Item5", L"stale");
    const auto config = install.readFile(L"config.bin");
    program->postClick(kApply.x, kApply.y);
    EXPECT_TRUE(program->settle());
    EXPECT_EQ(dump().numbers("frame_count").at(0), frames);
    EXPECT_EQ(install.readFile(L"config.bin"), config);
    EXPECT_EQ(label(L"Item5"), L"stale");
  }
}

TEST_P(BasicPageJourney, TheGridFollowsTheSensorTheMouseReports) {
  start(L"--sensor 1");
  show();
  {
    SCOPED_TRACE("eight levels with sensor type 1: their values, and the balloon's");
    const Capture shown = capture();
    EXPECT_TRUE(shown.hasColour({494, 374, 544, 390}, kGraphiteTextColour)) << "level 8 has its value";
    EXPECT_FALSE(shown.hasColour({494, 302, 544, 318}, kGraphiteTextColour)) << "level 12 has none";
    click(stageSwitch(1));
    click(cell(1, 8));
    program->dismissBalloon();
    ASSERT_TRUE(mouse->sendEvent(7, 1));
    const auto balloon = waitForBalloon();
    ASSERT_TRUE(balloon);
    EXPECT_EQ(balloon->text, L"Switch DPI into the first stage 3200");
  }
  {
    SCOPED_TRACE("level 12 is no cell with sensor type 1: a press there drags the window");
    RECT before{};
    GetWindowRect(program->mainWindow(), &before);
    const POINT top = cell(1, 12);
    program->dragClient(top.x, top.y, 30, 20);
    RECT after{};
    EXPECT_TRUE(waitUntil([&] {
      GetWindowRect(program->mainWindow(), &after);
      return after.left == before.left + 30 && after.top == before.top + 20;
    }, 5s)) << "moved from " << before.left << ", " << before.top << " to " << after.left << ", " << after.top;
    click(kApply);
    EXPECT_EQ(slice(dump().numbers("stage_codes"), 0, 2), (std::vector<int>{0x25, 0x81})) << "level 8 of sensor 1";
    EXPECT_EQ(bytes(install.readFile(L"config.bin"), 0x787, 1), std::vector<int>{7});
  }
}

TEST_P(BasicPageJourney, AnApplyTheMouseDidNotFullyReceiveSavesNothingAndSaysSo) {
  start(L"--late");  // the first block read after the handshake is answered one report late
  show();
  click(ratePosition(2));
  install.setProfileValue(L"Setting-EN", L"Item5", L"stale");
  const auto config = install.readFile(L"config.bin");
  program->clickClient(kApply.x, kApply.y);
  const auto box = waitForMessageBox(program->process().id());
  ASSERT_TRUE(box) << "no message about the failed transfer";
  EXPECT_EQ(box->caption, L"Warning");
  EXPECT_EQ(box->text, L"The mouse did not receive all the settings, so nothing was saved. Check that it is "
                       L"connected and apply again.");
  answerMessageBox(*box);
  EXPECT_TRUE(program->settle());
  EXPECT_EQ(install.readFile(L"config.bin"), config);
  EXPECT_EQ(label(L"Item5"), L"stale");
  {
    SCOPED_TRACE("the applied copy stayed: Cancel brings back the record as it was");
    click(kCancel);
    ASSERT_TRUE(program->waitForVisible(false));
    show();
    EXPECT_TRUE(capture().hasColour(around(ratePosition(2)), kDark, 10));
  }
  {
    SCOPED_TRACE("applied again, everything arrives");
    install.setProfileValue(L"Setting-EN", L"Item7", L"stale");  // read no more since the rebuild
    click(ratePosition(2));
    click(kOk);
    EXPECT_TRUE(program->waitForVisible(false));
    EXPECT_EQ(dump().numbers("report_interval"), std::vector<int>{4});
    EXPECT_EQ(install.readFile(L"config.bin")[0], 1);
    EXPECT_EQ(label(L"Item7"), L"Left Click");
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, BasicPageJourney, ::testing::Values(MouseRoute::Loopback, MouseRoute::SystemHid),
                         [](const auto& info) { return std::string(routeName(info.param)); });

}  // namespace
}  // namespace ombrisk::e2e
