// The messages between vmouse and its clients over loopback TCP. Each message is a type
// byte, a 32-bit little-endian payload length and the payload. A client connection does
// one job: enumerate, hold an open interface (command or event), watch for plug and
// unplug, or control vmouse (plug, unplug, event, dump).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/virtual/loopback_socket.h"
#include "device/virtual/vmouse_wire_ids.h"

namespace ombrisk::vm {

// The numbers are those of vmouse_wire_ids.h, which the virtual HID device's C code shares.
enum class Message : std::uint8_t {
  Enumerate = kVmEnumerate,      // -> Interfaces
  Interfaces = kVmInterfaces,    // count, then each interface (see encodeInterfaces)
  Open = kVmOpen,                // path -> Result; the connection then is that interface's handle
  Result = kVmResult,            // 1 byte: 1 = done, 0 = failed
  SetFeature = kVmSetFeature,    // report -> Result
  GetFeature = kVmGetFeature,    // u16 length -> Report
  WriteOutput = kVmWriteOutput,  // report -> Result
  ReadInput = kVmReadInput,      // u16 length, u16 wait in ms -> Report (empty: none came in time)
  Report = kVmReport,            // report bytes; on an event handle or input stream pushed by vmouse
  Watch = kVmWatch,              // -> Presence now, then Presence at each plug and unplug, and
                                 //    again every kPresenceRepeatMs while nothing changes
  Presence = kVmPresence,        // 1 byte: 1 = the mouse is plugged in
  Plug = kVmPlug,                // -> Result
  Unplug = kVmUnplug,            // [u16 commands: only after answering that many more] -> Result
  Event = kVmEvent,              // type, value -> Result
  Dump = kVmDump,                // -> Text
  Text = kVmText,                // UTF-8 text
  FlushInput = kVmFlushInput,    // -> Result; drops the input reports waiting for the host
  Describe = kVmDescribe,        // path -> Report: the interface's HID report descriptor (empty
                                 //    for a path vmouse does not present)
  StreamInput = kVmStreamInput,  // on an open command interface: -> Result; from then on vmouse
                                 //    pushes each input report (report id first) as a Report the
                                 //    moment the mouse sends it, for a host whose system keeps the
                                 //    input buffer (the virtual HID device); the connection takes
                                 //    no more requests
};

inline constexpr int kPresenceRepeatMs = kVmPresenceRepeatMs;
inline constexpr int kPresenceSilenceMs = kVmPresenceSilenceMs;

// Longest payload accepted; a larger announced length ends the connection.
inline constexpr std::uint32_t kLongestPayload = 16u << 20;

struct WireMessage {
  Message type{};
  std::vector<std::uint8_t> payload;
};

bool sendMessage(LoopbackSocket& socket, Message type, std::span<const std::uint8_t> payload = {});
// Null when nothing whole came within timeoutMs, the peer closed, or the length is absurd.
std::optional<WireMessage> receiveMessage(LoopbackSocket& socket, int timeoutMs);

// Fills bytes exactly from a byte stream, or fails (the stream ended or stalled). inMessage:
// the bytes are the rest of a message whose header has come.
using ReceiveBytes = std::function<bool(std::span<std::uint8_t> bytes, bool inMessage)>;
// How a message is cut out of the byte stream a peer sends: the header, then its payload,
// taken in pieces so that the memory held grows with what came rather than what the header
// announced. Null when the stream fails first or the announced length is absurd.
std::optional<WireMessage> readMessage(const ReceiveBytes& receive);
// The message at the front of stream, which is advanced past it; null as readMessage.
std::optional<WireMessage> takeMessage(std::span<const std::uint8_t>& stream);

// One HID interface as vmouse presents it.
struct VirtualInterface {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t inputLength = 0;
  std::uint16_t outputLength = 0;
  std::uint16_t featureLength = 0;

  bool operator==(const VirtualInterface&) const = default;
};

// The mouse's two interfaces as vmouse names them: as the system names the interfaces of a
// composite HID device, so that the device search and the device-change broadcasts take them
// for the real mouse's. The first of the two in the order the system enumerates them (by
// name) is interface 1, the event interface unless the command interface comes first.
enum class MouseInterface { Event, Command };
std::string mouseInterfacePath(MouseInterface which, bool commandFirst = false);

std::vector<std::uint8_t> encodeInterfaces(const std::vector<VirtualInterface>& interfaces);
// Null on a truncated or inconsistent payload.
std::optional<std::vector<VirtualInterface>> decodeInterfaces(std::span<const std::uint8_t> payload);

// Little-endian 16-bit values inside payloads.
void putU16(std::vector<std::uint8_t>& out, std::uint16_t value);
std::uint16_t getU16(std::span<const std::uint8_t> bytes, std::size_t at);

}  // namespace ombrisk::vm
