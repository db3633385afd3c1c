// The mouse as ombriskctl reaches it: the virtual one over loopback TCP (every system), or
// the real HID one (Windows only, when no --device is given). Connecting runs the handshake.
#pragma once

#include <memory>
#include <string>

#include "device/command_protocol.h"

namespace ombrisk::ctl {

class MouseConnection {
 public:
  virtual ~MouseConnection() = default;
  // Ready for commands: the handshake has succeeded.
  virtual CommandProtocol& protocol() = 0;
  virtual std::string description() const = 0;
};

// deviceOption "tcp:127.0.0.1:PORT" (or "tcp:[::1]:PORT"). Null with a one-line error when
// the option is malformed, vmouse cannot be reached or has no mouse, or the handshake fails.
std::unique_ptr<MouseConnection> connectVirtualMouse(const std::string& deviceOption, std::string& error);
// The real mouse through the HID class driver; elsewhere than Windows always null with the
// error that only the virtual mouse is available.
std::unique_ptr<MouseConnection> connectRealMouse(std::string& error);

// The full path of the running executable ("" when the system does not say).
std::string executablePath();

}  // namespace ombrisk::ctl
