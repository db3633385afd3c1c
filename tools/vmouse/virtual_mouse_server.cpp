#include "vmouse/virtual_mouse_server.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

#include "device/protocol_constants.h"
#include "device/virtual/loopback_socket.h"
#include "vmouse/mouse_state_file.h"

namespace ombrisk {
namespace {

using vm::Message;

// The longest a block read may ask vmouse to wait for an input report.
constexpr int kLongestInputWaitMs = 1000;
constexpr int kAcceptSliceMs = 100;

std::vector<std::uint8_t> oneByte(bool value) { return {static_cast<std::uint8_t>(value ? 1 : 0)}; }

class Server final : public VirtualMouseServer {
 public:
  Server(const VirtualMouseOptions& options, const MouseSettings& settings,
         std::unique_ptr<LoopbackListener> listener)
      : options_(options),
        model_(settings, options.fault),
        listener_(std::move(listener)),
        port_(listener_->port()) {
    acceptThread_ = std::thread([this] { acceptLoop(); });
    lateThread_ = std::thread([this] { lateLoop(); });
  }
  ~Server() override { stop(); }

  std::uint16_t port() const override { return port_; }

  void plug() override {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    model_.resetLink();
    tellWatchers();
  }

  void unplug() override {
    std::lock_guard lock(mutex_);
    unplugLocked();
  }

  void unplugAfter(unsigned commands) override {
    std::lock_guard lock(mutex_);
    if (commands == 0) unplugLocked();
    else commandsBeforeUnplug_ = commands;
  }

  void sendEvent(std::uint8_t type, std::uint8_t value) override {
    std::lock_guard lock(mutex_);
    if (!plugged_) return;
    std::vector<std::uint8_t> report(kEventReportLength, 0);
    report[0] = kEventReportId;
    report[1] = type;
    report[3] = value;
    for (auto& c : connections_)
      if (c->role == Role::Event) send(*c, Message::Report, report);
  }

  std::string dumpJson() override {
    std::lock_guard lock(mutex_);
    return model_.dumpJson(plugged_, commands_);
  }

  void stop() override {
    if (stopped_.exchange(true)) return;
    listener_->cancel();
    if (acceptThread_.joinable()) acceptThread_.join();
    {
      std::lock_guard lock(mutex_);  // the late loop is waiting or will see stopped_
    }
    lateWake_.notify_all();
    if (lateThread_.joinable()) lateThread_.join();
    listener_.reset();  // new connections are refused, as when the program has ended
    std::list<std::shared_ptr<Connection>> connections;
    {
      std::lock_guard lock(mutex_);
      for (auto& c : connections_) c->socket->cancel();
      connections.swap(connections_);
    }
    for (auto& c : connections)
      if (c->thread.joinable()) c->thread.join();
  }

 private:
  // CommandStream: a command interface handle that carries the mouse's input reports to the
  // host as they are sent.
  enum class Role { Unknown, Command, CommandStream, Event, Watch };

  struct Connection {
    std::unique_ptr<LoopbackSocket> socket;
    std::mutex sendMutex;
    Role role = Role::Unknown;  // guarded by the server's mutex
    std::thread thread;
    std::atomic<bool> done{false};
  };

  static void send(Connection& c, Message type, std::span<const std::uint8_t> payload = {}) {
    std::lock_guard lock(c.sendMutex);
    vm::sendMessage(*c.socket, type, payload);
  }

  // Caller holds mutex_.
  void unplugLocked() {
    commandsBeforeUnplug_.reset();
    if (!plugged_) return;
    plugged_ = false;
    model_.resetLink();
    // Handles on a removed device stop working, as the system's do.
    for (auto& c : connections_)
      if (c->role == Role::Command || c->role == Role::CommandStream || c->role == Role::Event)
        c->socket->cancel();
    tellWatchers();
  }

  // After a request on the command interface has been answered.
  void afterCommand() {
    std::lock_guard lock(mutex_);
    countCommandLocked();
  }

  // Caller holds mutex_.
  void countCommandLocked() {
    ++commands_;
    if (commandsBeforeUnplug_ && --*commandsBeforeUnplug_ == 0) unplugLocked();
  }

  // Caller holds mutex_. Sends the input reports the mouse has to send now to the hosts that
  // take them as they come; each counts as a command answered, as a block read's input report
  // does. Without such a host they wait in the model for the host's reads.
  void pushInputLocked() {
    const auto streaming = [this] {
      return std::any_of(connections_.begin(), connections_.end(),
                         [](const auto& c) { return c->role == Role::CommandStream; });
    };
    if (!streaming()) return;
    if (model_.lateInputOnItsWay() && !lateDue_) {
      lateDue_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLateAnswerMs);
      lateWake_.notify_all();
    }
    pushLocked(model_.sendInput());
  }

