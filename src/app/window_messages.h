// The program's private window messages, in one place.
#pragma once

// DeviceNotifyMessage's event types belong to the device link, which sends them.
#include "device/device_events.h"

namespace ombrisk {

// lParam = the mouse message on the tray icon.
inline constexpr unsigned TrayNotifyMessage = 0x401;    // WM_USER + 1
// wParam = event type (14 link ready, 15 no usable mouse, 5/7/8/9 device events),
// lParam = the event's value.
inline constexpr unsigned DeviceNotifyMessage = 0x402;  // WM_USER + 2
// One recorded key press or release of the macro recorder.
inline constexpr unsigned WM_RECORDED_KEY = 0x403;      // WM_USER + 3
// The key name captured by the single-key and combo-key editors' hooks.
inline constexpr unsigned WM_SINGLE_KEY_NAME = 0xB04;
inline constexpr unsigned WM_COMBO_KEY_NAME = 0xB05;

// Registered by this name: the main window answers it with what the soak measures in the
// program (Wine reports no GDI counts, and the private bytes mix the heaps' live blocks with
// their free room): the GDI objects its own code has made and not yet deleted in the low 32
// bits, the KiB of live blocks in all its heaps in the high 32 bits.
inline constexpr wchar_t kResourceCountsMessageName[] = L"Ombrisk.ResourceCounts";
inline constexpr unsigned long long packResourceCounts(unsigned long gdiObjects, unsigned long heapKiB) {
  return static_cast<unsigned long long>(heapKiB) << 32 | gdiObjects;
}

// Menu and command identifiers of the main window.
inline constexpr unsigned kCommandExit = 1028;
inline constexpr unsigned kCommandMacroListMenu = 32772;

}  // namespace ombrisk
