// The two backends of the Win32 link: the system's HID interfaces (SetupAPI and HID) and
// vmouse over loopback TCP. Each gives the device search its HidSystem, the reader thread
// its event reads, and the main window its device-change notifications.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "device/hid_system.h"
#include "device/virtual/virtual_mouse_client.h"

namespace ombrisk {

// One open event interface, read one report at a time in the manner of overlapped I/O.
class EventReaderWin32 {
 public:
  virtual ~EventReaderWin32() = default;
  // The interface's input report length.
  virtual std::uint16_t length() const = 0;
  // Starts reading one report into buffer; readEvent is set when the read completes. False
  // when the read could not start (nothing will set the event for it).
  virtual bool startRead(std::span<std::uint8_t> buffer, HANDLE readEvent) = 0;
  // Waits for the started read to end; the bytes it brought (0 on failure or cancel).
  virtual std::size_t finishRead() = 0;
  // Ends a started read soon, from any thread.
  virtual void cancel() = 0;
};

// The HID interface class of device-interface enumeration and notifications.
inline constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

class HidBackendWin32 {
 public:
  virtual ~HidBackendWin32() = default;
  virtual HidSystem& system() = 0;
  // Device-interface notifications (WM_DEVICECHANGE) for window; false on failure.
  virtual bool registerNotifications(HWND window) = 0;
  // Ends them; waits for any notification under way, serving it if it is sent to the
  // calling thread.
  virtual void stopNotifications() = 0;

  // The link's manual-reset read event, signalled when the event interface opens.
  void setReadEvent(HANDLE readEvent) { readEvent_ = readEvent; }
  // The open event interface (shared with the reader thread), or null.
  std::shared_ptr<EventReaderWin32> eventReader() {
    std::lock_guard lock(readerMutex_);
    return reader_;
  }

 protected:
  // Makes reader the open event interface, then wakes the reader thread, which finds it.
  void publishEventReader(std::shared_ptr<EventReaderWin32> reader) {
    {
      std::lock_guard lock(readerMutex_);
      reader_ = std::move(reader);
    }
    if (readEvent_) SetEvent(readEvent_);
  }
  // Drops the open event interface and ends a read under way on it.
  void dropEventReader() {
    std::shared_ptr<EventReaderWin32> old;
    {
      std::lock_guard lock(readerMutex_);
      old.swap(reader_);
    }
    if (old) old->cancel();
  }

 private:
  HANDLE readEvent_ = nullptr;
  std::mutex readerMutex_;
  std::shared_ptr<EventReaderWin32> reader_;
};

std::unique_ptr<HidBackendWin32> makeSetupApiBackend();
std::unique_ptr<HidBackendWin32> makeVirtualBackend(const VirtualEndpoint& endpoint);

// Waits for a thread to end while serving the messages sent to the calling thread, so a
// thread that is inside SendMessage to this one can finish.
void waitForThreadServingMessages(HANDLE thread);

}  // namespace ombrisk
