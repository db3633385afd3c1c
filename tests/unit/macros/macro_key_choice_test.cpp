// The macro-key dialog without its window: the macros it offers from record.ini, its tick
// boxes and its labels.
#include <gtest/gtest.h>

#include <string>

#include "macros/macro_dialog_surface.h"
#include "macros/macro_key_choice.h"
#include "support/recording_painter.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using Names = std::vector<std::string>;

class MacroKeyChoiceTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
  testing::TempFolder folder;
  std::string ini = folder.file("record.ini");

  void writeIni(const std::string& text) {
    testing::writeBytes(ini, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
};

TEST_F(MacroKeyChoiceTest, OffersTheMacrosTheMouseHasBlocksFor) {
  EXPECT_EQ(macroKeyItems(*store, ini), Names{});  // no record.ini yet
  writeIni("[Zeta]\r\nItemCount=0\r\n[Alpha]\r\nItemCount=0\r\n");
  EXPECT_EQ(macroKeyItems(*store, ini), (Names{"Zeta", "Alpha"}));  // file order, not sorted

  // Hundreds of sections, some with absurd names: the first twelve, untouched.
  std::string text;
  Names expected;
  for (int i = 0; i < 400; ++i) {
    const std::string name = i == 3 ? std::string(600, 'x') : i == 5 ? "宏 ~!@#$%^&*()" : "m" + std::to_string(i);
    text += "[" + name + "]\r\nItemCount=0\r\n";
    if (i < 12) expected.push_back(name);
  }
  writeIni(text);
  EXPECT_EQ(macroKeyItems(*store, ini), expected);
}

TEST_F(MacroKeyChoiceTest, TickBoxesAndLabels) {
  EXPECT_EQ(repeatModeAt(220, 78), 1);
  EXPECT_EQ(repeatModeAt(235, 143), 2);
  EXPECT_EQ(repeatModeAt(228, 190), 3);
  EXPECT_EQ(repeatModeAt(236, 78), std::nullopt);  // right edge is outside
  EXPECT_EQ(repeatModeAt(50, 135), std::nullopt);  // the macro box

  testing::RecordingPainter painter;
  paintMacroDialogContent(painter, Language::SimplifiedChinese, 2);
  const auto title = painter.textOf("请从列表框选择一个宏");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->region, (Region{-8, 112, 201, 128}));
  const auto mode3 = painter.textOf("重复直到该按键松开结束");
  ASSERT_TRUE(mode3);
  EXPECT_EQ(mode3->region, (Region{237, 162, 368, 210}));
  EXPECT_EQ(mode3->placement, TextPlacement::Paragraph);
  EXPECT_EQ(painter.imageAt(220, 78), SkinImage::Pane);
  EXPECT_EQ(painter.imageAt(220, 128), SkinImage::PaneTick);
  EXPECT_EQ(painter.imageAt(220, 178), SkinImage::Pane);
}

}  // namespace
}  // namespace ombrisk
