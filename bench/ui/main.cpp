// How fast the real Ombrisk.exe repaints after a click, under Wine against the virtual mouse:
// each press is sent to the main window and timed until the program has returned from it and
// painted what it left pending (its child windows). Prints the median of each kind of press
// beside the floor of any repaint, one copy of a bitmap of the window's size to a window of
// the same size, and their ratio, also net of the bare message round trip between the two
// processes.
//
//   bench_ui [SAMPLES]      (default 41; run under Wine: scripts/wine-run.sh --prefix ...)
//
// The install folder is OMBRISK_INSTALL_DIR or the build tree's Ombrisk/.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/ombrisk_driver.h"

namespace {

using namespace ombrisk::e2e;
using Clock = std::chrono::steady_clock;

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

double millisecondsOf(const std::function<void()>& action) {
  const auto start = Clock::now();
  action();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Sends message to window and waits for its answer, then for the paints it left pending (of
// child windows it created or changed): the press and everything it repaints.
void send(HWND window, UINT message, POINT at) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y),
                      SMTO_NORMAL, 10000, &ignored);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Median time of samples presses, taking turns between the points (so that each press
// changes something).
double timePresses(HWND window, UINT message, const std::vector<POINT>& points, int samples) {
  std::vector<double> times;
  for (int i = 0; i < samples; ++i) {
    const POINT at = points[static_cast<std::size_t>(i) % points.size()];
    times.push_back(millisecondsOf([&] { send(window, message, at); }));
    if (message == WM_LBUTTONDOWN) send(window, WM_LBUTTONUP, at);
  }
  return median(times);
}

LRESULT CALLBACK plainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// One full-window copy of a bitmap of width × height to a window of that client size.
double timeFullCopy(int width, int height, int samples) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = plainWindow;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OmbriskBenchCanvas";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                height, nullptr, nullptr, windowClass.hInstance, nullptr);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  PatBlt(memory, 0, 0, width, height, WHITENESS);
  ReleaseDC(window, screen);
  std::vector<double> times;
  for (int i = 0; i < samples; ++i)
    times.push_back(millisecondsOf([&] {
      HDC dc = GetDC(window);
      BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
      GdiFlush();
      ReleaseDC(window, dc);
    }));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DestroyWindow(window);
  return median(times);
}

// The install folder when OMBRISK_INSTALL_DIR does not name one: Ombrisk/ in the build tree
// above this executable.
void findInstallFolder() {
  wchar_t value[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"OMBRISK_INSTALL_DIR", value, MAX_PATH)) return;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  for (std::filesystem::path folder = std::filesystem::path(path).parent_path(); folder.has_relative_path();
       folder = folder.parent_path())
    if (std::filesystem::exists(folder / L"Ombrisk" / L"Ombrisk.exe")) {
      SetEnvironmentVariableW(L"OMBRISK_INSTALL_DIR", (folder / L"Ombrisk").c_str());
      return;
    }
}

int fail(const char* message) {
  std::fprintf(stderr, "bench_ui: %s\n", message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
  findInstallFolder();
  Installation install;
  VirtualMouse mouse;
  if (!mouse.ready()) return fail("vmouse.exe did not start");
  Program program(install, mouse.deviceOption());
  HWND window = program.waitForMainWindow();
  if (!window) return fail("Ombrisk.exe showed no main window");
  // The page is built once the link is ready; until then a tray click only warns.
  if (!waitUntil([&] {
        program.trayClick();
        return program.waitForVisible(true, 1s);
      }))
    return fail("the window did not show from the tray");
  moveScreen({1270, 1010});  // the pointer off the window: no hover of its own
  program.settle();
  RECT client{};
  GetClientRect(window, &client);

  const POINT nextPage{80, 74}, previousPage{34, 74};
  using namespace basic_page;
  const POINT stage1Switch = stageSwitch(1);
  send(window, WM_LBUTTONDOWN, stage1Switch);  // a stage on, so that its cells light up
  send(window, WM_LBUTTONUP, stage1Switch);

  // A page switch: the Advanced page, then the Basic page built anew.
  std::vector<double> toAdvanced, toBasic;
  for (int i = 0; i < samples; ++i) {
    toAdvanced.push_back(millisecondsOf([&] { send(window, WM_LBUTTONDOWN, nextPage); }));
    toBasic.push_back(millisecondsOf([&] { send(window, WM_LBUTTONDOWN, previousPage); }));
  }
  const double cellMs = timePresses(window, WM_LBUTTONDOWN, {cell(1, 3), cell(1, 4)}, samples);
  const double rateMs = timePresses(window, WM_LBUTTONDOWN, {ratePosition(2), ratePosition(3)}, samples);
  const double hoverMs = timePresses(window, WM_MOUSEHOVER, {keyBox(1), keyBox(2)}, samples);
  const double roundTrip = timePresses(window, WM_NULL, {{0, 0}}, samples);
  const double floor = timeFullCopy(client.right, client.bottom, samples);

  std::printf("bench_ui: %d samples each, window %ld x %ld\n", samples, client.right, client.bottom);
  std::printf("full-window copy (floor):      %7.3f ms\n", floor);
  std::printf("message round trip (no-op):    %7.3f ms\n", roundTrip);
  std::printf("%-30s %9s %9s %16s\n", "", "median", "x floor", "x floor, net of");
  std::printf("%-30s %9s %9s %16s\n", "", "", "", "the round trip");
  const auto row = [&](const char* what, double ms) {
    std::printf("%-30s %6.3f ms %8.2f %16.2f\n", what, ms, ms / floor, (ms - roundTrip) / floor);
  };
  row("page switch to Basic", median(toBasic));
  row("page switch to Advanced", median(toAdvanced));
  row("DPI cell", cellMs);
  row("report-rate position", rateMs);
  row("hover (key box)", hoverMs);
  std::printf("targets: a control within 2 x floor, a page switch within 16.7 ms\n");
  return 0;
}
