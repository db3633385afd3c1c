// The end-to-end driver: runs the real Ombrisk.exe (and vmouse.exe) from a fresh install
// folder under Wine and works it the way the shell and a user do. Every process it starts
// is ended when its object goes.
//
//   Installation install;                      // a fresh copy of the install folder
//   install.setLanguage("CHS");
//   VirtualMouse mouse;                        // vmouse.exe on a free port
//   Program program(install, mouse.deviceOption());
//   HWND window = program.waitForMainWindow();
//   program.trayClick();                       // TrayNotifyMessage with WM_LBUTTONUP
//   auto balloon = waitForBalloon([](auto& b) { return b.title == L"Warning"; });
//   Capture picture = program.captureClient();
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/screen_capture_win32.h"
#include "support/system_mouse_win32.h"
#include "support/vmouse_process_win32.h"

namespace ombrisk::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

inline constexpr Milliseconds kDefaultTimeout = 15s;

// Polls condition every 50 ms until it holds or timeout passes; true when it held.
bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout = kDefaultTimeout);

// The folder the build assembles (OMBRISK_INSTALL_DIR, else <build>/Ombrisk).
std::filesystem::path installSourceFolder();

// A fresh copy of the install folder in a temporary folder, removed afterwards.
class Installation {
 public:
  Installation();
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path executable() const { return folder_ / L"Ombrisk.exe"; }
  std::filesystem::path strIni() const { return folder_ / L"str.ini"; }

