// The first build of the Basic page: the sensor the mouse reports, its block written back
// with bit 6 of option 2, and the labels of a settings file that was never applied.
#include <gtest/gtest.h>

#include "device/command_protocol.h"
#include "pages/basic_page.h"
#include "settings/profile_store.h"
#include "support/temp_folder.h"
#include "unit/device/fake_command_port.h"

namespace ombrisk {
namespace {

using testing::featureReport;

struct FirstBuild : ::testing::Test {
  // The mouse answers the sensor read with type 2, rate 1, options 5 and 0x81.
  void SetUp() override { port.featureAnswers.push_back(featureReport({0x83, 2, 1, 5, 0x81})); }
  void build() { prepareFirstBasicBuild(protocol, image, labels, texts, *profiles, strIni); }

  testing::FakeCommandPort port;
  testing::RecordingPauser pauser;
  CommandProtocol protocol{port, pauser};
  SettingsImage image;
  ButtonLabelSet labels;
  InterfaceTexts texts{Language::SimplifiedChinese};
  testing::TempFolder folder;
  std::string strIni = folder.file("str.ini");
  std::unique_ptr<ProfileStore> profiles = makePortableProfileStore();
};

TEST_F(FirstBuild, TakesTheSensorAndWritesItsBlockBack) {
  image.firstRunFlag = 1;
  labels[0] = "kept";
  build();
  EXPECT_EQ(image.device.currentSensorType, 2);
  const auto sent = port.reportsOf('S');
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1][1], 0x03);  // the write, with option 2's bit 6 set
  EXPECT_EQ((std::vector<std::uint8_t>(sent[1].begin() + 2, sent[1].begin() + 6)),
            (std::vector<std::uint8_t>{2, 1, 5, 0xC1}));
  EXPECT_EQ(labels[0], "kept") << "an applied settings file keeps its labels";
  EXPECT_TRUE(profiles->sectionNames(strIni).empty());
}

TEST_F(FirstBuild, NeverAppliedFileGetsLabelsForItsTables) {
  image.firstRunFlag = 0;
  image.record.key(KeyTableId::B, KeyField::Function, 2) = 15;
  build();
  EXPECT_EQ(labels[0], "左键");
  EXPECT_EQ(labels[14], "按键关闭");
  const ProfileDocument file = profiles->load(strIni);
  EXPECT_EQ(file.read("Setting-CHS", "Item1"), "左键");
  EXPECT_EQ(file.read("Setting-CHS", "Item33"), "按键关闭");
  EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"Setting-CHS"}));
}

}  // namespace
}  // namespace ombrisk
