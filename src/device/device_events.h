// What the device link reports to the main window: the wParam of DeviceNotifyMessage, with
// the event's value in lParam. 5, 7, 8 and 9 come from the mouse's event reports, 14 and 15
// from the search and the handshake.
#pragma once

namespace ombrisk {

enum DeviceEventType : unsigned {
  kEventReportRate = 5,
  kEventDpiStage = 7,
  kEventKeyMatrix = 8,
  kEventMacro = 9,
  kEventLinkReady = 14,
  kEventNoMouse = 15,
};

}  // namespace ombrisk
