// The README's run command without a display runs this tour (scripts/run.sh): in each
// language of OMBRISK_TOUR_LANGUAGES it shows the tray icon, opens the window from the tray,
// records a macro on the Advanced page by key presses, saves and applies it and prints the
// mouse's macro block, switches to the other skin and shows both pages in it, sets up the
// Basic page (report rate, a DPI stage, its colour, the lighting mode; a function list and
// each key editor shown; button 4 a single key and button 5 a combination by key presses),
// applies it and prints what the virtual mouse then holds (the key matrices too), lets the mouse report events, opens the tray menu, and
// saves the screen after each step into OMBRISK_TOUR_SHOTS (OMBRISK_TOUR_SKIN picks the skin
// to start with). Not part of the test run (disabled).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/key_editor_steps.h"
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
// ImageMagick (Wine runs Unix programs through start /unix, which does not wait for them:
// the tour goes on once the picture is written). shots is a Unix folder.
void save(const std::wstring& shots, const std::wstring& name) {
  Sleep(700);  // let the desktop finish painting
  const std::wstring file = shots + L"/" + name + L".png";
  const std::filesystem::path written = L"Z:" + file;
  std::error_code ignored;
  std::filesystem::remove(written, ignored);
  const Process import(L"C:\\windows\\system32\\start.exe",
                 L"/wait /unix /usr/bin/import -window root \"" + file + L"\"", {});
  // Done once the picture's last chunk is there.
  const auto complete = [&] {
    std::ifstream in(written, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() < 12) return false;
    in.seekg(-12, std::ios::end);
    char tail[12] = {};
    in.read(tail, sizeof tail);
    return std::string(tail + 4, 4) == "IEND";
  };
  EXPECT_TRUE(waitUntil(complete, 30s)) << "import did not write " << utf8(file);
  printf("tour: %s\n", utf8(file).c_str());
}

std::string joined(const std::vector<int>& numbers, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count && i < numbers.size(); ++i) text += (i ? " " : "") + std::to_string(numbers[i]);
  return text;
}

// The function list of button 4 with the DPI side list beside it; then each editor as it
// comes up and with its list open, cancelled.
void showKeyEditors(Program& program, const std::wstring& shots, const std::wstring& language) {
  using namespace key_editor;
  if (openFunctionList(program, 4)) {
    pointAtDpiSwitch(program, 4);
    save(shots, language + L"-2i-function-list");
    // Closed by a second press out of a double click's reach of the first.
    program.clickClient(basic_page::keyBox(4).x + 40, basic_page::keyBox(4).y);
    program.settle();
  }
  struct Editor {
    int function, childId;
    POINT box;
    int listId;
    const wchar_t* name;
  };
  const Editor editors[] = {
      {kSingleKey, kSingleKeyName, {}, 0, L"single-key"},
      {kComboKey, kComboModifier, kUpperBox, kComboModifierList, L"combo-key"},
      {kFireKey, kFireKeyText, kUpperBox, kFireKeyList, L"fire-key"},
      {kMultimedia, kMediaText, kChoiceBox, kMediaList, L"multimedia"},
      {kWindows, kWindowsText, kChoiceBox, kWindowsList, L"windows"},
      {kMacroKey, kMacroText, kChoiceBox, kMacroList, L"macro-key"},
  };
  for (const Editor& editor : editors) {
    HWND dialog = chooseEditor(program, 4, editor.function, editor.childId);
    EXPECT_TRUE(dialog) << "no editor " << utf8(editor.name);
    if (!dialog) continue;
    moveScreen({1200, 10});
    save(shots, language + L"-2i-editor-" + editor.name);
    if (editor.listId && openEditorList(dialog, editor.box, editor.listId)) {
      moveScreen({1200, 10});
      save(shots, language + L"-2i-editor-" + editor.name + L"-list");
    }
    EXPECT_TRUE(closeEditor(program, dialog, kDialogCancel)) << utf8(editor.name);
  }
}

