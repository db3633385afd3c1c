// The README's run command without a display runs this tour (scripts/run.sh): in each
// language of OMBRISK_TOUR_LANGUAGES it shows the tray icon, opens the window from the tray,
// lets the mouse report an event, opens the tray menu, and saves the screen after each step
// into OMBRISK_TOUR_SHOTS (OMBRISK_TOUR_SKIN picks another skin). Not part of the test run
// (disabled).
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

// The X screen as a person sees it, taskbar, balloons and menus included, by the host's
// ImageMagick (Wine runs Unix programs through start /unix). shots is a Unix folder.
void save(const std::wstring& shots, const std::wstring& name) {
  Sleep(700);  // let the desktop finish painting
  const std::wstring file = shots + L"/" + name + L".png";
  Process import(L"C:\\windows\\system32\\start.exe",
                 L"/wait /unix /usr/bin/import -window root \"" + file + L"\"", {});
  EXPECT_TRUE(import.waitForExit(30s)) << "import did not finish";
  if (!std::filesystem::exists(L"Z:" + file)) {  // once more, when the first one came too early
    Process again(L"C:\\windows\\system32\\start.exe",
                  L"/wait /unix /usr/bin/import -window root \"" + file + L"\"", {});
    again.waitForExit(30s);
  }
  printf("tour: %s\n", utf8(file).c_str());
}

TEST(Tour, DISABLED_TrayWindowAndBalloons) {
  const std::wstring shots = environmentValue(L"OMBRISK_TOUR_SHOTS");
  ASSERT_FALSE(shots.empty()) << "OMBRISK_TOUR_SHOTS names the screenshot folder";
  const bool withMouse = environmentValue(L"OMBRISK_TOUR_NO_MOUSE").empty();
  std::vector<std::wstring> languages = split(environmentValue(L"OMBRISK_TOUR_LANGUAGES"));
  if (languages.empty()) languages = {L"EN"};

  for (const std::wstring& language : languages) {
    SCOPED_TRACE(language);
    dismissBalloons();
    Installation install;
    install.setLanguage(language);
    if (const std::wstring skin = environmentValue(L"OMBRISK_TOUR_SKIN"); !skin.empty()) install.setSkin(skin);
    std::optional<VirtualMouse> mouse;
    if (withMouse) {
      mouse.emplace();
      ASSERT_TRUE(mouse->ready()) << "vmouse did not start";
    }
    Program program(install, mouse ? mouse->deviceOption() : L"");
    ASSERT_TRUE(program.waitForMainWindow());
    ASSERT_TRUE(waitUntil([&] { return program.trayIconPresent(); }));
    const auto first = waitForBalloon();
    printf("tour %s: start balloon \"%s\"\n", utf8(language).c_str(), first ? utf8(first->text).c_str() : "-");
    save(shots, language + L"-1-tray");

    program.dismissBalloon();
    program.trayClick();
    const bool shown = program.waitForVisible(true, 5s);
    printf("tour %s: tray click %s the window\n", utf8(language).c_str(), shown ? "shows" : "does not show");
    save(shots, language + L"-2-window");
    moveScreen({1200, 10});
    program.clickClient(80, 74);  // the next-page button: the Advanced page
    save(shots, language + L"-2b-advanced-page");
    program.clickClient(34, 74);  // and back to the Basic page
    moveScreen({1200, 10});

    if (mouse) {
      program.dismissBalloon();
      mouse->sendEvent(8, 2);
      const auto event = waitForBalloon();
      printf("tour %s: event 8/2 balloon \"%s\"\n", utf8(language).c_str(), event ? utf8(event->text).c_str() : "-");
      save(shots, language + L"-3-event-balloon");
      program.dismissBalloon();
      mouse->sendEvent(7, 1);
      const auto stage = waitForBalloon();
      printf("tour %s: event 7/1 balloon \"%s\"\n", utf8(language).c_str(), stage ? utf8(stage->text).c_str() : "-");
      save(shots, language + L"-4-dpi-balloon");
    }

    program.dismissBalloon();
    // The menu opens at the pointer: put it on the tray icon, the taskbar's right end.
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
      RECT bar{};
      GetWindowRect(taskbar, &bar);
      moveScreen({bar.right - 8, bar.bottom - 8});
    }
    program.trayRightClick();
    program.waitForMenu(5s);
    save(shots, language + L"-5-tray-menu");
    program.chooseFirstTrayMenuItem();
    EXPECT_TRUE(program.process().waitForExit());
  }
}

}  // namespace
}  // namespace ombrisk::e2e
