// The virtual mouse over loopback, driven through the utility's own protocol code.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "device/handshake.h"
#include "device/report_commands.h"
#include "device/virtual_mouse_client.h"
#include "device/virtual_mouse_server.h"
#include "fake_command_port.h"
#include "support/temp_folder.h"

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
