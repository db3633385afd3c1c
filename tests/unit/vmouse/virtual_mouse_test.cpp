// The virtual mouse over loopback, driven through the utility's own protocol code.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "device/handshake.h"
#include "device/protocol_constants.h"
#include "device/report_commands.h"
#include "device/virtual/virtual_mouse_client.h"
#include "support/temp_folder.h"
#include "unit/device/fake_command_port.h"
#include "vmouse/mouse_state_file.h"
#include "vmouse/virtual_mouse_server.h"

namespace ombrisk {
namespace {

using testing::Bytes;

class NoPause final : public Pauser {
 public:
  void pauseMs(unsigned) override {}
};

// A running vmouse on a free port, its client, and an open command interface.
class VirtualMouse {
 public:
  explicit VirtualMouse(VirtualMouseOptions options = {}) {
    std::string error, warning;
    server = VirtualMouseServer::start(options, error, warning);
    EXPECT_NE(server, nullptr) << error;
    startWarning = warning;
    client = std::make_unique<VirtualMouseClient>(VirtualEndpoint{"127.0.0.1", server->port()});
  }

  std::unique_ptr<CommandPort> openPort() {
    std::string error;
    auto port = client->openMouseCommandPort(error);
    EXPECT_NE(port, nullptr) << error;
    return port;
  }

  std::string dump() {
    std::string error;
    return client->dump(error).value_or("");
  }

  std::unique_ptr<VirtualMouseServer> server;
  std::unique_ptr<VirtualMouseClient> client;
  std::string startWarning;
};

VirtualMouseOptions withFault(FaultMode fault) {
  VirtualMouseOptions options;
  options.fault = fault;
  return options;
}

// The JSON array that follows "key": in a dump.
std::string jsonField(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return "<missing>";
  const std::size_t start = at + key.size() + 4;
  return json.substr(start, json.find('\n', start) - start - (json[json.find('\n', start) - 1] == ',' ? 1 : 0));
}

TEST(VirtualMouse, AcceptsOnlyTheScrambledHandshakeAndLogsPlainFrames) {
  VirtualMouse mouse;
  auto port = mouse.openPort();
  ASSERT_NE(port, nullptr);
  NoPause pause;
  CommandProtocol protocol(*port, pause);
  EXPECT_TRUE(runHandshake(protocol, pause));
  EXPECT_TRUE(protocol.scrambling());

  DeviceImage image;
  readSensorBlock(protocol, image);
  EXPECT_EQ(image.sensor, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));

