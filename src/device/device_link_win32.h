// The link to the mouse as the main window uses it: discovery, handshake, the reader thread
// and device arrival and removal. Backed by the real HID interfaces or by vmouse.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "device/command_protocol.h"
#include "device/device_image.h"
#include "util/message_sink.h"

namespace ombrisk {

class Win32DeviceLink {
 public:
  virtual ~Win32DeviceLink() = default;

  // deviceOption is the value of --device: empty for the real mouse, or
  // "tcp:127.0.0.1:PORT" / "tcp:[::1]:PORT" for vmouse. notifyMessage is the main window's
  // DeviceNotifyMessage: wParam an event type of device/device_events.h, lParam its value.
  // On a bad option returns null and sets error to a message for the user. messages takes
  // the search's failure messages (message boxes when null; a console tool writes them out).
  static std::unique_ptr<Win32DeviceLink> create(std::wstring_view deviceOption,
                                                 UINT notifyMessage, std::string& error,
                                                 std::unique_ptr<MessageSink> messages = nullptr);

  // Receiver of the notify message (sent synchronously) and of the device-change broadcasts.
  virtual void setMainWindow(HWND window) = 0;
  // Opens the mouse's interfaces; true when the command interface is open.
  virtual bool findDevice() = 0;
  // How the last search ended, in words ("no mouse found", the interface that failed, ...).
  virtual std::string lastSearch() const = 0;
  // Decides scrambling, sets linkReady and notifies kEventLinkReady or kEventNoMouse.
  virtual void handshake() = 0;
  virtual bool linkReady() const = 0;
  virtual void setLinkReady(bool ready) = 0;
  // The manual-reset read event; false when it cannot be created.
  virtual bool createReadEvent() = 0;
  // Creates the reader thread suspended; it runs at once if the link is ready, otherwise at
  // the first arrival that makes it ready.
  virtual void startReaderThread() = 0;
  // Device-interface notifications of the HID class for the main window.
  virtual bool registerForDeviceNotifications() = 0;
  // WM_DEVICECHANGE. On an arrival that makes the link ready, the sensor block is read into
  // image. Returns TRUE (handled) always.
  virtual LRESULT onDeviceChange(WPARAM wParam, LPARAM lParam, DeviceImage& image) = 0;
  // Commands; only while linkReady().
  virtual CommandProtocol& protocol() = 0;
  // Closes the handles and the read event (main window destroyed).
  virtual void close() = 0;
};

}  // namespace ombrisk
