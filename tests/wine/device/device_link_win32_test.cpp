// The Win32 device link under Wine: the real backend's enumeration without a mouse, and the
// whole link (search, handshake, reader thread, device change) on vmouse.exe.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <chrono>
#include <functional>
#include <vector>

#include "app/window_messages.h"
#include "device/device_link.h"
#include "device/device_link_win32.h"
#include "device/hid_backend_win32.h"
#include "device/protocol_constants.h"
#include "device/report_commands.h"
#include "device/virtual/virtual_mouse_client.h"
#include "support/system_mouse_win32.h"
#include "support/vmouse_process_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

using Note = std::pair<WPARAM, LPARAM>;

// The longest a vanished vmouse may take to be noticed: the watch's silence bound, then a
// search that waits out one unanswered request, with room for a loaded machine.
constexpr DWORD kGoneNoticedMs = vm::kPresenceSilenceMs + 6000;

// A hidden main window that records DeviceNotifyMessage and hands WM_DEVICECHANGE to the link.
class TestWindow {
 public:
  TestWindow() {
    static const ATOM registered = [] {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = &TestWindow::procedure;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = L"OmbriskDeviceLinkTest";
      return RegisterClassW(&windowClass);
    }();
    (void)registered;
    window = CreateWindowExW(0, L"OmbriskDeviceLinkTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~TestWindow() { DestroyWindow(window); }

  // Serves messages until done() holds or timeoutMs pass; whether done() held.
  bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
  void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
  }
  bool received(Note note) const {
    for (const Note& n : notes)
      if (n == note) return true;
    return false;
  }

  HWND window = nullptr;
  Win32DeviceLink* link = nullptr;
  DeviceImage image;
  std::vector<Note> notes;
  int mouseArrivals = 0;  // arrival broadcasts that name the mouse

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == DeviceNotifyMessage) {
      self->notes.push_back({wParam, lParam});
      return 0;
    }
    if (self && self->link && message == WM_DEVICECHANGE) {
      const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
      if (wParam == DBT_DEVICEARRIVAL && broadcast && broadcast->dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
          namesTheMouse(narrow(broadcast->dbcc_name)))
        ++self->mouseArrivals;
      return self->link->onDeviceChange(wParam, lParam, self->image);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

// A device-interface broadcast as the system sends it, for a given interface name.
class Broadcast {
 public:
  explicit Broadcast(const std::wstring& name)
      : storage_(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + (name.size() + 1) * sizeof(wchar_t), 0) {
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage_.data());
    b->dbcc_size = static_cast<DWORD>(storage_.size());
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::copy(name.begin(), name.end(), b->dbcc_name);
  }
  LPARAM lParam() { return reinterpret_cast<LPARAM>(storage_.data()); }

 private:
  std::vector<std::uint8_t> storage_;
};

// How the link reaches vmouse.exe: its virtual backend over loopback TCP, or the real
// backend through the system's HID stack (the virtual HID device of the test prefix).
enum class Route { Loopback, SystemHid };

// The main window's start-up order, on vmouse.exe, by either route.
class LinkWin32Test : public ::testing::TestWithParam<Route> {
 protected:
  void startMouse(const std::wstring& arguments = L"") {
    std::string error;
    mouse = VmouseProcess::start(arguments, error);
    ASSERT_NE(mouse, nullptr) << error;
    client = std::make_unique<VirtualMouseClient>(VirtualEndpoint{"127.0.0.1", mouse->port()});
    if (GetParam() == Route::SystemHid) {
      system = SystemMouse::attach(mouse->port(), error);
      ASSERT_NE(system, nullptr) << error;
    }
  }

  void startLink() {
    std::string error;
    const std::wstring option =
        GetParam() == Route::SystemHid ? L"" : L"tcp:127.0.0.1:" + std::to_wstring(mouse->port());
    link = Win32DeviceLink::create(option, DeviceNotifyMessage, error);
    ASSERT_NE(link, nullptr) << error;
    window.link = link.get();
    link->setMainWindow(window.window);
    if (link->findDevice()) {
      link->handshake();
    } else {
      SendMessageW(window.window, DeviceNotifyMessage, kEventNoMouse, 0);
      link->setLinkReady(false);
    }
    ASSERT_TRUE(link->createReadEvent());
    link->startReaderThread();
    ASSERT_TRUE(link->registerForDeviceNotifications());
  }

