// vmouse: the virtual mouse. `vmouse serve` presents the mouse on a loopback port until it
// is stopped; the other commands act on a running one.
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device/virtual/virtual_mouse_client.h"
#include "vmouse/virtual_mouse_server.h"

namespace {

using namespace ombrisk;

constexpr std::string_view kUsage =
    "usage: vmouse serve --port P [--state FILE] [--sensor T] [--command-first]\n"
    "                    [--plain-echo | --silent | --hostile | --late | --stuck]\n"
    "       vmouse plug --port P\n"
    "       vmouse unplug --port P [--after N]\n"
    "       vmouse event --port P TYPE VALUE\n"
    "       vmouse dump --port P\n";

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) { stopRequested = true; }

int usageError(const std::string& message) {
  std::fprintf(stderr, "vmouse: %s\n%.*s", message.c_str(), static_cast<int>(kUsage.size()),
               kUsage.data());
  return 2;
}

std::optional<unsigned> number(std::string_view text, unsigned largest) {
  unsigned value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size() || value > largest)
    return std::nullopt;
  return value;
}

struct Arguments {
  std::string command;
  VirtualMouseOptions options;
  bool portGiven = false;
  int faultSwitches = 0;
  std::optional<unsigned> unplugAfter;
  std::vector<std::string> positional;
};

// Returns an error message, or empty.
std::string parse(int argc, char** argv, Arguments& a) {
  if (argc < 2) return "no command given";
  a.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&]() -> std::optional<std::string_view> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string_view(argv[++i]);
    };
    if (arg == "--port") {
      auto text = value();
      auto port = text ? number(*text, 65535) : std::nullopt;
      if (!port) return "--port needs a port number (0 to 65535)";
      a.options.port = static_cast<std::uint16_t>(*port);
      a.portGiven = true;
    } else if (arg == "--state") {
      auto text = value();
      if (!text || text->empty()) return "--state needs a file name";
      a.options.stateFile = std::string(*text);
    } else if (arg == "--sensor") {
      auto text = value();
      auto sensor = text ? number(*text, 3) : std::nullopt;
      if (!sensor) return "--sensor needs a sensor type 0 to 3";
      a.options.sensorType = static_cast<std::uint8_t>(*sensor);
    } else if (arg == "--after") {
      auto text = value();
      auto commands = text ? number(*text, 65535) : std::nullopt;
      if (!commands || *commands == 0) return "--after needs a number of commands (1 to 65535)";
      a.unplugAfter = *commands;
    } else if (arg == "--command-first") {
      a.options.commandFirst = true;
    } else if (arg.starts_with("--")) {
      bool known = false;
      for (const FaultModeInfo& mode : kFaultModes)
        if (!mode.option.empty() && arg == mode.option) {
          a.options.fault = mode.mode;
          ++a.faultSwitches;
          known = true;
        }
      if (!known) return "unknown option " + std::string(arg);
    } else {
      a.positional.emplace_back(arg);
    }
  }
  if (!a.portGiven) return "--port is required";
  if (a.unplugAfter && a.command != "unplug") return "--after belongs to unplug";
  if (a.faultSwitches > 1) {
    std::string switches;
    for (const FaultModeInfo& mode : kFaultModes)
      if (!mode.option.empty()) switches += (switches.empty() ? "" : ", ") + std::string(mode.option);
    return "the fault modes " + switches + " exclude each other";
  }
  return {};
}

int serve(const Arguments& a) {
  if (a.command != "serve" || !a.positional.empty()) return usageError("unexpected arguments");
  std::string error, warning;
  auto server = VirtualMouseServer::start(a.options, error, warning);
  if (!warning.empty()) std::fprintf(stderr, "vmouse: %s\n", warning.c_str());
  if (!server) {
    std::fprintf(stderr, "vmouse: %s\n", error.c_str());
    return 1;
  }
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
  std::printf("vmouse: serving on 127.0.0.1:%u\n", static_cast<unsigned>(server->port()));
  std::fflush(stdout);
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  server->stop();
  return 0;
}

int control(const Arguments& a) {
  if (a.options.port == 0) return usageError("--port needs the port of a running vmouse");
  const VirtualMouseClient client({"127.0.0.1", a.options.port});
  std::string error;
  bool done = false;
  if (a.command == "plug" && a.positional.empty()) {
    done = client.plug(error);
  } else if (a.command == "unplug" && a.positional.empty()) {
    done = a.unplugAfter ? client.unplugAfter(*a.unplugAfter, error) : client.unplug(error);
  } else if (a.command == "event" && a.positional.size() == 2) {
    auto type = number(a.positional[0], 255);
    auto value = number(a.positional[1], 255);
    if (!type || !value) return usageError("event needs TYPE and VALUE, each 0 to 255");
    done = client.sendEvent(static_cast<std::uint8_t>(*type), static_cast<std::uint8_t>(*value), error);
  } else if (a.command == "dump" && a.positional.empty()) {
    if (auto json = client.dump(error)) {
      std::fputs(json->c_str(), stdout);
      done = true;
    }
  } else {
    return usageError("unknown command or wrong arguments");
  }
  if (!done) std::fprintf(stderr, "vmouse: %s\n", error.c_str());
  return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (std::string error = parse(argc, argv, arguments); !error.empty()) return usageError(error);
  return arguments.command == "serve" ? serve(arguments) : control(arguments);
}
