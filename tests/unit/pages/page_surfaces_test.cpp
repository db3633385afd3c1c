// The main window's surface tables against coordinates written out by hand: which control
// a press at a point hits, edges included (left and top inside, right and bottom outside).
#include <gtest/gtest.h>

#include <optional>

#include "macros/macro_panel_surface.h"
#include "pages/advanced_page_surface.h"
#include "pages/basic_page_surface.h"

namespace ombrisk {
namespace {

template <typename Control>
struct Hit {
  int x, y;
  std::optional<Control> control;  // none: no control there
  int index = 0;
};

template <typename Control>
void expectHits(Surface<Control> surface, std::initializer_list<Hit<Control>> hits) {
  for (const Hit<Control>& hit : hits) {
    const SurfaceRegion<Control>* row = hitTest(surface, hit.x, hit.y);
    SCOPED_TRACE(testing::Message() << "press at " << hit.x << ", " << hit.y);
    if (!hit.control) {
      EXPECT_EQ(row, nullptr);
      continue;
    }
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->control, *hit.control);
    EXPECT_EQ(row->index, hit.index);
  }
}

TEST(WindowSurface, ButtonsInPressOrder) {
  using enum WindowControl;
  expectHits<WindowControl>(windowSurface(), {
      // Neighbouring buttons overlap by a pixel: the first in order takes it.
      {562, 623, Ok}, {666, 643, Ok}, {667, 623, Apply}, {770, 630, Apply}, {771, 630, Cancel},
      {874, 643, Cancel}, {875, 630, std::nullopt},
      {701, 5, Skins}, {719, 5, std::nullopt}, {825, 22, Minimise}, {850, 5, Close},
      {867, 22, Close}, {868, 22, std::nullopt}, {14, 54, PreviousPage}, {54, 60, std::nullopt},
      {60, 93, NextPage}, {60, 94, std::nullopt}, {370, 626, WebLink}, {547, 639, WebLink},
      {548, 630, std::nullopt}, {300, 300, std::nullopt},
  });
  // Captioned buttons carry their texts; the hoverable ones are the eight buttons.
  EXPECT_EQ(regionOf(windowSurface(), Ok).caption.id(), TextId::Ok);
  int hoverable = 0;
  for (const auto& row : windowSurface()) hoverable += row.hoverable;
  EXPECT_EQ(hoverable, 8);
}

TEST(BasicPageSurface, ControlsInPressOrder) {
  using enum BasicControl;
  expectHits<BasicControl>(basicPageSurface(), {
      {253, 518, ModeA}, {357, 518, ModeA}, {358, 518, ModeB}, {461, 538, ModeB}, {462, 520, std::nullopt},
      {307, 549, KeyDefault}, {411, 569, KeyDefault}, {412, 560, std::nullopt},
      {252, 199, KeyBox, 0}, {462, 219, KeyBox, 0}, {300, 220, std::nullopt}, {300, 222, KeyBox, 1},
      {252, 337, KeyBox, 6}, {462, 357, KeyBox, 6}, {300, 358, std::nullopt},
      {542, 204, ReportRate, 0}, {612, 204, std::nullopt}, {614, 214, ReportRate, 1},
      {686, 210, ReportRate, 2}, {827, 214, ReportRate, 3}, {828, 210, std::nullopt},
      {554, 541, StageSwitch, 0}, {569, 556, StageSwitch, 0}, {570, 545, std::nullopt},
      {635, 541, StageSwitch, 3}, {554, 523, StageSwatch, 0}, {608, 538, StageSwatch, 2},
      {767, 330, LightingBox, 0}, {850, 343, LightingBox, 0}, {851, 335, std::nullopt},
      {767, 360, LightingBox, 1}, {800, 403, LightingBox, 2}, {800, 404, std::nullopt},
      // Level 1 of stage 1 at the bottom, level 12 of stage 4 at the top.
      {554, 500, DpiCell, dpiCellIndex(1, 1)}, {569, 515, DpiCell, dpiCellIndex(1, 1)},
      {569, 516, std::nullopt}, {555, 482, DpiCell, dpiCellIndex(1, 2)},
      {581, 302, DpiCell, dpiCellIndex(2, 12)}, {650, 302, DpiCell, dpiCellIndex(4, 12)},
      {650, 301, std::nullopt}, {651, 302, std::nullopt}, {200, 300, std::nullopt},
  });
}

TEST(BasicPageSurface, ChildWindowsAndDropDowns) {
  using enum BasicControl;
  const auto children = basicPageChildren();
  EXPECT_EQ(childOf(children, KeyList, 0).id, 41);
  EXPECT_EQ(childOf(children, KeyList, 6).id, 47);
  EXPECT_EQ(childOf(children, KeyList, 6).rect.top, 221 + 23 * 6);
  EXPECT_EQ(childOf(children, KeyList, 6).rect.bottom, 491 + 23 * 6);
  EXPECT_EQ(childOf(children, StageSwatch, 3).id, 74);
  EXPECT_EQ(childOf(children, LightingValue, 1).id, 81);
  EXPECT_EQ(childOf(children, LightingValue, 1).rect.right, 835);
  EXPECT_EQ(childOf(children, LightingList, 2).id, 65);
  // A press in key list 2's area keeps list 2 open; a press on its own box too.
  const DropDownBox key2 = keyDropDown(1);
  EXPECT_FALSE(key2.pressClosesList(300, 250));
  EXPECT_FALSE(key2.pressClosesList(300, 225));
  EXPECT_TRUE(key2.pressClosesList(300, 514));  // just below the list area
  EXPECT_TRUE(lightingDropDown(0).pressClosesList(850, 344));
}

TEST(BasicPageSurface, TextsThatShareAControlsRectangle) {
  const InterfaceTexts texts(Language::English);
  // The last label of that text (the stage numbers follow the button numbers).
  const auto find = [&](const std::string& text) {
    const auto labels = basicPageTexts(texts);
    for (auto label = labels.rbegin(); label != labels.rend(); ++label)
      if (label->text == text) return label->region;
    ADD_FAILURE() << text;
    return Region{};
  };
  const Region colour = find("Color"), select = find("Select"), stage4 = find("4"), rate = find("1000");
  EXPECT_EQ(colour.left, 494);
  EXPECT_EQ(colour.right, 544);
  EXPECT_EQ(colour.top, 523);
  EXPECT_EQ(select.top, 541);
  EXPECT_EQ(stage4.left, 635);
  EXPECT_EQ(stage4.top, 562);
  EXPECT_EQ(rate.top, 225);
  EXPECT_EQ(rate.left, 758);
  EXPECT_EQ(find("Parameter").left, 697);
  EXPECT_EQ(find("Parameter").right, 757);
  EXPECT_EQ(keyLabelRegion(2).left, 272);
  EXPECT_EQ(keyLabelRegion(2).top, 245);
}

TEST(AdvancedPageSurface, ControlsInPressOrder) {
  using enum AdvancedControl;
  expectHits<AdvancedControl>(advancedPageSurface(), {
      {51, 255, PrecisionBox}, {66, 270, PrecisionBox}, {67, 260, std::nullopt},
      {51, 405, OneScreenBox}, {38, 584, PointerDefault}, {142, 604, PointerDefault},
      {143, 590, std::nullopt}, {735, 229, StartRecording}, {764, 240, std::nullopt},
      {763, 293, StopRecording}, {513, 528, MacroNew}, {617, 530, MacroNew}, {618, 530, MacroDelete}, {721, 530, MacroDelete},
      {722, 530, MacroConfirm},
      {825, 548, MacroConfirm}, {826, 540, std::nullopt}, {735, 402, MouseEventBox},
      {853, 415, MouseEventBox}, {854, 410, std::nullopt},
      {52, 200, PointerSlider, pointerCellIndex(1, 1)}, {75, 210, PointerSlider, pointerCellIndex(1, 1)},
      {76, 200, PointerSlider, pointerCellIndex(1, 2)}, {291, 200, PointerSlider, pointerCellIndex(1, 10)},
      {292, 200, PointerSlider, pointerCellIndex(1, 11)}, {315, 210, PointerSlider, pointerCellIndex(1, 11)},
      {316, 200, std::nullopt}, {52, 211, std::nullopt}, {100, 350, PointerSlider, pointerCellIndex(2, 3)},
      {315, 510, PointerSlider, pointerCellIndex(3, 11)}, {400, 300, std::nullopt},
  });
}

TEST(MacroPanelSurface, ChildWindowsAndLabels) {
  using enum MacroPanelControl;
  const auto children = macroPanelChildren();
  EXPECT_EQ(childOf(children, MacroList).id, 151);
  EXPECT_EQ(childOf(children, EventList).rect.left, 592);
  EXPECT_EQ(childOf(children, LoopTimesEdit).id, 149);
  EXPECT_EQ(childOf(children, MouseEventList).rect.bottom, 569);
  const InterfaceTexts texts(Language::English);
  for (const PanelText& label : macroPanelTexts(texts))
    if (label.text == "Insert A Mouse Event") {
      EXPECT_EQ(label.region.left, 735);
      EXPECT_EQ(label.region.top, 382);
      EXPECT_EQ(label.region.right, 874);
      EXPECT_EQ(label.region.bottom, 402);
    }
  const DropDownBox events = mouseEventDropDown(regionOf(advancedPageSurface(), AdvancedControl::MouseEventBox).rect);
  EXPECT_EQ(events.listId, 154);
  EXPECT_FALSE(events.pressClosesList(734, 419));
  EXPECT_TRUE(events.pressClosesList(734, 418));
}

}  // namespace
}  // namespace ombrisk
