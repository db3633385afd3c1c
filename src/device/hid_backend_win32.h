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
#include "util/message_sink.h"
#include "device/virtual/virtual_mouse_client.h"

namespace ombrisk {

// The mouse's event reports fit in 40 bytes; a longer event interface gets its own length.
inline constexpr std::size_t kEventBufferBytes = 40;

// One open event interface, read one report at a time in the manner of overlapped I/O. At
// most one read is under way; its buffer and its completion event belong to the reader, so
// nothing but that read's completion sets the event, and the reader never goes (nor starts
// another read) before the read under way has ended and been reaped.
class EventReaderWin32 {
 public:
  virtual ~EventReaderWin32() = default;
  // Starts reading one report unless a read is already under way. False when no read is
  // under way afterwards (the interface is gone).
  virtual bool startRead() = 0;
  // The manual-reset event that the end of the read under way sets, and nothing else.
  virtual HANDLE readDone() const = 0;
  // Waits for the read under way to end (at once when readDone is set, soon after cancel)
  // and gives the report it brought: empty on failure or cancel, or with no read under way.
  virtual std::span<const std::uint8_t> finishRead() = 0;
  // Asks the read under way to end, from any thread; finishRead still reaps it.
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

  // The link's manual-reset read event. It only wakes the reader thread, which then looks at
  // the link again: it is set when the event interface opens or goes.
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
  // Drops the open event interface, ends a read under way on it and wakes the reader thread,
  // which reaps that read and lets the reader go.
  void dropEventReader() {
    std::shared_ptr<EventReaderWin32> old;
    {
      std::lock_guard lock(readerMutex_);
      old.swap(reader_);
    }
    if (old) old->cancel();
    if (readEvent_) SetEvent(readEvent_);
  }

 private:
  HANDLE readEvent_ = nullptr;
  std::mutex readerMutex_;
  std::shared_ptr<EventReaderWin32> reader_;
};

std::unique_ptr<HidBackendWin32> makeSetupApiBackend();
std::unique_ptr<HidBackendWin32> makeVirtualBackend(const VirtualEndpoint& endpoint);

// The real backend's reader of an event interface opened for overlapped reads (reads); writes
// is kept open beside it and may be invalid. Tests give it other overlapped handles.
std::shared_ptr<EventReaderWin32> makeOverlappedEventReader(HANDLE reads, HANDLE writes,
                                                            std::uint16_t length);

class Win32DeviceLink;
// The link on any backend (Win32DeviceLink::create picks one of the two; tests bring their own).
std::unique_ptr<Win32DeviceLink> makeWin32DeviceLink(std::unique_ptr<HidBackendWin32> backend,
                                                     UINT notifyMessage,
                                                     std::unique_ptr<MessageSink> messages = nullptr);

// Waits for a thread to end while serving the messages sent to the calling thread, so a
// thread that is inside SendMessage to this one can finish.
void waitForThreadServingMessages(HANDLE thread);

}  // namespace ombrisk
