// The Apply sequence against the virtual mouse, several times: prints each run's wall time, the
// median, the sum of the pauses the sequence asks for, and the ratio of the two (1.0 would be
// pauses alone, with no transfer or overshoot), for each way to the mouse in one run.
//
//   bench_apply [RUNS] [--device tcp:127.0.0.1:PORT]... [--device hid]
// --device hid (Windows) goes through the system's HID stack, as the utility does without
// --device. Without --device it serves a virtual mouse in process on a free loopback port.
// The last lines give each way's ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device/device_link.h"
#include "device/handshake.h"
#include "device/pauser.h"
#include "device/report_commands.h"
#include "device/virtual/virtual_mouse_client.h"
#include "keys/key_functions.h"
#include "settings/apply_sequence.h"
#include "vmouse/virtual_mouse_server.h"
#ifdef _WIN32
#include "device/hid_backend_win32.h"
#include "util/wide_win32.h"
extern "C" {
#include <hidsdi.h>
}
#endif

namespace {

using namespace ombrisk;

// The platform's pauses, summed.
class CountingPauser final : public Pauser {
 public:
  void pauseMs(unsigned milliseconds) override {
    total_ += milliseconds;
    if (skip) return;
    const auto start = std::chrono::steady_clock::now();
    inner_->pauseMs(milliseconds);
    spent_ += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  bool skip = false;  // for the transfer time alone
  unsigned takeTotal() { return std::exchange(total_, 0u); }
  double takeSpent() { return std::exchange(spent_, 0.0); }

 private:
  std::unique_ptr<Pauser> inner_ = makePlatformPauser();
  unsigned total_ = 0;
  double spent_ = 0;  // ms actually spent in the pauses
};

// The Apply's messages (a save that failed), on stderr and counted: a run whose save failed
// did not measure a whole Apply.
struct CountedMessages final : MessageSink {
  void show(const std::string& text, const std::string&) override {
    std::fprintf(stderr, "bench_apply: %s\n", text.c_str());
    ++count;
  }
  int count = 0;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "bench_apply: %s\n", message.c_str());
  return 1;
}

// The mouse one way: the command interface the Apply runs on.
class Connection {
 public:
  virtual ~Connection() = default;
  virtual CommandPort& port() = 0;
};

// Counts the calls an Apply makes on the command interface, for the time each one takes.
class CountingPort final : public CommandPort {
 public:
  explicit CountingPort(CommandPort& inner) : inner_(inner) {}
  ReportLengths lengths() const override { return inner_.lengths(); }
  bool setFeature(std::span<const std::uint8_t> r) override { return ++calls, inner_.setFeature(r); }
  bool getFeature(std::span<std::uint8_t> r) override { return ++calls, inner_.getFeature(r); }
  bool writeOutput(std::span<const std::uint8_t> r) override { return ++calls, inner_.writeOutput(r); }
  bool readInput(std::span<std::uint8_t> r) override { return ++calls, inner_.readInput(r); }
  bool discardInput() override { return ++calls, inner_.discardInput(); }
  unsigned long calls = 0;

 private:
  CommandPort& inner_;
};

class LoopbackConnection final : public Connection {
 public:
  explicit LoopbackConnection(std::unique_ptr<CommandPort> port) : port_(std::move(port)) {}
  CommandPort& port() override { return *port_; }

 private:
  std::unique_ptr<CommandPort> port_;
};

#ifdef _WIN32
// Through the system's HID stack: the real backend's device search finds the mouse.
class SystemHidConnection final : public Connection, private LinkListener {
 public:
  SystemHidConnection(Pauser& pauser, MessageSink& messages)
      : backend_(makeSetupApiBackend()), link_(backend_->system(), pauser, *this, messages, "bench_apply") {}
  bool found() { return link_.findDevice(); }
  std::string why() const { return describeSearchEnd(link_.lastSearch(), link_.devicePath()); }
  CommandPort& port() override { return link_.protocol().port(); }
  // The time of one request that the class driver answers itself (the device's attributes):
  // the round trip from the program through the system to the class driver and back.
  double classDriverCallMs() const {
    HANDLE probe = CreateFileW(widen(link_.devicePath()).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return 0;
    constexpr int kCalls = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
      HIDD_ATTRIBUTES attributes{sizeof attributes};
      HidD_GetAttributes(probe, &attributes);
    }
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    CloseHandle(probe);
    return took / kCalls;
  }

 private:
  void notify(unsigned, unsigned) override {}
  void hideMainWindow() override {}
  void linkBecameReady() override {}