  // Caller holds mutex_.
  void pushLocked(const std::vector<std::vector<std::uint8_t>>& reports) {
    for (const auto& report : reports) {
      for (auto& c : connections_)
        if (c->role == Role::CommandStream) send(*c, Message::Report, report);
      countCommandLocked();
      if (!plugged_) return;
    }
  }

  // Sends a late answer once its time has come.
  void lateLoop() {
    std::unique_lock lock(mutex_);
    while (!stopped_) {
      if (!lateDue_) {
        lateWake_.wait(lock);
        continue;
      }
      if (lateWake_.wait_until(lock, *lateDue_) != std::cv_status::timeout) continue;
      lateDue_.reset();
      pushLocked(model_.lateInput());
    }
  }

  // Caller holds mutex_.
  void tellWatchers() {
    for (auto& c : connections_)
      if (c->role == Role::Watch) send(*c, Message::Presence, oneByte(plugged_));
  }

  // Caller holds mutex_.
  void saveIfChanged() {
    if (options_.stateFile.empty() || model_.revision() == savedRevision_) return;
    savedRevision_ = model_.revision();
    writeStateFile(options_.stateFile, model_.settings());
  }

  void acceptLoop() {
    auto lastTold = std::chrono::steady_clock::now();
    while (!stopped_) {
      std::unique_ptr<LoopbackSocket> socket = listener_->accept(kAcceptSliceMs);
      std::lock_guard lock(mutex_);
      reapFinished();
      const auto now = std::chrono::steady_clock::now();
      if (now - lastTold >= std::chrono::milliseconds(vm::kPresenceRepeatMs)) {
        tellWatchers();
        lastTold = now;
      }
      if (!socket || stopped_ || connections_.size() >= kMostConnections) continue;  // a refused one closes here
      auto c = std::make_shared<Connection>();
      c->socket = std::move(socket);
      connections_.push_back(c);
      c->thread = std::thread([this, c] { serve(*c); });
    }
  }

  // Caller holds mutex_.
  void reapFinished() {
    for (auto it = connections_.begin(); it != connections_.end();) {
      if ((*it)->done) {
        (*it)->thread.join();
        it = connections_.erase(it);
      } else {
        ++it;
      }
    }
  }

  void serve(Connection& c) {
    while (auto message = vm::receiveMessage(*c.socket, kWaitForever))
      if (!answer(c, *message)) break;
    c.done = true;
  }

  // Caller holds mutex_. The interface presented under path now, if any.
  std::optional<PresentedInterface> presentedLocked(const std::string& path) const {
    for (const PresentedInterface& i : presentedInterfaces(plugged_, options_.commandFirst))
      if (i.info.path == path) return i;
    return std::nullopt;
  }

  bool hasRole(Connection& c, Role role) {
    std::lock_guard lock(mutex_);
    return c.role == role;
  }

  // A stuck mouse takes the requests of its command interface that follow the handshake and
  // answers none of them. Caller holds mutex_.
  bool stuckLocked(const Connection& c) const { return c.role == Role::Command && !model_.answersHost(); }

