// The client side of vmouse, usable from any platform: enumeration, the command interface
// as a CommandPort, the event interface's report stream, plug/unplug watching, and the
// controls (plug, unplug, event, dump).
//
//   std::string error;
//   auto endpoint = parseVirtualEndpoint("tcp:127.0.0.1:47001", error);
//   VirtualMouseClient client(*endpoint);
//   std::unique_ptr<CommandPort> port = client.openMouseCommandPort(error);
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/command_port.h"
#include "device/virtual/loopback_socket.h"
#include "device/virtual/virtual_mouse_wire.h"

namespace ombrisk {

struct VirtualEndpoint {
  std::string host;  // "127.0.0.1" or "::1"
  std::uint16_t port = 0;
};

// "tcp:127.0.0.1:PORT", "tcp:[::1]:PORT" (also "tcp:localhost:PORT" for 127.0.0.1). Any
// other host or a malformed option gives null and a message for the user in error.
std::optional<VirtualEndpoint> parseVirtualEndpoint(std::string_view option, std::string& error);

// How long a block read waits for one input report before leaving zeros.
inline constexpr int kInputReportWaitMs = 100;

// The open event interface: the event reports that vmouse pushes, one at a time.
class VirtualEventStream {
 public:
  explicit VirtualEventStream(std::unique_ptr<LoopbackSocket> socket) : socket_(std::move(socket)) {}
  // The next report; null once the interface is gone (unplugged, vmouse ended) or cancelled.
  std::optional<std::vector<std::uint8_t>> next();
  void cancel() { socket_->cancel(); }

 private:
  std::unique_ptr<LoopbackSocket> socket_;
};

// Plug and unplug of the mouse, as they happen.
class VirtualPresenceWatch {
 public:
  explicit VirtualPresenceWatch(std::unique_ptr<LoopbackSocket> socket) : socket_(std::move(socket)) {}
  // True = plugged in, false = unplugged; null once vmouse is gone (the connection closed,
  // or nothing heard for vm::kPresenceSilenceMs) or after cancel(). The first answer is the
  // state at the time the watch began, each later one a change. timeoutMs bounds the wait
  // (null when it passes).
  std::optional<bool> next(int timeoutMs = kWaitForever);
  void cancel() { socket_->cancel(); }

 private:
  std::unique_ptr<LoopbackSocket> socket_;
  std::optional<bool> told_;  // the state last answered
};

class VirtualMouseClient {
 public:
  explicit VirtualMouseClient(VirtualEndpoint endpoint) : endpoint_(std::move(endpoint)) {}

  const VirtualEndpoint& endpoint() const { return endpoint_; }

  // The interfaces vmouse presents now; null (with error) when it cannot be reached.
  std::optional<std::vector<vm::VirtualInterface>> enumerate(std::string& error) const;
  // Opens an enumerated interface; null when vmouse refuses (unplugged, not the mouse's).
  std::unique_ptr<CommandPort> openCommandInterface(const vm::VirtualInterface& info) const;
  std::unique_ptr<VirtualEventStream> openEventInterface(const vm::VirtualInterface& info) const;
  std::unique_ptr<VirtualPresenceWatch> watchPresence() const;
  // The command interface's input reports as the mouse sends them (report id first), for a
  // host whose system keeps the input buffer; null when vmouse refuses.
  std::unique_ptr<VirtualEventStream> openInputStream(const vm::VirtualInterface& info) const;
  // The HID report descriptor of an interface; null (with error) when vmouse cannot be
  // reached, empty for a path it does not present.
  std::optional<std::vector<std::uint8_t>> describe(const std::string& path, std::string& error) const;

  // For tools: finds the mouse's command interface and opens it.
  std::unique_ptr<CommandPort> openMouseCommandPort(std::string& error) const;

  // The controls of `vmouse plug|unplug|event|dump`.
  bool plug(std::string& error) const;
  bool unplug(std::string& error) const;
  // The mouse is pulled out right after it has answered that many more commands (1..65535).
  bool unplugAfter(unsigned commands, std::string& error) const;
  bool sendEvent(std::uint8_t type, std::uint8_t value, std::string& error) const;
  std::optional<std::string> dump(std::string& error) const;

 private:
  std::unique_ptr<LoopbackSocket> connect(std::string& error) const;
  std::unique_ptr<LoopbackSocket> open(const vm::VirtualInterface& info) const;
  std::optional<vm::WireMessage> request(vm::Message type, std::span<const std::uint8_t> payload,
                                         std::string& error) const;

  VirtualEndpoint endpoint_;
};

}  // namespace ombrisk
