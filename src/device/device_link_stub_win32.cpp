// Placeholder until the HID and virtual backends exist: a link that never finds a mouse.
#include "app/window_messages.h"
#include "device/device_link_win32.h"

namespace ombrisk {
namespace {

class NoPort final : public CommandPort {
 public:
  ReportLengths lengths() const override { return {}; }
  bool setFeature(std::span<const std::uint8_t>) override { return false; }
  bool getFeature(std::span<std::uint8_t>) override { return false; }
  bool writeOutput(std::span<const std::uint8_t>) override { return false; }
  bool readInput(std::span<std::uint8_t>) override { return false; }
};

class NoPause final : public Pauser {
 public:
  void pauseMs(unsigned) override {}
};

class NoMouseLink final : public Win32DeviceLink {
 public:
  void setMainWindow(HWND window) override { window_ = window; }
  bool findDevice() override { return false; }
  void handshake() override { SendMessageW(window_, DeviceNotifyMessage, kEventNoMouse, 0); }
  bool linkReady() const override { return false; }
  void setLinkReady(bool) override {}
  bool createReadEvent() override { return true; }
  void startReaderThread() override {}
  bool registerForDeviceNotifications() override { return true; }
  LRESULT onDeviceChange(WPARAM, LPARAM, DeviceImage&) override { return TRUE; }
  CommandProtocol& protocol() override { return protocol_; }
  void close() override {}

 private:
  HWND window_ = nullptr;
  NoPort port_;
  NoPause pause_;
  CommandProtocol protocol_{port_, pause_};
};

}  // namespace

std::unique_ptr<Win32DeviceLink> Win32DeviceLink::create(std::wstring_view, std::string&) {
  return std::make_unique<NoMouseLink>();
}

}  // namespace ombrisk
