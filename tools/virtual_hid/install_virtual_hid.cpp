// Puts the virtual HID mouse into the system, as a driver installer would, or takes it out:
//
//   install_virtual_hid.exe install PORT   (run beside ombrisk_vhid.inf and the two drivers)
//   install_virtual_hid.exe remove
//
// install points the bus at the vmouse on PORT (the bus follows a new port within a second),
// creates the root-enumerated bus device and installs its driver unless that is done
// already, and waits until the bus runs. remove takes the device out and its services off.
// Each failure names its step; exit status 0 done, 1 failed, 2 a wrong command line.
#include <windows.h>
#include <cfgmgr32.h>
#include <newdev.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kBusHardwareIds[] = L"ROOT\\OMBRISK_VBUS\0";  // a string list
constexpr wchar_t kBusInstance[] = L"ROOT\\OMBRISK_VBUS\\0000";
constexpr wchar_t kBusService[] = L"ombrisk_vbus";
constexpr wchar_t kHidService[] = L"ombrisk_vhid";
constexpr wchar_t kParametersKey[] = L"System\\CurrentControlSet\\Services\\ombrisk_vbus\\Parameters";
constexpr wchar_t kInfName[] = L"ombrisk_vhid.inf";
constexpr DWORD kStartWaitMs = 20000;

// {4d36e97d-e325-11ce-bfc1-08002be10318}: the System class of the bus device.
constexpr GUID kSystemClass = {0x4d36e97d, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

int fail(const char* step) {
  std::fprintf(stderr, "install_virtual_hid: %s failed (error %lu)\n", step, GetLastError());
  return 1;
}

bool setPort(DWORD port) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kParametersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool done = RegSetValueExW(key, L"Port", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port),
                                   sizeof port) == ERROR_SUCCESS;
  RegCloseKey(key);
  return done;
}

// Whether the bus device exists; a set holding it comes back in set when it does.
bool findBus(HDEVINFO& set, SP_DEVINFO_DATA& device) {
  set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
  if (set == INVALID_HANDLE_VALUE) return false;
  device = {sizeof device};
  if (SetupDiOpenDeviceInfoW(set, kBusInstance, nullptr, 0, &device)) return true;
  SetupDiDestroyDeviceInfoList(set);
  set = INVALID_HANDLE_VALUE;
  return false;
}

DWORD serviceState(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  DWORD state = 0;
  if (SC_HANDLE service = OpenServiceW(manager, name, SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status)) state = status.dwCurrentState;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return state;
}

bool waitUntilRunning(const wchar_t* name) {
  const DWORD begin = GetTickCount();
  while (serviceState(name) != SERVICE_RUNNING) {
    if (GetTickCount() - begin > kStartWaitMs) return false;
    Sleep(50);
  }
  return true;
}

std::wstring besideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

int install(DWORD port) {
  if (!setPort(port)) return fail("setting the vmouse port");
  HDEVINFO set;
  SP_DEVINFO_DATA device;
  if (findBus(set, device)) {
    SetupDiDestroyDeviceInfoList(set);
    // Done already: the bus follows the new port. In a session that has just begun, the
    // system may still be starting it.
    if (waitUntilRunning(kBusService)) return 0;
  } else {
    set = SetupDiCreateDeviceInfoList(&kSystemClass, nullptr);
    if (set == INVALID_HANDLE_VALUE) return fail("creating a device list");
    device = {sizeof device};
    if (!SetupDiCreateDeviceInfoW(set, kBusInstance, &kSystemClass, nullptr, nullptr, 0, &device)) {
      SetupDiDestroyDeviceInfoList(set);
      return fail("creating the bus device");
    }
    if (!SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID,
                                           reinterpret_cast<const BYTE*>(kBusHardwareIds),
                                           sizeof kBusHardwareIds)) {
      SetupDiDestroyDeviceInfoList(set);
      return fail("setting the bus device's hardware id");
    }
    if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
      SetupDiDestroyDeviceInfoList(set);
      return fail("registering the bus device");
    }
    SetupDiDestroyDeviceInfoList(set);
  }
  const std::wstring inf = besideThisProgram(kInfName);
  BOOL reboot = FALSE;
  if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, L"ROOT\\OMBRISK_VBUS", inf.c_str(),
                                          INSTALLFLAG_FORCE, &reboot))
    return fail("installing the drivers from ombrisk_vhid.inf");
  if (!waitUntilRunning(kBusService)) return fail("starting the bus driver");
  return 0;
}

void deleteService(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceW(manager, name, SERVICE_STOP | DELETE)) {
    SERVICE_STATUS status{};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

int remove() {
  setPort(0);  // a bus that stays loaded presents nothing
  HDEVINFO set;
  SP_DEVINFO_DATA device;
  if (findBus(set, device)) {
    const bool removed = SetupDiCallClassInstaller(DIF_REMOVE, set, &device);
    SetupDiDestroyDeviceInfoList(set);
    if (!removed) return fail("removing the bus device");
  }
  deleteService(kHidService);
  deleteService(kBusService);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && !std::wcscmp(argv[1], L"install")) {
    wchar_t* end = nullptr;
    const unsigned long port = std::wcstoul(argv[2], &end, 10);
    if (*end == 0 && port <= 65535) return install(port);
  }
  if (argc == 2 && !std::wcscmp(argv[1], L"remove")) return remove();
  std::fprintf(stderr, "usage: install_virtual_hid.exe install PORT | remove\n");
  return 2;
}
