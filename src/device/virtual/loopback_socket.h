// TCP on the loopback addresses only, for the virtual mouse and its clients. Two platform
// files implement it: loopback_socket_posix.cpp and loopback_socket_win32.cpp.
//
// Every wait is bounded or cancellable, so no caller can hang on a peer that vanished or
// stopped answering. A socket's waits block until data comes, the peer closes, the time is up
// or cancel() is called from another thread: an idle reader costs nothing. The listener (the
// server's) looks for a cancel between short waits.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace ombrisk {

inline constexpr int kWaitForever = -1;

class LoopbackSocket {
 public:
  explicit LoopbackSocket(std::intptr_t handle);
  ~LoopbackSocket();
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;

  bool sendAll(std::span<const std::uint8_t> bytes);
  // Exactly bytes.size() bytes within timeoutMs (kWaitForever: until they come, the peer
  // closes or cancel() is called). False on any of those.
  bool receiveAll(std::span<std::uint8_t> bytes, int timeoutMs);
  // Makes every present and future wait on this socket return false, from any thread, and
  // shuts the connection down, so the peer sees it closed.
  void cancel();
  bool cancelled() const { return cancelled_; }

 private:
  // Waits for readable data (or the peer closing); false on timeout or cancel.
  bool waitReadable(int timeoutMs);

  std::intptr_t handle_;
  std::atomic<bool> cancelled_{false};
  // Win32: the socket's network event (WSAEventSelect) and the event cancel() sets, which
  // a wait takes together. Unused elsewhere: shutting the socket down wakes poll().
  std::intptr_t networkEvent_ = 0;
  std::intptr_t cancelEvent_ = 0;
};

// Connects to host:port, where host is "127.0.0.1" or "::1" (anything else is refused with
// a message in error). Gives up after timeoutMs.
std::unique_ptr<LoopbackSocket> connectLoopback(const std::string& host, std::uint16_t port,
                                                int timeoutMs, std::string& error);

// Listens on 127.0.0.1 and, where the system has it, ::1, on one port.
class LoopbackListener {
 public:
  // port 0 picks a free port (see port()).
  static std::unique_ptr<LoopbackListener> listen(std::uint16_t port, std::string& error);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  std::uint16_t port() const { return port_; }
  // The next connection, or null after timeoutMs or once cancelled.
  std::unique_ptr<LoopbackSocket> accept(int timeoutMs);
  void cancel() { cancelled_ = true; }

 private:
  LoopbackListener() = default;
  std::intptr_t v4_ = -1;
  std::intptr_t v6_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> cancelled_{false};
};

}  // namespace ombrisk