  // Sets key in section of str.ini through the system's profile functions.
  void setProfileValue(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  void setLanguage(const std::wstring& code) { setProfileValue(L"Skins", L"Lan", code); }
  void setSkin(const std::wstring& name) { setProfileValue(L"Skins", L"Path", name); }
  // Replaces (or with nullopt removes) a file given relative to the install folder.
  void replaceFile(const std::filesystem::path& relative, std::optional<std::vector<std::uint8_t>> bytes);
  std::vector<std::uint8_t> readFile(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path folder_;
};

// A started process; ended (if still running) when the object goes.
class Process {
 public:
  Process(const std::filesystem::path& executable, const std::wstring& arguments,
          const std::filesystem::path& workingFolder, bool captureOutput = false);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool running() const;
  // The exit code once it has ended within timeout.
  std::optional<DWORD> waitForExit(Milliseconds timeout = kDefaultTimeout);
  void terminate();
  // The next line of its standard output (captureOutput only), within timeout.
  std::optional<std::string> readLine(Milliseconds timeout = kDefaultTimeout);

 private:
  PROCESS_INFORMATION info_{};
  HANDLE output_ = nullptr;
  std::string pending_;
};

// What the virtual mouse holds: its dump (README, section vmouse) with ways to read it.
struct MouseState {
  std::string json;
  // Every number of key's value, nested lists in order ("feature_blocks" gives 48).
  std::vector<int> numbers(const std::string& key) const;
  // Every string of key's value ("key_matrices", "log").
  std::vector<std::string> strings(const std::string& key) const;
};

// How the program reaches vmouse: over loopback TCP (--device=tcp:...), or through the
// system's own HID stack (the virtual HID device of the test prefix, and no --device), the
// way every user's program reaches the mouse.
enum class MouseRoute { Loopback, SystemHid };
// For test names: "Loopback", "SystemHid".
const char* routeName(MouseRoute route);

// vmouse.exe serving on a free loopback port (ended with the object); through the system's
// HID stack, the virtual HID device points at it while it lives.
class VirtualMouse {
 public:
  explicit VirtualMouse(const std::wstring& extraArguments = L"", MouseRoute route = MouseRoute::Loopback);
  ~VirtualMouse();
  VirtualMouse(const VirtualMouse&) = delete;
  VirtualMouse& operator=(const VirtualMouse&) = delete;

  bool ready() const { return port() != 0 && (route_ == MouseRoute::Loopback || system_); }
  int port() const;
  MouseRoute route() const { return route_; }
  const std::string& error() const { return error_; }
  // "--device=tcp:127.0.0.1:PORT"; empty through the system's HID stack.
  std::wstring deviceOption() const;
  // The mouse reports an event (DeviceNotifyMessage type and value); true when sent.
  bool sendEvent(int type, int value);
  bool plug();
  bool unplug();
  // Pulls the mouse out right after it has answered that many more commands.
  bool unplugAfter(int commands);
  // Ends vmouse.exe at once, as if it crashed; restart() serves a fresh mouse on the same port.
  void kill();
  bool restart();
  std::optional<MouseState> dump();
  // Macro block index (0..11) as 256 hex digits, from the dump.
  std::optional<std::string> macroBlock(int index);

 private:
  std::unique_ptr<VmouseProcess> process_;
  std::wstring arguments_;
  MouseRoute route_;
  std::unique_ptr<SystemMouse> system_;
  std::string error_;
};

// Pixels of a window's client area or of the screen.
using Capture = testing::Capture;

// The picture with the rectangles of window's child windows blacked out.
Capture withoutChildren(Capture capture, HWND window);
// The whole screen (the virtual desktop under Wine).
Capture captureScreen();

struct TrayBalloon {
  // Nothing when the shell does not tell the title (Wine 8's tooltips do not answer
  // TTM_GETTITLE); then only the text can be checked.
  std::optional<std::wstring> title;
  std::wstring text;
  bool titleIs(const std::wstring& expected) const { return !title || *title == expected; }
};
std::string utf8(const std::wstring& text);
// For failure messages: the balloon shown now, as UTF-8 text.
std::string describeCurrentBalloon();

// The balloon the shell shows now, if any (read from the taskbar's balloon tooltip).
std::optional<TrayBalloon> currentBalloon();
// Waits for a balloon that satisfies accept (any balloon when accept is empty).
std::optional<TrayBalloon> waitForBalloon(const std::function<bool(const TrayBalloon&)>& accept = {},
                                          Milliseconds timeout = kDefaultTimeout);
// The tips of the tray icons the taskbar has made (Wine's taskbar keeps the tips of icons
// that are gone, so compare counts before and after).
std::vector<std::wstring> trayTips();
// The windows the desktop's taskbar shows a button for now (Wine's taskbar makes one button
// per top-level window, identified by the window's handle, and shows the visible ones).
std::vector<HWND> taskbarButtonWindows();
// Clicks away a balloon the shell still shows (of a program that is gone, say).
void dismissBalloons();

struct MessageBoxInfo {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
};

// A message box of process id that is shown now.
std::optional<MessageBoxInfo> findMessageBox(DWORD processId);
std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, Milliseconds timeout = kDefaultTimeout);
// Presses the box's button (IDOK, IDCANCEL, ...).
void answerMessageBox(const MessageBoxInfo& box, int button = IDOK);

// Input as a user gives it: the pointer and the keyboard through SendInput.
void clickScreen(POINT point, bool right = false);
void moveScreen(POINT point);
// A key press and release with its scan code (and the extended flag for the keys that have
// one: the right Ctrl key, the arrows, ...), so that key names resolve.
void typeKey(WORD virtualKey, bool extended = false);
// A press at from, a move by (dx, dy) in steps, and the release there.
void dragScreen(POINT from, int dx, int dy);

// The system colour dialog of process id once it is shown.
std::optional<HWND> waitForColourDialog(DWORD processId, Milliseconds timeout = kDefaultTimeout);
// Types colour into the dialog's red, green and blue fields and presses its OK.
void chooseColour(HWND dialog, COLORREF colour);

// Ombrisk.exe started from an installation.
class Program {
 public:
  static constexpr wchar_t kMainWindowClass[] = L"TarvokQ77GMClass";
  static constexpr UINT kTrayNotifyMessage = WM_USER + 1;
  static constexpr UINT kDeviceNotifyMessage = WM_USER + 2;
  static constexpr UINT kCommandExit = 1028;

  Program(const Installation& installation, const std::wstring& arguments = L"");
  // Ombrisk.exe of another folder (an installed copy, say), started in that folder.
  Program(const std::filesystem::path& executable, const std::wstring& arguments);
  // Exits the program as the tray menu does (so the shell drops its icon), else ends it.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Process& process() { return process_; }
  // The main window of this process, once it exists.
  HWND waitForMainWindow(Milliseconds timeout = kDefaultTimeout);
  HWND mainWindow() const { return window_; }
  bool windowVisible() const;
  bool waitForVisible(bool visible, Milliseconds timeout = kDefaultTimeout);

  // What the shell sends for the tray icon (posted, as the shell does not wait either).
  void trayNotify(UINT mouseMessage);
  void trayClick() { trayNotify(WM_LBUTTONUP); }
  void trayRightClick() { trayNotify(WM_RBUTTONUP); }
  // Whether the shell holds this window's tray icon.
  bool trayIconPresent() const;
  // Takes this icon's balloon down (an empty balloon text, as a program does), so that the
  // next balloon can be told apart from the last one.
  void dismissBalloon();