  // One request; false ends the connection.
  bool answer(Connection& c, const vm::WireMessage& m) {
    const auto& p = m.payload;
    switch (m.type) {
      case Message::Enumerate: {
        std::vector<vm::VirtualInterface> interfaces;
        {
          std::lock_guard lock(mutex_);
          for (const PresentedInterface& i : presentedInterfaces(plugged_, options_.commandFirst))
            interfaces.push_back(i.info);
        }
        send(c, Message::Interfaces, vm::encodeInterfaces(interfaces));
        return true;
      }
      case Message::Open: {
        const std::string path(p.begin(), p.end());
        bool opened = false;
        {
          std::lock_guard lock(mutex_);
          const auto presented = presentedLocked(path);
          if (presented && c.role == Role::Unknown) {
            using InterfaceRole = PresentedInterface::Role;
            if (presented->role == InterfaceRole::Command) c.role = Role::Command;
            if (presented->role == InterfaceRole::Event) c.role = Role::Event;
            opened = c.role != Role::Unknown;
          }
        }
        send(c, Message::Result, oneByte(opened));
        return true;
      }
      case Message::Describe: {
        std::vector<std::uint8_t> descriptor;
        {
          std::lock_guard lock(mutex_);
          if (const auto presented = presentedLocked(std::string(p.begin(), p.end())))
            descriptor = reportDescriptor(*presented);
        }
        send(c, Message::Report, descriptor);
        return true;
      }
      case Message::StreamInput: {
        bool done = false;
        {
          std::lock_guard lock(mutex_);
          if (c.role == Role::Command) {
            c.role = Role::CommandStream;
            done = true;
            // What the mouse sent before the stream began goes to it too.
            pushInputLocked();
          }
        }
        send(c, Message::Result, oneByte(done));
        return true;
      }
      case Message::SetFeature:
      case Message::WriteOutput: {
        bool done = false;
        {
          std::lock_guard lock(mutex_);
          if (stuckLocked(c)) return true;
          if (c.role == Role::Command) {
            if (m.type == Message::SetFeature) model_.receiveFeature(p);
            else model_.receiveOutput(p);
            saveIfChanged();
            if (stuckLocked(c)) return true;  // the frame that came after the handshake
            pushInputLocked();
            done = true;
          }
        }
        send(c, Message::Result, oneByte(done));
        if (done) afterCommand();
        return true;
      }
      case Message::GetFeature: {
        if (p.size() < 2 || !hasRole(c, Role::Command)) return false;
        std::vector<std::uint8_t> report;
        {
          std::lock_guard lock(mutex_);
          if (stuckLocked(c)) return true;
          report = model_.answerFeature(vm::getU16(p, 0));
        }
        send(c, Message::Report, report);
        afterCommand();
        return true;
      }
      case Message::ReadInput: {
        if (p.size() < 4 || !hasRole(c, Role::Command)) return false;
        const std::size_t length = vm::getU16(p, 0);
        const int waitMs = std::min<int>(vm::getU16(p, 2), kLongestInputWaitMs);
        std::optional<std::vector<std::uint8_t>> report;
        {
          std::lock_guard lock(mutex_);
          if (stuckLocked(c)) return true;
          report = model_.takeInput(length);
        }
        // Nothing queued: wait as a device would, then report that nothing came.
        if (!report) std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        send(c, Message::Report, report ? *report : std::vector<std::uint8_t>{});
        afterCommand();
        return true;
      }
      case Message::FlushInput: {
        bool done = false;
        {
          std::lock_guard lock(mutex_);
          if (stuckLocked(c)) return true;
          if (c.role == Role::Command) {
            model_.discardInput();
            done = true;
          }
        }
        send(c, Message::Result, oneByte(done));
        if (done) afterCommand();
        return true;
      }
      case Message::Watch: {
        std::lock_guard lock(mutex_);
        if (c.role != Role::Unknown) return false;
        c.role = Role::Watch;
        send(c, Message::Presence, oneByte(plugged_));
        return true;
      }
      case Message::Plug:
        plug();
        send(c, Message::Result, oneByte(true));
        return true;
      case Message::Unplug:
        // A count: the mouse goes after that many more commands.
        if (p.size() >= 2) unplugAfter(vm::getU16(p, 0));
        else unplug();
        send(c, Message::Result, oneByte(true));
        return true;
      case Message::Event:
        if (p.size() < 2) return false;
        sendEvent(p[0], p[1]);
        send(c, Message::Result, oneByte(true));
        return true;
      case Message::Dump: {
        const std::string json = dumpJson();
        send(c, Message::Text, std::vector<std::uint8_t>(json.begin(), json.end()));
        return true;
      }
      default:
        return false;
    }
  }

  const VirtualMouseOptions options_;
  std::mutex mutex_;
  VirtualMouseModel model_;
  bool plugged_ = true;
  std::optional<unsigned> commandsBeforeUnplug_;  // an unplug armed by unplugAfter
  unsigned long long commands_ = 0;  // answered on the command interface
  unsigned savedRevision_ = 0;
  std::unique_ptr<LoopbackListener> listener_;
  const std::uint16_t port_;
  std::list<std::shared_ptr<Connection>> connections_;
  std::optional<std::chrono::steady_clock::time_point> lateDue_;  // a late answer's arrival
  std::condition_variable lateWake_;
  std::thread acceptThread_;
  std::thread lateThread_;
  std::atomic<bool> stopped_{false};
};

}  // namespace

std::unique_ptr<VirtualMouseServer> VirtualMouseServer::start(const VirtualMouseOptions& options,
                                                              std::string& error,
                                                              std::string& warning) {
  MouseSettings settings = factorySettings(options.sensorType.value_or(0));
  if (!options.stateFile.empty()) {
    if (auto bytes = readStateFile(options.stateFile)) {
      if (auto remembered = decodeSettings(*bytes)) {
        settings = *remembered;
        if (options.sensorType) settings.sensor[0] = *options.sensorType;
      } else {
        warning = "The state file " + options.stateFile +
                  " is not a vmouse state file; starting as a fresh mouse.";
      }
    }
  }
  auto listener = LoopbackListener::listen(options.port, error);
  if (!listener) return nullptr;
  return std::make_unique<Server>(options, settings, std::move(listener));
}

}  // namespace ombrisk
