#include "device/virtual/virtual_mouse_client.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

using vm::Message;

constexpr int kConnectTimeoutMs = 1000;
// A reply takes this long at most, beyond any wait the request itself asks for; a vmouse
// that is stopped or hung costs one such timeout, after which its port stays failed.
constexpr int kReplyTimeoutMs = 1000;

// The command interface over one connection. The first failure (vmouse gone, unplugged,
// timed out) makes every later call fail at once, like a handle on a removed device.
class VirtualCommandPort final : public CommandPort {
 public:
  VirtualCommandPort(std::unique_ptr<LoopbackSocket> socket, ReportLengths lengths)
      : socket_(std::move(socket)), lengths_(lengths) {}

  ReportLengths lengths() const override { return lengths_; }

  bool setFeature(std::span<const std::uint8_t> report) override {
    return resultOf(exchange(Message::SetFeature, report, 0));
  }
  bool getFeature(std::span<std::uint8_t> report) override {
    return fill(exchange(Message::GetFeature, lengthPayload(report.size(), 0), 0), report);
  }
  bool writeOutput(std::span<const std::uint8_t> report) override {
    return resultOf(exchange(Message::WriteOutput, report, 0));
  }
  bool readInput(std::span<std::uint8_t> report) override {
    return fill(exchange(Message::ReadInput, lengthPayload(report.size(), kInputReportWaitMs),
                         kInputReportWaitMs),
                report);
  }
  bool discardInput() override { return resultOf(exchange(Message::FlushInput, {}, 0)); }

 private:
  static std::vector<std::uint8_t> lengthPayload(std::size_t length, int waitMs) {
    std::vector<std::uint8_t> payload;
    vm::putU16(payload, static_cast<std::uint16_t>(std::min<std::size_t>(length, 0xFFFF)));
    vm::putU16(payload, static_cast<std::uint16_t>(waitMs));
    return payload;
  }

  std::optional<vm::WireMessage> exchange(Message type, std::span<const std::uint8_t> payload,
                                          int waitMs) {
    if (broken_) return std::nullopt;
    std::optional<vm::WireMessage> reply;
    if (vm::sendMessage(*socket_, type, payload))
      reply = vm::receiveMessage(*socket_, waitMs + kReplyTimeoutMs);
    if (!reply) broken_ = true;
    return reply;
  }

  static bool resultOf(const std::optional<vm::WireMessage>& reply) {
    return reply && reply->type == Message::Result && reply->payload.size() == 1 &&
           reply->payload[0] == 1;
  }

  // Copies an answered report into the caller's buffer, never past its end.
  static bool fill(const std::optional<vm::WireMessage>& reply, std::span<std::uint8_t> report) {
    if (!reply || reply->type != Message::Report || reply->payload.empty()) return false;
    std::copy_n(reply->payload.begin(), std::min(reply->payload.size(), report.size()),
                report.begin());
    return true;
  }

  std::unique_ptr<LoopbackSocket> socket_;
  ReportLengths lengths_;
  bool broken_ = false;
};

bool parsePort(std::string_view text, std::uint16_t& port) {
  unsigned value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
    return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

bool isMouse(const vm::VirtualInterface& i) {
  return i.vendorId == kMouseVendorId && i.productId == kMouseProductId;
}

}  // namespace

std::optional<VirtualEndpoint> parseVirtualEndpoint(std::string_view option, std::string& error) {
  const std::string usage = "Use --device=tcp:127.0.0.1:PORT or --device=tcp:[::1]:PORT.";
  constexpr std::string_view kScheme = "tcp:";
  if (!option.starts_with(kScheme)) {
    error = "Unknown device \"" + std::string(option) + "\". " + usage;
    return std::nullopt;
  }
  std::string_view rest = option.substr(kScheme.size());
  std::string host;
  std::string_view portText;
  if (rest.starts_with("[")) {
    const std::size_t close = rest.find("]:");
    if (close == std::string_view::npos) {
      error = "Malformed device address \"" + std::string(rest) + "\". " + usage;
      return std::nullopt;
    }
    host = rest.substr(1, close - 1);
    portText = rest.substr(close + 2);
  } else {
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) {
      error = "The device address \"" + std::string(rest) + "\" has no port. " + usage;
      return std::nullopt;
    }
    host = rest.substr(0, colon);
    portText = rest.substr(colon + 1);
  }
  if (host == "localhost") host = "127.0.0.1";
  if (host != "127.0.0.1" && host != "::1") {
    error = "The virtual mouse is reached on this computer only (127.0.0.1 or ::1), not on \"" +
            host + "\".";
    return std::nullopt;
  }
  VirtualEndpoint endpoint{host, 0};
  if (!parsePort(portText, endpoint.port)) {
    error = "\"" + std::string(portText) + "\" is not a port number (1 to 65535).";
    return std::nullopt;
  }
  return endpoint;
}

std::optional<std::vector<std::uint8_t>> VirtualEventStream::next() {
  for (;;) {
    auto message = vm::receiveMessage(*socket_, kWaitForever);
    if (!message) return std::nullopt;
    if (message->type == Message::Report) return std::move(message->payload);
  }
}

std::optional<bool> VirtualPresenceWatch::next(int timeoutMs) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    int waitMs = vm::kPresenceSilenceMs;
    if (timeoutMs >= 0) {
      const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
      waitMs = static_cast<int>(std::clamp<decltype(left)>(left, 0, waitMs));
    }
    auto message = vm::receiveMessage(*socket_, waitMs);
    if (!message) return std::nullopt;
    if (message->type != Message::Presence || message->payload.size() != 1) continue;
    const bool plugged = message->payload[0] == 1;
    if (told_ == plugged) continue;  // vmouse repeating itself while nothing changes
    told_ = plugged;
    return plugged;
  }
}

