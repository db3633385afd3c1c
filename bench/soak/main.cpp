// A soak of the real Ombrisk.exe under Wine against the virtual mouse: device events, Applies,
// page switches and openings of every dialog (the six key editors from a Basic-page function
// list, the delay editor from the Advanced page's event list, the skin dialog and the colour
// chooser, all cancelled; stage 1's colour chooser, given a new colour each time), interleaved, with the program's handles, GDI objects, windows and private bytes
// printed at the start, after every tenth of the run and at the end. Flat figures after the
// warm-up mean nothing leaks.
//
//   bench_soak [SCALE [PARTS]]   SCALE 1 (default): 10 000 events, 1 000 Applies, 1 000 page
//                                switches, 300 openings of each dialog; 0.1 a tenth of each,
//                                and so on. PARTS, to find what makes a figure grow: some of
//                                "events,applies,switches,dialogs" (all by default), where
//                                "editors", "delay", "skins" or "colours" stand for part of
//                                "dialogs" (the key editors, the delay editor, the skin dialog
//                                with its colour chooser, stage 1's colour chooser).
//
// Wine answers neither GetProcessHandleCount nor GetGuiResources (0, even in the process
// itself), so each figure is counted here or by the program:
//   handles      the handle values of the program that DuplicateHandle can copy, counted
//                from here;
//   GDI objects  the fonts, brushes, bitmaps and memory DCs the program's own code has made
//                and not deleted, as the program answers its registered message
//                "Ombrisk.ResourceCounts";
//   windows      the program's windows, top-level and child, hidden ones and menus too (what
//                Windows counts as USER objects, but for icons, cursors and the like);
//   heaps in use the live blocks in all the program's heaps, as it answers that message too
//                (the private bytes also hold the heaps' free room);
//   private      the committed private memory (GetProcessMemoryInfo's PagefileUsage).
//
// The install folder is OMBRISK_INSTALL_DIR or the build tree's Ombrisk/.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/driver/basic_page_points.h"
#include "e2e/driver/key_editor_steps.h"
#include "e2e/driver/ombrisk_driver.h"

