#include <gtest/gtest.h>

#include <chrono>

#include "device/device_events.h"
#include "device/device_link.h"
#include "device/report_commands.h"
#include "device/virtual/virtual_hid_system.h"
#include "fake_command_port.h"
#include "vmouse/virtual_mouse_server.h"

namespace ombrisk {
namespace {

using testing::Bytes;

class RecordingListener final : public LinkListener {
 public:
  void notify(unsigned type, unsigned value) override { notes.push_back({type, value}); }
  void hideMainWindow() override { ++hidden; }
  void linkBecameReady() override { ++readySignals; }

  std::vector<std::pair<unsigned, unsigned>> notes;
  int hidden = 0;
  int readySignals = 0;
};

class RecordingMessages final : public MessageSink {
 public:
  void show(const std::string& text, const std::string& caption) override {
    shown.push_back(caption + ": " + text);
  }
  std::vector<std::string> shown;
};

class NoPause final : public Pauser {
 public:
  void pauseMs(unsigned) override {}
};

// A system whose interfaces are a table; each row is one enumerated interface.
class FakeHidSystem final : public HidSystem {
 public:
  struct Row {
    NextInterface next;
    std::string path;
    Probe probe;
    bool opens = true;
  };

  bool beginEnumeration() override {
    ++begun;
    return enumerates;
  }
  NextInterface interfaceAt(unsigned index, std::string& path) override {
    if (index >= rows.size()) return NextInterface::NoMore;
    path = rows[index].path;
    return rows[index].next;
  }
  void endEnumeration() override { ++ended; }
  Probe probe(const std::string& path) override {
    probed.push_back(path);
    return row(path).probe;
  }
  bool openEventInterface(const std::string& path, const HidCaps&) override {
    opened.push_back("event " + path);
    return row(path).opens;
  }
  void closeEventInterface() override { ++eventCloses; }
  std::unique_ptr<CommandPort> openCommandInterface(const std::string& path, const HidCaps&) override {
    opened.push_back("command " + path);
    if (!row(path).opens) return nullptr;
    return std::make_unique<testing::FakeCommandPort>();
  }

  const Row& row(const std::string& path) const {
    for (const Row& r : rows)
      if (r.path == path) return r;
    return rows.front();
  }