// Button 4 a single key by pressing T, button 5 Left Ctrl + C (the modifier from its list,
// the key pressed), each through its editor; the labels the boxes then show.
void giveKeys(Program& program, const std::wstring& shots, const std::wstring& language) {
  using namespace key_editor;
  if (HWND single = chooseEditor(program, 4, kSingleKey, kSingleKeyName)) {
    typeKey('T');
    EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(single, kSingleKeyName)) == L"T"; }, 5s));
    closeEditor(program, single, kDialogOk);
  } else {
    ADD_FAILURE() << "no single key editor";
  }
  if (HWND combo = chooseEditor(program, 5, kComboKey, kComboModifier)) {
    if (HWND list = openEditorList(combo, kUpperBox, kComboModifierList))
      clickEditorItem(combo, list, kComboModifierList, 0);  // Left Ctrl
    clickWindow(GetDlgItem(combo, kComboKey1), 20, 7);
    typeKey('C');
    EXPECT_TRUE(waitUntil([&] { return textOf(GetDlgItem(combo, kComboKey1)) == L"C"; }, 5s));
    moveScreen({1200, 10});
    save(shots, language + L"-2i-editor-combo-key-chosen");
    closeEditor(program, combo, kDialogOk);
  } else {
    ADD_FAILURE() << "no combination editor";
  }
}

// Report rate 500, stage 1 on at level 6 in orange, Neon lighting fixed on, the factory keys
// with button 4 a single key and button 5 a combination; then Apply, and what the mouse holds.
void setUpBasicPage(Program& program, VirtualMouse& mouse, const std::wstring& shots, const std::wstring& language) {
  using namespace basic_page;
  const auto click = [&](POINT p) {
    program.clickClient(p.x, p.y);
    program.settle();
  };
  click(ratePosition(3));
  click(stageSwitch(1));
  click(cell(1, 6));
  program.clickClient(swatch(1).x, swatch(1).y);
  if (const auto dialog = waitForColourDialog(program.process().id(), 5s)) {
    save(shots, language + L"-2g-colour-dialog");
    chooseColour(*dialog, RGB(255, 128, 0));
    waitUntil([&] { return !IsWindow(*dialog); }, 5s);
  }
  click(kModeBox);
  if (waitUntil([&] { return program.child(kModeList) != nullptr; }, 5s)) {
    save(shots, language + L"-2h-lighting-list");
    program.chooseListItem(kModeList, 2);  // Neon
  }
  click(kEffectBox);
  if (waitUntil([&] { return program.child(kEffectList) != nullptr; }, 5s))
    program.chooseListItem(kEffectList, 1);  // "RGB Fixed On"
  click(kKeyDefault);  // the factory keys, with their labels in the language
  showKeyEditors(program, shots, language);
  giveKeys(program, shots, language);
  moveScreen({1200, 10});
  save(shots, language + L"-2j-basic-page-set");
  click(kApply);
  moveScreen({1200, 10});
  save(shots, language + L"-2k-applied");
  const auto state = mouse.dump();
  if (!state) {
    ADD_FAILURE() << "no dump of the virtual mouse";
    return;
  }
  const std::string tag = "tour " + utf8(language) + ": ";
  printf("%sthe mouse holds report interval %s (1 = 1000 Hz, 2 = 500 Hz)\n", tag.c_str(),
         joined(state->numbers("report_interval"), 1).c_str());
  printf("%s  stage codes %s (count %s)\n", tag.c_str(), joined(state->numbers("stage_codes"), 8).c_str(),
         joined(state->numbers("stage_count"), 1).c_str());
  const std::vector<int> blocks = state->numbers("feature_blocks");
  printf("%s  stage colours %s\n", tag.c_str(),
         joined(std::vector<int>(blocks.begin() + std::min<std::size_t>(24, blocks.size()), blocks.end()), 12).c_str());
  printf("%s  effect %s, light sets %s\n", tag.c_str(), joined(state->numbers("effect"), 3).c_str(),
         joined(state->numbers("light_sets"), 6).c_str());
  printf("%s  lighting shown: %s / %s / %s\n", tag.c_str(), utf8(program.childText(kModeValue)).c_str(),
         utf8(program.childText(kParameterValue)).c_str(), utf8(program.childText(kEffectValue)).c_str());
  const std::vector<std::string> matrices = state->strings("key_matrices");
  for (std::size_t m = 0; m < matrices.size(); ++m)
    printf("%s  key matrix %zu: %s\n", tag.c_str(), m + 1, matrices[m].c_str());
}

constexpr int kNameEdit = 150, kEventList = 152, kDelayEdit = 600, kSkinText = 560, kSkinColourBox = 561,
              kSkinList = 562;