namespace {

using namespace ombrisk::e2e;
using Clock = std::chrono::steady_clock;

constexpr int kSkinColourBox = 561, kEventList = 152;
constexpr POINT kBasicPage{34, 74}, kAdvancedPage{80, 74}, kSkinsButton{710, 14};
// The key box whose function list opens the editors (button 1 may hold the only Left Click).
constexpr int kEditorButton = 3;

struct Figures {
  DWORD handles = 0;
  long gdiObjects = -1;  // -1: the program did not answer
  long heapKiB = -1;
  std::size_t windows = 0;
  SIZE_T privateBytes = 0;
};

// Wine hands out the lowest free handle values, so a long run of unused ones ends the scan.
DWORD handlesOf(HANDLE process) {
  DWORD count = 0;
  for (ULONG_PTR value = 4, unused = 0; unused < 1024; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      ++count;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return count;
}

Figures figuresOf(Program& program) {
  Figures f;
  f.handles = handlesOf(program.process().handle());
  if (const auto counts = program.resourceCounts()) {
    f.gdiObjects = counts->gdiObjects;
    f.heapKiB = counts->heapKiB;
  }
  f.windows = windowsOfProcess(program.process().id()).size();
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(program.process().handle(), &memory, sizeof memory)) f.privateBytes = memory.PagefileUsage;
  return f;
}

void print(const char* when, const Figures& f, double seconds) {
  std::printf("%-6s handles %5lu  GDI objects made %5ld  windows %4zu  heaps in use %6ld KiB  private bytes %8.1f KiB"
              "  (%.0f s)\n", when, static_cast<unsigned long>(f.handles), f.gdiObjects, f.windows, f.heapKiB,
              f.privateBytes / 1024.0, seconds);
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

// Seconds spent opening and closing each kind of dialog, for the summary at the end: the six
// key editors in the order of openKeyEditors, then the others.
struct DialogTime {
  const char* name;
  double seconds = 0;
  int openings = 0;
};
DialogTime dialogTimes[] = {{"single-key"}, {"combination"}, {"fire-key"}, {"multimedia"}, {"Windows-function"},
                            {"macro-key"}, {"delay"}, {"skin and colour chooser"}, {"stage colour chooser"}};
constexpr int kDelayTime = 6, kSkinTime = 7, kStageColourTime = 8;

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Adds the time from its making to its end to one kind of dialog.
class TimedOpening {
 public:
  explicit TimedOpening(DialogTime& time) : time_(time), start_(Clock::now()) {}
  ~TimedOpening() {
    time_.seconds += since(start_);
    ++time_.openings;
  }
  TimedOpening(const TimedOpening&) = delete;
  TimedOpening& operator=(const TimedOpening&) = delete;

 private:
  DialogTime& time_;
  Clock::time_point start_;
};

void complain(const char* what) {
  static int told = 0;
  if (++told <= 20) std::fprintf(stderr, "soak: %s\n", what);
}

// The skin dialog, the colour chooser from its colour box, both cancelled.
bool openSkinDialogs(Program& program) {
  const TimedOpening timed(dialogTimes[kSkinTime]);
  post(program.mainWindow(), kSkinsButton);
  HWND skins = waitForDialogWithControl(program.process().id(), kSkinColourBox, 10s);
  if (!skins) return complain("no skin dialog"), false;
  RECT box{};
  GetWindowRect(GetDlgItem(skins, kSkinColourBox), &box);
  POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  ScreenToClient(skins, &centre);
  post(skins, centre);
  const auto colours = waitForColourDialog(program.process().id(), 10s);
  const bool chooser = colours && cancel(*colours);
  if (!chooser) complain("no colour chooser");
  return cancel(skins) && chooser;
}

// Stage 1's colour through its swatch and the colour chooser, a colour of its own for each
// round (as a user tries colours): the swatch is painted with a brush of each new colour.
bool chooseStageColour(Program& program, int round) {
  const TimedOpening timed(dialogTimes[kStageColourTime]);
  using namespace ombrisk::e2e::basic_page;
  program.clickClient(swatch(1).x, swatch(1).y);
  auto chooser = waitForColourDialog(program.process().id(), 2s);
  if (!chooser) {
    // The swatch of a stage that is off does nothing: stage 1 on, and again.
    press(program.mainWindow(), stageSwitch(1));
    program.clickClient(swatch(1).x, swatch(1).y);
    chooser = waitForColourDialog(program.process().id(), 10s);
  }
  if (!chooser) return complain("no colour chooser for stage 1"), false;
  chooseColour(*chooser, RGB(round & 0xFF, (round >> 8) & 0xFF, 0x80));
  const bool closed = waitUntil([&] { return !IsWindow(*chooser); }, 10s);
  if (!closed) cancel(*chooser);
  return closed && program.settle();
}

// The six key editors from button 3's function list, each cancelled, as a user does with the
// pointer; a list left open by an editor that did not come is closed again.
int openKeyEditors(Program& program) {
  using namespace ombrisk::e2e::key_editor;
  struct Editor {
    Function function;
    int childId;  // a control of the editor, by which it is found
  };
  static constexpr Editor kEditors[] = {{kSingleKey, kSingleKeyName}, {kComboKey, kComboModifier},
                                        {kFireKey, kFireKeyText},     {kMultimedia, kMediaText},
                                        {kWindows, kWindowsText},     {kMacroKey, kMacroText}};
  int failures = 0;
  for (int kind = 0; kind < 6; ++kind) {
    const Editor& editor = kEditors[kind];
    const TimedOpening timed(dialogTimes[kind]);
    HWND dialog = chooseEditor(program, kEditorButton, editor.function, editor.childId);
    if (dialog && closeEditor(program, dialog, kDialogCancel)) continue;
    ++failures;
    complain((std::string("no ") + dialogTimes[kind].name + " editor, or it stayed").c_str());
    if (dialog && IsWindow(dialog)) cancel(dialog);
    if (functionList(program, kEditorButton)) {
      const POINT box = ombrisk::e2e::basic_page::keyBox(kEditorButton);
      program.clickClient(box.x + 40, box.y);  // out of a double click's reach
    }
    program.settle();
  }
  return failures;
}

// The delay editor from the Advanced page's event list (entry 1 of the installed macro is a
// delay), cancelled; back to the Basic page afterwards.
bool openDelayEditor(Program& program) {
  const TimedOpening timed(dialogTimes[kDelayTime]);
  press(program.mainWindow(), kAdvancedPage);
  HWND events = nullptr;
  const bool listed = waitUntil([&] { return (events = program.child(kEventList)) && listItems(events).size() >= 2; }, 5s);
  HWND dialog = listed ? key_editor::openDelayEditor(program, events, 1) : nullptr;
  const bool closed = dialog && key_editor::closeEditor(program, dialog, key_editor::kDialogCancel);
  if (!closed) {
    complain("no delay editor, or it stayed");
    if (dialog && IsWindow(dialog)) cancel(dialog);
  }
  press(program.mainWindow(), kBasicPage);
  program.settle();
  return closed;
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc > 1 ? std::max(0.001, std::atof(argv[1])) : 1.0;
  const std::string parts = argc > 2 ? argv[2] : "events,applies,switches,dialogs";
  const auto count = [&](const char* part, int full, int least) {
    return parts.find(part) == std::string::npos ? 0 : std::max(least, static_cast<int>(full * scale));
  };
  const int events = count("events", 10000, 0);
  const int applies = count("applies", 1000, 1);
  const int switches = count("switches", 1000, 1);
  const bool allDialogs = parts.find("dialogs") != std::string::npos;
  const auto dialogPart = [&](const char* part) { return allDialogs || parts.find(part) != std::string::npos; };
  const bool editors = dialogPart("editors"), delay = dialogPart("delay"), skins = dialogPart("skins"),
             colours = dialogPart("colours");
  const int dialogs = editors || delay || skins || colours ? std::max(1, static_cast<int>(300 * scale)) : 0;
  std::printf("soak: %d device events, %d Applies, %d page switches, %d openings of each dialog (single-key, "
              "combination, fire-key, multimedia, Windows-function, macro-key and delay editors, skin dialog, "
              "colour chooser from it, cancelled; the colour chooser of stage 1, a new colour each time)\n",
              events, applies, switches, dialogs);
  std::printf("soak: handles = handle values of the program that DuplicateHandle copies; GDI objects made = "
              "made by the program's own code and not deleted, as it reports; windows = of the process, "
              "top-level and child (Wine reports neither handle nor GDI nor USER counts); heaps in use = live "
              "blocks in the program's heaps, as it reports\n");

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
  // A macro with a delay: the macro editor lists it, the delay editor opens on its entry 1.
  const std::wstring recordIni = (install.folder() / L"record.ini").wstring();
  for (const auto& [key, value] : {std::pair{L"ItemCount", L"3"}, {L"Item0", L"A   Dn"}, {L"Item1", L"50 ms"},
                                   {L"Item2", L"A   Up"}})
    WritePrivateProfileStringW(L"Reload", key, value, recordIni.c_str());
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
  SetForegroundWindow(window);
  const auto begin = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - begin).count(); };
  print("start", figuresOf(program), 0);

