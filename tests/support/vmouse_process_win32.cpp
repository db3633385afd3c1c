#include "support/vmouse_process_win32.h"

#include <winsock2.h>

#include <chrono>
#include <thread>

#include "device/virtual/loopback_socket.h"
#include "device/virtual/virtual_mouse_client.h"
#include "util/module_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

bool exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring VmouseProcess::findExecutable() {
  std::wstring folder = modulePath();
  for (int level = 0; level < 4; ++level) {
    const std::size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos) break;
    folder.resize(slash);
    for (const wchar_t* candidate : {L"\\vmouse.exe", L"\\tools\\vmouse\\vmouse.exe"})
      if (exists(folder + candidate)) return folder + candidate;
  }
  return {};
}

std::uint16_t VmouseProcess::freePort() {
  std::string error;
  auto listener = LoopbackListener::listen(0, error);
  return listener ? listener->port() : 0;
}

std::unique_ptr<VmouseProcess> VmouseProcess::start(const std::wstring& arguments, std::string& error,
                                                    DWORD timeoutMs) {
  const std::uint16_t port = freePort();
  if (!port) {
    error = "no free loopback port";
    return nullptr;
  }
  return startOnPort(port, arguments, error, timeoutMs);
}

std::unique_ptr<VmouseProcess> VmouseProcess::startOnPort(std::uint16_t port,
                                                          const std::wstring& arguments,
                                                          std::string& error, DWORD timeoutMs) {
  const std::wstring exe = findExecutable();
  if (exe.empty()) {
    error = "vmouse.exe not found near the program";
    return nullptr;
  }
  std::wstring commandLine = L"\"" + exe + L"\" serve --port " + std::to_wstring(port);
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &info)) {
    error = "CreateProcess failed for " + narrow(exe);
    return nullptr;
  }
  CloseHandle(info.hThread);
  std::unique_ptr<VmouseProcess> process(new VmouseProcess(info.hProcess, port));

  const VirtualMouseClient client({"127.0.0.1", port});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    std::string ignored;
    if (client.dump(ignored)) return process;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
      error = "vmouse.exe ended at start (port " + std::to_string(port) + " taken?)";
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  error = "vmouse.exe did not answer on port " + std::to_string(port);
  return nullptr;
}

void VmouseProcess::kill() {
  if (!process_) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
  process_ = nullptr;
}

namespace {
// NtSuspendProcess and NtResumeProcess: the whole process at once, as no documented call does.
bool callOnProcess(const char* name, HANDLE process) {
  using ProcessCall = LONG(NTAPI*)(HANDLE);
  const auto call = reinterpret_cast<ProcessCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
  return call && process && call(process) >= 0;
}
}  // namespace

bool VmouseProcess::freeze() { return callOnProcess("NtSuspendProcess", process_); }
bool VmouseProcess::thaw() { return callOnProcess("NtResumeProcess", process_); }

VmouseProcess::~VmouseProcess() {
  thaw();  // a frozen process would not end under Wine until it runs again
  kill();
}

}  // namespace ombrisk
