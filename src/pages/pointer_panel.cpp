#include "pages/pointer_panel.h"

#include <algorithm>

namespace ombrisk {
namespace {

constexpr std::size_t kSliderFields[kPointerSliders] = {rec::kPointerSpeed, rec::kWheelLines, rec::kDoubleClickIndex};

// The pointer controls have no captions.
const InterfaceTexts& noCaptions() {
  static const InterfaceTexts texts;
  return texts;
}

void paintSlider(Painter& painter, const SettingsRecord& record, int row) {
  const int value = pointerSliderValue(record, row);
  for (int position = 1; position <= kPointerPositions; ++position)
    paintRegion(painter, regionOf(advancedPageSurface(), AdvancedControl::PointerSlider, pointerCellIndex(row, position)),
                position <= value, noCaptions());
}

void paintBox(Painter& painter, AdvancedControl box, bool ticked) {
  paintRegion(painter, regionOf(advancedPageSurface(), box), ticked, noCaptions());
}

}  // namespace

int pointerSliderValue(const SettingsRecord& record, int row) {
  return std::min<int>(record[kSliderFields[row - 1]], kPointerPositions);
}

void paintPointerControls(Painter& painter, const SettingsRecord& record) {
  for (int row = 1; row <= kPointerSliders; ++row) paintSlider(painter, record, row);
  paintBox(painter, AdvancedControl::PrecisionBox, record[rec::kEnhancePrecision] != 0);
  paintBox(painter, AdvancedControl::OneScreenBox, record[rec::kWheelOneScreen] != 0);
}

std::vector<PointerCall> pressPointerControl(AdvancedControl control, int index, SettingsRecord& record,
                                             Painter& painter) {
  switch (control) {
    case AdvancedControl::PrecisionBox:
    case AdvancedControl::OneScreenBox: {
      const std::size_t field = control == AdvancedControl::PrecisionBox ? rec::kEnhancePrecision : rec::kWheelOneScreen;
      record[field] = record[field] != 0 ? 0 : 1;
      paintBox(painter, control, record[field] != 0);
      return {};
    }
    case AdvancedControl::PointerSlider: {
      const int row = pointerCellRow(index);
      record[kSliderFields[row - 1]] = static_cast<std::uint8_t>(pointerCellPosition(index));
      paintSlider(painter, record, row);
      return {};
    }
    case AdvancedControl::PointerDefault:
      setDefaultPointerRecord(record);
      paintPointerControls(painter, record);
      return pointerDefaultCalls();
    default:
      return {};
  }
}

}  // namespace ombrisk
