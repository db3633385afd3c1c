// The editor dialogs' surface tables against coordinates written out by hand: the frame
// buttons, each dialog's press regions, child windows and drop-down boxes.
#include <gtest/gtest.h>

#include "keys/key_editor_surfaces.h"
#include "macros/macro_dialog_surface.h"
#include "skin/dialog_frame.h"
#include "skin/skins_dialog_surface.h"

namespace ombrisk {
namespace {

TEST(DialogFrameSurface, OkCancelAndClose) {
  const auto frame = dialogFrameSurface();
  const auto at = [&](int x, int y) {
    const auto* row = hitTest(frame, x, y);
    return row ? std::optional<FrameControl>(row->control) : std::nullopt;
  };
  EXPECT_EQ(at(160, 260), std::nullopt);  // just left of OK
  EXPECT_EQ(at(166, 253), FrameControl::Ok);
  EXPECT_EQ(at(270, 260), FrameControl::Ok);  // the shared edge belongs to the first in order
  EXPECT_EQ(at(271, 260), FrameControl::Cancel);
  EXPECT_EQ(at(374, 273), FrameControl::Cancel);
  EXPECT_EQ(at(375, 260), std::nullopt);
  EXPECT_EQ(at(352, 6), FrameControl::Close);
  EXPECT_EQ(at(369, 23), FrameControl::Close);
  EXPECT_EQ(at(370, 23), std::nullopt);
  EXPECT_EQ(regionOf(frame, FrameControl::Cancel).caption.id(), TextId::Cancel);
  EXPECT_EQ(editorDialogFrame(EditorDialog::Combo).templateId, 706);
  EXPECT_EQ(skinImageName(editorDialogFrame(EditorDialog::DelayTime).background), "/delay-time.png");
}

struct DropDownCase {
  const char* dialog;
  KeyEditorSurface surface;
  KeyEditorControl box, list;
  int listId;
  Region expectedBox, expectedList;
};

TEST(KeyEditorSurfaces, DropDownBoxesAndTheirLists) {
  using enum KeyEditorControl;
  const DropDownCase cases[] = {
      {"combination", comboKeySurface(), ModifierBox, ModifierList, 515, {49, 69, 132, 85}, {49, 87, 132, 227}},
      {"fire key", fireKeySurface(), FireKeyBox, FireKeyList, 573, {49, 69, 132, 85}, {49, 87, 132, 257}},
      {"multimedia", mediaKeySurface(), ChoiceBox, ChoiceList, 553, {42, 128, 151, 144}, {42, 146, 151, 266}},
      {"Windows", windowsKeySurface(), ChoiceBox, ChoiceList, 533, {42, 128, 151, 144}, {42, 146, 151, 306}},
  };
  for (const DropDownCase& c : cases) {
    SCOPED_TRACE(c.dialog);
    const DropDownBox dropDown = c.surface.dropDown(c.box, c.list);
    EXPECT_EQ(dropDown.listId, c.listId);
    EXPECT_EQ(dropDown.box.left, c.expectedBox.left);
    EXPECT_EQ(dropDown.box.bottom, c.expectedBox.bottom);
    EXPECT_EQ(dropDown.list.top, c.expectedList.top);
    EXPECT_EQ(dropDown.list.bottom, c.expectedList.bottom);
    // The box's right edge and the list's bottom edge are outside.
    EXPECT_EQ(hitTest(c.surface.regions, c.expectedBox.left, c.expectedBox.top)->control, c.box);
    EXPECT_EQ(hitTest(c.surface.regions, c.expectedBox.right, c.expectedBox.top), nullptr);
    EXPECT_FALSE(dropDown.pressClosesList(c.expectedList.right - 1, c.expectedList.bottom - 1));
    EXPECT_TRUE(dropDown.pressClosesList(c.expectedList.left, c.expectedList.bottom));
  }
}

TEST(KeyEditorSurfaces, ChildWindows) {
  using enum KeyEditorControl;
  EXPECT_EQ(childOf(singleKeySurface().children, KeyNameText).id, 502);
  EXPECT_EQ(childOf(singleKeySurface().children, KeyNameText).rect.left, 73);
  EXPECT_EQ(childOf(comboKeySurface().children, Key2Edit).id, 517);
  EXPECT_EQ(childOf(comboKeySurface().children, Key2Edit).rect.top, 170);
  EXPECT_EQ(childOf(comboKeySurface().children, ModifierText).rect.right, 117);
  EXPECT_EQ(childOf(fireKeySurface().children, SpeedEdit).id, 574);
  EXPECT_EQ(childOf(fireKeySurface().children, TimesEdit).rect.bottom, 184);
  EXPECT_EQ(childOf(delayTimeSurface().children, DelayEdit).id, 600);
  EXPECT_EQ(childOf(delayTimeSurface().children, DelayEdit).rect.right, 150);
  EXPECT_EQ(childOf(windowsKeySurface().children, ChoiceText).id, 532);
  EXPECT_EQ(childOf(mediaKeySurface().children, ChoiceText).id, 552);
  // The speed caption: 20 pixels above the speed edit, 40 pixels wider on each side.
  const Region caption = captionAbove(childOf(fireKeySurface().children, SpeedEdit).rect);
  EXPECT_EQ(caption.left, 10);
  EXPECT_EQ(caption.top, 100);
  EXPECT_EQ(caption.right, 171);
  EXPECT_EQ(caption.bottom, 120);
}

TEST(MacroDialogSurface, BoxTicksAndTexts) {
  using enum MacroDialogControl;
  const auto surface = macroDialogSurface();
  EXPECT_EQ(hitTest(surface.regions, 42, 128)->control, MacroBox);
  EXPECT_EQ(hitTest(surface.regions, 151, 130), nullptr);
  EXPECT_EQ(hitTest(surface.regions, 220, 78)->index, 0);
  EXPECT_EQ(hitTest(surface.regions, 235, 143)->index, 1);
  EXPECT_EQ(hitTest(surface.regions, 220, 178)->index, 2);
  EXPECT_EQ(hitTest(surface.regions, 236, 180), nullptr);
  EXPECT_EQ(hitTest(surface.regions, 220, 194), nullptr);
  EXPECT_EQ(regionOf(surface.regions, RepeatTick, 2).over, SkinImage::PaneTick);
  EXPECT_EQ(surface.dropDown(MacroBox, MacroList).listId, 593);
  EXPECT_EQ(surface.dropDown(MacroBox, MacroList).list.bottom, 286);
  const Region option2 = repeatModeTextRegion(2);
  EXPECT_EQ(option2.left, 237);
  EXPECT_EQ(option2.top, 112);
  EXPECT_EQ(option2.right, 368);
  EXPECT_EQ(option2.bottom, 160);
  const Region title = macroDialogTitleRegion();
  EXPECT_EQ(title.left, -8);
  EXPECT_EQ(title.top, 112);
  EXPECT_EQ(title.right, 201);
  EXPECT_EQ(title.bottom, 128);
}

TEST(SkinsDialogSurface, ColourBoxAndSkinBox) {
  using enum SkinsDialogControl;
  const auto surface = skinsDialogSurface();
  EXPECT_EQ(hitTest(surface.regions, 42, 94)->control, ColourBox);
  EXPECT_EQ(hitTest(surface.regions, 150, 109)->control, ColourBox);
  EXPECT_EQ(hitTest(surface.regions, 100, 110), nullptr);
  EXPECT_EQ(hitTest(surface.regions, 100, 128)->control, SkinBox);
  EXPECT_EQ(childOf(surface.children, ColourBox).id, 561);
  EXPECT_EQ(childOf(surface.children, SkinText).id, 560);
  EXPECT_EQ(surface.dropDown(SkinBox, SkinList).listId, 562);
  EXPECT_EQ(surface.dropDown(SkinBox, SkinList).list.bottom, 266);
}

}  // namespace
}  // namespace ombrisk