std::unique_ptr<LoopbackSocket> VirtualMouseClient::connect(std::string& error) const {
  return connectLoopback(endpoint_.host, endpoint_.port, kConnectTimeoutMs, error);
}

std::optional<vm::WireMessage> VirtualMouseClient::request(Message type,
                                                           std::span<const std::uint8_t> payload,
                                                           std::string& error) const {
  auto socket = connect(error);
  if (!socket) return std::nullopt;
  if (!vm::sendMessage(*socket, type, payload)) {
    error = "The virtual mouse closed the connection.";
    return std::nullopt;
  }
  auto reply = vm::receiveMessage(*socket, kReplyTimeoutMs);
  if (!reply) error = "The virtual mouse did not answer.";
  return reply;
}

std::optional<std::vector<vm::VirtualInterface>> VirtualMouseClient::enumerate(
    std::string& error) const {
  auto reply = request(Message::Enumerate, {}, error);
  if (!reply) return std::nullopt;
  auto interfaces = reply->type == Message::Interfaces ? vm::decodeInterfaces(reply->payload)
                                                       : std::nullopt;
  if (!interfaces) error = "The virtual mouse sent a malformed interface list.";
  return interfaces;
}

std::unique_ptr<LoopbackSocket> VirtualMouseClient::open(const vm::VirtualInterface& info) const {
  std::string error;
  auto socket = connect(error);
  if (!socket) return nullptr;
  const std::vector<std::uint8_t> path(info.path.begin(), info.path.end());
  if (!vm::sendMessage(*socket, Message::Open, path)) return nullptr;
  auto reply = vm::receiveMessage(*socket, kReplyTimeoutMs);
  if (!reply || reply->type != Message::Result || reply->payload != std::vector<std::uint8_t>{1})
    return nullptr;
  return socket;
}

std::unique_ptr<CommandPort> VirtualMouseClient::openCommandInterface(
    const vm::VirtualInterface& info) const {
  auto socket = open(info);
  if (!socket) return nullptr;
  return std::make_unique<VirtualCommandPort>(
      std::move(socket), ReportLengths{info.featureLength, info.inputLength, info.outputLength});
}

std::unique_ptr<VirtualEventStream> VirtualMouseClient::openEventInterface(
    const vm::VirtualInterface& info) const {
  auto socket = open(info);
  if (!socket) return nullptr;
  return std::make_unique<VirtualEventStream>(std::move(socket));
}

std::unique_ptr<VirtualEventStream> VirtualMouseClient::openInputStream(
    const vm::VirtualInterface& info) const {
  auto socket = open(info);
  if (!socket || !vm::sendMessage(*socket, Message::StreamInput)) return nullptr;
  auto reply = vm::receiveMessage(*socket, kReplyTimeoutMs);
  if (!reply || reply->type != Message::Result || reply->payload != std::vector<std::uint8_t>{1})
    return nullptr;
  return std::make_unique<VirtualEventStream>(std::move(socket));
}

std::optional<std::vector<std::uint8_t>> VirtualMouseClient::describe(const std::string& path,
                                                                      std::string& error) const {
  const std::vector<std::uint8_t> payload(path.begin(), path.end());
  auto reply = request(Message::Describe, payload, error);
  if (!reply) return std::nullopt;
  if (reply->type != Message::Report) {
    error = "The virtual mouse sent no report descriptor.";
    return std::nullopt;
  }
  return std::move(reply->payload);
}

std::unique_ptr<VirtualPresenceWatch> VirtualMouseClient::watchPresence() const {
  std::string error;
  auto socket = connect(error);
  if (!socket || !vm::sendMessage(*socket, Message::Watch)) return nullptr;
  return std::make_unique<VirtualPresenceWatch>(std::move(socket));
}

std::unique_ptr<CommandPort> VirtualMouseClient::openMouseCommandPort(std::string& error) const {
  auto interfaces = enumerate(error);
  if (!interfaces) return nullptr;
  for (const auto& info : *interfaces) {
    if (!isMouse(info) || info.usagePage != kCommandUsagePage || info.usage != kCommandUsagePage)
      continue;
    if (auto port = openCommandInterface(info)) return port;
    error = "The virtual mouse refused to open its command interface.";
    return nullptr;
  }
  error = "The virtual mouse is unplugged.";
  return nullptr;
}

bool VirtualMouseClient::plug(std::string& error) const {
  auto reply = request(Message::Plug, {}, error);
  return reply && reply->type == Message::Result;
}

bool VirtualMouseClient::unplug(std::string& error) const {
  auto reply = request(Message::Unplug, {}, error);
  return reply && reply->type == Message::Result;
}

bool VirtualMouseClient::unplugAfter(unsigned commands, std::string& error) const {
  std::vector<std::uint8_t> payload;
  vm::putU16(payload, static_cast<std::uint16_t>(std::min(commands, 0xFFFFu)));
  auto reply = request(Message::Unplug, payload, error);
  return reply && reply->type == Message::Result;
}

bool VirtualMouseClient::sendEvent(std::uint8_t type, std::uint8_t value, std::string& error) const {
  const std::uint8_t payload[] = {type, value};
  auto reply = request(Message::Event, payload, error);
  return reply && reply->type == Message::Result;
}

std::optional<std::string> VirtualMouseClient::dump(std::string& error) const {
  auto reply = request(Message::Dump, {}, error);
  if (!reply || reply->type != Message::Text) return std::nullopt;
  return std::string(reply->payload.begin(), reply->payload.end());
}

}  // namespace ombrisk