// On the Advanced page: a macro named "tour" recorded from the keys H and I, its first delay
// set to 120 ms in the delay dialog, saved and applied.
void recordMacro(Program& program, VirtualMouse& mouse, const std::wstring& shots, const std::wstring& language) {
  const DWORD process = program.process().id();
  waitUntil([&] { return program.child(kNameEdit) != nullptr; }, 5s);
  replaceEditText(program.child(kNameEdit), L"tour");
  program.clickClient(565, 538);  // New
  program.clickClient(749, 243);  // Start Recording
  program.answerNextMessage();
  // The hook is in once the title asks to stop.
  waitUntil([&] { return program.title() != L""; }, 5s);
  SetForegroundWindow(program.mainWindow());
  typeKey('H');
  typeKey('I');
  HWND events = program.child(kEventList);
  EXPECT_TRUE(waitUntil([&] { return listItems(events).size() == 7; }, 5s)) << "the recording";
  Sleep(600);
  program.clickClient(749, 279);  // Stop Recording
  program.answerNextMessage();

  const POINT delay = listItemCentre(events, 1);
  moveOverWindow(events, delay.x, delay.y);
  clickWindow(events, delay.x, delay.y);
  clickWindow(events, delay.x, delay.y);
  HWND dialog = waitForDialogWithControl(process, kDelayEdit, 5s);
  EXPECT_TRUE(dialog) << "no delay dialog";
  if (dialog) {
    SetForegroundWindow(dialog);
    typeText(L"120");
    moveScreen({1200, 10});
    save(shots, language + L"-2c-delay-dialog");
    clickWindow(dialog, 218, 263);  // OK
    waitUntil([&] { return !IsWindow(dialog); }, 5s);
  }
  program.clickClient(773, 538);  // Confirm
  program.clickClient(718, 633);  // Apply
  std::string block;
  EXPECT_TRUE(waitUntil([&] { return (block = mouse.macroBlock(0).value_or("")).rfind("0001", 0) == 0; }, 10s));
  std::string entries;
  for (const std::wstring& entry : listItems(events)) entries += (entries.empty() ? "" : ", ") + utf8(entry);
  printf("tour %s: macro \"tour\": %s\n", utf8(language).c_str(), entries.c_str());
  printf("tour %s: the mouse's macro block 1: %s\n", utf8(language).c_str(), block.substr(0, 40).c_str());
}

// The skin dialog: the other skin chosen and OK; both pages shown in it.
void switchSkin(Program& program, const std::wstring& shots, const std::wstring& language) {
  program.clickClient(710, 14);  // Skins
  HWND dialog = waitForDialogWithControl(program.process().id(), kSkinColourBox, 5s);
  ASSERT_TRUE(dialog) << "no skin dialog";
  const std::wstring current = textOf(GetDlgItem(dialog, kSkinText));
  clickWindow(dialog, 90, 136);  // the skin box
  HWND list = nullptr;
  waitUntil([&] { return (list = GetDlgItem(dialog, kSkinList)) != nullptr; }, 5s);
  moveScreen({1200, 10});
  save(shots, language + L"-2d-skin-dialog");
  std::wstring other;
  for (const std::wstring& skin : listItems(list))
    if (skin != current && other.empty()) other = skin;
  EXPECT_TRUE(clickListItem(list, other)) << "no other skin";
  clickWindow(dialog, 218, 263);  // OK
  waitUntil([&] { return !IsWindow(dialog); }, 5s);
  printf("tour %s: skin %s instead of %s\n", utf8(language).c_str(), utf8(other).c_str(), utf8(current).c_str());
  moveScreen({1200, 10});
  save(shots, language + L"-2e-advanced-page-" + other);
  program.clickClient(34, 74);  // the Basic page
  moveScreen({1200, 10});
  save(shots, language + L"-2f-basic-page-" + other);
}

TEST(Tour, DISABLED_TrayWindowAndBalloons) {
  const std::wstring shots = environmentValue(L"OMBRISK_TOUR_SHOTS");
  ASSERT_FALSE(shots.empty()) << "OMBRISK_TOUR_SHOTS names the screenshot folder";
  const bool withMouse = environmentValue(L"OMBRISK_TOUR_NO_MOUSE").empty();
  const MouseRoute route =
      environmentValue(L"OMBRISK_TOUR_SYSTEM_HID").empty() ? MouseRoute::Loopback : MouseRoute::SystemHid;
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
      mouse.emplace(L"", route);
      ASSERT_TRUE(mouse->ready()) << "vmouse did not start: " << mouse->error();
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
    if (mouse) recordMacro(program, *mouse, shots, language);
    moveScreen({1200, 10});
    save(shots, language + L"-2b-advanced-page");
    if (mouse) switchSkin(program, shots, language);
    program.clickClient(34, 74);  // the Basic page
    moveScreen({1200, 10});
    if (mouse) setUpBasicPage(program, *mouse, shots, language);

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
