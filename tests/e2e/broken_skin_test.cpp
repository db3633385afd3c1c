// A broken skin never stops the program: it starts, keeps its tray icon, shows its window from
// the tray and stays silent about the main window's images.
#include <gtest/gtest.h>

#include <functional>

#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {

std::vector<std::uint8_t> truncatedCopy(const Installation& install, const std::filesystem::path& file,
                                        std::size_t keep) {
  std::vector<std::uint8_t> bytes = install.readFile(file);
  bytes.resize(std::min(keep, bytes.size()));
  return bytes;
}

struct BrokenSkin {
  const char* name;
  std::function<void(Installation&)> breakIt;
  bool keepsSize;  // main.png still gives the window its size
};

class BrokenSkinTest : public ::testing::TestWithParam<BrokenSkin> {};

TEST_P(BrokenSkinTest, StartsAndShowsItsWindowFromTheTray) {
  dismissBalloons();
  VirtualMouse mouse;
  ASSERT_TRUE(mouse.ready());
  Installation install;
  GetParam().breakIt(install);
  Program program(install, mouse.deviceOption());
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_TRUE(waitUntil([&] { return program.trayIconPresent(); }));
  moveScreen({1000, 10});
  program.trayClick();
  ASSERT_TRUE(program.waitForVisible(true));
  Sleep(1000);
  EXPECT_TRUE(program.process().running());
  EXPECT_FALSE(findMessageBox(program.process().id())) << "the main window reports nothing";
  const Capture picture = program.captureClient();
  if (GetParam().keepsSize) {
    EXPECT_EQ(picture.width, 880);
    EXPECT_EQ(picture.height, 650);
  } else {
    EXPECT_GT(picture.width, 0);
  }
  // Exit still works.
  program.trayRightClick();
  ASSERT_TRUE(program.chooseFirstTrayMenuItem());
  const auto code = program.process().waitForExit();
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0u);
}

const std::filesystem::path kSkin = L"Skins/Graphite";

INSTANTIATE_TEST_SUITE_P(
    Skins, BrokenSkinTest,
    ::testing::Values(
        BrokenSkin{"MissingButtonImages",
                   [](Installation& install) {
                     install.replaceFile(kSkin / L"button-normal.png", std::nullopt);
                     install.replaceFile(kSkin / L"button-close-normal.png", std::nullopt);
                   },
                   true},
        BrokenSkin{"TruncatedPageImage",
                   [](Installation& install) {
                     install.replaceFile(kSkin / L"BasicSet2.png",
                                         truncatedCopy(install, kSkin / L"BasicSet2.png", 300));
                   },
                   true},
        BrokenSkin{"CorruptPageImage",
                   [](Installation& install) {
                     auto bytes = install.readFile(kSkin / L"BasicSet2.png");
                     for (std::size_t i = 60; i < bytes.size(); i += 7) bytes[i] ^= 0xA5;
                     install.replaceFile(kSkin / L"BasicSet2.png", bytes);
                   },
                   true},
        BrokenSkin{"AbsurdSizeInAnImage",
                   [](Installation& install) {
                     auto bytes = install.readFile(kSkin / L"DropdownBox-normal.png");
                     bytes[16] = 0x7F;  // width 0x7F0000D3
                     install.replaceFile(kSkin / L"BasicSet2.png", bytes);
                   },
                   true},
        BrokenSkin{"MissingMainImage",
                   [](Installation& install) { install.replaceFile(kSkin / L"main.png", std::nullopt); },
                   false},
        BrokenSkin{"TruncatedMainImage",
                   [](Installation& install) {
                     install.replaceFile(kSkin / L"main.png", truncatedCopy(install, kSkin / L"main.png", 33));
                   },
                   false},
        BrokenSkin{"UnknownSkinName", [](Installation& install) { install.setSkin(L"NoSuchSkin"); }, false}),
    [](const ::testing::TestParamInfo<BrokenSkin>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ombrisk::e2e