  const std::string json = mouse.dump();
  EXPECT_EQ(jsonField(json, "log"),
            "[\"00aadd3b620000db\", \"00aadd3b620000db\", \"830000000000007c\"]");
  EXPECT_EQ(jsonField(json, "scrambled"), "true");
}

TEST(VirtualMouse, APlainEchoMouseFailsTheHandshake) {
  VirtualMouse mouse(withFault(FaultMode::PlainEcho));
  auto port = mouse.openPort();
  NoPause pause;
  CommandProtocol protocol(*port, pause);
  EXPECT_FALSE(runHandshake(protocol, pause));
  EXPECT_EQ(jsonField(mouse.dump(), "log"), "[\"00aadd3b620000db\"]");
}

TEST(VirtualMouse, StoresEverythingWrittenAndAnswersReadsFromIt) {
  VirtualMouse mouse;
  auto port = mouse.openPort();
  NoPause pause;
  CommandProtocol protocol(*port, pause);
  ASSERT_TRUE(runHandshake(protocol, pause));

  DeviceImage sent;
  sent.reportInterval = 4;
  sent.sensor = {2, 9, 8, 7};
  sent.effect = {3, 1, 2};
  sent.lightSets = {{{1, 2, 3}, {4, 5, 6}}};
  for (std::size_t i = 0; i < 24; ++i) {
    sent.featureBlocks[0][i] = static_cast<std::uint8_t>(i);
    sent.featureBlocks[1][i] = static_cast<std::uint8_t>(0x80 + i);
  }
  sent.stageCount = 4;
  sent.stageCodes = {0x11, 0x22, 0x33, 0x44, 0, 0, 0, 0};
  sent.keyMatrices[0][0] = 0x04030201;
  sent.keyMatrices[3][15] = 0xA0B0C0D0;
  for (std::size_t k = 0; k < 12; ++k) sent.macros[k].fill(static_cast<std::uint8_t>(k + 1));
  sendReportInterval(protocol, sent);
  writeSensorBlock(protocol, sent);
  writeEffectBlock(protocol, sent);
  writeLightSets(protocol, sent);
  writeFeatureBlocks(protocol, sent);
  writeStageCodes(protocol, sent);
  writeKeyMatrices(protocol, sent);
  writeMacros(protocol, sent);

  DeviceImage read;
  readSensorBlock(protocol, read);
  readEffectBlock(protocol, read);
  readLightSets(protocol, read);
  readFeatureBlocks(protocol, read);
  readMacros(protocol, read);
  EXPECT_EQ(read.sensor, sent.sensor);
  EXPECT_EQ(read.effect, sent.effect);
  EXPECT_EQ(read.lightSets, sent.lightSets);
  EXPECT_EQ(read.featureBlocks, sent.featureBlocks);
  EXPECT_EQ(read.macros, sent.macros);

  const std::string json = mouse.dump();
  EXPECT_EQ(jsonField(json, "report_interval"), "4");
  EXPECT_EQ(jsonField(json, "sensor"), "[2,9,8,7]");
  EXPECT_EQ(jsonField(json, "effect"), "[3,1,2]");
  EXPECT_EQ(jsonField(json, "light_sets"), "[[1,2,3], [4,5,6]]");
  EXPECT_EQ(jsonField(json, "stage_count"), "4");
  EXPECT_EQ(jsonField(json, "stage_codes"), "[17,34,51,68,0,0,0,0]");
  const std::string matrices = jsonField(json, "key_matrices");
  EXPECT_EQ(matrices.substr(0, 12), "[\"0102030400");
  EXPECT_NE(matrices.find("d0c0b0a0\"]"), std::string::npos);
  std::string macro12;
  for (int i = 0; i < 128; ++i) macro12 += "0c";
  EXPECT_NE(jsonField(json, "macros").find(", \"" + macro12 + "\"]"), std::string::npos);
}

}  // namespace
}  // namespace ombrisk

