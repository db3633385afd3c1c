// The real mouse: SetupAPI enumeration of the HID interface class and the HID class driver.
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>
#include <winioctl.h>
// The HID headers of MinGW-w64 declare C functions without extern "C".
extern "C" {
#include <hidclass.h>
#include <hidsdi.h>
#include <hidpi.h>
}

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/hid_backend_win32.h"
#include "device/protocol_constants.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The bound on a feature or output report; a device that does not answer in this time is
// taken for gone (the class driver's own bound, where it has one, is the USB stack's 5 s).
constexpr DWORD kTransferWaitMs = 1000;
// The bound on each input report of a block read.
constexpr DWORD kInputReportWaitMs = 100;
// How long a cancelled transfer is given to end before it is left to the system.
constexpr DWORD kCancelWaitMs = 500;
// While dropping stale input: how long the next report of a full input buffer takes to
// reach a read that was just started.
constexpr DWORD kNextStaleReportMs = 2;
// More reports than any input buffer of the class driver holds (32 by default).
constexpr int kMostStaleReports = 600;

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE openPath(const std::string& path, DWORD access, DWORD flags) {
  return CreateFileW(widen(path).c_str(), access, kShareReadWrite, nullptr, OPEN_EXISTING, flags,
                     nullptr);
}

// One overlapped transfer: its buffer, OVERLAPPED and event belong to the system from the
// start until the transfer has ended. One that does not end even when cancelled is left to
// the system for good (abandon), so that nothing the system may still write to goes away.
class Transfer {
 public:
  explicit Transfer(std::size_t bytes) : buffer(bytes, 0) {
    overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~Transfer() {
    if (overlapped_.hEvent) CloseHandle(overlapped_.hEvent);
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  enum class State { Idle, UnderWay, Ended };

  bool ready() const { return overlapped_.hEvent != nullptr; }
  // Set when the transfer under way ends, and by nothing else.
  HANDLE event() const { return overlapped_.hEvent; }
  // Starts the transfer with start(buffer, overlapped); false when the system refused it.
  template <typename Start>
  bool begin(Start start) {
    // The system resets the event as the transfer begins.
    const HANDLE event = overlapped_.hEvent;
    overlapped_ = {};
    overlapped_.hEvent = event;
    if (!start(buffer.data(), &overlapped_) && GetLastError() != ERROR_IO_PENDING) return false;
    underWay_ = true;
    return true;
  }
  bool underWay() const { return underWay_; }
  // Waits up to milliseconds for the transfer under way to end; true when it has.
  bool wait(DWORD milliseconds) const {
    return !underWay_ || WaitForSingleObject(overlapped_.hEvent, milliseconds) == WAIT_OBJECT_0;
  }
  // Reaps a transfer that has ended: the bytes it moved, or nothing when it failed.
  std::optional<DWORD> reap(HANDLE handle) {
    DWORD bytes = 0;
    const bool done = GetOverlappedResult(handle, &overlapped_, &bytes, FALSE);
    underWay_ = false;
    if (!done) return std::nullopt;
    return bytes;
  }
  // Cancels the transfer under way; true once it has ended (and been reaped).
  bool cancel(HANDLE handle) {
    if (!underWay_) return true;
    CancelIoEx(handle, &overlapped_);
    if (!wait(kCancelWaitMs)) return false;
    reap(handle);
    return true;
  }

  std::vector<std::uint8_t> buffer;

 private:
  OVERLAPPED overlapped_{};
  bool underWay_ = false;
};

// Leaves a transfer that did not end to the system: it keeps its memory for good.
void abandon(std::unique_ptr<Transfer> transfer) { (void)transfer.release(); }

// The command interface on one overlapped handle: feature reports through the class driver's
// requests and output reports through writes, each bounded by kTransferWaitMs; input reports
// through one read that is always under way, so that the input that comes when no block
// read waits for it (a late answer) is seen and dropped before the next block read, also
// where the class driver cannot flush its input buffer. The first transfer that does not end
// in time breaks the port: every later call fails at once, like a handle on a removed device.
class HidCommandPort final : public CommandPort {
 public:
  HidCommandPort(HANDLE handle, ReportLengths lengths)
      : handle_(handle),
        lengths_(lengths),
        read_(std::make_unique<Transfer>(lengths.input)) {}
  ~HidCommandPort() override {
    if (read_ && !read_->cancel(handle_.get())) abandon(std::move(read_));
    if (transfer_ && !transfer_->cancel(handle_.get())) abandon(std::move(transfer_));
  }

  ReportLengths lengths() const override { return lengths_; }

  bool setFeature(std::span<const std::uint8_t> report) override {
    return transfer(report, [&](std::uint8_t* buffer, OVERLAPPED* o) {
      return DeviceIoControl(handle_.get(), IOCTL_HID_SET_FEATURE, buffer, static_cast<DWORD>(report.size()),
                             nullptr, 0, nullptr, o);
    }).has_value();
  }
  bool getFeature(std::span<std::uint8_t> report) override {
    // The report id goes in with the buffer; the class driver fills in the rest.
    const auto answer = transfer(report, [&](std::uint8_t* buffer, OVERLAPPED* o) {
      return DeviceIoControl(handle_.get(), IOCTL_HID_GET_FEATURE, nullptr, 0, buffer,
                             static_cast<DWORD>(report.size()), nullptr, o);
    });
    if (!answer) return false;
    std::copy(answer->begin(), answer->end(), report.begin());
    return true;
  }
  bool writeOutput(std::span<const std::uint8_t> report) override {
    DWORD written = 0;
    const bool done = transfer(report, [&](std::uint8_t* buffer, OVERLAPPED* o) {
      return WriteFile(handle_.get(), buffer, static_cast<DWORD>(report.size()), nullptr, o);
    }, &written).has_value();
    // Without report ids the class driver may count the data without the id byte.
    return done && written >= report.size() - (report.size() && report[0] == 0 ? 1 : 0);
  }

  bool readInput(std::span<std::uint8_t> report) override {
    if (!keepReading()) return false;
    if (!read_->wait(kInputReportWaitMs)) return false;  // the read goes on for the next one
    const auto bytes = read_->reap(handle_.get());
    const bool got = bytes && *bytes > 0;
    if (got) std::copy_n(read_->buffer.begin(), std::min<std::size_t>(*bytes, report.size()), report.begin());
    keepReading();
    return got;
  }

  bool discardInput() override {
    if (!keepReading()) return false;
    // Where the class driver can, it drops the reports it holds; the one a read under way has
    // taken (and, where it cannot flush, the rest) is dropped here.
    if (flushes_ && !HidD_FlushQueue(handle_.get())) flushes_ = false;  // asked once only
    DWORD nextMs = 0;
    for (int dropped = 0; dropped < kMostStaleReports; ++dropped) {
      if (!read_->wait(nextMs)) return true;  // nothing more waits
      read_->reap(handle_.get());
      if (!keepReading()) return false;
      nextMs = kNextStaleReportMs;
    }
    return false;  // input without end: no block read could be trusted
  }

 private:
  // Starts a read unless one is under way; false when the port cannot read.
  bool keepReading() {
    if (broken_ || !read_ || !read_->ready()) return false;
    if (read_->underWay()) return true;
    if (read_->begin([&](std::uint8_t* buffer, OVERLAPPED* o) {
          return ReadFile(handle_.get(), buffer, static_cast<DWORD>(read_->buffer.size()), nullptr, o);
        }))
      return true;
    broken_ = true;
    return false;
  }

  // One bounded transfer of a report-sized buffer that starts as report; its buffer when it
  // ended well.
  template <typename Start>
  std::optional<std::vector<std::uint8_t>> transfer(std::span<const std::uint8_t> report, Start start,
                                                    DWORD* moved = nullptr) {
    if (broken_) return std::nullopt;
    // One transfer's event and buffer serve every call: each one made anew costs the system
    // two more calls.
    if (!transfer_) transfer_ = std::make_unique<Transfer>(report.size());
    Transfer& t = *transfer_;
    if (!t.ready()) return std::nullopt;
    t.buffer.assign(report.begin(), report.end());
    if (!t.begin(start)) return std::nullopt;
    if (!t.wait(kTransferWaitMs)) {
      broken_ = true;
      if (!t.cancel(handle_.get())) abandon(std::move(transfer_));
      return std::nullopt;
    }
    const auto bytes = t.reap(handle_.get());
    if (!bytes) return std::nullopt;
    if (moved) *moved = *bytes;
    return t.buffer;
  }

  Handle handle_;
  ReportLengths lengths_;
  std::unique_ptr<Transfer> read_;
  std::unique_ptr<Transfer> transfer_;  // feature and output reports, one at a time
  bool broken_ = false;
  bool flushes_ = true;  // the class driver can flush its input buffer (Wine's cannot)
};

// Overlapped reads of the event interface, one report's length at a time (a class driver
// may give several queued reports to one longer read). The OVERLAPPED, its event and the
// buffer belong to the system from ReadFile until GetOverlappedResult has reaped the read, so
// a read is only ever started after the last one was reaped, and the reader reaps its read
// before it goes; one that does not end even when cancelled is left to the system.
class HidEventReader final : public EventReaderWin32 {
 public:
  HidEventReader(HANDLE reads, HANDLE writes, std::uint16_t length)
      : length_(length), reads_(reads), writes_(writes), read_(std::make_unique<Transfer>(length)) {}
  ~HidEventReader() override {
    if (!read_->cancel(reads_.get())) abandon(std::move(read_));
  }

  bool startRead() override {
    if (read_->underWay()) return true;
    cancelled_ = false;
    if (!read_->ready() || read_->buffer.empty() || !reads_.valid()) return false;
    return read_->begin([&](std::uint8_t* buffer, OVERLAPPED* o) {
      return ReadFile(reads_.get(), buffer, static_cast<DWORD>(read_->buffer.size()), nullptr, o);
    });
  }
  HANDLE readDone() const override { return read_->event(); }
  std::span<const std::uint8_t> finishRead() override {
    if (!read_->underWay()) return {};
    // A read that was asked to end gets the cancel's bound; one that does not end even then
    // is left to the system, and a fresh one takes its place.
    if (!read_->wait(cancelled_ ? kCancelWaitMs : INFINITE)) {
      abandon(std::move(read_));
      read_ = std::make_unique<Transfer>(length_);
      return {};
    }
    const auto bytes = read_->reap(reads_.get());
    if (!bytes) return {};
    return std::span<const std::uint8_t>(read_->buffer).first(std::min<std::size_t>(*bytes, read_->buffer.size()));
  }
  void cancel() override {
    cancelled_ = true;
    if (reads_.valid()) CancelIoEx(reads_.get(), nullptr);
  }

 private:
  std::size_t length_;
  std::atomic<bool> cancelled_{false};
  Handle reads_;
  Handle writes_;  // opened for writing as the mouse's driver expects; carries nothing
  std::unique_ptr<Transfer> read_;
};

class SetupApiBackend final : public HidBackendWin32, public HidSystem {
 public:
  ~SetupApiBackend() override {
    endEnumeration();
    stopNotifications();
  }

  HidSystem& system() override { return *this; }

  bool registerNotifications(HWND window) override {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    notification_ = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    return notification_ != nullptr;
  }
  void stopNotifications() override {
    if (notification_) UnregisterDeviceNotification(notification_);
    notification_ = nullptr;
  }

  bool beginEnumeration() override {
    endEnumeration();
    set_ = SetupDiGetClassDevsW(&kHidInterfaceClass, nullptr, nullptr,
                                DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    return set_ != INVALID_HANDLE_VALUE;
  }
  NextInterface interfaceAt(unsigned index, std::string& path) override {
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    if (!SetupDiEnumDeviceInterfaces(set_, nullptr, &kHidInterfaceClass, index, &data))
      return NextInterface::NoMore;
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set_, &data, nullptr, 0, &size, nullptr);
    std::vector<std::uint8_t> storage(std::max<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(set_, &data, detail, static_cast<DWORD>(storage.size()),
                                          nullptr, nullptr))
      return NextInterface::DetailFailed;
    path = narrow(detail->DevicePath);
    return NextInterface::Found;
  }
  void endEnumeration() override {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    set_ = INVALID_HANDLE_VALUE;
  }

  Probe probe(const std::string& path) override {
    Handle probe(openPath(path, 0, 0));
    if (!probe.valid()) return {};
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(probe.get(), &attributes) || attributes.VendorID != kMouseVendorId ||
        attributes.ProductID != kMouseProductId)
      return {ProbeResult::OtherDevice, {}};
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(probe.get(), &preparsed)) return {ProbeResult::NoPreparsedData, {}};
    probe.reset();
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status == HIDP_STATUS_INVALID_PREPARSED_DATA) return {ProbeResult::NoCaps, {}};
    return {ProbeResult::Mouse,
            {caps.UsagePage, caps.Usage, caps.InputReportByteLength, caps.OutputReportByteLength,
             caps.FeatureReportByteLength}};
  }

  bool openEventInterface(const std::string& path, const HidCaps& caps) override {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED;
    Handle reads(openPath(path, GENERIC_READ, flags));
    if (!reads.valid()) return false;
    Handle writes(openPath(path, GENERIC_WRITE, flags));
    if (!writes.valid()) return false;
    publishEventReader(makeOverlappedEventReader(reads.release(), writes.release(), caps.inputLength));
    return true;
  }
  void closeEventInterface() override { dropEventReader(); }

  std::unique_ptr<CommandPort> openCommandInterface(const std::string& path,
                                                    const HidCaps& caps) override {
    HANDLE handle = openPath(path, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_OVERLAPPED);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HidCommandPort>(
        handle, ReportLengths{caps.featureLength, caps.inputLength, caps.outputLength});
  }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  HDEVNOTIFY notification_ = nullptr;
};

}  // namespace

std::unique_ptr<HidBackendWin32> makeSetupApiBackend() { return std::make_unique<SetupApiBackend>(); }

std::shared_ptr<EventReaderWin32> makeOverlappedEventReader(HANDLE reads, HANDLE writes,
                                                            std::uint16_t length) {
  return std::make_shared<HidEventReader>(reads, writes, length);
}

void waitForThreadServingMessages(HANDLE thread) {
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
    if (result != WAIT_OBJECT_0 + 1) return;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace ombrisk