  bool enumerates = true;
  std::vector<Row> rows;
  std::vector<std::string> probed, opened;
  int begun = 0, ended = 0, eventCloses = 0;
};

const Probe kKeyboard{ProbeResult::OtherDevice, {}};
const Probe kEventInterface{ProbeResult::Mouse, {0xFF01, 0xFF01, 9, 0, 0}};
const Probe kCommandInterface{ProbeResult::Mouse, {0xFF00, 0xFF00, 33, 33, 9}};
const Probe kMouseMouseInterface{ProbeResult::Mouse, {0x0001, 0x0002, 8, 0, 0}};

struct SearchCase {
  const char* name;
  bool enumerates;
  std::vector<FakeHidSystem::Row> rows;
  bool found;
  std::vector<std::string> opened;
  std::vector<std::string> messages;
  DeviceLink::SearchEnd end;
};

TEST(FindDevice, FollowsTheEnumerationAndStopsAtTheCommandInterface) {
  using R = FakeHidSystem::Row;
  const R keyboard{NextInterface::Found, "kbd", kKeyboard};
  const R event{NextInterface::Found, "ev", kEventInterface};
  const R command{NextInterface::Found, "cmd", kCommandInterface};
  const R pointer{NextInterface::Found, "ptr", kMouseMouseInterface};
  using End = DeviceLink::SearchEnd;
  const SearchCase cases[] = {
      {"event first", true, {keyboard, event, command}, true, {"event ev", "command cmd"}, {}, End::Found},
      {"command first", true, {command, event}, true, {"command cmd"}, {}, End::Found},
      {"mouse's other usages skipped", true, {pointer, command}, true, {"command cmd"}, {}, End::Found},
      {"no mouse", true, {keyboard, pointer}, false, {}, {}, End::NoMouse},
      {"no enumeration", false, {command}, false, {}, {}, End::NoInterfaceSet},
      {"probe cannot open: the search ends", true,
       {keyboard, R{NextInterface::Found, "locked", {ProbeResult::NotOpened, {}}}, command}, false, {}, {}, End::NotOpened},
      {"detail fails", true, {keyboard, R{NextInterface::DetailFailed, "", {}}, command}, false, {},
       {"Ombrisk: SetupDiGetDeviceInterfaceDetail failed.\n"}, End::DetailFailed},
      {"preparsed data fails", true, {R{NextInterface::Found, "p", {ProbeResult::NoPreparsedData, {}}}},
       false, {}, {"Ombrisk: HidD_GetPreparsedData failed.\n"}, End::NoPreparsedData},
      {"caps fail", true, {R{NextInterface::Found, "c", {ProbeResult::NoCaps, {}}}}, false, {},
       {"Ombrisk: HidP_GetCaps failed."}, End::NoCaps},
      {"event interface does not open", true,
       {R{NextInterface::Found, "ev", kEventInterface, false}, command}, false, {"event ev"}, {}, End::EventNotOpened},
      {"command interface does not open", true,
       {event, R{NextInterface::Found, "cmd", kCommandInterface, false}}, false,
       {"event ev", "command cmd"}, {}, End::CommandNotOpened},
  };
  for (const SearchCase& c : cases) {
    FakeHidSystem system;
    system.enumerates = c.enumerates;
    system.rows = c.rows;
    NoPause pause;
    RecordingListener listener;
    RecordingMessages messages;
    DeviceLink link(system, pause, listener, messages, "Ombrisk");
    EXPECT_EQ(link.findDevice(), c.found) << c.name;
    EXPECT_EQ(system.opened, c.opened) << c.name;
    EXPECT_EQ(link.lastSearch(), c.end) << c.name;
    EXPECT_EQ(messages.shown, c.messages) << c.name;
    EXPECT_EQ(system.begun, 1) << c.name;
    EXPECT_EQ(system.ended, c.enumerates ? 1 : 0) << c.name << ": the set is freed";
    EXPECT_FALSE(link.linkReady()) << c.name << ": only the handshake makes the link ready";
    EXPECT_TRUE(listener.notes.empty()) << c.name;
  }
}

TEST(FindDevice, OnlyAnEventInterfaceBeforeTheCommandInterfaceIsRead) {
  FakeHidSystem system;
  system.rows = {{NextInterface::Found, "cmd", kCommandInterface},
                 {NextInterface::Found, "ev", kEventInterface}};
  NoPause pause;
  RecordingListener listener;
  RecordingMessages messages;
  DeviceLink link(system, pause, listener, messages, "Ombrisk");
  EXPECT_TRUE(link.findDevice());
  EXPECT_FALSE(link.eventInterfaceOpen());
  EXPECT_EQ(system.probed, std::vector<std::string>{"cmd"});

  std::swap(system.rows[0], system.rows[1]);
  EXPECT_TRUE(link.findDevice());
  EXPECT_TRUE(link.eventInterfaceOpen());
  EXPECT_EQ(link.eventLength(), 9);
  EXPECT_EQ(link.devicePath(), "cmd");
  EXPECT_EQ(system.eventCloses, 2) << "each search first closes what an earlier one opened";
}

// Wine's broadcasts write the ids in capitals and SetupAPI's paths in small letters; either
// (and a mix) names the mouse.
TEST(DeviceNames, TheMouseIdsMatchInAnyLetterCase) {
  const std::pair<const char*, bool> cases[] = {
      {"\\\\?\\HID#VID_04D9&PID_A09F&MI_01#7&2b4c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", true},
      {"\\\\?\\hid#Vid_04d9&Pid_a09f&mi_02#8&1", true},
      {"\\\\?\\hid#vid_04d9&pid_a09f&mi_02#8&1", true},
      {"\\\\?\\HID#VID_04D9&PID_A0A0#8&1", false},
      {"\\\\?\\HID#VID_046D&PID_C31C&MI_00#7&1f0e", false},
      {"VID_04D9&PID_A09", false},
      {"", false},
  };
  for (const auto& [name, matches] : cases) EXPECT_EQ(namesTheMouse(name), matches) << name;
}

TEST(DeviceEvents, OnlyReportSixWithCodes5789IsForwarded) {
  struct Case {
    Bytes report;
    std::optional<std::pair<unsigned, unsigned>> event;
  };
  const Case cases[] = {
      {{6, 7, 0, 2, 0, 0, 0, 0, 0}, std::pair{7u, 2u}},
      {{6, 5, 0, 8}, std::pair{5u, 8u}},
      {{6, 8, 9, 1, 0}, std::pair{8u, 1u}},
      {{6, 9, 0, 200, 0, 0, 0, 0, 0}, std::pair{9u, 200u}},
      {Bytes(40, 6), std::nullopt},  // code 6
      {{6, 14, 0, 0}, std::nullopt},
      {{6, 15, 0, 0}, std::nullopt},
      {{5, 7, 0, 2, 0, 0, 0, 0, 0}, std::nullopt},
      {{0, 7, 0, 2}, std::nullopt},
      {{6, 7, 0}, std::nullopt},  // too short to hold a value
      {{6}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto event = parseEventReport(c.report);
    ASSERT_EQ(event.has_value(), c.event.has_value()) << ::testing::PrintToString(c.report);
    if (event) {
      EXPECT_EQ(std::pair(event->type, event->value), *c.event);
    }
  }
}

// The link on a vmouse in this process.
class VirtualLinkTest : public ::testing::Test {
 protected:
  void start(VirtualMouseOptions options = {}) {
    std::string error, warning;
    server = VirtualMouseServer::start(options, error, warning);
    ASSERT_NE(server, nullptr) << error;
    system = std::make_unique<VirtualHidSystem>(VirtualEndpoint{"127.0.0.1", server->port()});
    link = std::make_unique<DeviceLink>(*system, pause, listener, messages, "Ombrisk");
  }

  std::string log() { return server->dumpJson().substr(server->dumpJson().find("\"log\"")); }

  std::unique_ptr<VirtualMouseServer> server;
  std::unique_ptr<VirtualHidSystem> system;
  NoPause pause;
  RecordingListener listener;
  RecordingMessages messages;
  std::unique_ptr<DeviceLink> link;
  DeviceImage image;
};

using Notes = std::vector<std::pair<unsigned, unsigned>>;

TEST_F(VirtualLinkTest, TheHandshakeMakesTheLinkReadyAndNotifies14) {
  start();
  link->connect();
  EXPECT_TRUE(link->linkReady());
  EXPECT_TRUE(link->protocol().scrambling());
  EXPECT_EQ(listener.notes, (Notes{{kEventLinkReady, 0}}));
  EXPECT_EQ(listener.readySignals, 1);
  EXPECT_TRUE(link->eventInterfaceOpen());
}

TEST_F(VirtualLinkTest, AMouseThatEchoesThePlainHandshakeIsNeverReady) {
  VirtualMouseOptions options;
  options.fault = FaultMode::PlainEcho;
  start(options);
  link->connect();
  EXPECT_FALSE(link->linkReady());
  EXPECT_EQ(listener.notes, (Notes{{kEventNoMouse, 0}}));
  EXPECT_EQ(listener.hidden, 0);
}

TEST_F(VirtualLinkTest, CommandFirstGivesAReadyLinkWithoutEvents) {
  VirtualMouseOptions options;
  options.commandFirst = true;
  start(options);
  link->connect();
  EXPECT_TRUE(link->linkReady());
  EXPECT_FALSE(link->eventInterfaceOpen());
  EXPECT_EQ(system->eventStream(), nullptr);
}

TEST_F(VirtualLinkTest, StartWithoutTheMouseThenPlugItIn) {
  start();
  server->unplug();
  link->connect();
  EXPECT_FALSE(link->linkReady());
  EXPECT_EQ(listener.notes, (Notes{{kEventNoMouse, 0}}));

  server->plug();
  EXPECT_TRUE(link->deviceArrived(image));
  EXPECT_TRUE(link->linkReady());
  EXPECT_EQ(listener.notes.back(), (std::pair{unsigned(kEventLinkReady), 0u}));
  // The sensor block at connection: read, bit 6 of option 2 set, written back.
  EXPECT_EQ(image.sensor, (std::array<std::uint8_t, 4>{0, 1, 0, 0x40}));
  EXPECT_NE(server->dumpJson().find("\"sensor\": [0,1,0,64]"), std::string::npos);

  // Event reads run: an event of the mouse reaches the open event interface.
  auto stream = system->eventStream();
  ASSERT_NE(stream, nullptr);
  server->sendEvent(kEventDpiStage, 2);
  const auto report = stream->next();
  ASSERT_TRUE(report.has_value());
  const auto event = parseEventReport(*report);
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->type, 7u);
  EXPECT_EQ(event->value, 2u);
}

TEST_F(VirtualLinkTest, RemovalWhileAnInterfaceRemainsRerunsTheHandshake) {
  start();
  link->connect();
  listener.notes.clear();
  link->deviceRemoved();  // vmouse still presents both interfaces
  EXPECT_TRUE(link->linkReady());
  EXPECT_EQ(listener.notes, (Notes{{kEventLinkReady, 0}}));
  EXPECT_EQ(listener.hidden, 0);
}

TEST_F(VirtualLinkTest, UnplugEndsTheLinkAndItsPort) {
  start();
  link->connect();
  listener.notes.clear();
  server->unplug();
  link->deviceRemoved();
  EXPECT_FALSE(link->linkReady());
  EXPECT_EQ(listener.notes, (Notes{{kEventNoMouse, 0}}));
  EXPECT_EQ(listener.hidden, 1);
  EXPECT_EQ(system->eventStream(), nullptr);
  Frame frame = makeFrame(0x83);
  EXPECT_FALSE(link->protocol().frameTransaction(frame));
}

TEST_F(VirtualLinkTest, AVmouseThatVanishesMidApplyCostsNoHang) {
  start();
  link->connect();
  ASSERT_TRUE(link->linkReady());
  server->stop();
  const auto begin = std::chrono::steady_clock::now();
  for (auto& macro : image.macros) macro.fill(1);
  writeMacros(link->protocol(), image);
  readMacros(link->protocol(), image);
  readFeatureBlocks(link->protocol(), image);
  const auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_LT(took, std::chrono::seconds(3));

  listener.notes.clear();
  link->deviceRemoved();
  EXPECT_FALSE(link->linkReady());
  EXPECT_EQ(listener.notes, (Notes{{kEventNoMouse, 0}}));
}

}  // namespace
}  // namespace ombrisk
