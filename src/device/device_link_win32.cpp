// The Win32 device link: the portable DeviceLink on one of the two backends, with the read
// event, the reader thread and WM_DEVICECHANGE.
#include "device/device_link_win32.h"

#include <dbt.h>

#include <atomic>

#include "device/device_link.h"
#include "device/hid_backend_win32.h"
#include "device/pauser.h"
#include "util/message_box_win32.h"
#include "util/module_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// The interface name of a device-interface broadcast, read no further than the broadcast's
// own size says.
std::wstring_view broadcastName(const DEV_BROADCAST_DEVICEINTERFACE_W& broadcast) {
  const std::size_t offset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (broadcast.dbcc_size <= offset) return {};
  const std::size_t chars = (broadcast.dbcc_size - offset) / sizeof(wchar_t);
  std::wstring_view name(broadcast.dbcc_name, chars);
  return name.substr(0, name.find(L'\0'));
}

class LinkWin32 final : public Win32DeviceLink, private LinkListener {
 public:
  LinkWin32(std::unique_ptr<HidBackendWin32> backend, UINT notifyMessage,
            std::unique_ptr<MessageSink> messages)
      : backend_(std::move(backend)),
        notifyMessage_(notifyMessage),
        pauser_(makePlatformPauser()),
        messages_(messages ? std::move(messages) : makeMessageBoxSink()),
        core_(backend_->system(), *pauser_, *this, *messages_, narrow(applicationName())) {}
  ~LinkWin32() override { close(); }

  void setMainWindow(HWND window) override { window_ = window; }
  bool findDevice() override { return core_.findDevice(); }
  std::string lastSearch() const override {
    return describeSearchEnd(core_.lastSearch(), core_.devicePath());
  }
  void handshake() override { core_.handshake(); }
  bool linkReady() const override { return core_.linkReady(); }
  void setLinkReady(bool ready) override { core_.setLinkReady(ready); }

  bool createReadEvent() override {
    if (!readEvent_) readEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    backend_->setReadEvent(readEvent_);
    return readEvent_ != nullptr;
  }

  void startReaderThread() override {
    if (reader_ || !readEvent_) return;
    reader_ = CreateThread(nullptr, 0, &LinkWin32::readerMain, this, CREATE_SUSPENDED, nullptr);
    if (core_.linkReady()) letReaderRun();
  }

  bool registerForDeviceNotifications() override {
    return window_ && backend_->registerNotifications(window_);
  }

  LRESULT onDeviceChange(WPARAM wParam, LPARAM lParam, DeviceImage& image) override {
    if ((wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) || !lParam) return TRUE;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return TRUE;
    const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
    if (!namesTheMouse(narrow(broadcastName(*broadcast)))) return TRUE;
    if (wParam == DBT_DEVICEARRIVAL) {
      if (core_.deviceArrived(image)) letReaderRun();
    } else {
      core_.deviceRemoved();
    }
    return TRUE;
  }

  CommandProtocol& protocol() override { return core_.protocol(); }

  void close() override {
    backend_->stopNotifications();
    core_.close();
    if (reader_) {
      stopping_ = true;
      if (!readerRunning_) ResumeThread(reader_);
      if (readEvent_) SetEvent(readEvent_);
      waitForThreadServingMessages(reader_);
      CloseHandle(reader_);
      reader_ = nullptr;
    }
    if (readEvent_) {
      backend_->setReadEvent(nullptr);
      CloseHandle(readEvent_);
      readEvent_ = nullptr;
    }
  }

 private:
  // LinkListener
  void notify(unsigned type, unsigned value) override {
    if (window_) SendMessageW(window_, notifyMessage_, type, value);
  }
  void hideMainWindow() override {
    if (window_) ShowWindow(window_, SW_HIDE);
  }
  void linkBecameReady() override {
    if (readEvent_) SetEvent(readEvent_);
  }

  // Once running, the reader thread is never suspended again.
  void letReaderRun() {
    if (reader_ && !readerRunning_) {
      readerRunning_ = true;
      ResumeThread(reader_);
    }
  }

  static DWORD WINAPI readerMain(void* self) {
    static_cast<LinkWin32*>(self)->readEvents();
    return 0;
  }

  // Reads the event interface while the link is ready and forwards each device event to
  // the main window. It waits for the read under way and for the read event at once: the read
  // event only wakes it (a search, a handshake, close), and the read goes on unless the link
  // no longer wants it; then it is cancelled and reaped before the thread looks again. A
  // reader that goes reaps a read still under way. Whatever arrives (any length, any report
  // id) only ever fills the reader's buffer.
  void readEvents() {
    for (;;) {
      ResetEvent(readEvent_);
      // close() sets the flag before it signals, so a stop is never lost to the reset.
      if (stopping_) return;
      std::shared_ptr<EventReaderWin32> reader = backend_->eventReader();
      if (!core_.linkReady() || !reader || !reader->startRead()) {
        WaitForSingleObject(readEvent_, INFINITE);
        continue;
      }
      const HANDLE events[] = {reader->readDone(), readEvent_};
      if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        if (stopping_ || !core_.linkReady() || backend_->eventReader() != reader) {
          reader->cancel();
          reader->finishRead();
        }
        continue;
      }
      // A read that ends after the link went down brings nothing the window may show.
      const auto report = reader->finishRead();
      if (!core_.linkReady()) continue;
      if (auto event = parseEventReport(report))
        SendMessageW(window_, notifyMessage_, event->type, event->value);
    }
  }

  std::unique_ptr<HidBackendWin32> backend_;
  const UINT notifyMessage_;
  std::unique_ptr<Pauser> pauser_;
  std::unique_ptr<MessageSink> messages_;
  DeviceLink core_;
  HWND window_ = nullptr;
  HANDLE readEvent_ = nullptr;
  HANDLE reader_ = nullptr;
  bool readerRunning_ = false;
  std::atomic<bool> stopping_{false};
};

}  // namespace

std::unique_ptr<Win32DeviceLink> makeWin32DeviceLink(std::unique_ptr<HidBackendWin32> backend,
                                                     UINT notifyMessage,
                                                     std::unique_ptr<MessageSink> messages) {
  return std::make_unique<LinkWin32>(std::move(backend), notifyMessage, std::move(messages));
}

std::unique_ptr<Win32DeviceLink> Win32DeviceLink::create(std::wstring_view deviceOption,
                                                         UINT notifyMessage, std::string& error,
                                                         std::unique_ptr<MessageSink> messages) {
  if (deviceOption.empty())
    return makeWin32DeviceLink(makeSetupApiBackend(), notifyMessage, std::move(messages));
  auto endpoint = parseVirtualEndpoint(narrow(deviceOption), error);
  if (!endpoint) return nullptr;
  return makeWin32DeviceLink(makeVirtualBackend(*endpoint), notifyMessage, std::move(messages));
}

}  // namespace ombrisk
