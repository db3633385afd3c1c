#include "device/virtual/virtual_mouse_wire.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "device/protocol_constants.h"

namespace ombrisk::vm {

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint16_t getU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

bool sendMessage(LoopbackSocket& socket, Message type, std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> message;
  message.reserve(5 + payload.size());
  message.push_back(static_cast<std::uint8_t>(type));
  const auto length = static_cast<std::uint32_t>(payload.size());
  for (int shift = 0; shift < 32; shift += 8) message.push_back(static_cast<std::uint8_t>(length >> shift));
  message.insert(message.end(), payload.begin(), payload.end());
  return socket.sendAll(message);
}

std::optional<WireMessage> readMessage(const ReceiveBytes& receive) {
  std::array<std::uint8_t, 5> header{};
  if (!receive(header, false)) return std::nullopt;
  const std::uint32_t length = header[1] | (header[2] << 8) | (header[3] << 16) |
                               (static_cast<std::uint32_t>(header[4]) << 24);
  if (length > kLongestPayload) return std::nullopt;
  WireMessage message{static_cast<Message>(header[0]), {}};
  constexpr std::size_t kPiece = 64 * 1024;
  while (message.payload.size() < length) {
    const std::size_t at = message.payload.size();
    const std::size_t count = std::min<std::size_t>(kPiece, length - at);
    message.payload.resize(at + count);
    if (!receive(std::span(message.payload).subspan(at, count), true)) return std::nullopt;
  }
  return message;
}

std::optional<WireMessage> receiveMessage(LoopbackSocket& socket, int timeoutMs) {
  // The rest of a message follows its header at once; a peer that stalls inside one is gone.
  constexpr int kRestOfMessageMs = 2000;
  std::optional<std::chrono::steady_clock::time_point> restDeadline;
  return readMessage([&](std::span<std::uint8_t> bytes, bool inMessage) {
    if (!inMessage) return socket.receiveAll(bytes, timeoutMs);
    using namespace std::chrono;
    if (!restDeadline) restDeadline = steady_clock::now() + milliseconds(timeoutMs < 0 ? kRestOfMessageMs : timeoutMs);
    const auto left = duration_cast<milliseconds>(*restDeadline - steady_clock::now()).count();
    return socket.receiveAll(bytes, static_cast<int>(std::max<decltype(left)>(left, 0)));
  });
}

std::optional<WireMessage> takeMessage(std::span<const std::uint8_t>& stream) {
  return readMessage([&](std::span<std::uint8_t> bytes, bool) {
    if (stream.size() < bytes.size()) return false;
    std::copy_n(stream.begin(), bytes.size(), bytes.begin());
    stream = stream.subspan(bytes.size());
    return true;
  });
}

std::string mouseInterfacePath(MouseInterface which, bool commandFirst) {
  const bool first = (which == MouseInterface::Event) != commandFirst;
  return "\\\\?\\HID#" + std::string(kMouseInterfaceIds.view()) +
         (first ? "&MI_01#7&2b4c6d8e&0&0000" : "&MI_02#7&2b4c6d8e&0&0001") +
         "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

std::vector<std::uint8_t> encodeInterfaces(const std::vector<VirtualInterface>& interfaces) {
  std::vector<std::uint8_t> out;
  out.push_back(static_cast<std::uint8_t>(interfaces.size()));
  for (const VirtualInterface& i : interfaces) {
    for (std::uint16_t value : {i.vendorId, i.productId, i.usagePage, i.usage, i.inputLength,
                                i.outputLength, i.featureLength})
      putU16(out, value);
    const std::size_t length = std::min<std::size_t>(i.path.size(), 255);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), i.path.begin(), i.path.begin() + static_cast<std::ptrdiff_t>(length));
  }
  return out;
}

std::optional<std::vector<VirtualInterface>> decodeInterfaces(std::span<const std::uint8_t> payload) {
  if (payload.empty()) return std::nullopt;
  std::vector<VirtualInterface> interfaces;
  std::size_t at = 1;
  for (std::size_t n = 0; n < payload[0]; ++n) {
    if (payload.size() < at + 15) return std::nullopt;
    VirtualInterface i;
    std::uint16_t* fields[] = {&i.vendorId, &i.productId, &i.usagePage, &i.usage,
                               &i.inputLength, &i.outputLength, &i.featureLength};
    for (std::uint16_t* field : fields) {
      *field = getU16(payload, at);
      at += 2;
    }
    const std::size_t length = payload[at++];
    if (payload.size() < at + length) return std::nullopt;
    i.path.assign(payload.begin() + static_cast<std::ptrdiff_t>(at),
                  payload.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
    interfaces.push_back(std::move(i));
  }
  if (at != payload.size()) return std::nullopt;
  return interfaces;
}

}  // namespace ombrisk::vm
