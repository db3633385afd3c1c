#include "pages/main_layout.h"

namespace ombrisk {
namespace {

struct LabelRow {
  TextId id;
  Region region;
  TextPlacement placement;
};

constexpr LabelRow kBasicLabels[] = {
    {TextId::KeySetting, {259, 160, 364, 181}, TextPlacement::Centred},
    {TextId::ReportRateSetting, {504, 161, 609, 182}, TextPlacement::Centred},
    {TextId::DpiSetting, {504, 275, 609, 296}, TextPlacement::Centred},
    {TextId::DpiEffect, {704, 275, 809, 296}, TextPlacement::Centred},
    {TextId::KeyDefault, {307, 549, 412, 570}, TextPlacement::Centred},
    // Left of the three lighting boxes: box left - 70 to box left - 10.
    {TextId::LightingMode, {697, 330, 757, 344}, TextPlacement::Right},
    {TextId::LightingParameter, {697, 360, 757, 374}, TextPlacement::Right},
    {TextId::LightingEffect, {697, 390, 757, 404}, TextPlacement::Right},
};

constexpr LabelRow kAdvancedLabels[] = {
    {TextId::MouseSpeed, {38, 160, 143, 181}, TextPlacement::Centred},
    {TextId::ScrollingSpeed, {38, 310, 143, 331}, TextPlacement::Centred},
    {TextId::DoubleClickSpeed, {38, 460, 143, 481}, TextPlacement::Centred},
    {TextId::MacroSetting, {469, 160, 578, 181}, TextPlacement::Centred},
    {TextId::EnhancePointerPrecision, {68, 255, 400, 271}, TextPlacement::Left},
    {TextId::ScrollOneScreen, {68, 405, 400, 421}, TextPlacement::Left},
    {TextId::PointerDefault, {38, 584, 143, 605}, TextPlacement::Centred},
    {TextId::SelectMacro, {457, 196, 592, 220}, TextPlacement::Centred},
    {TextId::KeyPressSequence, {591, 196, 726, 220}, TextPlacement::Centred},
    {TextId::RecordOption, {725, 196, 875, 220}, TextPlacement::Centred},
    {TextId::StartRecording, {765, 227, 874, 260}, TextPlacement::Paragraph},
    {TextId::StopRecording, {765, 263, 874, 296}, TextPlacement::Paragraph},
    {TextId::MacroName, {735, 302, 874, 322}, TextPlacement::Left},
    {TextId::LoopTimes, {735, 342, 874, 362}, TextPlacement::Left},
    {TextId::InsertMouseEvent, {735, 382, 874, 402}, TextPlacement::Left},
    {TextId::MacroNew, {513, 528, 618, 549}, TextPlacement::Centred},
    {TextId::MacroDelete, {617, 528, 722, 549}, TextPlacement::Centred},
    {TextId::MacroConfirm, {721, 528, 826, 549}, TextPlacement::Centred},
};

constexpr int kStageLeft = 554, kStagePitch = 27, kStageWidth = 16;
constexpr int kSwitchTop = 541, kSwatchTop = 523, kCellSide = 16;
constexpr Region kRatePositions[] = {
    {542, 204, 612, 215}, {614, 204, 684, 215}, {686, 204, 756, 215}, {758, 204, 828, 215}};
constexpr const char* kRateNames[] = {"125", "250", "500", "1000"};

void add(std::vector<PageText>& out, const InterfaceTexts& texts, std::span<const LabelRow> rows) {
  for (const LabelRow& row : rows) out.push_back({texts[row.id], row.region, row.placement});
}

}  // namespace

std::vector<PageText> pageTexts(Page page, const InterfaceTexts& texts) {
  std::vector<PageText> out;
  if (page == Page::Basic) {
    add(out, texts, kBasicLabels);
    out.push_back({"Mode A", {253, 518, 358, 539}, TextPlacement::Centred});
    out.push_back({"Mode B", {357, 518, 462, 539}, TextPlacement::Centred});
    for (int k = 1; k <= 7; ++k) {
      const int top = 199 + 23 * (k - 1);
      out.push_back({std::to_string(k), {252, top, 272, top + 21}, TextPlacement::Left});
    }
    for (int p = 0; p < 4; ++p) {
      const Region& position = kRatePositions[p];
      out.push_back({kRateNames[p],
                     {position.left, position.bottom + 10, position.right, position.bottom + 30},
                     TextPlacement::TopCentred});
    }
    out.push_back({"Color", {kStageLeft - 60, kSwatchTop, kStageLeft - 10, kSwatchTop + kCellSide},
                   TextPlacement::Right});
    out.push_back({"Select", {kStageLeft - 60, kSwitchTop, kStageLeft - 10, kSwitchTop + kCellSide},
                   TextPlacement::Right});
    for (int s = 1; s <= 4; ++s) {
      const int left = kStageLeft + kStagePitch * (s - 1);
      out.push_back({std::to_string(s),
                     {left, kSwitchTop + kCellSide + 5, left + kStageWidth, kSwitchTop + kCellSide + 30},
                     TextPlacement::TopCentred});
    }
  } else if (page == Page::Advanced) {
    add(out, texts, kAdvancedLabels);
    constexpr int kSliderRows[] = {200, 350, 500};
    for (int row : kSliderRows)
      for (int c = 1; c <= 11; ++c) {
        const int left = 52 + 24 * (c - 1);
        out.push_back({std::to_string(c), {left, row + 14, left + 24, row + 30}, TextPlacement::TopCentred});
      }
  }
  return out;
}

}  // namespace ombrisk
