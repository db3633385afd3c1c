// A soak of the real Ombrisk.exe under Wine against the virtual mouse: device events, Applies,
// page switches and openings of the skin dialog and of the colour chooser, interleaved, with
// the program's handles, GDI objects, USER objects and private bytes read from this process
// at the start, after every tenth of the run and at the end. Flat figures after the warm-up
// mean nothing leaks.
//
//   bench_soak [SCALE]   SCALE 1 (default): 10 000 events, 1 000 Applies, 1 000 page switches,
//                        300 openings of each dialog; 0.1 a tenth of each, and so on.
//
// The install folder is OMBRISK_INSTALL_DIR or the build tree's Ombrisk/.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/ombrisk_driver.h"

namespace {

using namespace ombrisk::e2e;
using Clock = std::chrono::steady_clock;

constexpr int kSkinColourBox = 561;

struct Figures {
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
  SIZE_T privateBytes = 0;
};

Figures figuresOf(HANDLE process) {
  Figures f;
  GetProcessHandleCount(process, &f.handles);
  f.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  f.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  // The committed private memory: PrivateUsage, which the basic counters hold as PagefileUsage.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) f.privateBytes = memory.PagefileUsage;
  return f;
}

void print(const char* when, const Figures& f, double seconds) {
  std::printf("%-6s handles %5lu  GDI objects %5lu  USER objects %5lu  private bytes %8.1f KiB  (%.0f s)\n", when,
              static_cast<unsigned long>(f.handles), static_cast<unsigned long>(f.gdiObjects),
              static_cast<unsigned long>(f.userObjects), f.privateBytes / 1024.0, seconds);
  std::fflush(stdout);
}

// A press the window answers within the call (an Apply runs inside it).
void press(HWND window, POINT at) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y), SMTO_NORMAL, 30000, &ignored);
  SendMessageTimeoutW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y), SMTO_NORMAL, 30000, &ignored);
}

// A press that runs a modal dialog: posted, so that this process can answer the dialog.
void post(HWND window, POINT at) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

bool cancel(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  return waitUntil([&] { return !IsWindow(dialog); }, 10s);
}

// The skin dialog, the colour chooser from its colour box, both cancelled.
bool openDialogs(Program& program) {
  post(program.mainWindow(), {710, 14});  // Skins
  HWND skins = waitForDialogWithControl(program.process().id(), kSkinColourBox, 10s);
  if (!skins) return false;
  RECT box{};
  GetWindowRect(GetDlgItem(skins, kSkinColourBox), &box);
  POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  ScreenToClient(skins, &centre);
  post(skins, centre);
  const auto colours = waitForColourDialog(program.process().id(), 10s);
  const bool chooser = colours && cancel(*colours);
  return cancel(skins) && chooser;
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc > 1 ? std::max(0.001, std::atof(argv[1])) : 1.0;
  const int events = static_cast<int>(10000 * scale);
  const int applies = std::max(1, static_cast<int>(1000 * scale));
  const int switches = std::max(1, static_cast<int>(1000 * scale));
  const int dialogs = std::max(1, static_cast<int>(300 * scale));
  std::printf("soak: %d device events, %d Applies, %d page switches, %d openings of the skin dialog and of the "
              "colour chooser\n", events, applies, switches, dialogs);

  // The build tree's install folder is two levels up from bench/soak/.
  if (!GetEnvironmentVariableW(L"OMBRISK_INSTALL_DIR", nullptr, 0)) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    SetEnvironmentVariableW(L"OMBRISK_INSTALL_DIR",
                            (std::filesystem::path(path).parent_path().parent_path().parent_path() / L"Ombrisk").c_str());
  }
  VirtualMouse mouse;
  if (!mouse.ready()) {
    std::fprintf(stderr, "soak: vmouse.exe did not start: %s\n", mouse.error().c_str());
    return 1;
  }
  Installation install;
  Program program(install, mouse.deviceOption());
  HWND window = program.waitForMainWindow();
  if (!window || !waitForBalloon([](const TrayBalloon& b) { return b.text == L"The system detect the gaming mouse."; })) {
    std::fprintf(stderr, "soak: the program did not come up with the mouse\n");
    return 1;
  }
  program.trayClick();
  if (!program.waitForVisible(true) || !program.settle()) {
    std::fprintf(stderr, "soak: the window did not show\n");
    return 1;
  }
  const HANDLE process = program.process().handle();
  const auto begin = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - begin).count(); };
  print("start", figuresOf(process), 0);

  // One step per device event; Applies, switches and dialogs spread evenly over the steps.
  const int steps = std::max({events, applies, switches, dialogs});
  const auto due = [&](int step, int count) { return static_cast<long long>(step) * count / steps !=
                                                     static_cast<long long>(step + 1) * count / steps; };
  int failures = 0, nextTenth = 1;
  bool advanced = false;
  for (int step = 0; step < steps; ++step) {
    if (due(step, events)) {
      static constexpr int kTypes[] = {5, 7, 8, 9};
      static constexpr int kValues[] = {2, 3, 1, 4};
      if (!mouse.sendEvent(kTypes[step % 4], kValues[step / 4 % 4])) ++failures;
    }
    if (due(step, switches)) {
      if (advanced) press(window, {34, 74});
      else press(window, {80, 74});
      advanced = !advanced;
    }
    if (due(step, applies)) {
      if (advanced) {
        press(window, {34, 74});
        advanced = false;
      }
      press(window, ombrisk::e2e::basic_page::kApply);
      if (const auto box = findMessageBox(program.process().id())) {
        ++failures;
        answerMessageBox(*box);
      }
    }
    if (due(step, dialogs) && !openDialogs(program)) ++failures;
    if (!program.process().running()) {
      std::fprintf(stderr, "soak: the program ended at step %d\n", step);
      return 1;
    }
    if ((step + 1) * 10 >= nextTenth * steps) {
      char when[8];
      std::snprintf(when, sizeof when, "%d%%", nextTenth * 10);
      print(when, figuresOf(process), seconds());
      ++nextTenth;
    }
  }
  program.settle();
  print("end", figuresOf(process), seconds());
  std::printf("soak: %d steps that did not go through\n", failures);
  return failures ? 1 : 0;
}