  // A left click at client coordinates of the main window.
  void clickClient(int x, int y);
  // A press and release posted to the window, as one that was queued before it was hidden.
  void postClick(int x, int y);
  // A press at client coordinates moved by (dx, dy) before the release.
  void dragClient(int x, int y, int dx, int dy);
  // Returns once the program has handled what was sent to it so far (a pending click, an
  // Apply): true unless it did not answer within timeout.
  bool settle(Milliseconds timeout = kDefaultTimeout);
  Capture captureClient() const;

  // What the program answers to the registered message named kResourceCountsMessageName: the
  // GDI objects its own code has made and not deleted, and the KiB of live blocks in its heaps;
  // nothing when it does not answer.
  struct ResourceCounts {
    long gdiObjects = 0;
    long heapKiB = 0;
  };
  std::optional<ResourceCounts> resourceCounts() const;

  // A child window of the main window by its control identifier.
  HWND child(int id) const;
  std::wstring childText(int id) const;
  // Clicks item index of the open list box id (an item shown without scrolling).
  bool chooseListItem(int id, int index);
  std::wstring title() const;

  // Answers the message box the program shows next with OK and gives its caption and text
  // (both empty when none came); returns once the window it disabled takes clicks again.
  MessageBoxInfo answerNextMessage(Milliseconds timeout = 5s);

  // The pop-up menu this program shows (the tray menu after trayRightClick), once it is up.
  HWND waitForMenu(Milliseconds timeout = kDefaultTimeout);
  // Runs the first item of that menu.
  bool chooseFirstTrayMenuItem(Milliseconds timeout = kDefaultTimeout);

 private:
  Process process_;
  HWND window_ = nullptr;
};

// --- The Advanced page, the editor dialogs and the system's pointer settings ----------------

// A press and release of the right button at a screen point.
inline void rightClickScreen(POINT point) { clickScreen(point, true); }
// A left click at client coordinates of any window (a dialog, a list).
void clickWindow(HWND window, int x, int y, bool right = false);
void moveOverWindow(HWND window, int x, int y);
// Digits and letters as key presses (letters come out in lower case).
void typeText(const std::wstring& text);
// A key held down for repeats key-downs (the keyboard's auto-repeat), then released.
void holdKey(WORD virtualKey, int repeats);

// The items of a list box of another process, and its selection.
std::vector<std::wstring> listItems(HWND list);
std::optional<int> listSelection(HWND list);
std::wstring textOf(HWND window);
// The client point at the middle of item index of a list box.
POINT listItemCentre(HWND list, int index);
// A visible top-level window of the process (not a message box) that holds a control with
// that identifier: the delay dialog (600), the skin dialog (561), the colour chooser (706).
HWND findDialogWithControl(DWORD processId, int controlId);
HWND waitForDialogWithControl(DWORD processId, int controlId, Milliseconds timeout = kDefaultTimeout);
// Clears an edit of another process as a user does (a click, End, Backspace) and types text;
// true once the edit holds it.
bool replaceEditText(HWND edit, const std::wstring& text);
// Clicks the item of a list box whose text is text; false when there is none.
bool clickListItem(HWND list, const std::wstring& text);
// Answers the system's colour chooser with red, green, blue and OK.
bool answerColourChooser(HWND chooser, int red, int green, int blue);

// The pointer settings of the desktop, as SystemParametersInfoW reads and writes them, read
// as another process has set them last.
struct PointerSettings {
  int mouse[3] = {};      // thresholds and acceleration
  int speed = 0;          // 1..20
  UINT wheelLines = 0;    // WHEEL_PAGESCROLL for one screen per notch
  UINT doubleClickMs = 0;
};
PointerSettings readPointerSettings();
// Writes them all; the double-click time into the user profile too.
void writePointerSettings(const PointerSettings& settings);
// The double-click time the user profile holds (the registry's DoubleClickSpeed).
std::optional<UINT> profileDoubleClickMs();

// Every main window of Ombrisk that exists now (any process).
std::vector<HWND> allMainWindows();
// Every window of process id, hidden ones too: its top-level windows (pop-up menus, class
// #32768, among them while one is up) and all their descendants.
std::vector<HWND> windowsOfProcess(DWORD processId);
// Processes whose executable file name is name, e.g. L"Ombrisk.exe".
std::vector<DWORD> processesNamed(const std::wstring& name);

}  // namespace ombrisk::e2e
