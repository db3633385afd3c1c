#include "e2e/driver/ombrisk_driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "app/window_messages.h"
#include "device/virtual/virtual_mouse_client.h"

namespace ombrisk::e2e {
namespace fs = std::filesystem;

namespace {

std::wstring environment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
  return length && length < ARRAYSIZE(value) ? std::wstring(value, length) : std::wstring();
}

fs::path testExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

std::wstring windowClass(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  return name;
}

std::wstring windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

DWORD windowProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Memory in another process, for messages whose arguments are pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, std::size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool write(std::size_t offset, const void* data, std::size_t size) {
    return offset + size <= size_ && WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  bool read(std::size_t offset, void* data, std::size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

constexpr std::size_t kRemoteTextChars = 512;

// Tool 0 of a tooltip window of another process: its text, and the title for balloons.
struct TooltipContent {
  HWND tool = nullptr;  // the window the tool belongs to
  std::wstring text;
  std::optional<std::wstring> title;  // nothing when the tooltip does not tell its title
};

std::optional<TooltipContent> readTooltip(HWND tooltip) {
  const DWORD process = windowProcess(tooltip);
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) || count == 0)
    return std::nullopt;
  // Layout of the remote buffer: TTTOOLINFOW, text, TTGETTITLE, title.
  const std::size_t infoAt = 0, textAt = 256, titleInfoAt = textAt + kRemoteTextChars * 2,
                    titleAt = titleInfoAt + 64;
  RemoteBuffer remote(process, titleAt + kRemoteTextChars * 2);
  if (!remote.ok()) return std::nullopt;

  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.lpszText = reinterpret_cast<LPWSTR>(remote.at(textAt));
  const wchar_t empty[kRemoteTextChars] = {};
  remote.write(textAt, empty, sizeof empty);
  remote.write(infoAt, &info, sizeof info);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote.at(infoAt)),
                           SMTO_ABORTIFHUNG, 2000, &result) || !result)
    return std::nullopt;
  remote.read(infoAt, &info, sizeof info);
  // Ask for the text by the tool's identity, into our buffer.
  info.lpszText = reinterpret_cast<LPWSTR>(remote.at(textAt));
  remote.write(infoAt, &info, sizeof info);
  remote.write(textAt, empty, sizeof empty);
  SendMessageTimeoutW(tooltip, TTM_GETTEXTW, kRemoteTextChars, reinterpret_cast<LPARAM>(remote.at(infoAt)),
                      SMTO_ABORTIFHUNG, 2000, &result);
  wchar_t text[kRemoteTextChars] = {};
  remote.read(textAt, text, sizeof text);
  text[kRemoteTextChars - 1] = 0;

  TTGETTITLE title{};
  title.dwSize = sizeof title;
  title.cch = kRemoteTextChars;
  title.pszTitle = reinterpret_cast<LPWSTR>(remote.at(titleAt));
  remote.write(titleAt, empty, sizeof empty);
  remote.write(titleInfoAt, &title, sizeof title);
  SendMessageTimeoutW(tooltip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(remote.at(titleInfoAt)),
                      SMTO_ABORTIFHUNG, 2000, &result);
  wchar_t titleText[kRemoteTextChars] = {};
  remote.read(titleAt, titleText, sizeof titleText);
  titleText[kRemoteTextChars - 1] = 0;
  // A shell whose tooltips do not answer TTM_GETTITLE (Wine 8) leaves the buffer as it was.
  if (titleText[0] == 0) return TooltipContent{info.hwnd, text, std::nullopt};
  return TooltipContent{info.hwnd, text, std::wstring(titleText)};
}

DWORD shellProcess() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  return tray ? windowProcess(tray) : 0;
}

// The shell's tooltip windows: balloons (TTS_BALLOON) or the icons' tips.
std::vector<HWND> shellTooltips(bool balloons) {
  std::vector<HWND> found;
  const DWORD shell = shellProcess();
  if (!shell) return found;
  for (HWND window : topLevelWindows()) {
    if (windowProcess(window) != shell || windowClass(window) != TOOLTIPS_CLASSW) continue;
    const bool balloon = (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) != 0;
    if (balloon != balloons) continue;
    if (balloons && !IsWindowVisible(window)) continue;
    found.push_back(window);
  }
  return found;
}

void sendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouseInput(POINT point, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((point.x * 65536 + width / 2) / width);
  input.mi.dy = static_cast<LONG>((point.y * 65536 + height / 2) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(50ms);
  }
}

fs::path installSourceFolder() {
  const std::wstring configured = environment(L"OMBRISK_INSTALL_DIR");
  if (!configured.empty()) return configured;
  return testExecutableFolder().parent_path() / L"Ombrisk";
}

// --- Installation ------------------------------------------------------------------------------

Installation::Installation() {
  static int serial = 0;
  folder_ = fs::temp_directory_path() /
            (L"ombrisk-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial));
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
  fs::create_directories(folder_);
  fs::copy(installSourceFolder(), folder_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

Installation::~Installation() {
  std::error_code ignored;
  for (int attempt = 0; attempt < 20 && fs::exists(folder_, ignored); ++attempt) {
    fs::remove_all(folder_, ignored);
    if (fs::exists(folder_, ignored)) Sleep(100);  // a process may still hold a file
  }
}

void Installation::setProfileValue(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& value) {
  WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), strIni().c_str());
}

void Installation::replaceFile(const fs::path& relative, std::optional<std::vector<std::uint8_t>> bytes) {
  const fs::path path = folder_ / relative;
  std::error_code ignored;
  fs::remove(path, ignored);
  if (!bytes) return;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
}

std::vector<std::uint8_t> Installation::readFile(const fs::path& relative) const {
  std::ifstream in(folder_ / relative, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- Process -----------------------------------------------------------------------------------

Process::Process(const fs::path& executable, const std::wstring& arguments, const fs::path& workingFolder,
                 bool captureOutput) {
  std::wstring commandLine = L"\"" + executable.wstring() + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  HANDLE writeEnd = nullptr;
  if (captureOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (CreatePipe(&output_, &writeEnd, &inherit, 0)) {
      SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdOutput = writeEnd;
      startup.hStdError = writeEnd;
      startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
  }
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, captureOutput, CREATE_NO_WINDOW,
                      nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info_))
    info_ = {};
  if (writeEnd) CloseHandle(writeEnd);
}

Process::~Process() {
  terminate();
  if (info_.hThread) CloseHandle(info_.hThread);
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (output_) CloseHandle(output_);
}

bool Process::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(Milliseconds timeout) {
  if (!info_.hProcess) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::terminate() {
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

std::optional<std::string> Process::readLine(Milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (output_) {
    const std::size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      std::string line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    DWORD available = 0;
    if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) return std::nullopt;
    if (available) {
      char buffer[512];
      DWORD got = 0;
      if (!ReadFile(output_, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) return std::nullopt;
      pending_.append(buffer, got);
      continue;
    }
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    Sleep(20);
  }
  return std::nullopt;
}

// --- VirtualMouse ------------------------------------------------------------------------------

namespace {

VirtualMouseClient clientOn(int port) {
  return VirtualMouseClient(VirtualEndpoint{"127.0.0.1", static_cast<std::uint16_t>(port)});
}

}  // namespace

const char* routeName(MouseRoute route) { return route == MouseRoute::Loopback ? "Loopback" : "SystemHid"; }

VirtualMouse::VirtualMouse(const std::wstring& extraArguments, MouseRoute route)
    : process_(VmouseProcess::start(extraArguments, error_)), arguments_(extraArguments), route_(route) {
  if (process_ && route_ == MouseRoute::SystemHid) system_ = SystemMouse::attach(process_->port(), error_);
}

// Through the system, the device is pointed at nothing first: the next test finds no mouse
// of this one.
VirtualMouse::~VirtualMouse() { system_.reset(); }

int VirtualMouse::port() const { return process_ ? process_->port() : 0; }

std::wstring VirtualMouse::deviceOption() const {
  if (route_ == MouseRoute::SystemHid) return L"";
  return L"--device=tcp:127.0.0.1:" + std::to_wstring(port());
}

bool VirtualMouse::sendEvent(int type, int value) {
  return ready() && clientOn(port()).sendEvent(static_cast<std::uint8_t>(type),
                                               static_cast<std::uint8_t>(value), error_);
}

bool VirtualMouse::plug() { return ready() && clientOn(port()).plug(error_); }
bool VirtualMouse::unplug() { return ready() && clientOn(port()).unplug(error_); }

bool VirtualMouse::unplugAfter(int commands) {
  return ready() && clientOn(port()).unplugAfter(static_cast<unsigned>(commands), error_);
}

void VirtualMouse::kill() {
  if (process_) process_->kill();
}

bool VirtualMouse::restart() {
  if (!process_) return false;
  const std::uint16_t port = process_->port();
  process_.reset();
  process_ = VmouseProcess::startOnPort(port, arguments_, error_);
  return process_ != nullptr;
}

std::optional<MouseState> VirtualMouse::dump() {
  if (!ready()) return std::nullopt;
  auto json = clientOn(port()).dump(error_);
  if (!json) return std::nullopt;
  return MouseState{std::move(*json)};
}

namespace {

// The text of key's value in a dump: a scalar up to the end of its line, or a list up to
// its closing bracket.
std::string valueOf(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return {};
  std::size_t begin = json.find_first_not_of(' ', at + key.size() + 3);
  if (begin == std::string::npos) return {};
  if (json[begin] != '[') return json.substr(begin, json.find_first_of(",\n", begin) - begin);
  int depth = 0;
  for (std::size_t i = begin; i < json.size(); ++i) {
    if (json[i] == '[') ++depth;
    if (json[i] == ']' && --depth == 0) return json.substr(begin, i + 1 - begin);
  }
  return {};
}

}  // namespace

std::vector<int> MouseState::numbers(const std::string& key) const {
  std::vector<int> found;
  const std::string value = valueOf(json, key);
  for (std::size_t i = 0; i < value.size();) {
    if (std::isdigit(static_cast<unsigned char>(value[i]))) {
      std::size_t end = i;
      while (end < value.size() && std::isdigit(static_cast<unsigned char>(value[end]))) ++end;
      found.push_back(std::stoi(value.substr(i, end - i)));
      i = end;
    } else if (value[i] == '"') {
      i = value.find('"', i + 1) + 1;  // strings hold no numbers of their own
      if (i == 0) break;
    } else {
      ++i;
    }
  }
  return found;
}

std::vector<std::string> MouseState::strings(const std::string& key) const {
  std::vector<std::string> found;
  const std::string value = valueOf(json, key);
  for (std::size_t open = value.find('"'); open != std::string::npos; open = value.find('"', open)) {
    const std::size_t close = value.find('"', open + 1);
    if (close == std::string::npos) break;
    found.push_back(value.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  return found;
}

std::optional<std::string> VirtualMouse::macroBlock(int index) {
  const auto state = dump();
  if (!state) return std::nullopt;
  const std::vector<std::string> blocks = state->strings("macros");
  if (index < 0 || static_cast<std::size_t>(index) >= blocks.size()) return std::nullopt;
  return blocks[static_cast<std::size_t>(index)];
}

// --- Capture -----------------------------------------------------------------------------------

Capture withoutChildren(Capture capture, HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    for (int y = std::max(0L, rect.top); y < std::min<LONG>(rect.bottom, capture.height); ++y)
      for (int x = std::max(0L, rect.left); x < std::min<LONG>(rect.right, capture.width); ++x)
        std::fill_n(capture.pixels.begin() + (static_cast<std::ptrdiff_t>(y) * capture.width + x) * 4, 4, 0);
  }
  return capture;
}

// --- Tray, balloons, message boxes -------------------------------------------------------------

std::optional<TrayBalloon> currentBalloon() {
  for (HWND balloon : shellTooltips(true))
    if (const auto content = readTooltip(balloon)) return TrayBalloon{content->title, content->text};
  return std::nullopt;
}

std::optional<TrayBalloon> waitForBalloon(const std::function<bool(const TrayBalloon&)>& accept,
                                          Milliseconds timeout) {
  std::optional<TrayBalloon> found;
  waitUntil(
      [&] {
        found = currentBalloon();
        return found && (!accept || accept(*found));
      },
      timeout);
  if (found && accept && !accept(*found)) return std::nullopt;
  return found;
}

std::string utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return out;
}

std::string describeCurrentBalloon() {
  const auto balloon = currentBalloon();
  if (!balloon) return "no balloon";
  return "balloon \"" + (balloon->title ? utf8(*balloon->title) : std::string("?")) + "\" / \"" +
         utf8(balloon->text) + "\"";
}

void dismissBalloons() {
  for (HWND balloon : shellTooltips(true)) {
    // A click on the balloon closes it in the shell.
    SendMessageTimeoutW(balloon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), SMTO_ABORTIFHUNG, 2000, nullptr);
    SendMessageTimeoutW(balloon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5), SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  waitUntil([] { return shellTooltips(true).empty(); }, 1s);
}

std::vector<HWND> taskbarButtonWindows() {
  std::vector<HWND> windows;
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray || !IsWindowVisible(tray)) return windows;
  for (HWND button = GetWindow(tray, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
    const auto id = GetWindowLongPtrW(button, GWLP_ID);  // 0: the start button
    if (id != 0 && IsWindowVisible(button) && windowClass(button) == L"Button")
      windows.push_back(reinterpret_cast<HWND>(id));
  }
  return windows;
}

std::vector<std::wstring> trayTips() {
  std::vector<std::wstring> tips;
  for (HWND tip : shellTooltips(false))
    if (const auto content = readTooltip(tip)) tips.push_back(content->text);
  return tips;
}

std::optional<MessageBoxInfo> findMessageBox(DWORD processId) {
  for (HWND window : topLevelWindows()) {
    if (windowProcess(window) != processId || !IsWindowVisible(window) || windowClass(window) != L"#32770")
      continue;
    HWND text = GetDlgItem(window, 0xFFFF);  // the message text of a message box
    if (!text) continue;
    return MessageBoxInfo{window, windowText(window), windowText(text)};
  }
  return std::nullopt;
}

std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, Milliseconds timeout) {
  std::optional<MessageBoxInfo> found;
  waitUntil([&] { return (found = findMessageBox(processId)).has_value(); }, timeout);
  return found;
}

void answerMessageBox(const MessageBoxInfo& box, int button) {
  // A box found in the middle of its creation may not take the first answer: answer again
  // while it is still there.
  for (int attempt = 0; attempt < 3; ++attempt) {
    HWND control = GetDlgItem(box.window, button);
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    if (waitUntil([&] { return !IsWindow(box.window); }, Milliseconds(2000))) return;
  }
}

// --- Input -------------------------------------------------------------------------------------

void moveScreen(POINT point) { sendInputs({mouseInput(point, 0)}); }

void clickScreen(POINT point, bool right) {
  sendInputs({mouseInput(point, 0), mouseInput(point, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
              mouseInput(point, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)});
}

void typeKey(WORD virtualKey, bool extended) {
  INPUT inputs[2] = {};
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  for (int i = 0; i < 2; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = virtualKey;
    inputs[i].ki.wScan = scan;
    inputs[i].ki.dwFlags = (i ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  }
  SendInput(2, inputs, sizeof(INPUT));
}

void dragScreen(POINT from, int dx, int dy) {
  // The pointer rests at the start first: the system's move loop starts from where it
  // believes the pointer is.
  sendInputs({mouseInput(from, 0)});
  Sleep(150);
  sendInputs({mouseInput(from, MOUSEEVENTF_LEFTDOWN)});
  Sleep(300);
  constexpr int kSteps = 5;
  for (int step = 1; step <= kSteps; ++step) {
    sendInputs({mouseInput({from.x + dx * step / kSteps, from.y + dy * step / kSteps}, 0)});
    Sleep(60);
  }
  sendInputs({mouseInput({from.x + dx, from.y + dy}, MOUSEEVENTF_LEFTUP)});
}

// --- Colour dialog -----------------------------------------------------------------------------

namespace {

// The red, green and blue fields of the system colour dialog.
constexpr int kColourFields[] = {706, 707, 708};

}  // namespace

std::optional<HWND> waitForColourDialog(DWORD processId, Milliseconds timeout) {
  HWND found = nullptr;
  waitUntil(
      [&] {
        for (HWND window : topLevelWindows())
          if (windowProcess(window) == processId && IsWindowVisible(window) && windowClass(window) == L"#32770" &&
              GetDlgItem(window, kColourFields[0])) {
            found = window;
            return true;
          }
        return false;
      },
      timeout);
  if (!found) return std::nullopt;
  return found;
}

void chooseColour(HWND dialog, COLORREF colour) {
  const int parts[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  for (int i = 0; i < 3; ++i)
    SendMessageTimeoutW(GetDlgItem(dialog, kColourFields[i]), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(std::to_wstring(parts[i]).c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// --- Program -----------------------------------------------------------------------------------

Program::Program(const Installation& installation, const std::wstring& arguments)
    : process_(installation.executable(), arguments, installation.folder()) {}

Program::Program(const fs::path& executable, const std::wstring& arguments)
    : process_(executable, arguments, executable.parent_path()) {}

Program::~Program() {
  if (!process_.running()) return;
  if (!window_) waitForMainWindow(2s);
  if (window_) PostMessageW(window_, WM_COMMAND, kCommandExit, 0);
  process_.waitForExit(5s);
}

std::vector<HWND> allMainWindows() {
  std::vector<HWND> found;
  for (HWND window : topLevelWindows())
    if (windowClass(window) == Program::kMainWindowClass) found.push_back(window);
  return found;
}

std::vector<HWND> windowsOfProcess(DWORD processId) {
  std::vector<HWND> found;
  const WNDENUMPROC collect = [](HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  };
  for (HWND window : topLevelWindows()) {
    if (windowProcess(window) != processId) continue;
    found.push_back(window);
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&found));  // descendants at every depth
  }
  return found;
}

std::vector<DWORD> processesNamed(const std::wstring& name) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, name.c_str()) == 0) found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

HWND Program::waitForMainWindow(Milliseconds timeout) {
  waitUntil(
      [&] {
        for (HWND window : allMainWindows())
          if (windowProcess(window) == process_.id()) {
            window_ = window;
            return true;
          }
        return false;
      },
      timeout);
  return window_;
}

bool Program::windowVisible() const { return window_ && IsWindowVisible(window_); }

bool Program::waitForVisible(bool visible, Milliseconds timeout) {
  return waitUntil([&] { return windowVisible() == visible; }, timeout);
}

void Program::trayNotify(UINT mouseMessage) {
  PostMessageW(window_, kTrayNotifyMessage, 0, mouseMessage);
}

bool Program::trayIconPresent() const {
  // The shell answers a change of nothing for an icon it holds, and fails for any other.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = 0;
  return window_ && Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Program::dismissBalloon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = 0;
  data.uFlags = NIF_INFO;
  Shell_NotifyIconW(NIM_MODIFY, &data);
  waitUntil([] { return !currentBalloon(); }, 3s);
}

void Program::clickClient(int x, int y) {
  POINT point{x, y};
  ClientToScreen(window_, &point);
  clickScreen(point);
}

void Program::postClick(int x, int y) {
  PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Program::dragClient(int x, int y, int dx, int dy) {
  POINT point{x, y};
  ClientToScreen(window_, &point);
  dragScreen(point, dx, dy);
}

bool Program::settle(Milliseconds timeout) {
  // Input reaches the program's queue behind what was sent before; once it waits for input
  // again, and answers a message, everything before has been handled.
  Sleep(100);
  WaitForInputIdle(process_.handle(), static_cast<DWORD>(timeout.count()));
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &ignored) != 0;
}

std::optional<Program::ResourceCounts> Program::resourceCounts() const {
  DWORD_PTR answer = 0;
  if (!window_ || !SendMessageTimeoutW(window_, RegisterWindowMessageW(kResourceCountsMessageName), 0, 0, SMTO_NORMAL,
                                       10000, &answer))
    return std::nullopt;
  const auto packed = static_cast<unsigned long long>(answer);
  return ResourceCounts{static_cast<long>(static_cast<std::int32_t>(packed & 0xFFFFFFFF)), static_cast<long>(packed >> 32)};
}

HWND Program::child(int id) const { return window_ ? GetDlgItem(window_, id) : nullptr; }

std::wstring Program::childText(int id) const {
  HWND control = child(id);
  if (!control) return {};
  wchar_t text[256] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &length);
  return std::wstring(text, std::min<std::size_t>(length, ARRAYSIZE(text) - 1));
}

bool Program::chooseListItem(int id, int index) {
  HWND list = child(id);
  if (!list) return false;
  DWORD_PTR height = 0;
  if (!SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &height) || height == 0) return false;
  RECT client{};
  GetClientRect(list, &client);
  POINT point{client.left + 10, client.top + static_cast<LONG>(height) * index + static_cast<LONG>(height) / 2};
  ClientToScreen(list, &point);
  clickScreen(point);
  return true;
}

Capture Program::captureClient() const {
  RECT client{};
  if (!window_ || !GetClientRect(window_, &client)) return {};
  return testing::captureWindowDC(window_, 0, 0, client.right, client.bottom);
}

Capture captureScreen() {
  return testing::captureWindowDC(nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

HWND Program::waitForMenu(Milliseconds timeout) {
  HWND menu = nullptr;
  waitUntil(
      [&] {
        for (HWND window : topLevelWindows())
          if (windowClass(window) == L"#32768" && IsWindowVisible(window) &&
              windowProcess(window) == process_.id()) {
            menu = window;
            return true;
          }
        return false;
      },
      timeout);
  return menu;
}

bool Program::chooseFirstTrayMenuItem(Milliseconds timeout) {
  HWND menu = waitForMenu(timeout);
  if (!menu) return false;
  // The first item of the menu window: Down selects it (nothing is selected yet), Return runs
  // it. A pointer move that reaches the menu between the two (it opens under the pointer)
  // takes the selection away again on a loaded machine, and Return then runs nothing: press
  // again while it is open.
  for (int attempt = 0; attempt < 5; ++attempt) {
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (waitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, Milliseconds(1000))) return true;
  }
  return false;
}

std::wstring Program::title() const { return window_ ? windowText(window_) : std::wstring(); }

// --- The Advanced page, the editor dialogs and the system's pointer settings ----------------

void clickWindow(HWND window, int x, int y, bool right) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  clickScreen(point, right);
}

void moveOverWindow(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  moveScreen(point);
}

void typeText(const std::wstring& text) {
  for (wchar_t c : text) {
    const SHORT key = VkKeyScanW(c);
    if (key == -1) continue;
    const bool shift = (HIBYTE(key) & 1) != 0;
    INPUT shiftKey{};
    shiftKey.type = INPUT_KEYBOARD;
    shiftKey.ki.wVk = VK_SHIFT;
    shiftKey.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_SHIFT, MAPVK_VK_TO_VSC));
    if (shift) SendInput(1, &shiftKey, sizeof shiftKey);
    typeKey(static_cast<WORD>(LOBYTE(key)));
    shiftKey.ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) SendInput(1, &shiftKey, sizeof shiftKey);
    Sleep(20);
  }
}