  std::unique_ptr<HidBackendWin32> backend_;
  DeviceLink link_;
};
#endif

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  std::vector<std::string> devices;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--device" && i + 1 < argc) devices.push_back(argv[++i]);
    else runs = std::max(1, std::atoi(argv[i]));
  }
  std::string error, warning;
  std::unique_ptr<VirtualMouseServer> server;
  if (devices.empty()) {
    server = VirtualMouseServer::start({}, error, warning);
    if (!server) return fail(error);
    devices.push_back("tcp:127.0.0.1:" + std::to_string(server->port()));
  }

  CountingPauser pauser;
  CountedMessages messages;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrisk-bench-apply-" + std::to_string(server ? server->port() : 0));
  std::filesystem::create_directories(folder);
  // The files as the program saves them: through the platform's file operations (the
  // portable ones cannot replace an existing file on Windows).
  auto io = makePlatformFileIo();
  auto store = makePlatformProfileStore();
  const SettingsFileContext files{dataPathsFromModule((folder / "Ombrisk.exe").string()), *io, messages, "bench"};
  const ButtonLabelSet labels;
  auto resolution = makePlatformTimerResolution();

  int failedRuns = 0;
  std::vector<std::pair<std::string, double>> ratios;
  for (const std::string& device : devices) {
    std::unique_ptr<Connection> connection;
    if (device == "hid") {
#ifdef _WIN32
      // In a session that has just begun the system may still be starting the device.
      auto hid = std::make_unique<SystemHidConnection>(pauser, messages);
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!hid->found() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (!hid->found()) return fail("no mouse through the system's HID stack: " + hid->why());
      connection = std::move(hid);
#else
      return fail("--device hid is the Windows program's");
#endif
    } else {
      const auto endpoint = parseVirtualEndpoint(device, error);
      if (!endpoint) return fail(error);
      const VirtualMouseClient client(*endpoint);
      auto port = client.openMouseCommandPort(error);
      if (!port) return fail("no mouse at " + device + ": " + error);
      connection = std::make_unique<LoopbackConnection>(std::move(port));
    }
    const std::string name = device == "hid" ? "system HID" : device;

    CountingPort counted(connection->port());
    CommandProtocol protocol(counted, pauser);
    if (!runHandshake(protocol, pauser)) return fail("the handshake failed on " + name);
    SettingsImage image;
    readSensorAtConnection(protocol, image.device);
    resetKeyTables(image.record);
    image.record[rec::kLightingMode] = 2;
    image.record[rec::kMode2Effect] = 2;
    pauser.takeTotal();
    int ignored = 0;
    io->replaceAtomically(files.paths.configBin, std::vector<std::uint8_t>(kConfigFileSize, 0), ignored);

    const auto timeRuns = [&](const char* what) {
      std::vector<double> times;
      for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const ApplyOutcome outcome =
            runApplySequence({protocol, image, files, *store, labels, "Setting-EN", resolution.get()});
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        std::printf("%s: %s run %2d: %.1f ms%s\n", name.c_str(), what, run + 1, times.back(),
                    outcome.delivered() ? "" : " (a transfer failed)");
        if (!outcome.delivered()) ++failedRuns;
      }
      std::sort(times.begin(), times.end());
      return runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
    };
    pauser.skip = true;
    counted.calls = 0;
    const double transfer = timeRuns("transfer only");
    const unsigned long callsPerApply = counted.calls / static_cast<unsigned long>(runs);
    pauser.skip = false;
    pauser.takeTotal();
    pauser.takeSpent();
    const double median = timeRuns("apply");
    const unsigned pauseSum = pauser.takeTotal() / static_cast<unsigned>(runs);
    const double spentPerRun = pauser.takeSpent() / runs;
    std::printf("%s: median transfer time without the pauses: %.1f ms\n", name.c_str(), transfer);
    std::printf("%s: %lu calls on the command interface per Apply, %.3f ms each\n", name.c_str(), callsPerApply,
                callsPerApply ? transfer / static_cast<double>(callsPerApply) : 0.0);
#ifdef _WIN32
    if (auto* hid = dynamic_cast<SystemHidConnection*>(connection.get()))
      std::printf("%s: a request the class driver answers itself: %.3f ms\n", name.c_str(), hid->classDriverCallMs());
#endif
    std::printf("%s: median wall time: %.1f ms over %d runs\n", name.c_str(), median, runs);
    std::printf("%s: time spent in the pauses: %.1f ms per run (mean)\n", name.c_str(), spentPerRun);
    std::printf("%s: mandated pauses: %u ms\n", name.c_str(), pauseSum);
    ratios.emplace_back(name, median / pauseSum);
  }
  std::filesystem::remove_all(folder);
  if (server) server->stop();
  for (const auto& [name, ratio] : ratios) std::printf("ratio (%s): %.3f\n", name.c_str(), ratio);
  if (messages.count) return fail(std::to_string(messages.count) + " saves of the settings failed");
  return failedRuns ? fail(std::to_string(failedRuns) + " runs did not reach the mouse whole") : 0;
}
