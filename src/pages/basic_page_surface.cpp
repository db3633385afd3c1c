#include "pages/basic_page_surface.h"

namespace ombrisk {

namespace {

using Row = SurfaceRegion<BasicControl>;
using Child = ChildControl<BasicControl>;
using enum BasicControl;

// A key box is 21 pixels high, one every 23; its list opens under it down to 270 pixels
// below its top.
constexpr Region kFirstKeyBox{252, 199, 463, 220};
constexpr int kKeyPitch = 23;
constexpr Region kFirstKeyList{252, 221, 463, 491};
constexpr int kKeyNumberWidth = 20;
// The label ends short of the box's arrow cell, 189 pixels from its left edge.
constexpr int kKeyLabelRight = 187;

// The stage columns: 16 pixels wide, one every 27; the DPI cells one every 18 upwards from
// level 1 at the bottom.
constexpr int kStageLeft = 554, kStagePitch = 27, kCellSide = 16, kLevelPitch = 18;
constexpr int kLevel1Top = 500, kSwitchTop = 541, kSwatchTop = 523;
constexpr Region stageCell(int top) { return {kStageLeft, top, kStageLeft + kCellSide, top + kCellSide}; }

// The three lighting boxes, one every 30 pixels; the value text stops short of the arrow.
constexpr Region kFirstLightingBox{767, 330, 851, 344};
constexpr int kLightingPitch = 30;
constexpr int kLightingValueRight = 835;
// The parameter list's height by mode: ten brightness texts, five speeds, thirty periods.
constexpr int kParameterListHeightMode1 = 173, kParameterListHeightMode2 = 93, kParameterListHeightOther = 203;

// The DPI value texts end short of the grid; with eight levels they start further left.
constexpr int kDpiValueRight = 544, kDpiValueLeft8 = 494, kDpiValueLeft12 = 514;

const std::vector<Row>& rows() {
  static const std::vector<Row> table = [] {
    std::vector<Row> t = {
        {ModeA, 0, {253, 518, 358, 539}, SkinImage::ButtonNormal, SkinImage::ButtonOver, "Mode A"},
        {ModeB, 0, {357, 518, 462, 539}, SkinImage::ButtonNormal, SkinImage::ButtonOver, "Mode B"},
        {KeyDefault, 0, {307, 549, 412, 570}, SkinImage::ButtonNormal, SkinImage::ButtonOver,
         TextId::KeyDefault, true},
    };
    addRepeated(t, {KeyBox, 0, kFirstKeyBox, SkinImage::DropdownBoxNormal, SkinImage::DropdownBoxOver, {}, true},
                kKeyBoxCount, 0, kKeyPitch);
    addRepeated(t, {ReportRate, 0, {542, 204, 612, 215}, SkinImage::SliderRateDark, SkinImage::SliderRateLight},
                kReportRatePositions, 72, 0);
    addRepeated(t, {StageSwitch, 0, stageCell(kSwitchTop), SkinImage::Pane, SkinImage::PaneTick}, kStages,
                kStagePitch, 0);
    // The swatches are filled by their static windows.
    addRepeated(t, {StageSwatch, 0, stageCell(kSwatchTop)}, kStages, kStagePitch, 0);
    addRepeated(t, {LightingBox, 0, kFirstLightingBox}, kLightingBoxes, 0, kLightingPitch);
    for (int stage = 1; stage <= kStages; ++stage)
      addRepeated(t,
                  {DpiCell, dpiCellIndex(stage, 1),
                   {kStageLeft + kStagePitch * (stage - 1), kLevel1Top,
                    kStageLeft + kStagePitch * (stage - 1) + kCellSide, kLevel1Top + kCellSide},
                   SkinImage::SliderDpiDark, SkinImage::SliderDpiLight},
                  kDpiLevelsMax, 0, -kLevelPitch);
    return t;
  }();
  return table;
}

const std::vector<Child>& children() {
  static const std::vector<Child> table = [] {
    std::vector<Child> t;
    for (int k = 0; k < kKeyBoxCount; ++k)
      t.push_back({KeyList, k, 41 + k,
                   {kFirstKeyList.left, kFirstKeyList.top + kKeyPitch * k, kFirstKeyList.right,
                    kFirstKeyList.bottom + kKeyPitch * k},
                   ChildKind::List});
    for (int s = 0; s < kStages; ++s) {
      const Region swatch = regionOf<BasicControl>(rows(), StageSwatch, s).rect;
      t.push_back({StageSwatch, s, 71 + s, swatch, ChildKind::Static});
    }
    for (int i = 0; i < kLightingBoxes; ++i) {
      Region value = regionOf<BasicControl>(rows(), LightingBox, i).rect;
      value.right = kLightingValueRight;
      t.push_back({LightingValue, i, 80 + i, value, ChildKind::Static});
    }
    // The parameter list's height follows the mode (longest shown here).
    t.push_back({LightingList, 0, 63, {766, 347, 851, 407}, ChildKind::List});
    t.push_back({LightingList, 1, 64, {767, 377, 851, 374 + kParameterListHeightOther}, ChildKind::List});
    t.push_back({LightingList, 2, 65, {766, 407, 851, 447}, ChildKind::List});
    return t;
  }();
  return table;
}

Region leftOf(const Region& control, int from, int to) {
  return {control.left - from, control.top, control.left - to, control.bottom};
}

}  // namespace

Surface<BasicControl> basicPageSurface() { return rows(); }
std::span<const ChildControl<BasicControl>> basicPageChildren() { return children(); }

DropDownBox keyDropDown(int button) {
  const Child& list = childOf<BasicControl>(children(), KeyList, button);
  return {list.id, regionOf(basicPageSurface(), KeyBox, button).rect, list.rect};
}

DropDownBox lightingDropDown(int box) {
  const Child& list = childOf<BasicControl>(children(), LightingList, box);
  return {list.id, regionOf(basicPageSurface(), LightingBox, box).rect, list.rect};
}

Region keyNumberRegion(int button) {
  Region box = regionOf(basicPageSurface(), KeyBox, button).rect;
  box.right = box.left + kKeyNumberWidth;
  return box;
}

Region keyLabelRegion(int button) {
  Region box = regionOf(basicPageSurface(), KeyBox, button).rect;
  box.right = box.left + kKeyLabelRight;
  box.left += kKeyNumberWidth;
  return box;
}

Region lightingListRect(int box, std::uint8_t mode) {
  Region list = childOf<BasicControl>(children(), LightingList, box).rect;
  if (box == 1) {
    const int height = mode == 1 ? kParameterListHeightMode1
                       : mode == 2 ? kParameterListHeightMode2
                                   : kParameterListHeightOther;
    list.bottom = regionOf(basicPageSurface(), LightingBox, 1).rect.bottom + height;
  }
  return list;
}

Region dpiValueRegion(int level, std::size_t levelCount) {
  const Region cell = regionOf(basicPageSurface(), DpiCell, dpiCellIndex(1, level)).rect;
  return {levelCount == 8 ? kDpiValueLeft8 : kDpiValueLeft12, cell.top, kDpiValueRight, cell.bottom};
}

std::vector<PageText> basicPageTexts(const InterfaceTexts& texts) {
  const Surface<BasicControl> surface = basicPageSurface();
  const auto at = [&](BasicControl control, int index = 0) { return regionOf(surface, control, index).rect; };
  std::vector<PageText> out = {
      {texts[TextId::KeySetting], {259, 160, 364, 181}, TextPlacement::Centred},
      {texts[TextId::ReportRateSetting], {504, 161, 609, 182}, TextPlacement::Centred},
      {texts[TextId::DpiSetting], {504, 275, 609, 296}, TextPlacement::Centred},
      {texts[TextId::DpiEffect], {704, 275, 809, 296}, TextPlacement::Centred},
  };
  for (BasicControl button : {ModeA, ModeB, KeyDefault}) {
    const Row& row = regionOf(surface, button);
    out.push_back({row.caption.in(texts), row.rect, TextPlacement::Centred});
  }
  for (int k = 0; k < kKeyBoxCount; ++k)
    out.push_back({std::to_string(k + 1), keyNumberRegion(k), TextPlacement::Left});
  constexpr const char* kRates[] = {"125", "250", "500", "1000"};
  for (int p = 0; p < kReportRatePositions; ++p) {
    const Region position = at(ReportRate, p);
    out.push_back({kRates[p], {position.left, position.bottom + 10, position.right, position.bottom + 30},
                   TextPlacement::TopCentred});
  }
  out.push_back({"Color", leftOf(at(StageSwatch), 60, 10), TextPlacement::Right});
  out.push_back({"Select", leftOf(at(StageSwitch), 60, 10), TextPlacement::Right});
  for (int s = 0; s < kStages; ++s) {
    const Region stageSwitch = at(StageSwitch, s);
    out.push_back({std::to_string(s + 1),
                   {stageSwitch.left, stageSwitch.bottom + 5, stageSwitch.right, stageSwitch.bottom + 30},
                   TextPlacement::TopCentred});
  }
  constexpr TextId kLightingLabels[] = {TextId::LightingMode, TextId::LightingParameter, TextId::LightingEffect};
  for (int i = 0; i < kLightingBoxes; ++i)
    out.push_back({texts[kLightingLabels[i]], leftOf(at(LightingBox, i), 70, 10), TextPlacement::Right});
  return out;
}

}  // namespace ombrisk