void holdKey(WORD virtualKey, int repeats) {
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scan;
  for (int i = 0; i < repeats; ++i) {
    SendInput(1, &input, sizeof input);
    Sleep(30);
  }
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

std::vector<std::wstring> listItems(HWND list) {
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return items;
  for (DWORD_PTR item = 0; item < count && count != static_cast<DWORD_PTR>(LB_ERR); ++item) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXTLEN, item, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    // The system carries a list box's text between processes.
    SendMessageTimeoutW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, nullptr);
    text.resize(wcslen(text.c_str()));
    items.push_back(text);
  }
  return items;
}

std::optional<int> listSelection(HWND list) {
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? std::nullopt : std::optional<int>(static_cast<int>(selected));
}

std::wstring textOf(HWND window) {
  // WM_GETTEXT itself: GetWindowTextW gives only the caption of another process's window, not
  // an edit's contents.
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

POINT listItemCentre(HWND list, int index) {
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  return {client.right / 2, (index - top) * height + height / 2};
}

HWND findDialogWithControl(DWORD processId, int controlId) {
  for (HWND window : topLevelWindows())
    if (windowProcess(window) == processId && IsWindowVisible(window) && windowClass(window) == L"#32770" &&
        GetDlgItem(window, controlId))
      return window;
  return nullptr;
}

HWND waitForDialogWithControl(DWORD processId, int controlId, Milliseconds timeout) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findDialogWithControl(processId, controlId)) != nullptr; }, timeout);
  return found;
}

