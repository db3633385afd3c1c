// The system's HID interfaces as the device search needs them: enumeration of the HID
// interface class, each interface's attributes and capabilities, and opening the mouse's
// two interfaces. Backends: SetupAPI/HID (Win32) and vmouse (VirtualHidSystem); tests use
// fakes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/command_port.h"

namespace ombrisk {

struct HidCaps {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t inputLength = 0;
  std::uint16_t outputLength = 0;
  std::uint16_t featureLength = 0;
};

enum class NextInterface { Found, NoMore, DetailFailed };

enum class ProbeResult {
  NotOpened,        // the probe handle could not be opened
  OtherDevice,      // another vendor or product
  NoPreparsedData,  // the mouse, but its preparsed data could not be had
  NoCaps,           // the mouse, but its capabilities could not be read
  Mouse,            // the mouse, caps filled in
};

struct Probe {
  ProbeResult result = ProbeResult::NotOpened;
  HidCaps caps;
};

class HidSystem {
 public:
  virtual ~HidSystem() = default;

  // The set of present HID interfaces; false when the system cannot give it.
  virtual bool beginEnumeration() = 0;
  // Interface number index of the set, its path in path.
  virtual NextInterface interfaceAt(unsigned index, std::string& path) = 0;
  virtual void endEnumeration() = 0;

  // Opens the path without access rights, reads its attributes and, for the mouse, its
  // capabilities; closes it again.
  virtual Probe probe(const std::string& path) = 0;

  // The event interface, for overlapped reads; the backend keeps it (the reader thread
  // reads it) and signals the read event once it is open.
  virtual bool openEventInterface(const std::string& path, const HidCaps& caps) = 0;
  virtual void closeEventInterface() = 0;
  // The command interface; null when it cannot be opened.
  virtual std::unique_ptr<CommandPort> openCommandInterface(const std::string& path,
                                                            const HidCaps& caps) = 0;
};

}  // namespace ombrisk
