// POSIX sockets for the native tree.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "device/virtual/loopback_socket.h"

namespace ombrisk {
namespace {

// Longest single wait of the listener, so that its cancel() is seen promptly.
constexpr int kSliceMs = 50;

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

void setNoDelay(int fd) {
  int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace

LoopbackSocket::LoopbackSocket(std::intptr_t handle) : handle_(handle) {}

LoopbackSocket::~LoopbackSocket() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

// Shutting the socket down wakes a poll() under way on it at once.
void LoopbackSocket::cancel() {
  cancelled_ = true;
  ::shutdown(static_cast<int>(handle_), SHUT_RDWR);
}

bool LoopbackSocket::sendAll(std::span<const std::uint8_t> bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (cancelled_) return false;
    const ssize_t n = ::send(static_cast<int>(handle_), bytes.data() + sent, bytes.size() - sent,
                             MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool LoopbackSocket::waitReadable(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (cancelled_) return false;
    pollfd entry{static_cast<int>(handle_), POLLIN, 0};
    const int ready = ::poll(&entry, 1, timeoutMs < 0 ? -1 : remainingMs(deadline));
    if (ready > 0) return !cancelled_;
    if (ready == 0 || errno != EINTR) return false;
  }
}

bool LoopbackSocket::receiveAll(std::span<std::uint8_t> bytes, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  std::size_t received = 0;
  while (received < bytes.size()) {
    if (!waitReadable(timeoutMs < 0 ? kWaitForever : remainingMs(deadline))) return false;
    const ssize_t n = ::recv(static_cast<int>(handle_), bytes.data() + received,
                             bytes.size() - received, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    received += static_cast<std::size_t>(n);
  }
  return true;
}

std::unique_ptr<LoopbackSocket> connectLoopback(const std::string& host, std::uint16_t port,
                                                int timeoutMs, std::string& error) {
  sockaddr_storage address{};
  socklen_t length = 0;
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
  const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return nullptr;
  }
  auto socket = std::make_unique<LoopbackSocket>(fd);  // closes fd on every way out
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    if (errno != EINPROGRESS) {
      error = "Cannot connect to the virtual mouse on port " + std::to_string(port) + ": " +
              std::strerror(errno);
      return nullptr;
    }
    pollfd entry{fd, POLLOUT, 0};
    int result = 0;
    socklen_t resultLength = sizeof result;
    if (::poll(&entry, 1, timeoutMs) <= 0 ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &resultLength) != 0 || result != 0) {
      error = "Cannot connect to the virtual mouse on port " + std::to_string(port) + ": " +
              std::strerror(result ? result : ETIMEDOUT);
      return nullptr;
    }
  }
  // Blocking from here on; every wait goes through poll.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  setNoDelay(fd);
  return socket;
}

std::unique_ptr<LoopbackListener> LoopbackListener::listen(std::uint16_t port,
                                                           std::string& error) {
  std::unique_ptr<LoopbackListener> listener(new LoopbackListener);
  const int v4 = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (v4 < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return nullptr;
  }
  listener->v4_ = v4;
  int on = 1;
  setsockopt(v4, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in a4{};
  a4.sin_family = AF_INET;
  a4.sin_port = htons(port);
  a4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(v4, reinterpret_cast<sockaddr*>(&a4), sizeof a4) != 0 || ::listen(v4, 16) != 0) {
    error = "Cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    return nullptr;
  }
  socklen_t length = sizeof a4;
  getsockname(v4, reinterpret_cast<sockaddr*>(&a4), &length);
  listener->port_ = ntohs(a4.sin_port);

  // ::1 on the same port where the system has IPv6; without it 127.0.0.1 serves alone.
  const int v6 = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (v6 >= 0) {
    setsockopt(v6, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(v6, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    sockaddr_in6 a6{};
    a6.sin6_family = AF_INET6;
    a6.sin6_port = htons(listener->port_);
    a6.sin6_addr = in6addr_loopback;
    if (::bind(v6, reinterpret_cast<sockaddr*>(&a6), sizeof a6) == 0 && ::listen(v6, 16) == 0)
      listener->v6_ = v6;
    else
      ::close(v6);
  }
  return listener;
}

LoopbackListener::~LoopbackListener() {
  if (v4_ >= 0) ::close(static_cast<int>(v4_));
  if (v6_ >= 0) ::close(static_cast<int>(v6_));
}

std::unique_ptr<LoopbackSocket> LoopbackListener::accept(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (cancelled_) return nullptr;
    pollfd entries[2] = {{static_cast<int>(v4_), POLLIN, 0}, {static_cast<int>(v6_), POLLIN, 0}};
    const nfds_t count = v6_ >= 0 ? 2 : 1;
    const int slice = timeoutMs < 0 ? kSliceMs : std::min(kSliceMs, remainingMs(deadline));
    const int ready = ::poll(entries, count, slice);
    if (ready > 0) {
      for (nfds_t i = 0; i < count; ++i) {
        if (!(entries[i].revents & POLLIN)) continue;
        const int fd = ::accept4(entries[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
          setNoDelay(fd);
          return std::make_unique<LoopbackSocket>(fd);
        }
      }
    }
    if (timeoutMs >= 0 && remainingMs(deadline) == 0) return nullptr;
  }
}

}  // namespace ombrisk
