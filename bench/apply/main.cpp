// The Apply sequence against the virtual mouse, several times over loopback TCP: prints each
// run's wall time, the median, the sum of the pauses the sequence asks for, and as its last
// line the ratio of the two (1.0 would be pauses alone, with no transfer or overshoot).
//
//   bench_apply [RUNS] [--device tcp:127.0.0.1:PORT]
// Without --device it serves a virtual mouse in process on a free loopback port.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "device/handshake.h"
#include "device/pauser.h"
#include "device/report_commands.h"
#include "device/virtual/virtual_mouse_client.h"
#include "keys/key_functions.h"
#include "settings/apply_sequence.h"
#include "vmouse/virtual_mouse_server.h"

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

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  std::string device;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--device" && i + 1 < argc) device = argv[++i];
    else runs = std::max(1, std::atoi(argv[i]));
  }
  std::string error, warning;
  std::unique_ptr<VirtualMouseServer> server;
  if (device.empty()) {
    server = VirtualMouseServer::start({}, error, warning);
    if (!server) return fail(error);
    device = "tcp:127.0.0.1:" + std::to_string(server->port());
  }
  const auto endpoint = parseVirtualEndpoint(device, error);
  if (!endpoint) return fail(error);
  const VirtualMouseClient client(*endpoint);
  auto port = client.openMouseCommandPort(error);
  if (!port) return fail("no mouse at " + device + ": " + error);

  CountingPauser pauser;
  CommandProtocol protocol(*port, pauser);
  if (!runHandshake(protocol, pauser)) return fail("the handshake failed");
  SettingsImage image;
  readSensorAtConnection(protocol, image.device);
  resetKeyTables(image.record);
  image.record[rec::kLightingMode] = 2;
  image.record[rec::kMode2Effect] = 2;
  pauser.takeTotal();

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrisk-bench-apply-" + std::to_string(server ? server->port() : 0));
  std::filesystem::create_directories(folder);
  // The files as the program saves them: through the platform's file operations (the
  // portable ones cannot replace an existing file on Windows).
  auto io = makePlatformFileIo();
  auto store = makePlatformProfileStore();
  CountedMessages messages;
  const SettingsFileContext files{dataPathsFromModule((folder / "Ombrisk.exe").string()), *io, messages, "bench"};
  int ignored = 0;
  io->replaceAtomically(files.paths.configBin, std::vector<std::uint8_t>(kConfigFileSize, 0), ignored);
  const ButtonLabelSet labels;
  auto resolution = makePlatformTimerResolution();

  int failedRuns = 0;
  const auto timeRuns = [&](const char* what) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const ApplyOutcome outcome =
          runApplySequence({protocol, image, files, *store, labels, "Setting-EN", resolution.get()});
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      std::printf("%s run %2d: %.1f ms%s\n", what, run + 1, times.back(),
                  outcome.delivered() ? "" : " (a transfer failed)");
      if (!outcome.delivered()) ++failedRuns;
    }
    std::sort(times.begin(), times.end());
    return runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
  };
  pauser.skip = true;
  const double transfer = timeRuns("transfer only");
  pauser.skip = false;
  pauser.takeTotal();
  pauser.takeSpent();
  const double median = timeRuns("apply");
  const unsigned pauseSum = pauser.takeTotal() / static_cast<unsigned>(runs);
  const double spentPerRun = pauser.takeSpent() / runs;
  std::filesystem::remove_all(folder);
  if (server) server->stop();

  std::printf("median transfer time without the pauses: %.1f ms\n", transfer);
  std::printf("median wall time: %.1f ms over %d runs\n", median, runs);
  std::printf("time spent in the pauses: %.1f ms per run (mean)\n", spentPerRun);
  std::printf("mandated pauses: %u ms\n", pauseSum);
  std::printf("ratio: %.3f\n", median / pauseSum);
  if (messages.count) return fail(std::to_string(messages.count) + " saves of the settings failed");
  return failedRuns ? fail(std::to_string(failedRuns) + " runs did not reach the mouse whole") : 0;
}
