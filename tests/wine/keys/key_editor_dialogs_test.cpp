// The key editor dialogs run modally from their real templates on the shipped skin, used as
// a user uses them: keys pressed with their scan codes, boxes, list items and edits clicked.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "app/window_messages.h"
#include "keys/combo_dialog_win32.h"
#include "keys/consumer_key_dialog_win32.h"
#include "keys/fire_key_dialog_win32.h"
#include "keys/key_name_hook_win32.h"
#include "keys/single_dialog_win32.h"
#include "macros/macro_dialog_win32.h"
#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/skins_dialog_win32.h"
#include "support/dialog_user_win32.h"
#include "support/temp_folder.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

using testing::DialogUser;

// Child identifiers of the editors.
constexpr int kKeyName = 502, kModifierText = 512, kModifierList = 515, kKey1 = 516, kKey2 = 517;
constexpr int kFireKeyText = 572, kFireKeyList = 573, kSpeed = 574, kTimes = 575;
constexpr int kMediaText = 552, kMediaList = 553, kWindowsText = 532, kWindowsList = 533;

class KeyEditorDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = skinState();
    skinState().folder = testing::utf8FromPath(testing::installFolder() / L"Skins" / L"Graphite");
    setInterfaceLanguage(Language::English);
  }
  void TearDown() override {
    skinState() = saved;
    setInterfaceLanguage(Language::English);
  }

  SkinState saved;
  ImageDecoderUse decoder;
};

// Handles this thread's messages for a while.
void pumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG message;
  while (GetTickCount() < end) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

// A click into an edit, where a user puts the caret.
void clickInto(DialogUser& user, int id) {
  RECT rect{};
  GetClientRect(user.child(id), &rect);
  user.click(rect.right / 2, rect.bottom / 2, user.child(id));
}

// Replaces an edit's text by typing, as a user who selected it all.
void retype(DialogUser& user, int id, const std::wstring& digits) {
  clickInto(user, id);
  SendMessageW(user.child(id), EM_SETSEL, 0, -1);
  user.typeKey(VK_DELETE, true);
  user.typeText(digits);
}

TEST_F(KeyEditorDialogs, SingleKeyShowsKeyNamesAndEnterEscapeAndWindowsKeysDoNotAct) {
  struct Seen {
    std::wstring enter, escape, leftWindows, leftShift, rightCtrl, a;
    bool openAfterEnterAndEscape = false;
  } seen;
  CSingleDialog dialog;
  DialogUser user([&](DialogUser& u) {
    const auto nameAfter = [&](WORD key, bool extended) {
      u.typeKey(key, extended);
      return u.text(kKeyName);
    };
    seen.enter = nameAfter(VK_RETURN, false);
    seen.escape = nameAfter(VK_ESCAPE, false);
    seen.openAfterEnterAndEscape = u.open();
    seen.leftWindows = nameAfter(VK_LWIN, true);
    seen.leftShift = nameAfter(VK_LSHIFT, false);
    seen.rightCtrl = nameAfter(VK_RCONTROL, true);
    seen.a = nameAfter('A', false);
    u.clickOk();
  });
  const INT_PTR result = dialog.run(nullptr);
  user.join();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(seen.enter, L"Enter");
  EXPECT_EQ(seen.escape, L"Esc");
  EXPECT_TRUE(seen.openAfterEnterAndEscape);
  EXPECT_EQ(seen.leftWindows, L"Left Windows");
  EXPECT_EQ(seen.leftShift, L"Shift");
  EXPECT_EQ(seen.rightCtrl, L"Right Ctrl");
  EXPECT_EQ(seen.a, L"A");
  EXPECT_EQ(dialog.result().keyName, "A");
}

