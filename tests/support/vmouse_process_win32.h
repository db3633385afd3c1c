// Starting vmouse.exe from a Windows program (the Wine tests and end-to-end tests), and
// ending it again.
//
//   std::string error;
//   auto mouse = VmouseProcess::start(L"--command-first", error);  // free port, waits until it serves
//   ... "--device=tcp:127.0.0.1:" + std::to_string(mouse->port()) ...
//   mouse.reset();  // ends vmouse.exe
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace ombrisk {

class VmouseProcess {
 public:
  // Runs `vmouse.exe serve --port P ARGUMENTS` (P a free loopback port) and waits until it
  // answers, at most timeoutMs. Null with a message in error when it does not.
  static std::unique_ptr<VmouseProcess> start(const std::wstring& arguments, std::string& error,
                                              DWORD timeoutMs = 20000);
  // The same on a given port (a restart on the port of an earlier one).
  static std::unique_ptr<VmouseProcess> startOnPort(std::uint16_t port,
                                                    const std::wstring& arguments,
                                                    std::string& error, DWORD timeoutMs = 20000);
  ~VmouseProcess();
  VmouseProcess(const VmouseProcess&) = delete;
  VmouseProcess& operator=(const VmouseProcess&) = delete;

  std::uint16_t port() const { return port_; }
  // Ends vmouse.exe at once, as if it crashed.
  void kill();
  // Stops every thread of vmouse.exe, as if it hung (its connections stay open, nothing is
  // answered), and lets it go on again. False when the system cannot.
  bool freeze();
  bool thaw();

  // vmouse.exe beside the running program or in the build tree's tools/vmouse folder
  // (searched upwards from the program's folder); empty when there is none.
  static std::wstring findExecutable();
  // A loopback port that nothing listens on right now.
  static std::uint16_t freePort();

 private:
  VmouseProcess(HANDLE process, std::uint16_t port) : process_(process), port_(port) {}
  HANDLE process_;
  std::uint16_t port_;
};

}  // namespace ombrisk