  void TearDown() override {
    if (link) link->close();
    window.link = nullptr;
    system.reset();
  }

  std::string dump() {
    std::string error;
    return client->dump(error).value_or("");
  }
  void vmouse(const char* action) {
    std::string error;
    const bool done = std::string(action) == "plug" ? client->plug(error) : client->unplug(error);
    ASSERT_TRUE(done) << error;
  }
  void event(std::uint8_t type, std::uint8_t value) {
    std::string error;
    ASSERT_TRUE(client->sendEvent(type, value, error)) << error;
  }
  // Plugs the mouse in and waits until the link is ready and every arrival it brings has
  // been handled: the system announces each interface of a composite mouse (vmouse's own
  // backend announces the command interface only), and each arrival searches again.
  void plugAndWaitForReady() {
    window.mouseArrivals = 0;
    vmouse("plug");
    const int arrivals = GetParam() == Route::SystemHid ? 2 : 1;
    EXPECT_TRUE(window.pumpUntil([&] { return window.mouseArrivals >= arrivals && link->linkReady(); }, 10000));
    window.pumpFor(200);
  }

  TestWindow window;
  std::unique_ptr<VmouseProcess> mouse;
  std::unique_ptr<VirtualMouseClient> client;
  std::unique_ptr<SystemMouse> system;
  std::unique_ptr<Win32DeviceLink> link;
};

TEST(RealBackend, EnumerationWithoutTheMouseEndsCleanly) {
  std::string error;
  auto link = Win32DeviceLink::create(L"", DeviceNotifyMessage, error);
  ASSERT_NE(link, nullptr) << error;
  EXPECT_FALSE(link->findDevice());
  EXPECT_FALSE(link->linkReady());
  EXPECT_TRUE(link->createReadEvent());
  link->startReaderThread();  // created, not run: the link is not ready
  TestWindow window;
  link->setMainWindow(window.window);
  EXPECT_TRUE(link->registerForDeviceNotifications());
  link->close();

  // The search walked the whole set: every member was probed, none was the mouse.
  auto backend = makeSetupApiBackend();
  HidSystem& system = backend->system();
  ASSERT_TRUE(system.beginEnumeration());
  unsigned index = 0;
  std::string path;
  while (system.interfaceAt(index, path) == NextInterface::Found) {
    EXPECT_NE(system.probe(path).result, ProbeResult::Mouse) << path;
    ++index;
  }
  EXPECT_EQ(system.interfaceAt(index, path), NextInterface::NoMore);
  system.endEnumeration();
}

TEST(DeviceOption, OnlyLoopbackAddressesAreAccepted) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"tcp:127.0.0.1:4711", true}, {L"tcp:[::1]:4711", true},   {L"tcp:localhost:4711", true},
      {L"tcp:10.0.0.1:4711", false}, {L"tcp:example.org:80", false}, {L"tcp:127.0.0.1:0", false},
      {L"tcp:127.0.0.1:99999", false}, {L"tcp:127.0.0.1", false},  {L"usb:1", false},
  };
  for (const auto& [option, accepted] : cases) {
    std::string error;
    auto link = Win32DeviceLink::create(option, DeviceNotifyMessage, error);
    EXPECT_EQ(link != nullptr, accepted) << std::wstring(option).size();
    EXPECT_EQ(error.empty(), accepted) << error;
  }
}

TEST_P(LinkWin32Test, FindsHandshakesReadsEventsAndSurvivesUnplugAndPlug) {
  startMouse();
  startLink();
  EXPECT_TRUE(link->linkReady());
  EXPECT_EQ(window.notes, (std::vector<Note>{{kEventLinkReady, 0}}));
  // The first draw of the Basic page reads the sensor block.
  readSensorAtConnection(link->protocol(), window.image);
  EXPECT_EQ(window.image.sensor, (std::array<std::uint8_t, 4>{0, 1, 0, 0x40}));
  EXPECT_NE(dump().find("\"log\": [\"00aadd3b620000db\", \"00aadd3b620000db\", "
                        "\"830000000000007c\", \"03000100400000bb\"]"),
            std::string::npos)
      << dump();

  event(kEventDpiStage, 2);
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventDpiStage, 2}); }));
  event(0x33, 1);  // not an event the link forwards
  event(kEventKeyMatrix, 1);
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventKeyMatrix, 1}); }));
  EXPECT_FALSE(window.received({0x33, 1}));

  window.notes.clear();
  vmouse("unplug");
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventNoMouse, 0}); }));
  EXPECT_FALSE(link->linkReady());
  EXPECT_FALSE(IsWindowVisible(window.window));

  window.notes.clear();
  plugAndWaitForReady();
  EXPECT_TRUE(window.received({kEventLinkReady, 0}));
  EXPECT_TRUE(link->linkReady());
  event(kEventDpiStage, 3);
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventDpiStage, 3}); }));
}

