// The virtual mouse through the system's own HID stack: the virtual HID device that
// scripts/virtual-hid.sh installs into the test prefix presents what the vmouse it points at
// presents, so that the real backend (no --device) finds it as it finds a USB mouse.
//
//   auto mouse = VmouseProcess::start(L"", error);
//   auto attached = SystemMouse::attach(mouse->port(), error);  // waits for the interfaces
//   ... Ombrisk.exe, ombriskctl.exe or Win32DeviceLink::create(L"") ...
//   attached.reset();  // points the device at nothing; waits until the interfaces are gone
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ombrisk {

class SystemMouse {
 public:
  // Points the virtual HID device at the vmouse on port and waits until the system presents
  // the mouse's interfaces (interfaces of them: 2 for a mouse that is plugged in, 0 for one
  // that is not). Null with error naming the step that failed: the device not installed,
  // not running in this session, or the interfaces not presented in time.
  static std::unique_ptr<SystemMouse> attach(std::uint16_t port, std::string& error,
                                             int interfaces = 2);
  ~SystemMouse();
  SystemMouse(const SystemMouse&) = delete;
  SystemMouse& operator=(const SystemMouse&) = delete;

  // The paths of the HID interfaces the system presents now, in its order.
  static std::vector<std::string> interfacePaths();
  // How many of them are the mouse's.
  static int mouseInterfaces();
  // Waits until the system presents that many of the mouse's interfaces.
  static bool waitForMouseInterfaces(int count, DWORD timeoutMs = 20000);
  // Points the device at a port (0: at nothing); false when the registry refuses.
  static bool pointAt(std::uint16_t port);

 private:
  SystemMouse() = default;
};

}  // namespace ombrisk
