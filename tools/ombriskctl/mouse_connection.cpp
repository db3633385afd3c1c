#include "mouse_connection.h"

#include "device/handshake.h"
#include "device/pauser.h"
#include "device/virtual/virtual_mouse_client.h"

namespace ombrisk::ctl {
namespace {

class VirtualMouseConnection final : public MouseConnection {
 public:
  VirtualMouseConnection(std::unique_ptr<CommandPort> port, std::string description)
      : port_(std::move(port)), description_(std::move(description)) {}
  CommandProtocol& protocol() override { return protocol_; }
  std::string description() const override {
    return description_ + (protocol_.scrambling() ? ", frames scrambled" : ", frames plain");
  }

 private:
  std::unique_ptr<CommandPort> port_;
  std::unique_ptr<Pauser> pauser_ = makePlatformPauser();
  CommandProtocol protocol_{*port_, *pauser_};
  std::string description_;
};

}  // namespace

std::unique_ptr<MouseConnection> connectVirtualMouse(const std::string& deviceOption, std::string& error) {
  const auto endpoint = parseVirtualEndpoint(deviceOption, error);
  if (!endpoint) return nullptr;
  const VirtualMouseClient client(*endpoint);
  std::string reason;
  auto port = client.openMouseCommandPort(reason);
  if (!port) {
    error = "no mouse at " + deviceOption + (reason.empty() ? "" : ": " + reason);
    return nullptr;
  }
  auto connection = std::make_unique<VirtualMouseConnection>(std::move(port), "virtual mouse at " + deviceOption);
  const std::unique_ptr<Pauser> handshakePauser = makePlatformPauser();
  if (!runHandshake(connection->protocol(), *handshakePauser)) {
    error = "the mouse at " + deviceOption + " did not answer the handshake";
    return nullptr;
  }
  return connection;
}

}  // namespace ombrisk::ctl
