#include "pages/advanced_page_surface.h"

namespace ombrisk {
namespace {

using Row = SurfaceRegion<AdvancedControl>;
using enum AdvancedControl;

// Slider rows at y = 200, 350 and 500; cells 24 pixels wide and 11 high.
constexpr Region kFirstPointerCell{52, 200, 76, 211};
constexpr int kPointerRowPitch = 150, kPointerCellPitch = 24;
// A check box's label stands right of it, to x = 400.
constexpr int kCheckLabelRight = 400;

const std::vector<Row>& rows() {
  static const std::vector<Row> table = [] {
    std::vector<Row> t = {
        {PrecisionBox, 0, {51, 255, 67, 271}, SkinImage::Pane, SkinImage::PaneTick},
        {OneScreenBox, 0, {51, 405, 67, 421}, SkinImage::Pane, SkinImage::PaneTick},
        {PointerDefault, 0, {38, 584, 143, 605}, SkinImage::ButtonNormal, SkinImage::ButtonOver,
         TextId::PointerDefault, true},
        // The record and stop icons are part of the page picture.
        {StartRecording, 0, {735, 229, 764, 258}},
        {StopRecording, 0, {735, 265, 764, 294}},
    };
    t.push_back({MacroNew, 0, {513, 528, 618, 549}, SkinImage::ButtonNormal, SkinImage::ButtonOver,
                 TextId::MacroNew, true});
    t.push_back({MacroDelete, 0, {617, 528, 722, 549}, SkinImage::ButtonNormal, SkinImage::ButtonOver,
                 TextId::MacroDelete, true});
    t.push_back({MacroConfirm, 0, {721, 528, 826, 549}, SkinImage::ButtonNormal, SkinImage::ButtonOver,
                 TextId::MacroConfirm, true});
    t.push_back({MouseEventBox, 0, {735, 402, 854, 416}});
    for (int row = 1; row <= kPointerSliders; ++row)
      addRepeated(t,
                  {PointerSlider, pointerCellIndex(row, 1),
                   {kFirstPointerCell.left, kFirstPointerCell.top + kPointerRowPitch * (row - 1),
                    kFirstPointerCell.right, kFirstPointerCell.bottom + kPointerRowPitch * (row - 1)},
                   SkinImage::SliderDark, SkinImage::SliderLight},
                  kPointerPositions, kPointerCellPitch, 0);
    return t;
  }();
  return table;
}

}  // namespace

Surface<AdvancedControl> advancedPageSurface() { return rows(); }

std::vector<PageText> advancedPageTexts(const InterfaceTexts& texts) {
  const Surface<AdvancedControl> surface = advancedPageSurface();
  std::vector<PageText> out = {
      {texts[TextId::MouseSpeed], {38, 160, 143, 181}, TextPlacement::Centred},
      {texts[TextId::ScrollingSpeed], {38, 310, 143, 331}, TextPlacement::Centred},
      {texts[TextId::DoubleClickSpeed], {38, 460, 143, 481}, TextPlacement::Centred},
      {texts[TextId::MacroSetting], {469, 160, 578, 181}, TextPlacement::Centred},
  };
  for (auto [box, label] : {std::pair{PrecisionBox, TextId::EnhancePointerPrecision},
                            std::pair{OneScreenBox, TextId::ScrollOneScreen}}) {
    const Region tick = regionOf(surface, box).rect;
    out.push_back({texts[label], {tick.right + 1, tick.top, kCheckLabelRight, tick.bottom}, TextPlacement::Left});
  }
  for (AdvancedControl button : {PointerDefault, MacroNew, MacroDelete, MacroConfirm}) {
    const Row& row = regionOf(surface, button);
    out.push_back({row.caption.in(texts), row.rect, TextPlacement::Centred});
  }
  // Scale numbers 1..11 under the cells.
  for (int row = 1; row <= kPointerSliders; ++row)
    for (int position = 1; position <= kPointerPositions; ++position) {
      const Region cell = regionOf(surface, PointerSlider, pointerCellIndex(row, position)).rect;
      out.push_back({std::to_string(position), {cell.left, cell.top + 14, cell.right, cell.top + 30},
                     TextPlacement::TopCentred});
    }
  return out;
}

}  // namespace ombrisk
