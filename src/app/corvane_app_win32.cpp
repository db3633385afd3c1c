#include "app/corvane_app_win32.h"

#include <commctrl.h>

#include "app/corvane_dlg_win32.h"
#include "app/window_messages.h"
#include "skin/png_win32.h"
#include "util/module_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// The system dialog class, whose copy the main window's template names.
constexpr ATOM kSystemDialogClass = 0x8002;

bool registerMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(nullptr, MAKEINTATOM(kSystemDialogClass), &windowClass)) return false;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kMainWindowClass;
  windowClass.lpszMenuName = nullptr;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int CCorvaneApp::run(HINSTANCE instance, const std::wstring& deviceOption) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
  InitCommonControlsEx(&controls);
  if (!registerMainWindowClass(instance)) return 0;
  const ImageDecoderUse decoder;

  std::string error;
  std::unique_ptr<Win32DeviceLink> link = Win32DeviceLink::create(deviceOption, DeviceNotifyMessage, error);
  if (!link) {
    MessageBoxW(nullptr, widen(error).c_str(), applicationName().c_str(), MB_OK);
    return 1;
  }
  CCorvaneDlg mainWindow(std::move(link));
  mainWindow.run();
  return 0;
}

}  // namespace ombrisk
