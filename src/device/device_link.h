// The device link without its window: the device search, the handshake with its
// notifications and LinkReady, and the reactions to arrival and removal of the mouse. The
// Win32 link wraps it with the window messages, the read event and the reader thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/command_protocol.h"
#include "device/device_image.h"
#include "device/hid_system.h"
#include "util/message_sink.h"

namespace ombrisk {

// What the link tells the main window.
class LinkListener {
 public:
  virtual ~LinkListener() = default;
  // DeviceNotifyMessage with wParam type and lParam value, sent synchronously.
  virtual void notify(unsigned type, unsigned value) = 0;
  virtual void hideMainWindow() = 0;
  // LinkReady went to 1: the reader thread must look again.
  virtual void linkBecameReady() = 0;
};

// A device event of the event interface: report id 6, code in byte 1, value in byte 3.
struct DeviceEvent {
  unsigned type;
  unsigned value;
};
// The event to forward for a report of n bytes; none for other report ids, other codes
// (only 5, 7, 8, 9 are forwarded) or a report too short to hold its value.
std::optional<DeviceEvent> parseEventReport(std::span<const std::uint8_t> report);

// Whether a device-interface name is one of the mouse's: it carries the mouse's ids
// ("VID_04D9&PID_A09F"), in capitals, small letters or any mix of the two.
bool namesTheMouse(std::string_view interfaceName);

class DeviceLink {
 public:
  // appName is the caption of the search's message boxes.
  DeviceLink(HidSystem& system, Pauser& pauser, LinkListener& listener, MessageSink& messages,
             std::string appName);

  // How the last search ended.
  enum class SearchEnd {
    Found,             // the command interface is open
    NoInterfaceSet,    // the system gave no set of present HID interfaces
    NoMouse,           // no interface of the mouse's ids and usages among them
    DetailFailed,      // an interface's path could not be had
    NotOpened,         // an interface could not be opened to look at it (the search ends there)
    NoPreparsedData,   // the mouse's, but no preparsed data
    NoCaps,            // the mouse's, but no capabilities
    EventNotOpened,    // the mouse's event interface could not be opened for reading
    CommandNotOpened,  // the mouse's command interface could not be opened
  };

  // Opens the mouse's interfaces (closing any that were open); true when the command
  // interface is open. The event interface is opened only if enumerated before it.
  bool findDevice();
  SearchEnd lastSearch() const { return lastSearch_; }
  // Sends DeviceNotifyMessage 14 and sets LinkReady, or 15 and clears it.
  void handshake();
  // At start: the search and, when it finds the mouse, the handshake; otherwise 15.
  void connect();
  // The mouse arrived: search, handshake and, once ready, the sensor block at connection.
  // True when the link is ready afterwards.
  bool deviceArrived(DeviceImage& image);
  // The mouse (or one of its interfaces) went: search again, handshake if still there.
  void deviceRemoved();

  bool linkReady() const { return ready_; }
  void setLinkReady(bool ready);
  bool eventInterfaceOpen() const { return eventOpen_; }
  std::uint16_t eventLength() const { return eventLength_; }
  const std::string& devicePath() const { return devicePath_; }
  CommandProtocol& protocol() { return protocol_; }
  // Closes both interfaces; the link is not ready.
  void close();

 private:
  // The protocol's port: whatever command interface is open now, failing when none is.
  class CurrentPort final : public CommandPort {
   public:
    std::unique_ptr<CommandPort> open;
    ReportLengths lengths() const override { return open ? open->lengths() : ReportLengths{}; }
    bool setFeature(std::span<const std::uint8_t> r) override { return open && open->setFeature(r); }
    bool getFeature(std::span<std::uint8_t> r) override { return open && open->getFeature(r); }
    bool writeOutput(std::span<const std::uint8_t> r) override { return open && open->writeOutput(r); }
    bool readInput(std::span<std::uint8_t> r) override { return open && open->readInput(r); }
    bool discardInput() override { return open && open->discardInput(); }
  };

  SearchEnd search();
  void closeInterfaces();
  void noMouse();

  HidSystem& system_;
  Pauser& pauser_;
  LinkListener& listener_;
  MessageSink& messages_;
  const std::string appName_;
  CurrentPort port_;
  CommandProtocol protocol_{port_, pauser_};
  std::string devicePath_;
  SearchEnd lastSearch_ = SearchEnd::NoMouse;
  std::atomic<bool> ready_{false};
  std::atomic<bool> eventOpen_{false};
  std::atomic<std::uint16_t> eventLength_{0};
};

// The end of a search in words, for a tool's one line on stderr (path: the interface looked
// at last).
std::string describeSearchEnd(DeviceLink::SearchEnd end, const std::string& path);

}  // namespace ombrisk