bool replaceEditText(HWND edit, const std::wstring& text) {
  clickWindow(edit, 20, 7);
  Sleep(200);
  typeKey(VK_END);
  for (std::size_t i = textOf(edit).size(); i > 0; --i) typeKey(VK_BACK);
  typeText(text);
  return waitUntil([&] { return textOf(edit) == text; }, 5s);
}

bool clickListItem(HWND list, const std::wstring& text) {
  const std::vector<std::wstring> items = listItems(list);
  const auto item = std::find(items.begin(), items.end(), text);
  if (item == items.end()) return false;
  const POINT centre = listItemCentre(list, static_cast<int>(item - items.begin()));
  clickWindow(list, centre.x, centre.y);
  return true;
}

MessageBoxInfo Program::answerNextMessage(Milliseconds timeout) {
  const auto box = waitForMessageBox(process_.id(), timeout);
  if (!box) return {};
  answerMessageBox(*box);
  waitUntil([&] { return !findMessageBox(process_.id()) && IsWindowEnabled(window_); }, 5s);
  return *box;
}

bool answerColourChooser(HWND chooser, int red, int green, int blue) {
  // The red, green and blue edits of the chooser's custom-colour part.
  constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;
  for (auto [id, value] : {std::pair{kRedEdit, red}, std::pair{kGreenEdit, green}, std::pair{kBlueEdit, blue}}) {
    HWND edit = GetDlgItem(chooser, id);
    if (!edit) return false;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(value).c_str()),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
  return true;
}