TEST_P(LinkWin32Test, StartWithoutTheMouseThenPlugItInStartsTheEventReads) {
  startMouse();
  vmouse("unplug");
  startLink();
  EXPECT_FALSE(link->linkReady());
  EXPECT_EQ(window.notes, (std::vector<Note>{{kEventNoMouse, 0}}));

  plugAndWaitForReady();
  // The arrival read the sensor block and wrote it back with bit 6 of option 2.
  EXPECT_NE(dump().find("\"sensor\": [0,1,0,64]"), std::string::npos);
  event(kEventMacro, 5);
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventMacro, 5}); }));
}

TEST_P(LinkWin32Test, CommandFirstIsReadyButGetsNoEvents) {
  startMouse(L"--command-first");
  startLink();
  EXPECT_TRUE(link->linkReady());
  event(kEventDpiStage, 1);
  window.pumpFor(300);
  EXPECT_EQ(window.notes, (std::vector<Note>{{kEventLinkReady, 0}}));
}

TEST_P(LinkWin32Test, UnrelatedArrivalChangesNothingAndRemovalWithTheMouseStillThereRehandshakes) {
  startMouse();
  startLink();
  const std::string before = dump();
  window.notes.clear();
  for (const wchar_t* name : {L"\\\\?\\HID#VID_046D&PID_C31C&MI_00#7&1f0e#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                              L"\\\\?\\hid#vid_04d9&pid_a0a0&mi_02#7&1"}) {
    Broadcast broadcast(name);
    SendMessageW(window.window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, broadcast.lParam());
    SendMessageW(window.window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, broadcast.lParam());
  }
  EXPECT_TRUE(window.notes.empty());
  EXPECT_EQ(dump(), before);
  EXPECT_TRUE(link->linkReady());

  Broadcast mouseInterface(widen(vm::mouseInterfacePath(vm::MouseInterface::Command)));
  EXPECT_EQ(SendMessageW(window.window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                         mouseInterface.lParam()), TRUE);
  EXPECT_EQ(window.notes, (std::vector<Note>{{kEventLinkReady, 0}}));
  EXPECT_TRUE(link->linkReady());
}

TEST_P(LinkWin32Test, AVmouseThatDiesLeavesTheLinkNotReadyWithoutAHang) {
  startMouse();
  startLink();
  const std::uint16_t port = mouse->port();
  mouse->kill();
  const auto begin = std::chrono::steady_clock::now();
  writeMacros(link->protocol(), window.image);
  readMacros(link->protocol(), window.image);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  // At once when its connections close; after the watch's silence bound when the killed
  // process leaves them open, as Wine sometimes does.
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventNoMouse, 0}); }, kGoneNoticedMs));
  EXPECT_FALSE(link->linkReady());

  // The same mouse back on its port arrives again.
  window.notes.clear();
  std::string error;
  mouse = VmouseProcess::startOnPort(port, L"", error);
  ASSERT_NE(mouse, nullptr) << error;
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventLinkReady, 0}); }, kGoneNoticedMs));
  EXPECT_TRUE(link->linkReady());
}

// A vmouse that hangs keeps its connections open and answers nothing: the watch hears no
// repeat of the presence, takes it for gone, and the link is not ready; once it runs again it
// arrives again.
TEST_P(LinkWin32Test, AVmouseThatHangsIsTakenForGoneAndArrivesAgainWhenItRuns) {
  startMouse();
  startLink();
  window.notes.clear();
  ASSERT_TRUE(mouse->freeze());
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventNoMouse, 0}); }, kGoneNoticedMs));
  EXPECT_FALSE(link->linkReady());

  window.notes.clear();
  ASSERT_TRUE(mouse->thaw());
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventLinkReady, 0}); }, kGoneNoticedMs));
  EXPECT_TRUE(link->linkReady());
}

