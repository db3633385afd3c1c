#include "support/system_mouse_win32.h"

#include <setupapi.h>

#include <algorithm>
#include <cctype>

#include "device/hid_backend_win32.h"
#include "device/protocol_constants.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr wchar_t kBusService[] = L"ombrisk_vbus";
constexpr wchar_t kParametersKey[] = L"System\\CurrentControlSet\\Services\\ombrisk_vbus\\Parameters";
constexpr char kInstallHint[] =
    " (bash scripts/virtual-hid.sh install --prefix PREFIX --port 0 puts it into the prefix)";

DWORD busState() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  DWORD state = 0;
  if (SC_HANDLE service = OpenServiceW(manager, kBusService, SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status)) state = status.dwCurrentState;
    CloseServiceHandle(service);
  } else if (GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST) {
    state = ~DWORD{0};
  }
  CloseServiceHandle(manager);
  return state;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::vector<std::string> SystemMouse::interfacePaths() {
  std::vector<std::string> paths;
  HDEVINFO set = SetupDiGetClassDevsW(&kHidInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return paths;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA data{sizeof data};
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kHidInterfaceClass, index, &data)) break;
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
    std::vector<std::uint8_t> storage(std::max<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (SetupDiGetDeviceInterfaceDetailW(set, &data, detail, static_cast<DWORD>(storage.size()), nullptr, nullptr))
      paths.push_back(narrow(detail->DevicePath));
  }
  SetupDiDestroyDeviceInfoList(set);
  return paths;
}

int SystemMouse::mouseInterfaces() {
  const std::string ids = lower(std::string(kMouseInterfaceIds.view()));
  int count = 0;
  for (const std::string& path : interfacePaths())
    if (lower(path).find(ids) != std::string::npos) ++count;
  return count;
}

bool SystemMouse::waitForMouseInterfaces(int count, DWORD timeoutMs) {
  const DWORD begin = GetTickCount();
  while (mouseInterfaces() != count) {
    if (GetTickCount() - begin > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

bool SystemMouse::pointAt(std::uint16_t port) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kParametersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const DWORD value = port;
  const bool done = RegSetValueExW(key, L"Port", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return done;
}

std::unique_ptr<SystemMouse> SystemMouse::attach(std::uint16_t port, std::string& error, int interfaces) {
  // The system starts the bus with the session; a session that has just begun may still be
  // at it.
  DWORD state = busState();
  for (int wait = 0; state != SERVICE_RUNNING && state != ~DWORD{0} && wait < 200; ++wait) {
    Sleep(50);
    state = busState();
  }
  if (state == ~DWORD{0}) {
    error = std::string("the virtual HID device is not installed in this Wine prefix") + kInstallHint;
    return nullptr;
  }
  if (state != SERVICE_RUNNING) {
    error = "the virtual HID device's bus driver does not run in this session (state " + std::to_string(state) + ")";
    return nullptr;
  }
  if (!pointAt(port)) {
    error = "the virtual HID device could not be pointed at port " + std::to_string(port);
    return nullptr;
  }
  std::unique_ptr<SystemMouse> attached(new SystemMouse);
  if (!waitForMouseInterfaces(interfaces)) {
    error = "the system did not present " + std::to_string(interfaces) + " interfaces of the mouse (it presents " +
            std::to_string(mouseInterfaces()) + ")";
    return nullptr;  // the destructor points the device at nothing again
  }
  return attached;
}

SystemMouse::~SystemMouse() {
  pointAt(0);
  waitForMouseInterfaces(0);
}

}  // namespace ombrisk
