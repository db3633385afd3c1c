// The real mouse: SetupAPI enumeration of the HID interface class and the HID class driver.
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>
// The HID headers of MinGW-w64 declare C functions without extern "C".
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <algorithm>
#include <mutex>
#include <vector>

#include "device/hid_backend_win32.h"
#include "device/protocol_constants.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// {4D1E55B2-F16F-11CF-88CB-001111000030}

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The bound on each input report of a block read.
constexpr DWORD kInputReportWaitMs = 100;

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

// The command interface: feature reports and output reports on the synchronous handle; input
// reports on a second, overlapped handle so that each waits at most kInputReportWaitMs.
class HidCommandPort final : public CommandPort {
 public:
  HidCommandPort(HANDLE feature, HANDLE reads, ReportLengths lengths)
      : feature_(feature), reads_(reads), lengths_(lengths) {
    overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~HidCommandPort() override {
    if (overlapped_.hEvent) CloseHandle(overlapped_.hEvent);
  }

  ReportLengths lengths() const override { return lengths_; }
  bool setFeature(std::span<const std::uint8_t> report) override {
    std::vector<std::uint8_t> copy(report.begin(), report.end());
    return HidD_SetFeature(feature_.get(), copy.data(), static_cast<ULONG>(copy.size()));
  }
  bool getFeature(std::span<std::uint8_t> report) override {
    return HidD_GetFeature(feature_.get(), report.data(), static_cast<ULONG>(report.size()));
  }
  bool writeOutput(std::span<const std::uint8_t> report) override {
    DWORD written = 0;
    return WriteFile(feature_.get(), report.data(), static_cast<DWORD>(report.size()), &written,
                     nullptr) &&
           written == report.size();
  }
  bool readInput(std::span<std::uint8_t> report) override {
    if (!reads_.valid() || !overlapped_.hEvent) return false;
    std::vector<std::uint8_t> buffer(report.size(), 0);
    ResetEvent(overlapped_.hEvent);
    DWORD read = 0;
    if (!ReadFile(reads_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, &overlapped_)) {
      if (GetLastError() != ERROR_IO_PENDING) return false;
      if (WaitForSingleObject(overlapped_.hEvent, kInputReportWaitMs) != WAIT_OBJECT_0) CancelIo(reads_.get());
      if (!GetOverlappedResult(reads_.get(), &overlapped_, &read, TRUE)) return false;
    }
    if (read == 0) return false;
    std::copy_n(buffer.begin(), std::min<std::size_t>(read, report.size()), report.begin());
    return true;
  }
  bool discardInput() override { return reads_.valid() && HidD_FlushQueue(reads_.get()); }

 private:
  Handle feature_;
  Handle reads_;
  ReportLengths lengths_;
  OVERLAPPED overlapped_{};
};

// Overlapped reads of the event interface. The OVERLAPPED, its event and the buffer belong
// to the system from ReadFile until GetOverlappedResult has reaped the read, so a read is
// only ever started after the last one was reaped, and the reader reaps its read before it
// goes.
class HidEventReader final : public EventReaderWin32 {
 public:
  HidEventReader(HANDLE reads, HANDLE writes, std::uint16_t length)
      : reads_(reads),
        writes_(writes),
        buffer_(std::max<std::size_t>(length, kEventBufferBytes)),
        done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~HidEventReader() override {
    cancel();
    finishRead();
    if (done_) CloseHandle(done_);
  }

  bool startRead() override {
    if (pending_) return true;
    if (!done_ || !reads_.valid()) return false;
    overlapped_ = {};
    overlapped_.hEvent = done_;
    if (ReadFile(reads_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr, &overlapped_) ||
        GetLastError() == ERROR_IO_PENDING)
      pending_ = true;
    return pending_;
  }
  HANDLE readDone() const override { return done_; }
  std::span<const std::uint8_t> finishRead() override {
    if (!pending_) return {};
    DWORD read = 0;
    const bool done = GetOverlappedResult(reads_.get(), &overlapped_, &read, TRUE);
    pending_ = false;
    if (!done) return {};
    return std::span<const std::uint8_t>(buffer_).first(std::min<std::size_t>(read, buffer_.size()));
  }
  void cancel() override {
    if (reads_.valid()) CancelIoEx(reads_.get(), &overlapped_);
  }

 private:
  Handle reads_;
  Handle writes_;  // opened for writing as the mouse's driver expects; carries nothing
  std::vector<std::uint8_t> buffer_;
  HANDLE done_;
  OVERLAPPED overlapped_{};
  bool pending_ = false;  // a read is under way and not yet reaped
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
    HANDLE feature = openPath(path, GENERIC_READ | GENERIC_WRITE, 0);
    if (feature == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE reads = openPath(path, GENERIC_READ, FILE_FLAG_OVERLAPPED);
    return std::make_unique<HidCommandPort>(
        feature, reads, ReportLengths{caps.featureLength, caps.inputLength, caps.outputLength});
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