INSTANTIATE_TEST_SUITE_P(Routes, LinkWin32Test, ::testing::Values(Route::Loopback, Route::SystemHid),
                         [](const auto& info) { return info.param == Route::Loopback ? "Loopback" : "SystemHid"; });

// A mouse whose event interface is a named pipe read by the real backend's overlapped
// reader: each search opens a new pipe, as it opens a new handle on the real mouse, and the
// test writes the mouse's event reports into the newest one. Its command interface answers
// only the scrambled handshake. A pipe of bytes gives a read as many waiting reports as fit,
// as a class driver may.
class PipeMouseBackend final : public HidBackendWin32, public HidSystem {
 public:
  enum class Pipe { Messages, Bytes };
  explicit PipeMouseBackend(Pipe kind = Pipe::Messages) : kind_(kind) {}
  ~PipeMouseBackend() override {
    dropEventReader();
    for (HANDLE pipe : pipes_) CloseHandle(pipe);
  }

  HidSystem& system() override { return *this; }
  bool registerNotifications(HWND) override { return true; }
  void stopNotifications() override {}

  bool beginEnumeration() override { return true; }
  NextInterface interfaceAt(unsigned index, std::string& path) override {
    if (index >= 2) return NextInterface::NoMore;
    path = index == 0 ? "events" : "commands";
    return NextInterface::Found;
  }
  void endEnumeration() override {}
  Probe probe(const std::string& path) override {
    if (path == "events") return {ProbeResult::Mouse, {kEventUsagePage, kEventUsagePage, 9, 0, 0}};
    return {ProbeResult::Mouse, {kCommandUsagePage, kCommandUsagePage, 33, 33, 9}};
  }
  bool openEventInterface(const std::string&, const HidCaps& caps) override {
    const std::wstring name = L"\\\\.\\pipe\\ombrisk-events-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(pipes_.size());
    const DWORD mode = kind_ == Pipe::Messages ? PIPE_TYPE_MESSAGE : PIPE_TYPE_BYTE;
    HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, mode | PIPE_WAIT,
                                     1, 64, 64, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) return false;
    pipes_.push_back(server);
    HANDLE client = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (client == INVALID_HANDLE_VALUE) return false;
    ConnectNamedPipe(server, nullptr);  // already connected by the client
    publishEventReader(makeOverlappedEventReader(client, INVALID_HANDLE_VALUE, caps.inputLength));
    return true;
  }
  void closeEventInterface() override { dropEventReader(); }
  std::unique_ptr<CommandPort> openCommandInterface(const std::string&, const HidCaps&) override {
    return std::make_unique<ScrambledHandshakeOnly>();
  }

  // Event reports of the mouse (report id 6, type, 0, value) on the newest event interface,
  // written at once.
  bool report(std::uint8_t type, std::uint8_t value) { return reports({{type, value}}); }
  bool reports(std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> events) {
    std::vector<std::uint8_t> bytes;
    for (const auto& [type, value] : events) bytes.insert(bytes.end(), {kEventReportId, type, 0, value, 0, 0, 0, 0, 0});
    DWORD written = 0;
    return !pipes_.empty() && WriteFile(pipes_.back(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

 private:
  // Echoes every frame but the plain handshake, so only the scrambled one succeeds. It takes
  // its time, as a mouse does, and the reader thread is back at its read meanwhile.
  class ScrambledHandshakeOnly final : public CommandPort {
   public:
    ReportLengths lengths() const override { return {9, 33, 33}; }
    bool setFeature(std::span<const std::uint8_t> report) override {
      Sleep(20);
      last_.assign(report.begin(), report.end());
      return true;
    }
    bool getFeature(std::span<std::uint8_t> report) override {
      const bool plainHandshake = last_.size() >= 6 && last_[1] == 0 &&
                                  std::equal(kHandshakeMagic.begin(), kHandshakeMagic.end(), last_.begin() + 2);
      if (!plainHandshake) std::copy_n(last_.begin(), std::min(last_.size(), report.size()), report.begin());
      return true;
    }
    bool writeOutput(std::span<const std::uint8_t>) override { return true; }
    bool readInput(std::span<std::uint8_t>) override { return false; }
    bool discardInput() override { return true; }

   private:
    std::vector<std::uint8_t> last_;
  };

  Pipe kind_;
  std::vector<HANDLE> pipes_;
};

// The window and link of a pipe mouse, ready and reading.
struct PipeMouseLink {
  explicit PipeMouseLink(PipeMouseBackend::Pipe kind) {
    auto owned = std::make_unique<PipeMouseBackend>(kind);
    mouse = owned.get();
    link = makeWin32DeviceLink(std::move(owned), DeviceNotifyMessage);
    window.link = link.get();
    link->setMainWindow(window.window);
    ready = link->findDevice();
    link->handshake();
    ready = ready && link->linkReady() && link->createReadEvent();
    link->startReaderThread();
  }
  ~PipeMouseLink() {
    link->close();
    window.link = nullptr;
  }
  TestWindow window;
  PipeMouseBackend* mouse = nullptr;
  std::unique_ptr<Win32DeviceLink> link;
  bool ready = false;
};

// A composite mouse announces each of its interfaces, so the link searches again while it is
// ready and reading: every read must still have its own completion, and every report must
// reach the window once, in order.
TEST(EventReads, SearchesWhileReadyLoseNoReport) {
  TestWindow window;
  auto owned = std::make_unique<PipeMouseBackend>();
  PipeMouseBackend& mouse = *owned;
  auto link = makeWin32DeviceLink(std::move(owned), DeviceNotifyMessage);
  window.link = link.get();
  link->setMainWindow(window.window);
  ASSERT_TRUE(link->findDevice());
  link->handshake();
  ASSERT_TRUE(link->linkReady());
  ASSERT_TRUE(link->createReadEvent());
  link->startReaderThread();
  ASSERT_TRUE(mouse.report(kEventDpiStage, 1));
  EXPECT_TRUE(window.pumpUntil([&] { return window.received({kEventDpiStage, 1}); }));

  const std::string interfaceName = "\\\\?\\HID#" + std::string(kMouseInterfaceIds.view()) + "&MI_01#1";
  Broadcast arrival(widen(interfaceName));
  for (int interface = 0; interface < 2; ++interface) {
    SendMessageW(window.window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, arrival.lParam());
    window.pumpFor(100);
  }
  ASSERT_TRUE(link->linkReady());
  window.notes.clear();
  ASSERT_TRUE(mouse.report(kEventDpiStage, 2));
  ASSERT_TRUE(mouse.report(kEventKeyMatrix, 2));
  window.pumpUntil([&] { return window.notes.size() >= 2; }, 2000);
  window.pumpFor(100);
  EXPECT_EQ(window.notes, (std::vector<Note>{{kEventDpiStage, 2}, {kEventKeyMatrix, 2}}));
  link->close();
  window.link = nullptr;
}

// Reports that wait together are each one event: a read takes one report's length, so a
// class driver that would hand a longer read all it holds gives each its own read.
TEST(EventReads, ReportsWaitingTogetherEachReachTheWindow) {
  PipeMouseLink pipe(PipeMouseBackend::Pipe::Bytes);
  ASSERT_TRUE(pipe.ready);
  pipe.window.notes.clear();
  ASSERT_TRUE(pipe.mouse->reports({{kEventDpiStage, 2}, {kEventKeyMatrix, 1}, {kEventMacro, 7}}));
  pipe.window.pumpUntil([&] { return pipe.window.notes.size() >= 3; }, 2000);
  pipe.window.pumpFor(100);
  EXPECT_EQ(pipe.window.notes,
            (std::vector<Note>{{kEventDpiStage, 2}, {kEventKeyMatrix, 1}, {kEventMacro, 7}}));
}

// A read that ends after the link went down (without waking the reader) shows nothing.
TEST(EventReads, AnEventAfterTheLinkWentDownIsNotShown) {
  PipeMouseLink pipe(PipeMouseBackend::Pipe::Messages);
  ASSERT_TRUE(pipe.ready);
  ASSERT_TRUE(pipe.mouse->report(kEventDpiStage, 1));
  ASSERT_TRUE(pipe.window.pumpUntil([&] { return pipe.window.received({kEventDpiStage, 1}); }));
  pipe.window.notes.clear();
  pipe.window.pumpFor(100);  // the reader is back at its read
  pipe.link->setLinkReady(false);
  ASSERT_TRUE(pipe.mouse->report(kEventDpiStage, 3));
  pipe.window.pumpFor(400);
  EXPECT_TRUE(pipe.window.notes.empty());
}

}  // namespace
}  // namespace ombrisk
