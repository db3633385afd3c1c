// vmouse's server: the firmware model behind loopback TCP, one thread per connection.
// Used by the vmouse program and, in process, by the tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "vmouse/virtual_mouse_model.h"

namespace ombrisk {

struct VirtualMouseOptions {
  std::uint16_t port = 0;     // 0: any free port
  std::string stateFile;      // empty: remember nothing across restarts
  std::optional<std::uint8_t> sensorType;  // overrides the remembered one
  bool commandFirst = false;  // enumerate the command interface before the event interface
  FaultMode fault = FaultMode::None;
};

class VirtualMouseServer {
 public:
  // Loads the state file (a broken one is reported in warning and replaced by a fresh
  // mouse), listens and serves in background threads. Null with error when it cannot listen.
  static std::unique_ptr<VirtualMouseServer> start(const VirtualMouseOptions& options,
                                                   std::string& error, std::string& warning);
  virtual ~VirtualMouseServer() = default;

  // Connections served at once (the utility holds three, a test or ombriskctl one more each):
  // a local process that opens connections without end is refused beyond this instead of
  // costing vmouse a thread each.
  static constexpr std::size_t kMostConnections = 32;

  virtual std::uint16_t port() const = 0;
  virtual void plug() = 0;
  virtual void unplug() = 0;
  // The mouse is removed right after answering the next `commands` requests on its command
  // interface (1: after the next one): a pull at a chosen point of a transfer.
  virtual void unplugAfter(unsigned commands) = 0;
  // Sends an event report (report id 6, type, 0, value) on every open event interface.
  virtual void sendEvent(std::uint8_t type, std::uint8_t value) = 0;
  virtual std::string dumpJson() = 0;
  // Closes every connection and ends the threads.
  virtual void stop() = 0;
};

}  // namespace ombrisk
