// A user of a modal editor dialog, for the Wine tests: the dialog runs its modal loop on the
// test's thread while the user, on a thread of its own, waits for it, presses keys with their
// scan codes and clicks through SendInput, and reads what the dialog shows. Whatever happens,
// the user closes the dialog in the end, so a failing test cannot hang in the modal loop.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/screen_capture_win32.h"

namespace ombrisk::testing {

// The install folder of the build tree (Ombrisk/ beside tests/), or OMBRISK_INSTALL_DIR.
inline std::filesystem::path installFolder() {
  wchar_t configured[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"OMBRISK_INSTALL_DIR", configured, MAX_PATH)) return configured;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path().parent_path() / L"Ombrisk";
}

inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(20);
  }
  return true;
}

// A key going down or up, with its scan code (and the extended flag for the keys that have
// one), as a keyboard gives it; it goes to the window that has the keyboard.
inline void sendKey(WORD virtualKey, bool extended, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (release ? KEYEVENTF_KEYUP : 0);
  SendInput(1, &input, sizeof input);
}

class DialogUser {
 public:
  // Runs script on a thread of its own once a visible dialog of this process appears; the
  // dialog is closed afterwards if the script left it open.
  explicit DialogUser(std::function<void(DialogUser&)> script)
      : owner_(GetCurrentThreadId()), thread_([this, script = std::move(script)] {
          if (waitUntil([&] { return (dialog_ = findDialog()) != nullptr; })) {
            SetForegroundWindow(dialog_);
            script(*this);
          }
          // A script that ended the dialog by a click: the click must not be overtaken.
          if (dialog_ && !waitUntil([&] { return !IsWindow(dialog_); }, std::chrono::seconds(3)))
            PostMessageW(dialog_, WM_CLOSE, 0, 0);
        }) {}
  ~DialogUser() {
    if (thread_.joinable()) thread_.join();
  }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

  void join() { thread_.join(); }
  HWND dialog() const { return dialog_; }
  bool open() const { return dialog_ && IsWindow(dialog_) && IsWindowVisible(dialog_); }
  HWND child(int id) const { return GetDlgItem(dialog_, id); }

  std::wstring text(int id) const {
    wchar_t buffer[512] = {};
    GetWindowTextW(child(id), buffer, 512);
    return buffer;
  }
  // Waits until the child shows text; false when it does not within the timeout.
  bool waitForText(int id, const std::wstring& expected) const {
    return waitUntil([&] { return text(id) == expected; });
  }

  // A press and release of a key, with its scan code (and the extended flag for the keys
  // that have one), as a keyboard gives it.
  void typeKey(WORD virtualKey, bool extended = false) {
    pressKey(virtualKey, extended, false);
    pressKey(virtualKey, extended, true);
    settle();
  }
  void pressKey(WORD virtualKey, bool extended, bool release) { sendKey(virtualKey, extended, release); }
  void typeText(const std::wstring& digits) {
    for (const wchar_t c : digits) typeKey(static_cast<WORD>(LOBYTE(VkKeyScanW(c))));
  }

  // A left click at a client point of the dialog (or of one of its children); then the
  // dialog has handled it.
  void click(int x, int y, HWND window = nullptr) {
    clickOnly(x, y, window);
    settle();
  }
  // A click that ends the dialog (OK, Cancel, close): nothing waits for it to be handled,
  // since the dialog's thread stops handling messages when its loop ends.
  void clickOnly(int x, int y, HWND window = nullptr) {
    POINT point{x, y};
    ClientToScreen(window ? window : dialog_, &point);
    const auto input = [&](DWORD flags) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dx = static_cast<LONG>((point.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN));
      in.mi.dy = static_cast<LONG>((point.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN));
      in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
      return in;
    };
    INPUT inputs[3] = {input(0), input(MOUSEEVENTF_LEFTDOWN), input(MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof(INPUT));
  }
  // A click on item of the open list box id, where a user sees it.
  bool clickItem(int id, int item) {
    HWND list = child(id);
    if (!list) return false;
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(item), 0);
    RECT rect{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
      return false;
    click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, list);
    return true;
  }
  void clickOk() { clickOnly(200, 260); }
  void clickCancel() { clickOnly(300, 260); }
  void clickClose() { clickOnly(360, 14); }

  // A rectangle of the dialog's client area as the screen shows it, child windows included.
  Capture capture(int left, int top, int right, int bottom) const {
    // The children paint after input and sent messages: let them.
    RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    settle();
    POINT origin{left, top};
    ClientToScreen(dialog_, &origin);
    return captureWindowDC(nullptr, origin.x, origin.y, right - left, bottom - top);
  }

  // Lets the dialog's thread handle what was sent.
  void settle() const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);
    Sleep(30);
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);
  }

 private:
  HWND findDialog() const {
    struct Search {
      DWORD thread;
      HWND found;
    } search{owner_, nullptr};
    EnumThreadWindows(
        owner_,
        [](HWND window, LPARAM data) {
          auto* s = reinterpret_cast<Search*>(data);
          wchar_t className[16] = {};
          GetClassNameW(window, className, 16);
          if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  DWORD owner_;
  HWND dialog_ = nullptr;
  std::thread thread_;
};

}  // namespace ombrisk::testing
