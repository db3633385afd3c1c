#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/handshake.h"
#include "device/virtual/virtual_mouse_client.h"
#include "fake_mouse.h"
#include "settings/apply_sequence.h"
#include "support/temp_folder.h"
#include "vmouse/virtual_mouse_server.h"

namespace ombrisk {
namespace {

using testing::Bytes;

struct RecordedMessages final : MessageSink {
  std::vector<std::string> texts;
  void show(const std::string& text, const std::string& caption) override {
    texts.push_back(caption + ": " + text);
  }
};

Bytes repeat(std::size_t count, std::uint8_t value) { return Bytes(count, value); }
Bytes join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ApplySequence : public ::testing::Test {
 protected:
  testing::FakeMouse mouse;
  CommandProtocol protocol{mouse, mouse};
  SettingsImage image;
  testing::TempFolder folder;
  std::unique_ptr<FileIo> io = makePortableFileIo();
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
  RecordedMessages messages;
  SettingsFileContext files{dataPathsFromModule(folder.file("Ombrisk.exe")), *io, messages, "Ombrisk"};
  ButtonLabelSet labels;

  ApplySequence() { testing::writeBytes(files.paths.configBin, Bytes(kConfigFileSize, 0)); }

  void apply() {
    runApplySequence({protocol, image, files, *store, labels, "Setting-EN", &mouse});
  }
  SettingsRecord& record() { return image.record; }
};

TEST_F(ApplySequence, EighteenStepsInOrderWithTheirPauses) {
  apply();
  std::string expected =
      "R F01 F8D G F87 G P2 F87 G P2 F90 G I P2 F90 G I P2 F10 O P3 P2 F10 O P3 P2 "
      "F07 P2 F07 P2 F0D F11 O P3";
  for (int n = 0; n < 12; ++n) expected += " F13 O P3 O P3 O P3 O P3 P2";
  for (int n = 0; n < 12; ++n) expected += " F93 G I I I I P2";
  for (int n = 0; n < 4; ++n) expected += " F12 O P3 O P3 P2";
  expected += " r";
  EXPECT_EQ(mouse.outline(), expected);
  unsigned pauses = 0;
  for (const auto& e : mouse.trace)
    if (e.kind == 'P') pauses += e.bytes[0];
  EXPECT_EQ(pauses, 249u);
}

TEST_F(ApplySequence, ReportIntervalAndNumberedSeriesFrames) {
  record()[rec::kReportInterval] = 8;
  apply();
  EXPECT_EQ(mouse.framesOf(0x01), (std::vector<Bytes>{{0x01, 0x08, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(mouse.framesOf(0x87), (std::vector<Bytes>{{0x87, 0, 0, 0, 0, 0, 0}, {0x87, 1, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(mouse.framesOf(0x90), (std::vector<Bytes>{{0x90, 0, 0, 0, 0, 0, 0}, {0x90, 1, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(mouse.framesOf(0x10), (std::vector<Bytes>{{0x10, 0, 24, 0, 0, 0, 0}, {0x10, 1, 24, 0, 0, 0, 0}}));
  const auto macroFrames = mouse.framesOf(0x13);
  const auto readFrames = mouse.framesOf(0x93);
  ASSERT_EQ(macroFrames.size(), 12u);
  ASSERT_EQ(readFrames.size(), 12u);
  for (std::uint8_t n = 1; n <= 12; ++n) {
    EXPECT_EQ(macroFrames[n - 1], (Bytes{0x13, n, 128, 0, 0, 0, 0}));
    EXPECT_EQ(readFrames[n - 1], (Bytes{0x93, n, 0, 0, 0, 0, 0}));
  }
  EXPECT_EQ(mouse.framesOf(0x12), (std::vector<Bytes>{{0x12, 1, 64, 0, 0, 0, 0},
                                                      {0x12, 2, 64, 0, 0, 0, 0},
                                                      {0x12, 3, 64, 0, 0, 0, 0},
                                                      {0x12, 4, 64, 0, 0, 0, 0}}));
}

TEST_F(ApplySequence, LightingModeSetsEffectAndLightSetZero) {
  // Mouse answers: effect 11 22 33, set 0 44 55 66, set 1 77 88 99.
  const struct {
    std::uint8_t mode, mode2Effect, mode3Effect;
    Bytes effectFrame, set0Frame;
  } cases[] = {
      {0, 1, 2, {0x0D, 0x11, 0x22, 0x33, 0, 0, 0}, {0x07, 0, 0x44, 0x55, 0x66, 0, 0}},
      {4, 1, 2, {0x0D, 0x11, 0x22, 0x33, 0, 0, 0}, {0x07, 0, 0x44, 0x55, 0x66, 0, 0}},
      {1, 0, 0, {0x0D, 1, 6, 2, 0, 0, 0}, {0x07, 0, 1, 0x55, 0x66, 0, 0}},
      {2, 1, 0, {0x0D, 2, 7, 2, 0, 0, 0}, {0x07, 0, 1, 0x55, 0x66, 0, 0}},
      {2, 2, 0, {0x0D, 2, 7, 3, 0, 0, 0}, {0x07, 0, 2, 2, 3, 0, 0}},
      {2, 3, 0, {0x0D, 2, 7, 0x33, 0, 0, 0}, {0x07, 0, 0x44, 0x55, 0x66, 0, 0}},
      {3, 0, 2, {0x0D, 3, 8, 0x33, 0, 0, 0}, {0x07, 0, 2, 100, 10, 0, 0}},
      {3, 0, 3, {0x0D, 3, 8, 0x33, 0, 0, 0}, {0x07, 0, 3, 5, 5, 0, 0}},
      {3, 0, 1, {0x0D, 3, 8, 0x33, 0, 0, 0}, {0x07, 0, 0x44, 0x55, 0x66, 0, 0}},
  };
  for (const auto& c : cases) {
    testing::FakeMouse fresh;
    CommandProtocol freshProtocol(fresh, fresh);
    SettingsImage freshImage;
    freshImage.record[rec::kLightingMode] = c.mode;
    freshImage.record[rec::kMode1Parameter] = 5;
    freshImage.record[rec::kMode2Parameter] = 6;
    freshImage.record[rec::kMode3Parameter] = 7;
    freshImage.record[rec::kMode2Effect] = c.mode2Effect;
    freshImage.record[rec::kMode3Effect] = c.mode3Effect;
    runApplySequence({freshProtocol, freshImage, files, *store, labels, "Setting-EN", nullptr});
    const std::string what = "mode " + std::to_string(c.mode) + " choices " +
                             std::to_string(c.mode2Effect) + "/" + std::to_string(c.mode3Effect);
    EXPECT_EQ(fresh.framesOf(0x0D), std::vector<Bytes>{c.effectFrame}) << what;
    EXPECT_EQ(fresh.framesOf(0x07), (std::vector<Bytes>{c.set0Frame, {0x07, 1, 0x77, 0x88, 0x99, 0, 0}}))
        << what;
  }
}

TEST_F(ApplySequence, FeatureBlockZeroAsReadBlockOneTheStageColours) {
  for (std::size_t i = 0; i < 24; ++i) mouse.featureBlocks[0][i] = static_cast<std::uint8_t>(0xA0 + i);
  mouse.featureBlocks[1].fill(0xEE);  // what the mouse held is not sent back
  for (std::size_t i = 0; i < 12; ++i) record()[rec::kStageColours + i] = static_cast<std::uint8_t>(i + 1);
  apply();
  Bytes block0;
  for (std::uint8_t i = 0; i < 24; ++i) block0.push_back(0xA0 + i);
  const Bytes block1 = join({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, repeat(20, 0));
  EXPECT_EQ(mouse.dataOf(0x10), (std::vector<Bytes>{join(block0, repeat(8, 0)), block1}));
}

TEST_F(ApplySequence, ZeroStageColoursSendBlockOneAsZeros) {
  mouse.featureBlocks[1].fill(0xEE);
  apply();
  EXPECT_EQ(mouse.dataOf(0x10).at(1), repeat(32, 0));
}

TEST_F(ApplySequence, StageCodesOfTheCurrentSensor) {
  const struct {
    std::uint8_t sensor;
    std::array<std::uint8_t, 4> levels, enabled;
    Bytes codes;
  } cases[] = {
      {2, {0, 7, 9, 3}, {1, 0, 1, 0}, {0x02, 0xAA, 0x2A, 0x88, 0x80, 0x80, 0x80, 0x80}},
      {0, {0, 8, 11, 200}, {1, 1, 1, 1}, {0x01, 0x25, 0x28, 0x28, 0x80, 0x80, 0x80, 0x80}},
      {0, {0, 0, 0, 0}, {0, 0, 0, 0}, {0x81, 0x81, 0x81, 0x81, 0x80, 0x80, 0x80, 0x80}},
      {1, {5, 6, 7, 8}, {1, 1, 1, 1}, {0x23, 0x24, 0x25, 0x25, 0x80, 0x80, 0x80, 0x80}},
      {3, {7, 0, 0, 0}, {2, 1, 1, 1}, {0x08, 0x01, 0x01, 0x01, 0x80, 0x80, 0x80, 0x80}},
      {9, {3, 4, 5, 6}, {1, 0, 1, 0}, {0x00, 0x80, 0x00, 0x80, 0x80, 0x80, 0x80, 0x80}},
  };
  for (const auto& c : cases) {
    testing::FakeMouse fresh;
    CommandProtocol freshProtocol(fresh, fresh);
    SettingsImage freshImage;
    freshImage.device.currentSensorType = c.sensor;
    for (std::size_t k = 0; k < 4; ++k) {
      freshImage.record[rec::kDpiLevel + k] = c.levels[k];
      freshImage.record[rec::kStageEnabled + k] = c.enabled[k];
    }
    runApplySequence({freshProtocol, freshImage, files, *store, labels, "Setting-EN", nullptr});
    EXPECT_EQ(fresh.framesOf(0x11), (std::vector<Bytes>{{0x11, 4, 8, 0, 0, 0, 0}}));
    EXPECT_EQ(fresh.dataOf(0x11), std::vector<Bytes>{join(c.codes, repeat(24, 0))})
        << "sensor " << int(c.sensor);
  }
}

TEST_F(ApplySequence, MacroBlocksAreSentAndTheReadBackReplacesOnlyTheDeviceCopy) {
  for (std::size_t b = 0; b < 12; ++b) {
    record().macroBlock(b)[0] = 0;
    record().macroBlock(b)[1] = static_cast<std::uint8_t>(b + 1);
    record().macroBlock(b)[2] = 0x05;
    record().macroBlock(b)[3] = 0x04;
    record().macroBlock(b)[127] = static_cast<std::uint8_t>(0xC0 + b);
    mouse.macros[b].fill(static_cast<std::uint8_t>(0x30 + b));
  }
  const SettingsRecord before = record();
  apply();
  const auto sent = mouse.dataOf(0x13);
  ASSERT_EQ(sent.size(), 12u);
  for (std::uint8_t b = 0; b < 12; ++b) {
    Bytes block = join({0, std::uint8_t(b + 1), 0x05, 0x04}, repeat(123, 0));
    block.push_back(0xC0 + b);
    EXPECT_EQ(sent[b], block) << "macro " << b + 1;
    EXPECT_EQ(Bytes(image.device.macros[b].begin(), image.device.macros[b].end()), repeat(128, 0x30 + b));
  }
  EXPECT_EQ(record(), before);
}

TEST_F(ApplySequence, KeyMatricesWithButtonsFourAndFiveTraded) {
  record().key(KeyTableId::A, KeyField::Function, 3) = 3;   // Forward
  record().key(KeyTableId::A, KeyField::Function, 4) = 4;   // Backward
  record().key(KeyTableId::A, KeyField::Function, 9) = 11;  // entry 9 is never sent
  record().key(KeyTableId::A, KeyField::SingleKey, 9) = 0x04;
  for (std::size_t e = 0; e < 12; ++e) record().key(KeyTableId::B, KeyField::Function, e) = 15;
  apply();
  const auto matrices = mouse.dataOf(0x12);
  ASSERT_EQ(matrices.size(), 4u);
  const Bytes matrix1 = join(
      {0x01, 0, 0xF0, 0, 0x01, 0, 0xF0, 0, 0x01, 0, 0xF0, 0, 0x01, 0, 0xF3, 0, 0x01, 0, 0xF4, 0,
       0x01, 0, 0xF0, 0, 0x01, 0, 0xF0, 0, 0x01, 0, 0xF0, 0},
      join(repeat(24, 0), {0x01, 0, 0xF7, 0, 0x01, 0, 0xF8, 0}));
  const Bytes matrix3 = join(repeat(56, 0), {0x01, 0, 0xF7, 0, 0x01, 0, 0xF8, 0});
  EXPECT_EQ(matrices[0], matrix1);
  EXPECT_EQ(matrices[1], repeat(64, 0));
  EXPECT_EQ(matrices[2], matrix3);
  EXPECT_EQ(matrices[3], repeat(64, 0));
}

TEST_F(ApplySequence, SavesConfigWithFirstByteOneAndWritesTheLabels) {
  record()[rec::kReportInterval] = 2;
  labels[0] = "Left Click";
  labels[12] = "左键";
  labels[23] = "Key Off";
  EXPECT_TRUE(runApplySequence({protocol, image, files, *store, labels, "Setting-EN", &mouse}).delivered());
  const Bytes file = testing::readBytes(files.paths.configBin);
  ASSERT_EQ(file.size(), kConfigFileSize);
  EXPECT_EQ(file[0], 1);
  EXPECT_EQ(file[1 + rec::kReportInterval], 2);
  EXPECT_EQ(image.firstRunFlag, 1);
  EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item1"), "Left Click");
  EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item13"), "左键");
  EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item123"), "Key Off");
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ApplySequence, WithoutConfigTheMouseStillGetsEverythingAndTheFileIsNotCreated) {
  std::filesystem::remove(testing::pathFromUtf8(files.paths.configBin));
  labels[1] = "Right Click";
  apply();
  EXPECT_EQ(mouse.framesOf(0x12).size(), 4u);
  EXPECT_FALSE(io->exists(files.paths.configBin));
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Ombrisk: Config file is not exist."});
  EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item2"), "Right Click");
}

TEST_F(ApplySequence, AMouseThatStopsAnsweringLeavesZerosAndTheSequenceRunsToTheEnd) {
  struct SilentMouse final : CommandPort, Pauser {
    unsigned frames = 0;
    ReportLengths lengths() const override { return {9, 33, 33}; }
    bool setFeature(std::span<const std::uint8_t>) override { return ++frames, false; }
    bool getFeature(std::span<std::uint8_t>) override { return false; }
    bool writeOutput(std::span<const std::uint8_t>) override { return false; }
    bool readInput(std::span<std::uint8_t>) override { return false; }
    bool discardInput() override { return false; }
    void pauseMs(unsigned) override {}
  } silent;
  CommandProtocol silentProtocol(silent, silent);
  image.device.effect = {9, 9, 9};
  image.device.macros[4].fill(0x99);
  const ApplyOutcome outcome =
      runApplySequence({silentProtocol, image, files, *store, labels, "Setting-EN", nullptr});
  EXPECT_EQ(silent.frames, 1u + 1 + 2 + 2 + 2 + 2 + 1 + 1 + 12 + 12 + 4);
  EXPECT_EQ(image.device.effect, (std::array<std::uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(outcome.failedStep, 1u);
  EXPECT_EQ(testing::readBytes(files.paths.configBin).at(0), 0) << "nothing reached the mouse";
}

// The mouse of the fixture behind a link that breaks at a given port call: that call and
// every later one fail, as on a mouse pulled out mid-sequence.
class BreakingLink final : public CommandPort {
 public:
  BreakingLink(testing::FakeMouse& mouse, unsigned breakingCall) : mouse_(mouse), breakingCall_(breakingCall) {}
  ReportLengths lengths() const override { return mouse_.lengths(); }
  bool setFeature(std::span<const std::uint8_t> r) override { return up() && mouse_.setFeature(r); }
  bool getFeature(std::span<std::uint8_t> r) override { return up() && mouse_.getFeature(r); }
  bool writeOutput(std::span<const std::uint8_t> r) override { return up() && mouse_.writeOutput(r); }
  bool readInput(std::span<std::uint8_t> r) override { return up() && mouse_.readInput(r); }
  bool discardInput() override { return up() && mouse_.discardInput(); }

 private:
  bool up() { return ++calls_ < breakingCall_; }
  testing::FakeMouse& mouse_;
  unsigned breakingCall_;
  unsigned calls_ = 0;
};

TEST_F(ApplySequence, ALinkThatBreaksNamesTheFirstFailedStepAndSavesNeitherConfigNorLabels) {
  labels[0] = "Left Click";
  // Port calls of the whole sequence, in order: 1 step 1; 2-3 step 2; 4-7 step 3; 8-15
  // step 4 (each read drops stale input first); 16-19 step 7; 20-21 step 8; 22 step 9;
  // 23-24 step 11; 25-84 step 13; 85-168 step 14; 169-180 step 16.
  const struct {
    unsigned breakingCall, failedStep;
  } cases[] = {{1, 1},   {3, 2},   {8, 4},   {15, 4},  {16, 7},   {22, 9},  {24, 11},
               {25, 13}, {84, 13}, {85, 14}, {168, 14}, {169, 16}, {180, 16}};
  for (const auto [breakingCall, failedStep] : cases) {
    testing::FakeMouse fresh;
    BreakingLink link(fresh, breakingCall);
    CommandProtocol brokenProtocol(link, fresh);
    SettingsImage freshImage;
    const ApplyOutcome outcome =
        runApplySequence({brokenProtocol, freshImage, files, *store, labels, "Setting-EN", &fresh});
    EXPECT_EQ(outcome.failedStep, failedStep) << breakingCall;
    EXPECT_EQ(testing::readBytes(files.paths.configBin), Bytes(kConfigFileSize, 0)) << breakingCall;
    EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item1"), "") << breakingCall;
    EXPECT_EQ(freshImage.firstRunFlag, 0) << breakingCall;
  }
}

TEST_F(ApplySequence, AVmouseUnpluggedMidSequenceNamesTheStepAndSavesNothing) {
  std::string error, warning;
  auto server = VirtualMouseServer::start({}, error, warning);
  ASSERT_NE(server, nullptr) << error;
  auto port = VirtualMouseClient({"127.0.0.1", server->port()}).openMouseCommandPort(error);
  ASSERT_NE(port, nullptr) << error;
  // Pulls the mouse out at the twelfth pause: steps 3 to 11 pause eleven times, so this is
  // the pause after the first block of macro 1.
  struct UnplugAtPause final : Pauser {
    explicit UnplugAtPause(VirtualMouseServer& s) : server(s) {}
    void pauseMs(unsigned) override {
      if (++pauses == 12) server.unplug();
    }
    VirtualMouseServer& server;
    unsigned pauses = 0;
  } pauser(*server);
  CommandProtocol vmouseProtocol(*port, pauser);
  testing::FakeMouse handshakePauses;
  ASSERT_TRUE(runHandshake(vmouseProtocol, handshakePauses));
  labels[0] = "Left Click";

  const ApplyOutcome outcome =
      runApplySequence({vmouseProtocol, image, files, *store, labels, "Setting-EN", nullptr});
  EXPECT_EQ(outcome.failedStep, 13u);
  EXPECT_EQ(applyStepName(13), "writing the macros");
  EXPECT_EQ(testing::readBytes(files.paths.configBin), Bytes(kConfigFileSize, 0));
  EXPECT_EQ(store->read(files.paths.strIni, "Setting-EN", "Item1", "absent"), "absent");
  EXPECT_EQ(image.firstRunFlag, 0);
}

}  // namespace
}  // namespace ombrisk