namespace {

// A setting as the registry holds it now. Wine caches each system parameter in the process
// that read it first, so another process's change is read from the registry: settings set
// without SPIF_UPDATEINIFILE stay in a volatile key of Wine's until the session ends.
std::optional<long long> settingValue(const std::wstring& key, const wchar_t* name) {
  for (const std::wstring root : {L"Software\\Wine\\Temporary System Parameters\\", L""}) {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, (root + key).c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) ==
        ERROR_SUCCESS)
      return wcstoll(value, nullptr, 10);
  }
  return std::nullopt;
}

}  // namespace

PointerSettings readPointerSettings() {
  PointerSettings settings;
  SystemParametersInfoW(SPI_GETMOUSE, 0, settings.mouse, 0);
  SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &settings.speed, 0);
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &settings.wheelLines, 0);
  settings.doubleClickMs = GetDoubleClickTime();
  const std::wstring mouse = L"Control Panel\\Mouse", desktop = L"Control Panel\\Desktop";
  if (const auto value = settingValue(mouse, L"MouseThreshold1")) settings.mouse[0] = static_cast<int>(*value);
  if (const auto value = settingValue(mouse, L"MouseThreshold2")) settings.mouse[1] = static_cast<int>(*value);
  if (const auto value = settingValue(mouse, L"MouseSpeed")) settings.mouse[2] = static_cast<int>(*value);
  if (const auto value = settingValue(mouse, L"MouseSensitivity")) settings.speed = static_cast<int>(*value);
  if (const auto value = settingValue(desktop, L"WheelScrollLines")) settings.wheelLines = static_cast<UINT>(*value);
  if (const auto value = settingValue(mouse, L"DoubleClickSpeed")) settings.doubleClickMs = static_cast<UINT>(*value);
  return settings;
}

void writePointerSettings(const PointerSettings& settings) {
  int mouse[3] = {settings.mouse[0], settings.mouse[1], settings.mouse[2]};
  SystemParametersInfoW(SPI_SETMOUSE, 0, mouse, SPIF_SENDCHANGE);
  // The speed in both arguments, as the program passes it (Wine reads the integer one).
  SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(settings.speed),
                        reinterpret_cast<PVOID>(static_cast<INT_PTR>(settings.speed)), SPIF_SENDCHANGE);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, settings.wheelLines, nullptr, SPIF_SENDCHANGE);
  if (settings.wheelLines == WHEEL_PAGESCROLL) {
    // Wine stores one screen per notch as 4294967295 and reads that back in other processes
    // as the largest signed value; "-1" reads back as one screen.
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                    L"WheelScrollLines", REG_SZ, L"-1", sizeof L"-1");
  }
  SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, settings.doubleClickMs, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

std::optional<UINT> profileDoubleClickMs() {
  wchar_t value[32] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Mouse", L"DoubleClickSpeed", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return static_cast<UINT>(wcstoul(value, nullptr, 10));
}

}  // namespace ombrisk::e2e