TEST_F(KeyEditorDialogs, SingleKeySaysWhenAKeyCannotBeAssigned) {
  bool noteShown = false, noteGone = false;
  std::wstring name;
  CSingleDialog dialog;
  DialogUser user([&](DialogUser& u) {
    // Under the name display, where the note goes.
    const auto noteArea = [&] { return u.capture(23, 150, 201, 184).pixels; };
    u.typeKey('A');
    const auto without = noteArea();
    u.typeKey(VK_F13);  // no name the tables know, in any layout (no name at all under Wine)
    name = u.text(kKeyName);
    noteShown = noteArea() != without;
    u.typeKey('B');
    noteGone = noteArea() == without;
    u.typeKey(VK_F13);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_TRUE(noteShown);
  EXPECT_TRUE(noteGone);
  EXPECT_EQ(dialog.result().keyName, narrow(name));
}

TEST_F(KeyEditorDialogs, AKeyHeldWhenTheEditorOpensIsNotItsAnswer) {
  // B goes down while another window of the program has the keyboard.
  HWND before = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(before);
  SetFocus(before);
  testing::sendKey('B', false, false);
  pumpFor(300);
  DestroyWindow(before);
  std::wstring afterRelease;
  CSingleDialog dialog;
  DialogUser user([&](DialogUser& u) {
    u.pressKey('B', false, true);  // its release reaches the editor
    u.settle();
    afterRelease = u.text(kKeyName);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(afterRelease, L"");
  EXPECT_EQ(dialog.result().keyName, "");
}

TEST_F(KeyEditorDialogs, SingleKeyCancelAndCloseReturnTwo) {
  for (const bool viaClose : {false, true}) {
    CSingleDialog dialog;
    DialogUser user([&](DialogUser& u) {
      u.typeKey('A');
      if (viaClose)
        u.clickClose();
      else
        u.clickCancel();
    });
    EXPECT_EQ(dialog.run(nullptr), IDCANCEL);
  }
}

TEST_F(KeyEditorDialogs, ComboTakesKeysIntoTheFocusedEditAndTheModifierFromItsList) {
  struct Seen {
    std::wstring key1AfterC, key1AfterEnter, key2, modifier, key1WhileListOpen;
    bool editsDisabledWhileOpen = false, editsEnabledAfterChoice = false, editsEnabledAfterOutsideClick = false;
    bool openAfterEnter = false;
  } seen;
  CComboDialog dialog;
  DialogUser user([&](DialogUser& u) {
    const auto editsEnabled = [&] { return IsWindowEnabled(u.child(kKey1)) && IsWindowEnabled(u.child(kKey2)); };
    clickInto(u, kKey1);
    u.typeKey(VK_RETURN);
    seen.key1AfterEnter = u.text(kKey1);
    seen.openAfterEnter = u.open();
    u.typeKey('C');
    seen.key1AfterC = u.text(kKey1);
    clickInto(u, kKey2);
    u.typeKey(VK_RCONTROL, true);
    seen.key2 = u.text(kKey2);
    // The modifier list: the edits are disabled while it is open, keys typed then go nowhere.
    u.click(60, 77);
    seen.editsDisabledWhileOpen = u.child(kModifierList) && !IsWindowEnabled(u.child(kKey1)) &&
                                  !IsWindowEnabled(u.child(kKey2));
    u.typeKey('X');
    seen.key1WhileListOpen = u.text(kKey1);
    u.click(300, 220);  // elsewhere: closes without a choice
    seen.editsEnabledAfterOutsideClick = !u.child(kModifierList) && editsEnabled();
    u.click(60, 77);
    u.clickItem(kModifierList, 4);  // "Right Ctrl"
    u.click(60, 77);
    u.clickItem(kModifierList, 0);  // replaced by "Left Ctrl"
    seen.modifier = u.text(kModifierText);
    seen.editsEnabledAfterChoice = !u.child(kModifierList) && editsEnabled();
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(seen.key1AfterEnter, L"Enter");
  EXPECT_TRUE(seen.openAfterEnter);
  EXPECT_EQ(seen.key1AfterC, L"C");  // the name only, not the typed character too
  EXPECT_EQ(seen.key2, L"Right Ctrl");
  EXPECT_TRUE(seen.editsDisabledWhileOpen);
  EXPECT_EQ(seen.key1WhileListOpen, L"C");
  EXPECT_TRUE(seen.editsEnabledAfterOutsideClick);
  EXPECT_EQ(seen.modifier, L"Left Ctrl");
  EXPECT_TRUE(seen.editsEnabledAfterChoice);
  const ComboKeyChoice result = dialog.result();
  EXPECT_EQ(result.modifier, "Left Ctrl");
  EXPECT_EQ(result.key1, "C");
  EXPECT_EQ(result.key2, "Right Ctrl");
}

TEST_F(KeyEditorDialogs, TabIsAKeyOfTheFocusedFieldAndMovesNoFocus) {
  struct Seen {
    std::wstring key1AfterTab, key2AfterTab, key2AfterShiftTab, key1AfterShiftTab;
    bool key1KeptFocus = false, key2KeptFocus = false;
  } seen;
  CComboDialog dialog;
  DialogUser user([&](DialogUser& u) {
    clickInto(u, kKey2);
    u.typeKey('V');
    clickInto(u, kKey1);
    u.typeKey(VK_TAB);
    seen.key1AfterTab = u.text(kKey1);
    seen.key2AfterTab = u.text(kKey2);
    // The focus as the dialog's thread has it.
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(u.dialog(), nullptr), &info);
    seen.key1KeptFocus = info.hwndFocus == u.child(kKey1);
    // Shift+Tab in the second field: the last key event there is Tab's, and the first
    // field keeps its own.
    clickInto(u, kKey2);
    u.pressKey(VK_LSHIFT, false, false);
    u.typeKey(VK_TAB);
    u.pressKey(VK_LSHIFT, false, true);
    u.settle();
    seen.key2AfterShiftTab = u.text(kKey2);
    seen.key1AfterShiftTab = u.text(kKey1);
    GetGUIThreadInfo(GetWindowThreadProcessId(u.dialog(), nullptr), &info);
    seen.key2KeptFocus = info.hwndFocus == u.child(kKey2);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(seen.key1AfterTab, L"Tab");
  EXPECT_EQ(seen.key2AfterTab, L"V") << "the second key is the user's, not Tab's release";
  EXPECT_TRUE(seen.key1KeptFocus);
  EXPECT_EQ(seen.key2AfterShiftTab, L"Shift");  // Shift's release came last
  EXPECT_EQ(seen.key1AfterShiftTab, L"Tab");
  EXPECT_TRUE(seen.key2KeptFocus);
  const ComboKeyChoice result = dialog.result();
  EXPECT_EQ(result.key1, "Tab");
  EXPECT_EQ(result.key2, "Shift");
}

TEST_F(KeyEditorDialogs, LeftAndRightModifiersAreToldApartByTheirScanCodes) {
  struct Case {
    WORD key;
    bool extended;
    std::wstring shown;
  };
  const Case cases[] = {{VK_RMENU, true, L"Right Alt"},      {VK_LMENU, false, L"Alt"},
                        {VK_RSHIFT, false, L"Right Shift"},  {VK_LSHIFT, false, L"Shift"},
                        {VK_RCONTROL, true, L"Right Ctrl"},  {VK_LCONTROL, false, L"Ctrl"},
                        {VK_RWIN, true, L"Right Windows"},   {VK_LWIN, true, L"Left Windows"}};
  std::vector<std::wstring> shown;
  CSingleDialog dialog;
  DialogUser user([&](DialogUser& u) {
    for (const Case& c : cases) {
      u.typeKey(c.key, c.extended);
      shown.push_back(u.text(kKeyName));
    }
    u.typeKey(VK_RMENU, true);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  ASSERT_EQ(shown.size(), std::size(cases));
  for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], cases[i].shown);
  EXPECT_EQ(dialog.result().keyName, "Right Alt");
}

TEST_F(KeyEditorDialogs, ComboOkWithNothingGivenReturnsThreeEmptyNames) {
  CComboDialog dialog;
  DialogUser user([&](DialogUser& u) { u.clickOk(); });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  const ComboKeyChoice result = dialog.result();
  EXPECT_EQ(result.modifier + result.key1 + result.key2, "");
}

TEST_F(KeyEditorDialogs, FireKeyCorrectsSpeedOnLeavingAndTimesAtOnce) {
  struct Seen {
    std::wstring speedAfter3, speedAfter300, speedAfter255, speedAfterLetters, speedAfterDigits;
    std::wstring timesAfter256, timesCleared, key;
  } seen;
  CFireKeyDialog dialog;
  DialogUser user([&](DialogUser& u) {
    const auto speedLeft = [&](const std::wstring& typed) {
      retype(u, kSpeed, typed);
      clickInto(u, kTimes);  // the speed edit loses the focus
      return u.text(kSpeed);
    };
    seen.speedAfter3 = speedLeft(L"3");
    seen.speedAfter300 = speedLeft(L"300");
    seen.speedAfter255 = speedLeft(L"255");
    // Letters do not go into the digits-only edit; twenty digits are far out of range.
    retype(u, kSpeed, L"40");
    u.typeKey('Q');
    clickInto(u, kTimes);
    seen.speedAfterLetters = u.text(kSpeed);
    seen.speedAfterDigits = speedLeft(L"12345678901234567890");
    retype(u, kTimes, L"256");
    seen.timesAfter256 = u.text(kTimes);
    retype(u, kTimes, L"");
    seen.timesCleared = u.text(kTimes);
    // The key list: "R-Button" at position 55.
    u.click(60, 77);
    u.clickItem(kFireKeyList, 55);
    seen.key = u.text(kFireKeyText);
    // A speed typed and confirmed at once with OK.
    retype(u, kSpeed, L"3");
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(seen.speedAfter3, L"5");
  EXPECT_EQ(seen.speedAfter300, L"5");
  EXPECT_EQ(seen.speedAfter255, L"255");
  EXPECT_EQ(seen.speedAfterLetters, L"40");
  EXPECT_EQ(seen.speedAfterDigits, L"5");
  EXPECT_EQ(seen.timesAfter256, L"1");
  EXPECT_EQ(seen.timesCleared, L"");
  EXPECT_EQ(seen.key, L"R-Button");
  const FireKeyChoice& result = dialog.result();
  EXPECT_EQ(result.index, 55);
  EXPECT_EQ(result.text, "R-Button");
  EXPECT_EQ(result.speed, 5);
  EXPECT_EQ(result.times, 0);
}

TEST_F(KeyEditorDialogs, FireKeyUntouchedIsAAtSpeed32Once) {
  std::wstring speed, times, key;
  bool editsDisabledWhileOpen = false;
  CFireKeyDialog dialog;
  DialogUser user([&](DialogUser& u) {
    speed = u.text(kSpeed);
    times = u.text(kTimes);
    key = u.text(kFireKeyText);
    u.click(60, 77);
    editsDisabledWhileOpen = u.child(kFireKeyList) && !IsWindowEnabled(u.child(kSpeed));
    u.click(60, 77);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(speed, L"32");
  EXPECT_EQ(times, L"1");
  EXPECT_EQ(key, L"A");
  EXPECT_TRUE(editsDisabledWhileOpen);
  EXPECT_EQ(dialog.result().index, 0);
  EXPECT_EQ(dialog.result().speed, 32);
  EXPECT_EQ(dialog.result().times, 1);
}

// Runs a list editor, notes the text it shows first and after choosing item, and returns its
// answer to OK.
template <typename Dialog>
ConsumerKeyChoice chooseFromList(int textId, int listId, int item, std::wstring& first, std::wstring& shown) {
  Dialog dialog;
  DialogUser user([&](DialogUser& u) {
    first = u.text(textId);
    u.click(60, 135);
    u.clickItem(listId, item);
    shown = u.text(textId);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  return dialog.result();
}

TEST_F(KeyEditorDialogs, MultimediaAndWindowsFunctionsFromTheirLists) {
  std::wstring first, shown;
  const ConsumerKeyChoice media = chooseFromList<CMediaDialog>(kMediaText, kMediaList, 5, first, shown);
  EXPECT_EQ(first, L"Next");
  EXPECT_EQ(shown, L"Vol+");
  EXPECT_EQ(media.index, 5);
  EXPECT_EQ(media.text, "Vol+");

  setInterfaceLanguage(Language::TraditionalChinese);
  const ConsumerKeyChoice windows = chooseFromList<CWindowsDialog>(kWindowsText, kWindowsList, 10, first, shown);
  EXPECT_EQ(first, L"打開多媒體播放器");
  EXPECT_EQ(shown, L"瀏覽器-我的最愛");
  EXPECT_EQ(windows.index, 10);
  EXPECT_EQ(windows.text, "瀏覽器-我的最愛");
}

TEST_F(KeyEditorDialogs, UntouchedListEditorsReturnTheirFirstEntry) {
  CWindowsDialog windows;
  DialogUser user([&](DialogUser& u) { u.clickOk(); });
  EXPECT_EQ(windows.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(windows.result().index, 0);
  EXPECT_EQ(windows.result().text, "Multimedia Player");
}

// Notes the key-name messages a window gets.
LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SINGLE_KEY_NAME) {
    auto* count = reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (count) ++*count;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(KeyEditorDialogs, TheHookNeverReachesAWindowThatIsGone) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = countingProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OmbriskHookProbe";
  RegisterClassW(&windowClass);
  int received = 0;
  const auto makeWindow = [&] {
    HWND window = CreateWindowExW(0, L"OmbriskHookProbe", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    SetForegroundWindow(window);
    SetFocus(window);
    return window;
  };
  const auto typeAndPump = [&] {
    testing::sendKey('K', false, false);
    testing::sendKey('K', false, true);
    pumpFor(300);
  };
  HWND window = makeWindow();
  {
    KeyNameHook hook(KeyNameHookOwner::Single, window, WM_SINGLE_KEY_NAME);
    ASSERT_TRUE(hook.installed());
    typeAndPump();
    EXPECT_EQ(received, 2);  // the press and the release
    EXPECT_EQ(KeyNameHook::capturedName(KeyNameHookOwner::Single), "K");
  }
  typeAndPump();  // the hook is gone
  EXPECT_EQ(received, 2);
  // A window destroyed while its hook is still in place is not sent to.
  {
    KeyNameHook hook(KeyNameHookOwner::Single, window, WM_SINGLE_KEY_NAME);
    DestroyWindow(window);
    window = makeWindow();
    typeAndPump();
  }
  EXPECT_EQ(received, 2);
  DestroyWindow(window);
  UnregisterClassW(L"OmbriskHookProbe", GetModuleHandleW(nullptr));
}

}  // namespace
}  // namespace ombrisk

namespace ombrisk {
namespace {

// Not a check: pictures of every editor in the three languages, plain and with its list open,
// for a person to look at. Run with --gtest_also_run_disabled_tests; the files go to
// OMBRISK_SHOTS or editor-screenshots/ beside the test.
TEST_F(KeyEditorDialogs, DISABLED_Screenshots) {
  wchar_t configured[MAX_PATH] = {};
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path shots = GetEnvironmentVariableW(L"OMBRISK_SHOTS", configured, MAX_PATH)
                                          ? std::filesystem::path(configured)
                                          : std::filesystem::path(self).parent_path() / L"editor-screenshots";
  std::filesystem::create_directories(shots);
  // The shipped skin's caption colour (str.ini of the install folder).
  skinState().red = 150;
  skinState().green = 220;
  skinState().blue = 255;
  testing::TempFolder folder;
  const std::string ini = folder.file("record.ini");
  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
  for (const char* name : {"Combo", "连招 一", "巨集二", "A very long macro name indeed"})
    store->write(ini, name, "ItemCount", "0");

  const auto shoot = [&](CSkinnedDialog& dialog, const std::wstring& name,
                         const std::function<void(DialogUser&)>& prepare, std::optional<POINT> listBox) {
    DialogUser user([&](DialogUser& u) {
      prepare(u);
      RECT client{};
      GetClientRect(u.dialog(), &client);
      u.capture(0, 0, client.right, client.bottom).saveBitmap(shots / (name + L".bmp"));
      if (listBox) {
        u.click(listBox->x, listBox->y);
        u.capture(0, 0, client.right, client.bottom).saveBitmap(shots / (name + L"-list.bmp"));
        u.click(listBox->x, listBox->y);
      }
      u.clickCancel();
    });
    dialog.run(nullptr);
  };
  for (const wchar_t* skin : {L"Graphite", L"Ember"})
  for (const auto& [language, code] : {std::pair{Language::English, L"EN"}, std::pair{Language::SimplifiedChinese, L"CHS"},
                                       std::pair{Language::TraditionalChinese, L"CHT"}}) {
    skinState().folder = testing::utf8FromPath(testing::installFolder() / L"Skins" / skin);
    setInterfaceLanguage(language);
    const std::wstring suffix = std::wstring(L"-") + skin + L"-" + code;
    {
      CSingleDialog single;
      shoot(single, L"single" + suffix, [](DialogUser& u) { u.typeKey(VK_F13); }, std::nullopt);
    }
    {
      CComboDialog combo;
      shoot(combo, L"combo" + suffix, [](DialogUser& u) {
        clickInto(u, kKey1);
        u.typeKey(VK_RCONTROL, true);
        clickInto(u, kKey2);
        u.typeKey(VK_F13);
      }, POINT{60, 77});
    }
    {
      CFireKeyDialog fire;
      shoot(fire, L"fire" + suffix, [](DialogUser& u) {
        u.click(60, 77);
        u.clickItem(kFireKeyList, 59);  // "L-Tilt Wheel"
      }, POINT{60, 77});
    }
    {
      CMediaDialog media;
      shoot(media, L"media" + suffix, [](DialogUser&) {}, POINT{60, 135});
    }
    {
      CWindowsDialog windows;
      shoot(windows, L"windows" + suffix, [](DialogUser& u) {
        u.click(60, 135);
        u.clickItem(kWindowsList, 10);  // the longest text
      }, POINT{60, 135});
    }
    {
      CMacroDialog macro(*store, ini);
      shoot(macro, L"macro" + suffix, [](DialogUser& u) {
        u.click(60, 135);
        u.clickItem(593, 3);  // the long name
        u.click(228, 186);
      }, POINT{60, 135});
    }
    {
      CSkinsDialog skins(testing::utf8FromPath(testing::installFolder()) + "\\");
      shoot(skins, L"skins" + suffix, [](DialogUser&) {}, POINT{60, 135});
    }
  }
}

}  // namespace
}  // namespace ombrisk