  // One step per device event; Applies, switches and dialogs spread evenly over the steps.
  const int steps = std::max({events, applies, switches, dialogs});
  const auto due = [&](int step, int count) { return static_cast<long long>(step) * count / steps !=
                                                     static_cast<long long>(step + 1) * count / steps; };
  int failures = 0, nextTenth = 1, rounds = 0;
  bool advanced = false;
  for (int step = 0; step < steps; ++step) {
    if (due(step, events)) {
      static constexpr int kTypes[] = {5, 7, 8, 9};
      static constexpr int kValues[] = {2, 3, 1, 4};
      if (!mouse.sendEvent(kTypes[step % 4], kValues[step / 4 % 4])) ++failures;
    }
    if (due(step, switches)) {
      press(window, advanced ? kBasicPage : kAdvancedPage);
      advanced = !advanced;
    }
    if (due(step, applies)) {
      if (advanced) {
        press(window, kBasicPage);
        advanced = false;
      }
      press(window, ombrisk::e2e::basic_page::kApply);
      if (const auto box = findMessageBox(program.process().id())) {
        ++failures;
        complain("a message box after Apply");
        answerMessageBox(*box);
      }
    }
    if (due(step, dialogs)) {
      // The key editors open from the Basic page; the delay editor returns to it.
      if (advanced) {
        press(window, kBasicPage);
        advanced = false;
      }
      program.settle();
      if (editors) failures += openKeyEditors(program);
      if (delay && !openDelayEditor(program)) ++failures;
      if (skins && !openSkinDialogs(program)) ++failures;
      if (colours && !chooseStageColour(program, ++rounds)) ++failures;
    }
    if (!program.process().running()) {
      std::fprintf(stderr, "soak: the program ended at step %d\n", step);
      return 1;
    }
    if ((step + 1) * 10 >= nextTenth * steps) {
      char when[8];
      std::snprintf(when, sizeof when, "%d%%", nextTenth * 10);
      print(when, figuresOf(program), seconds());
      ++nextTenth;
    }
  }
  program.settle();
  print("end", figuresOf(program), seconds());
  Sleep(1000);  // run.sh reads the program's memory at the end line while it still runs
  for (const DialogTime& time : dialogTimes)
    if (time.openings)
      std::printf("soak: %s: %.2f s an opening\n", time.name, time.seconds / time.openings);
  std::printf("soak: %d steps that did not go through\n", failures);
  return failures ? 1 : 0;
}