namespace ombrisk {
namespace {

class NoPauseHere final : public Pauser {
 public:
  void pauseMs(unsigned) override {}
};

// A handshaken protocol on a fresh vmouse with the given options.
struct Session {
  explicit Session(VirtualMouseOptions options) : mouse(std::move(options)) {
    port = mouse.openPort();
    if (!port) return;
    protocol = std::make_unique<CommandProtocol>(*port, pause);
    ready = runHandshake(*protocol, pause);
  }
  VirtualMouse mouse;
  NoPauseHere pause;
  std::unique_ptr<CommandPort> port;
  std::unique_ptr<CommandProtocol> protocol;
  bool ready = false;
};

TEST(VirtualMouseState, TheStateFileRemembersAcrossRestarts) {
  testing::TempFolder folder;
  VirtualMouseOptions options;
  options.stateFile = folder.file("mouse.state");
  {
    Session first(options);
    ASSERT_TRUE(first.ready);
    DeviceImage image;
    image.reportInterval = 8;
    image.macros[4].fill(0x55);
    image.keyMatrices[1][3] = 0x11223344;
    sendReportInterval(*first.protocol, image);
    writeMacros(*first.protocol, image);
    writeKeyMatrices(*first.protocol, image);
  }
  options.sensorType = 2;
  Session second(options);
  ASSERT_TRUE(second.ready);
  EXPECT_TRUE(second.mouse.startWarning.empty());
  DeviceImage image;
  readMacros(*second.protocol, image);
  readSensorBlock(*second.protocol, image);
  MacroBlock fives;
  fives.fill(0x55);
  EXPECT_EQ(image.macros[4], fives);
  EXPECT_EQ(image.sensor[0], 2) << "--sensor overrides the remembered sensor type";
  const std::string json = second.mouse.dump();
  EXPECT_EQ(jsonField(json, "report_interval"), "8");
  EXPECT_TRUE(jsonField(json, "log").starts_with(
      "[\"00aadd3b620000db\", \"00aadd3b620000db\", \"930100000000006b\""))
      << "the log starts anew with each start: " << jsonField(json, "log").substr(0, 80);
  EXPECT_NE(jsonField(json, "key_matrices").find("\"00000000000000000000000044332211"),
            std::string::npos);
}

TEST(VirtualMouseState, ABrokenStateFileGivesAWarningAndAFreshMouse) {
  testing::TempFolder folder;
  VirtualMouseOptions options;
  options.stateFile = folder.file("mouse.state");
  for (const testing::Bytes& content :
       {testing::Bytes{}, testing::Bytes{'V', 'M', 'O', 'U', 'S', 'E', '1', '\n', 1, 2, 3},
        testing::Bytes(1938, 0xFF)}) {
    testing::writeBytes(options.stateFile, content);
    VirtualMouse mouse(options);
    EXPECT_NE(mouse.startWarning.find("not a vmouse state file"), std::string::npos);
    EXPECT_EQ(jsonField(mouse.dump(), "light_sets"), "[[255,0,0], [0,0,255]]");
  }
}

TEST(VirtualMouseState, SettingsSurviveTheirEncoding) {
  MouseSettings settings = factorySettings(3);
  settings.featureBlocks[1][23] = 0x99;
  settings.macros[11][127] = 0x42;
  const auto bytes = encodeSettings(settings);
  EXPECT_EQ(bytes.size(), 8u + 4 + 1 + 3 + 6 + 48 + 1 + 8 + 256 + 1536);
  EXPECT_EQ(decodeSettings(bytes), settings);
}

TEST(VirtualMouseFaults, AHostileMouseNeverGetsPastTheBlocks) {
  Session session(withFault(FaultMode::Hostile));
  ASSERT_TRUE(session.ready);
  DeviceImage image;
  image.lightSets = {{{1, 1, 1}, {2, 2, 2}}};
  image.featureBlocks[1].fill(3);
  for (auto& macro : image.macros) macro.fill(4);
  readLightSets(*session.protocol, image);
  readFeatureBlocks(*session.protocol, image);
  readMacros(*session.protocol, image);

  EXPECT_EQ(image.lightSets[1], (std::array<std::uint8_t, 3>{2, 2, 2})) << "index 0x81 dropped";
  std::array<std::uint8_t, 24> hostile24;
  hostile24.fill(0xEE);
  EXPECT_EQ(image.featureBlocks[0], hostile24) << "length 255 stops at 24 bytes";
  std::array<std::uint8_t, 24> threes;
  threes.fill(3);
  EXPECT_EQ(image.featureBlocks[1], threes);
  for (std::size_t number = 1; number <= 12; ++number) {
    MacroBlock expected;
    expected.fill(number % 2 ? 4 : 0xEE);
    EXPECT_EQ(image.macros[number - 1], expected) << "macro " << number;
  }
}

TEST(VirtualMouseFaults, ASilentMouseLeavesZerosAfterBoundedWaits) {
  Session session(withFault(FaultMode::Silent));
  ASSERT_TRUE(session.ready);
  DeviceImage image;
  image.featureBlocks[0].fill(7);
  readFeatureBlocks(*session.protocol, image);
  EXPECT_EQ(image.featureBlocks[0], (std::array<std::uint8_t, 24>{}));
  // The link still works afterwards.
  readSensorBlock(*session.protocol, image);
  EXPECT_EQ(image.sensor[1], 1);
}

// The late mouse answers the first block read one input report late: that read leaves
// zeros, and its block, still waiting when the next read begins, must not be taken for the
// next read's answer.
TEST(VirtualMouseFaults, ALateBlockLeavesZerosAndLaterBlockReadsGetTheirOwnBlocks) {
  Session session(withFault(FaultMode::Late));
  ASSERT_TRUE(session.ready);
  DeviceImage sent;
  sent.featureBlocks[0].fill(0xF0);
  sent.featureBlocks[1].fill(0xF1);
  for (std::size_t m = 0; m < sent.macros.size(); ++m)
    for (std::size_t i = 0; i < kMacroBlockSize; ++i)
      sent.macros[m][i] = static_cast<std::uint8_t>(16 * m + i / 32);  // macro and block
  writeFeatureBlocks(*session.protocol, sent);
  writeMacros(*session.protocol, sent);

  DeviceImage read;
  readFeatureBlocks(*session.protocol, read);
  readMacros(*session.protocol, read);
  EXPECT_EQ(read.featureBlocks[0], (std::array<std::uint8_t, 24>{})) << "its answer came late";
  EXPECT_EQ(read.featureBlocks[1], sent.featureBlocks[1]);
  for (std::size_t m = 0; m < sent.macros.size(); ++m)
    EXPECT_EQ(read.macros[m], sent.macros[m]) << "macro " << m + 1;
}

TEST(VirtualMouseFaults, FramesWithAWrongChecksumAreLoggedButNotStored) {
  VirtualMouse mouse;
  auto port = mouse.openPort();
  ASSERT_NE(port, nullptr);
  // Unscrambled (no handshake): report interval 4 with checksum 0.
  EXPECT_TRUE(port->setFeature(Bytes{0x00, 0x01, 0x04, 0, 0, 0, 0, 0, 0x00}));
  const std::string json = mouse.dump();
  EXPECT_EQ(jsonField(json, "report_interval"), "1");
  EXPECT_EQ(jsonField(json, "log"), "[\"0104000000000000\"]");
}

// A local client may send frames without end: the server keeps the newest ones and counts all.
TEST(VirtualMouseFaults, TheFrameLogKeepsTheNewestFramesAndCountsAll) {
  VirtualMouseModel mouse(factorySettings(0), FaultMode::None);
  const std::size_t sent = VirtualMouseModel::kFrameLogLimit + 5;
  for (std::size_t i = 0; i < sent; ++i)
    mouse.receiveFeature(Bytes{0x00, 0x7E, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 0, 0, 0, 0});
  EXPECT_EQ(mouse.frameCount(), sent);
  ASSERT_EQ(mouse.log().size(), VirtualMouseModel::kFrameLogLimit);
  EXPECT_EQ(mouse.log().front()[1], 5) << "the five oldest frames went";
  EXPECT_EQ(mouse.log().back()[1], static_cast<std::uint8_t>(sent - 1));
  EXPECT_EQ(jsonField(mouse.dumpJson(true, 0), "frame_count"), std::to_string(sent));
}

TEST(VirtualMouseControls, PlugUnplugAndEventsReachTheirWatchers) {
  VirtualMouse mouse;
  std::string error;
  auto interfaces = mouse.client->enumerate(error);
  ASSERT_TRUE(interfaces.has_value()) << error;
  ASSERT_EQ(interfaces->size(), 3u);
  EXPECT_EQ((*interfaces)[0].vendorId, 0x046D);
  EXPECT_EQ((*interfaces)[1].usagePage, 0xFF01);
  EXPECT_EQ((*interfaces)[2].usagePage, 0xFF00);
  EXPECT_EQ((*interfaces)[2].featureLength, 9);
  EXPECT_EQ((*interfaces)[2].inputLength, 33);

  auto watch = mouse.client->watchPresence();
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(watch->next(2000), std::optional<bool>(true));
  auto events = mouse.client->openEventInterface((*interfaces)[1]);
  ASSERT_NE(events, nullptr);
  auto port = mouse.openPort();

  ASSERT_TRUE(mouse.client->sendEvent(9, 3, error)) << error;
  EXPECT_EQ(events->next(), std::optional<Bytes>(Bytes{6, 9, 0, 3, 0, 0, 0, 0, 0}));

  ASSERT_TRUE(mouse.client->unplug(error)) << error;
  EXPECT_EQ(watch->next(2000), std::optional<bool>(false));
  EXPECT_EQ(events->next(), std::nullopt) << "the event interface is gone";
  EXPECT_FALSE(port->setFeature(Bytes(9, 0))) << "so is the command interface";
  EXPECT_EQ(mouse.client->enumerate(error)->size(), 1u);
  EXPECT_EQ(mouse.client->openMouseCommandPort(error), nullptr);
  EXPECT_EQ(error, "The virtual mouse is unplugged.");

  ASSERT_TRUE(mouse.client->plug(error)) << error;
  EXPECT_EQ(watch->next(2000), std::optional<bool>(true));
  EXPECT_NE(mouse.openPort(), nullptr);
}

// The pull at a chosen point of a transfer: the armed count of commands is answered, then the
// mouse is gone for every handle and watcher; plugging in again disarms nothing left over.
TEST(VirtualMouseControls, UnplugAfterACountOfCommands) {
  VirtualMouse mouse;
  std::string error;
  auto watch = mouse.client->watchPresence();
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(watch->next(2000), std::optional<bool>(true));
  auto port = mouse.openPort();
  ASSERT_NE(port, nullptr);
  ASSERT_TRUE(mouse.client->unplugAfter(3, error)) << error;
  Bytes feature(9, 0);
  EXPECT_TRUE(port->setFeature(Bytes(9, 0)));
  EXPECT_TRUE(port->getFeature(feature)) << "a read counts as a command";
  EXPECT_EQ(watch->next(300), std::nullopt) << "still plugged in after two";
  EXPECT_TRUE(port->setFeature(Bytes(9, 0))) << "the third is answered";
  EXPECT_EQ(watch->next(2000), std::optional<bool>(false));
  EXPECT_FALSE(port->setFeature(Bytes(9, 0)));
  EXPECT_NE(mouse.dump().find("\"plugged\": false"), std::string::npos);
  EXPECT_NE(mouse.dump().find("\"commands\": 3,"), std::string::npos);

  ASSERT_TRUE(mouse.client->plug(error)) << error;
  EXPECT_EQ(watch->next(2000), std::optional<bool>(true));
  auto again = mouse.openPort();
  ASSERT_NE(again, nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(again->setFeature(Bytes(9, 0))) << "the count was used up";
}

// Asks until done() holds, for up to five seconds.
template <typename Done>
bool waitFor(Done done) {
  for (int i = 0; i < 100; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// A local process that holds connections open is refused beyond the limit and costs the
// server nothing more; once they close, the mouse is served again.
TEST(VirtualMouseControls, ConnectionsBeyondTheLimitAreRefusedUntilOthersClose) {
  VirtualMouse mouse;
  std::string error;
  std::vector<std::unique_ptr<LoopbackSocket>> held;
  for (std::size_t i = 0; i < VirtualMouseServer::kMostConnections; ++i) {
    held.push_back(connectLoopback("127.0.0.1", mouse.server->port(), 2000, error));
    ASSERT_NE(held.back(), nullptr) << error;
  }
  // The server takes a connection in its own time: ask until the last held one counts.
  EXPECT_TRUE(waitFor([&] { return !mouse.client->dump(error); })) << "a connection beyond the limit was served";
  held.clear();
  EXPECT_TRUE(waitFor([&] { return mouse.client->dump(error).has_value(); })) << error;
}

// A watch tells changes only, though vmouse repeats the state while nothing changes; the
// repeats keep a quiet watch alive past the silence bound.
TEST(VirtualMouseControls, AWatchHearsChangesOnlyWhileVmouseRepeatsItself) {
  using namespace std::chrono;
  VirtualMouse mouse;
  std::string error;
  auto watch = mouse.client->watchPresence();
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(watch->next(2000), std::optional<bool>(true));
  const auto begin = steady_clock::now();
  EXPECT_EQ(watch->next(vm::kPresenceSilenceMs + vm::kPresenceRepeatMs), std::nullopt);
  EXPECT_GE(steady_clock::now() - begin, milliseconds(vm::kPresenceSilenceMs + vm::kPresenceRepeatMs / 2))
      << "a quiet vmouse was taken for gone";
  ASSERT_TRUE(mouse.client->unplug(error)) << error;
  EXPECT_EQ(watch->next(2000), std::optional<bool>(false));
}

// A vmouse that keeps the connection open but falls silent (hung, or killed without its
// sockets closing) is taken for gone after the silence bound, not waited for forever.
TEST(VirtualMouseControls, AWatchGivesUpOnAVmouseThatFallsSilent) {
  using namespace std::chrono;
  std::string error;
  auto listener = LoopbackListener::listen(0, error);
  ASSERT_TRUE(listener) << error;
  VirtualMouseClient client({"127.0.0.1", listener->port()});
  auto watch = client.watchPresence();
  ASSERT_NE(watch, nullptr);
  auto held = listener->accept(2000);
  ASSERT_TRUE(held);
  ASSERT_TRUE(vm::sendMessage(*held, vm::Message::Presence, Bytes{1}));
  EXPECT_EQ(watch->next(), std::optional<bool>(true));
  const auto silentSince = steady_clock::now();
  EXPECT_EQ(watch->next(), std::nullopt);
  const auto waited = steady_clock::now() - silentSince;
  EXPECT_GE(waited, milliseconds(vm::kPresenceSilenceMs - 100));
  EXPECT_LT(waited, milliseconds(vm::kPresenceSilenceMs + 2000));
}

TEST(VirtualMouseControls, ServesIpv6LoopbackToo) {
  VirtualMouse mouse;
  VirtualMouseClient client({"::1", mouse.server->port()});
  std::string error;
  const auto json = client.dump(error);
  if (!json && error.find("socket:") != std::string::npos) GTEST_SKIP() << "no IPv6 here: " << error;
  ASSERT_TRUE(json.has_value()) << error;
  EXPECT_NE(json->find("\"log\": []"), std::string::npos);
}

// A message as a peer sends it: type, 32-bit little-endian length, payload.
Bytes wireMessage(vm::Message type, const Bytes& payload, std::uint32_t length) {
  Bytes bytes{static_cast<std::uint8_t>(type)};
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(length >> shift));
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}
Bytes wireMessage(vm::Message type, const Bytes& payload) {
  return wireMessage(type, payload, static_cast<std::uint32_t>(payload.size()));
}

Bytes countingBytes(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

TEST(VirtualMouseWire, MessagesAreCutFromTheStreamByTheirAnnouncedLength) {
  using vm::Message;
  const Bytes large = countingBytes(200000);  // several of the pieces a payload is read in
  Bytes stream;
  for (const Bytes& part : {wireMessage(Message::SetFeature, {7, 1, 2, 3, 4, 5, 6, 7, 8}),
                            wireMessage(Message::Dump, {}), wireMessage(Message::WriteOutput, large),
                            wireMessage(Message::Report, {1, 2, 3}, 10)})  // cut short
    stream.insert(stream.end(), part.begin(), part.end());
  std::span<const std::uint8_t> rest(stream);
  const auto first = vm::takeMessage(rest);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->type, Message::SetFeature);
  EXPECT_EQ(first->payload, (Bytes{7, 1, 2, 3, 4, 5, 6, 7, 8}));
  const auto second = vm::takeMessage(rest);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->type, Message::Dump);
  EXPECT_TRUE(second->payload.empty());
  const auto third = vm::takeMessage(rest);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->payload, large);
  EXPECT_FALSE(vm::takeMessage(rest));

  // An absurd length is refused at the header; the longest allowed one waits for its bytes.
  for (std::uint32_t length : {vm::kLongestPayload + 1, 0xFFFFFFFFu, vm::kLongestPayload}) {
    const Bytes announced = wireMessage(Message::SetFeature, Bytes(100, 1), length);
    std::span<const std::uint8_t> bytes(announced);
    EXPECT_FALSE(vm::takeMessage(bytes)) << length;
  }
}

TEST(VirtualMouseWire, ALargeMessageCrossesTheSocketWholeAndAStalledOneIsDropped) {
  std::string error;
  auto listener = LoopbackListener::listen(0, error);
  ASSERT_TRUE(listener) << error;
  auto client = connectLoopback("127.0.0.1", listener->port(), 2000, error);
  auto server = listener->accept(2000);
  ASSERT_TRUE(client && server) << error;
  const Bytes large = countingBytes(300000);
  auto sent = std::async(std::launch::async, [&] { return vm::sendMessage(*client, vm::Message::WriteOutput, large); });
  const auto received = vm::receiveMessage(*server, 2000);
  ASSERT_TRUE(sent.get());
  ASSERT_TRUE(received);
  EXPECT_EQ(received->payload, large);

  const Bytes cut = wireMessage(vm::Message::SetFeature, {1, 2, 3}, 9);
  ASSERT_TRUE(client->sendAll(cut));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(vm::receiveMessage(*server, 200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(VirtualEndpoints, OnlyLoopbackHostsWithAPortAreAccepted) {
  struct Case {
    const char* option;
    const char* host;  // null: refused
    std::uint16_t port;
  };
  const Case cases[] = {
      {"tcp:127.0.0.1:4711", "127.0.0.1", 4711}, {"tcp:[::1]:1", "::1", 1},
      {"tcp:localhost:65535", "127.0.0.1", 65535}, {"tcp:192.168.1.2:4711", nullptr, 0},
      {"tcp:[fe80::1]:4711", nullptr, 0},         {"tcp:127.0.0.2:4711", nullptr, 0},
      {"tcp:127.0.0.1:", nullptr, 0},             {"tcp:127.0.0.1:65536", nullptr, 0},
      {"tcp:127.0.0.1:12ab", nullptr, 0},         {"tcp:[::1]4711", nullptr, 0},
      {"127.0.0.1:4711", nullptr, 0},             {"", nullptr, 0},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto endpoint = parseVirtualEndpoint(c.option, error);
    ASSERT_EQ(endpoint.has_value(), c.host != nullptr) << c.option;
    if (endpoint) {
      EXPECT_EQ(endpoint->host, c.host);
      EXPECT_EQ(endpoint->port, c.port);
    } else {
      EXPECT_FALSE(error.empty()) << c.option;
    }
  }
  std::string error;
  EXPECT_EQ(connectLoopback("10.1.2.3", 80, 100, error), nullptr);
  EXPECT_NE(error.find("127.0.0.1 or ::1 only"), std::string::npos);
}

}  // namespace
}  // namespace ombrisk

namespace ombrisk {
namespace {

// The host whose system keeps the input buffer (the virtual HID device): vmouse describes
// each interface with a report descriptor and pushes the command interface's input reports
// to it as the mouse sends them.
class StreamingHost : public ::testing::Test {
 protected:
  void start(VirtualMouseOptions options = {}) {
    mouse = std::make_unique<VirtualMouse>(std::move(options));
    std::string error;
    const auto interfaces = mouse->client->enumerate(error);
    ASSERT_TRUE(interfaces) << error;
    for (const auto& i : *interfaces)
      if (i.usagePage == kCommandUsagePage) command = i;
    ASSERT_FALSE(command.path.empty());
    stream = mouse->client->openInputStream(command);
    ASSERT_NE(stream, nullptr);
    port = mouse->client->openCommandInterface(command);
    ASSERT_NE(port, nullptr);
    protocol = std::make_unique<CommandProtocol>(*port, pause);
    ASSERT_TRUE(runHandshake(*protocol, pause));
  }
  // Sends a block-read frame for feature block index (the answer's blocks go to the stream).
  void askFeatureBlock(std::uint8_t index) {
    Frame frame{cmd::kReadFeatureBlock, index};
    protocol->frameTransaction(frame);
  }
  std::optional<std::vector<std::uint8_t>> nextReport() {
    auto result = std::async(std::launch::async, [this] { return stream->next(); });
    if (result.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
      stream->cancel();
      return std::nullopt;
    }
    return result.get();
  }

  std::unique_ptr<VirtualMouse> mouse;
  vm::VirtualInterface command;
  std::unique_ptr<VirtualEventStream> stream;
  std::unique_ptr<CommandPort> port;
  std::unique_ptr<CommandProtocol> protocol;
  NoPauseHere pause;
};

TEST_F(StreamingHost, BlockAnswersArriveAsTheMouseSendsThemAndNoneWaitForAPull) {
  start();
  DeviceImage sent;
  sent.featureBlocks[1].fill(0x5A);
  writeFeatureBlocks(*protocol, sent);
  askFeatureBlock(1);
  const auto report = nextReport();
  ASSERT_TRUE(report);
  Bytes expected(33, 0);
  std::fill_n(expected.begin() + 1, 24, 0x5A);
  EXPECT_EQ(*report, expected) << "report id 0, then the block";
  // The host's own reads find nothing: the answer went to the stream.
  Bytes pulled(33, 0);
  EXPECT_FALSE(port->readInput(pulled));
}

TEST_F(StreamingHost, ALateAnswerComesWellAfterTheHostsWaitForIt) {
  VirtualMouseOptions options;
  options.fault = FaultMode::Late;
  start(options);
  const auto asked = std::chrono::steady_clock::now();
  askFeatureBlock(0);
  const auto report = nextReport();
  ASSERT_TRUE(report);
  const auto took = std::chrono::steady_clock::now() - asked;
  EXPECT_GE(took, std::chrono::milliseconds(kLateAnswerMs - 20));
  EXPECT_GT(took, std::chrono::milliseconds(kInputReportWaitMs * 2)) << "past the host's wait";
  // The next block read's answer comes at once.
  askFeatureBlock(1);
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_TRUE(nextReport());
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(kLateAnswerMs / 2));
}

// The report descriptors, byte by byte: one application collection of the interface's usage
// with 8-bit data items that make up its reports (the event interface's under report id 6).
TEST(VirtualMouseDescriptors, EachInterfaceIsDescribedAsItsReportLengthsSay) {
  VirtualMouse mouse;
  std::string error;
  const auto command = mouse.client->describe(vm::mouseInterfacePath(vm::MouseInterface::Command), error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(*command, (Bytes{0x06, 0x00, 0xFF, 0x0A, 0x00, 0xFF, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                             0x75, 0x08, 0x96, 0x20, 0x00, 0x09, 0x01, 0x81, 0x02, 0x96, 0x20, 0x00, 0x09,
                             0x02, 0x91, 0x02, 0x96, 0x08, 0x00, 0x09, 0x03, 0xB1, 0x02, 0xC0}));
  const auto event = mouse.client->describe(vm::mouseInterfacePath(vm::MouseInterface::Event), error);
  ASSERT_TRUE(event) << error;
  EXPECT_EQ(*event, (Bytes{0x06, 0x01, 0xFF, 0x0A, 0x01, 0xFF, 0xA1, 0x01, 0x85, 0x06, 0x15, 0x00, 0x26,
                           0xFF, 0x00, 0x75, 0x08, 0x96, 0x08, 0x00, 0x09, 0x01, 0x81, 0x02, 0xC0}));
  const auto unknown = mouse.client->describe("\\\\?\\HID#VID_1234&PID_5678#1#{x}", error);
  ASSERT_TRUE(unknown);
  EXPECT_TRUE(unknown->empty());
}

// The system enumerates interfaces by name: the command interface is named first when it is
// to come first.
TEST(VirtualMouseDescriptors, TheCommandInterfaceFirstIsNamedFirst) {
  for (const bool commandFirst : {false, true}) {
    const auto interfaces = presentedInterfaces(true, commandFirst);
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_LT(interfaces[0].info.path, interfaces[1].info.path) << "the keyboard comes first";
    EXPECT_LT(interfaces[1].info.path, interfaces[2].info.path) << "the order is the names' order";
    EXPECT_EQ(interfaces[1].info.usagePage, commandFirst ? kCommandUsagePage : kEventUsagePage);
  }
}

// The stuck mouse answers the handshake and nothing after it: each request waits out the
// client's bound, and the port fails at once afterwards.
TEST(VirtualMouseFaults, AStuckMouseAnswersTheHandshakeAndNothingAfter) {
  Session session(withFault(FaultMode::Stuck));
  ASSERT_TRUE(session.ready);
  DeviceImage image;
  const auto begin = std::chrono::steady_clock::now();
  readSensorBlock(*session.protocol, image);
  writeMacros(*session.protocol, image);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(3));
  EXPECT_TRUE(session.protocol->transferFailed());
  EXPECT_EQ(jsonField(session.mouse.dump(), "log"),
            "[\"00aadd3b620000db\", \"00aadd3b620000db\", \"830000000000007c\"]");
}

}  // namespace
}  // namespace ombrisk
