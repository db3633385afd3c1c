// The README's run command without a display runs this tour (scripts/run.sh): in each
// language of OMBRISK_TOUR_LANGUAGES it shows the tray icon, opens the window from the tray,
// lets the mouse report an event, opens the tray menu, and saves the screen after each step
// into OMBRISK_TOUR_SHOTS. Not part of the test run (disabled).
#include <gtest/gtest.h>

#include <sstream>

#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {

std::wstring environmentValue(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
  return length < ARRAYSIZE(value) ? std::wstring(value, length) : std::wstring();
}

std::vector<std::wstring> split(const std::wstring& list) {
  std::vector<std::wstring> items;
  std::wstringstream stream(list);
  for (std::wstring item; std::getline(stream, item, L',');)
    if (!item.empty()) items.push_back(item);
  return items;
}

void save(const std::filesystem::path& folder, const std::wstring& name) {
  Sleep(700);  // let the desktop finish painting
  const std::filesystem::path file = folder / (name + L".bmp");
  EXPECT_TRUE(captureScreen().saveBitmap(file));
  printf("tour: %ls\n", file.filename().c_str());
}

TEST(Tour, DISABLED_TrayWindowAndBalloons) {
  const std::filesystem::path shots = environmentValue(L"OMBRISK_TOUR_SHOTS");
  ASSERT_FALSE(shots.empty()) << "OMBRISK_TOUR_SHOTS names the screenshot folder";
  const bool withMouse = environmentValue(L"OMBRISK_TOUR_NO_MOUSE").empty();
  std::vector<std::wstring> languages = split(environmentValue(L"OMBRISK_TOUR_LANGUAGES"));
  if (languages.empty()) languages = {L"EN"};

  for (const std::wstring& language : languages) {
    SCOPED_TRACE(language);
    dismissBalloons();
    Installation install;
    install.setLanguage(language);
    std::optional<VirtualMouse> mouse;
    if (withMouse) {
      mouse.emplace();
      ASSERT_TRUE(mouse->ready()) << "vmouse did not start";
    }
    Program program(install, mouse ? mouse->deviceOption() : L"");
    ASSERT_TRUE(program.waitForMainWindow());
    ASSERT_TRUE(waitUntil([&] { return program.trayIconPresent(); }));
    const auto first = waitForBalloon();
    printf("tour %ls: start balloon \"%ls\" / \"%ls\"\n", language.c_str(),
           first && first->title ? first->title->c_str() : L"?", first ? first->text.c_str() : L"-");
    save(shots, language + L"-1-tray");

    dismissBalloons();
    program.trayClick();
    const bool shown = program.waitForVisible(true, 5s);
    printf("tour %ls: tray click %s the window\n", language.c_str(), shown ? "shows" : "does not show");
    save(shots, language + L"-2-window");

    if (mouse) {
      dismissBalloons();
      mouse->sendEvent(8, 2);
      const auto event = waitForBalloon();
      printf("tour %ls: event 8/2 balloon \"%ls\"\n", language.c_str(), event ? event->text.c_str() : L"-");
      save(shots, language + L"-3-event-balloon");
      dismissBalloons();
      mouse->sendEvent(7, 1);
      const auto stage = waitForBalloon();
      printf("tour %ls: event 7/1 balloon \"%ls\"\n", language.c_str(), stage ? stage->text.c_str() : L"-");
      save(shots, language + L"-4-dpi-balloon");
    }

    program.trayRightClick();
    save(shots, language + L"-5-tray-menu");
    program.chooseFirstTrayMenuItem();
    EXPECT_TRUE(program.process().waitForExit());
  }
}

}  // namespace
}  // namespace ombrisk::e2e
