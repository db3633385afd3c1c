// Winsock sockets for the MinGW-w64 tree.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

#include "device/virtual/loopback_socket.h"

namespace ombrisk {
namespace {

// Longest single wait of the listener, so that its cancel() is seen promptly.
constexpr int kSliceMs = 50;
// A full send buffer (rare on loopback) is waited out in steps of this length, so that the
// network event stays the receiving side's.
constexpr DWORD kSendRetryMs = 1;

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

void startWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

SOCKET raw(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

void setNoDelay(SOCKET s) {
  BOOL on = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

// Waits until one of the sockets is readable (read) or writable (!read); the index, or -1.
int waitSockets(const SOCKET* sockets, int count, bool read, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  for (int i = 0; i < count; ++i) FD_SET(sockets[i], &set);
  timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int ready = select(0, read ? &set : nullptr, read ? nullptr : &set, nullptr, &wait);
  if (ready <= 0) return -1;
  for (int i = 0; i < count; ++i)
    if (FD_ISSET(sockets[i], &set)) return i;
  return -1;
}

std::string systemError(int code) { return "error " + std::to_string(code); }

HANDLE event(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

// The socket reports its news (data, room to send, the peer closing) to its network event,
// which makes it non-blocking: a receive that finds nothing waits on that event and on the
// cancel event together, for as long as it may, and a recv() that finds nothing re-arms
// FD_READ, so data that comes in between still wakes the wait.
LoopbackSocket::LoopbackSocket(std::intptr_t handle)
    : handle_(handle),
      networkEvent_(reinterpret_cast<std::intptr_t>(WSACreateEvent())),
      cancelEvent_(reinterpret_cast<std::intptr_t>(CreateEventW(nullptr, TRUE, FALSE, nullptr))) {
  if (!networkEvent_ || !cancelEvent_ ||
      WSAEventSelect(raw(handle_), event(networkEvent_), FD_READ | FD_WRITE | FD_CLOSE) != 0)
    cancelled_ = true;  // cannot wait: fails like a closed connection
}

LoopbackSocket::~LoopbackSocket() {
  if (raw(handle_) != INVALID_SOCKET) closesocket(raw(handle_));
  if (networkEvent_) WSACloseEvent(event(networkEvent_));
  if (cancelEvent_) CloseHandle(event(cancelEvent_));
}

void LoopbackSocket::cancel() {
  cancelled_ = true;
  if (cancelEvent_) SetEvent(event(cancelEvent_));
  shutdown(raw(handle_), SD_BOTH);
}

bool LoopbackSocket::sendAll(std::span<const std::uint8_t> bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (cancelled_) return false;
    const int n = send(raw(handle_), reinterpret_cast<const char*>(bytes.data() + sent),
                       static_cast<int>(bytes.size() - sent), 0);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return false;
    WaitForSingleObject(event(cancelEvent_), kSendRetryMs);
  }
  return true;
}

bool LoopbackSocket::waitReadable(int timeoutMs) {
  const HANDLE events[] = {event(networkEvent_), event(cancelEvent_)};
  if (WaitForMultipleObjects(2, events, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs)) !=
      WAIT_OBJECT_0)
    return false;
  WSANETWORKEVENTS news;
  WSAEnumNetworkEvents(raw(handle_), event(networkEvent_), &news);  // resets the event
  return !cancelled_;
}

bool LoopbackSocket::receiveAll(std::span<std::uint8_t> bytes, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  std::size_t received = 0;
  while (received < bytes.size()) {
    if (cancelled_) return false;
    const int n = recv(raw(handle_), reinterpret_cast<char*>(bytes.data() + received),
                       static_cast<int>(bytes.size() - received), 0);
    if (n > 0) {
      received += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return false;  // closed, or broken
    if (!waitReadable(timeoutMs < 0 ? kWaitForever : remainingMs(deadline))) return false;
  }
  return true;
}

std::unique_ptr<LoopbackSocket> connectLoopback(const std::string& host, std::uint16_t port,
                                                int timeoutMs, std::string& error) {
  startWinsock();
  sockaddr_storage address{};
  int length = 0;
  if (host == "127.0.0.1") {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    length = sizeof *v4;
  } else if (host == "::1") {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    v6->sin6_addr = in6addr_loopback;
    length = sizeof *v6;
  } else {
    error = "The virtual mouse is reached on 127.0.0.1 or ::1 only, not on " + host + ".";
    return nullptr;
  }
  const SOCKET s = socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    error = "socket: " + systemError(WSAGetLastError());
    return nullptr;
  }
  // Closed on every way out until the connection stands.
  struct Pending {
    SOCKET s;
    ~Pending() {
      if (s != INVALID_SOCKET) closesocket(s);
    }
  } pending{s};
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  const std::string failure = "Cannot connect to the virtual mouse on port " + std::to_string(port);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) {
      error = failure + ": " + systemError(WSAGetLastError());
      return nullptr;
    }
    // A refused connection shows as an exception, a made one as writable.
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (select(0, nullptr, &writable, &failed, &wait) <= 0 || FD_ISSET(s, &failed)) {
      error = failure + ".";
      return nullptr;
    }
  }
  setNoDelay(s);
  pending.s = INVALID_SOCKET;
  return std::make_unique<LoopbackSocket>(static_cast<std::intptr_t>(s));
}

std::unique_ptr<LoopbackListener> LoopbackListener::listen(std::uint16_t port,
                                                           std::string& error) {
  startWinsock();
  std::unique_ptr<LoopbackListener> listener(new LoopbackListener);
  const SOCKET v4 = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (v4 == INVALID_SOCKET) {
    error = "socket: " + systemError(WSAGetLastError());
    return nullptr;
  }
  listener->v4_ = static_cast<std::intptr_t>(v4);
  // Exclusive use: a second vmouse on the same port must fail, not share it.
  BOOL on = TRUE;
  setsockopt(v4, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
  sockaddr_in a4{};
  a4.sin_family = AF_INET;
  a4.sin_port = htons(port);
  a4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(v4, reinterpret_cast<sockaddr*>(&a4), sizeof a4) != 0 || ::listen(v4, 16) != 0) {
    error = "Cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
            systemError(WSAGetLastError());
    return nullptr;
  }
  int length = sizeof a4;
  getsockname(v4, reinterpret_cast<sockaddr*>(&a4), &length);
  listener->port_ = ntohs(a4.sin_port);

  const SOCKET v6 = socket(AF_INET6, SOCK_STREAM, IPPROTO_TCP);
  if (v6 != INVALID_SOCKET) {
    setsockopt(v6, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in6 a6{};
    a6.sin6_family = AF_INET6;
    a6.sin6_port = htons(listener->port_);
    a6.sin6_addr = in6addr_loopback;
    if (bind(v6, reinterpret_cast<sockaddr*>(&a6), sizeof a6) == 0 && ::listen(v6, 16) == 0)
      listener->v6_ = static_cast<std::intptr_t>(v6);
    else
      closesocket(v6);
  }
  return listener;
}

LoopbackListener::~LoopbackListener() {
  if (v4_ != -1) closesocket(raw(v4_));
  if (v6_ != -1) closesocket(raw(v6_));
}

std::unique_ptr<LoopbackSocket> LoopbackListener::accept(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  SOCKET sockets[2] = {raw(v4_), raw(v6_)};
  const int count = v6_ != -1 ? 2 : 1;
  for (;;) {
    if (cancelled_) return nullptr;
    const int slice = timeoutMs < 0 ? kSliceMs : std::min(kSliceMs, remainingMs(deadline));
    const int ready = waitSockets(sockets, count, true, slice);
    if (ready >= 0) {
      const SOCKET s = ::accept(sockets[ready], nullptr, nullptr);
      if (s != INVALID_SOCKET) {
        setNoDelay(s);
        return std::make_unique<LoopbackSocket>(static_cast<std::intptr_t>(s));
      }
    }
    if (timeoutMs >= 0 && remainingMs(deadline) == 0) return nullptr;
  }
}

}  // namespace ombrisk
