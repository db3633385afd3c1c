#include "device/device_link.h"

#include "device/device_events.h"
#include "device/handshake.h"
#include "device/protocol_constants.h"
#include "device/report_commands.h"

namespace ombrisk {
namespace {

// Byte positions of a device event report.
constexpr std::size_t kEventCodeByte = 1;
constexpr std::size_t kEventValueByte = 3;

constexpr unsigned kForwardedEvents[] = {kEventReportRate, kEventDpiStage, kEventKeyMatrix,
                                         kEventMacro};

// The set of present interfaces, freed however the search ends.
class Enumeration {
 public:
  explicit Enumeration(HidSystem& system) : system_(system), open_(system.beginEnumeration()) {}
  ~Enumeration() {
    if (open_) system_.endEnumeration();
  }
  bool open() const { return open_; }

 private:
  HidSystem& system_;
  bool open_;
};

}  // namespace

std::optional<DeviceEvent> parseEventReport(std::span<const std::uint8_t> report) {
  if (report.size() <= kEventValueByte || report[0] != kEventReportId) return std::nullopt;
  for (unsigned type : kForwardedEvents)
    if (report[kEventCodeByte] == type) return DeviceEvent{type, report[kEventValueByte]};
  return std::nullopt;
}

bool namesTheMouse(std::string_view interfaceName) {
  // The system writes the ids in either case: Wine's broadcasts in capitals, SetupAPI's paths
  // in small letters, and Windows either way.
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  const std::string_view ids = kMouseInterfaceIds.view();
  for (std::size_t at = 0; at + ids.size() <= interfaceName.size(); ++at) {
    std::size_t n = 0;
    while (n < ids.size() && lower(interfaceName[at + n]) == lower(ids[n])) ++n;
    if (n == ids.size()) return true;
  }
  return false;
}

DeviceLink::DeviceLink(HidSystem& system, Pauser& pauser, LinkListener& listener,
                       MessageSink& messages, std::string appName)
    : system_(system),
      pauser_(pauser),
      listener_(listener),
      messages_(messages),
      appName_(std::move(appName)) {}

void DeviceLink::closeInterfaces() {
  port_.open.reset();
  system_.closeEventInterface();
  eventOpen_ = false;
}

void DeviceLink::close() {
  setLinkReady(false);
  closeInterfaces();
}

void DeviceLink::setLinkReady(bool ready) {
  ready_ = ready;
  if (ready) listener_.linkBecameReady();
}

bool DeviceLink::findDevice() {
  lastSearch_ = search();
  return lastSearch_ == SearchEnd::Found;
}

DeviceLink::SearchEnd DeviceLink::search() {
  // Handles of an earlier search belong to a mouse that may be gone.
  closeInterfaces();
  Enumeration enumeration(system_);
  if (!enumeration.open()) return SearchEnd::NoInterfaceSet;
  for (unsigned index = 0;; ++index) {
    std::string path;
    switch (system_.interfaceAt(index, path)) {
      case NextInterface::NoMore:
        return SearchEnd::NoMouse;
      case NextInterface::DetailFailed:
        messages_.show("SetupDiGetDeviceInterfaceDetail failed.\n", appName_);
        return SearchEnd::DetailFailed;
      case NextInterface::Found:
        break;
    }
    devicePath_ = path;
    const Probe probe = system_.probe(path);
    switch (probe.result) {
      case ProbeResult::NotOpened:
        return SearchEnd::NotOpened;
      case ProbeResult::OtherDevice:
        continue;
      case ProbeResult::NoPreparsedData:
        messages_.show("HidD_GetPreparsedData failed.\n", appName_);
        return SearchEnd::NoPreparsedData;
      case ProbeResult::NoCaps:
        messages_.show("HidP_GetCaps failed.", appName_);
        return SearchEnd::NoCaps;
      case ProbeResult::Mouse:
        break;
    }
    const HidCaps& caps = probe.caps;
    if (caps.usagePage == kEventUsagePage && caps.usage == kEventUsagePage && caps.inputLength != 0) {
      if (!system_.openEventInterface(path, caps)) return SearchEnd::EventNotOpened;
      eventLength_ = caps.inputLength;
      eventOpen_ = true;
    }
    if (caps.usagePage == kCommandUsagePage && caps.usage == kCommandUsagePage &&
        caps.featureLength != 0) {
      port_.open = system_.openCommandInterface(path, caps);
      return port_.open ? SearchEnd::Found : SearchEnd::CommandNotOpened;
    }
  }
}

std::string describeSearchEnd(DeviceLink::SearchEnd end, const std::string& path) {
  using End = DeviceLink::SearchEnd;
  switch (end) {
    case End::Found: return "the mouse was found";
    case End::NoInterfaceSet: return "the system gave no set of HID interfaces";
    case End::NoMouse: return "no mouse found";
    case End::DetailFailed: return "the system did not give the path of a HID interface";
    case End::NotOpened: return "the HID interface " + path + " could not be opened";
    case End::NoPreparsedData: return "the mouse's interface " + path + " gave no preparsed data";
    case End::NoCaps: return "the mouse's interface " + path + " gave no capabilities";
    case End::EventNotOpened: return "the mouse's event interface " + path + " could not be opened";
    case End::CommandNotOpened: return "the mouse's command interface " + path + " could not be opened";
  }
  return "the device search failed";
}

void DeviceLink::handshake() {
  if (runHandshake(protocol_, pauser_)) {
    listener_.notify(kEventLinkReady, 0);
    setLinkReady(true);
  } else {
    listener_.notify(kEventNoMouse, 0);
    setLinkReady(false);
  }
}

void DeviceLink::noMouse() {
  listener_.notify(kEventNoMouse, 0);
  listener_.hideMainWindow();
  setLinkReady(false);
}

void DeviceLink::connect() {
  if (findDevice()) {
    handshake();
  } else {
    listener_.notify(kEventNoMouse, 0);
    setLinkReady(false);
  }
}

bool DeviceLink::deviceArrived(DeviceImage& image) {
  if (!findDevice()) {
    noMouse();
    return false;
  }
  handshake();
  if (!ready_) return false;
  readSensorAtConnection(protocol_, image);
  return true;
}

void DeviceLink::deviceRemoved() {
  if (findDevice())
    handshake();
  else
    noMouse();
}

}  // namespace ombrisk
