// vmouse as the mouse: its interfaces over loopback TCP, its event reports turned into
// overlapped-style reads, and its plug and unplug sent to the main window as the system's
// device-interface broadcasts.
#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "device/hid_backend_win32.h"
#include "device/protocol_constants.h"
#include "device/virtual/virtual_hid_system.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// How often the watch tries to reach a vmouse that is not (or no longer) there.
constexpr DWORD kReconnectMs = 250;
// How long registration waits for vmouse to tell whether the mouse is plugged in.
constexpr int kFirstPresenceMs = 1000;

// Reads of the event stream: a pump thread takes each report as vmouse pushes it and hands
// it to the read under way (or keeps it for the next), setting that read's event.
class VirtualEventReader final : public EventReaderWin32 {
 public:
  VirtualEventReader(std::shared_ptr<VirtualEventStream> stream, std::uint16_t length)
      : stream_(std::move(stream)),
        buffer_(std::max<std::size_t>(length, kEventBufferBytes)),
        done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        pump_([this] { pump(); }) {}
  ~VirtualEventReader() override {
    cancel();
    pump_.join();
    if (done_) CloseHandle(done_);
  }

  bool startRead() override {
    std::lock_guard lock(mutex_);
    if (reading_) return true;
    if (!done_ || (closed_ && queued_.empty())) return false;
    reading_ = true;
    completed_ = false;
    bytes_ = 0;
    ResetEvent(done_);
    if (!queued_.empty()) {
      complete(queued_.front());
      queued_.pop_front();
    }
    return true;
  }

  HANDLE readDone() const override { return done_; }

  std::span<const std::uint8_t> finishRead() override {
    std::unique_lock lock(mutex_);
    if (!reading_) return {};
    finished_.wait(lock, [this] { return completed_; });
    reading_ = false;
    return std::span<const std::uint8_t>(buffer_).first(bytes_);
  }

  void cancel() override {
    stream_->cancel();
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (reading_ && !completed_) complete({});
  }

 private:
  // Caller holds mutex_.
  void complete(const std::vector<std::uint8_t>& report) {
    bytes_ = std::min(report.size(), buffer_.size());
    std::copy_n(report.begin(), bytes_, buffer_.begin());
    completed_ = true;
    finished_.notify_all();
    SetEvent(done_);
  }

  void pump() {
    while (auto report = stream_->next()) {
      std::lock_guard lock(mutex_);
      if (reading_ && !completed_)
        complete(*report);
      else
        queued_.push_back(std::move(*report));
    }
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (reading_ && !completed_) complete({});
  }

  std::shared_ptr<VirtualEventStream> stream_;
  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<std::vector<std::uint8_t>> queued_;
  std::vector<std::uint8_t> buffer_;  // written only while a read is under way
  const HANDLE done_;
  bool reading_ = false;
  bool completed_ = false;
  bool closed_ = false;
  std::size_t bytes_ = 0;
  std::thread pump_;  // last: starts once the rest is ready
};

class VirtualBackend final : public HidBackendWin32, private VirtualHidSystem {
 public:
  explicit VirtualBackend(const VirtualEndpoint& endpoint)
      : VirtualHidSystem(endpoint), stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~VirtualBackend() override {
    stopNotifications();
    closeEventInterface();
    if (stopEvent_) CloseHandle(stopEvent_);
  }

  HidSystem& system() override { return *this; }

  bool registerNotifications(HWND window) override {
    if (watchThread_) return true;
    if (!stopEvent_) return false;
    window_ = window;
    stopping_ = false;
    ResetEvent(stopEvent_);
    // The state at registration is the one later changes are told against.
    watch_ = client().watchPresence();
    if (watch_) present_ = watch_->next(kFirstPresenceMs);
    if (!present_) watch_.reset();
    watchThread_ = CreateThread(nullptr, 0, &VirtualBackend::watchMain, this, 0, nullptr);
    return watchThread_ != nullptr;
  }

  void stopNotifications() override {
    if (!watchThread_) return;
    stopping_ = true;
    SetEvent(stopEvent_);
    {
      std::lock_guard lock(mutex_);
      if (watch_) watch_->cancel();
    }
    waitForThreadServingMessages(watchThread_);
    CloseHandle(watchThread_);
    watchThread_ = nullptr;
  }

 private:
  void eventInterfaceOpened(const std::shared_ptr<VirtualEventStream>& stream) override {
    publishEventReader(std::make_shared<VirtualEventReader>(
        stream, static_cast<std::uint16_t>(kEventReportLength)));
  }

  void closeEventInterface() override {
    VirtualHidSystem::closeEventInterface();
    dropEventReader();
  }

  static DWORD WINAPI watchMain(void* self) {
    static_cast<VirtualBackend*>(self)->watchLoop();
    return 0;
  }

  // Follows vmouse's plug and unplug; vmouse itself going away (its watch connection closing,
  // or falling silent when a hung or killed vmouse leaves it open) counts as an unplug, and
  // coming back plugged in as an arrival.
  void watchLoop() {
    bool present = present_.value_or(false);
    std::shared_ptr<VirtualPresenceWatch> watch;
    {
      std::lock_guard lock(mutex_);
      watch = watch_;
    }
    while (!stopping_) {
      if (!watch) {
        watch = client().watchPresence();
        std::lock_guard lock(mutex_);
        watch_ = watch;
      }
      if (stopping_) break;
      if (watch) {
        while (auto plugged = watch->next()) {
          if (present != *plugged) broadcast(*plugged);
          present = *plugged;
        }
        std::lock_guard lock(mutex_);
        watch_.reset();
        watch.reset();
      }
      if (stopping_) break;
      if (present) broadcast(false);
      present = false;
      WaitForSingleObject(stopEvent_, kReconnectMs);
    }
  }

  // The same broadcast the system sends for the mouse's command interface; it lives on this
  // stack for the whole synchronous send.
  void broadcast(bool arrival) {
    const std::wstring name = widen(vm::mouseInterfacePath(vm::MouseInterface::Command));
    const std::size_t chars = name.size() + 1;
    std::vector<std::uint8_t> storage(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + chars * sizeof(wchar_t), 0);
    auto* message = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    message->dbcc_size = static_cast<DWORD>(storage.size());
    message->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    message->dbcc_classguid = kHidInterfaceClass;
    std::copy_n(name.c_str(), chars, message->dbcc_name);
    SendMessageW(window_, WM_DEVICECHANGE, arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(message));
  }

  HWND window_ = nullptr;
  HANDLE watchThread_ = nullptr;
  std::atomic<bool> stopping_{false};
  const HANDLE stopEvent_;  // ends the wait between attempts to reach a vmouse that is gone
  std::mutex mutex_;  // guards watch_
  std::shared_ptr<VirtualPresenceWatch> watch_;
  std::optional<bool> present_;
};

}  // namespace

std::unique_ptr<HidBackendWin32> makeVirtualBackend(const VirtualEndpoint& endpoint) {
  return std::make_unique<VirtualBackend>(endpoint);
}

}  // namespace ombrisk
