// The Advanced page's surface: the pointer settings and the macro panel's buttons, in the
// order a press tests them, and the page's fixed texts. The macro panel's child windows and
// labels are the panel's own (macros/macro_panel_surface.h).
#pragma once

#include <vector>

#include "pages/basic_page_surface.h"

namespace ombrisk {

enum class AdvancedControl {
  PrecisionBox,    // "Enhance Pointer Precision"
  OneScreenBox,    // "Scroll One Screen"
  PointerDefault,
  StartRecording,
  StopRecording,
  MacroNew,
  MacroDelete,
  MacroConfirm,
  MouseEventBox,
  PointerSlider,   // index pointerCellIndex(row, position)
};

inline constexpr int kPointerSliders = 3;     // mouse speed, scrolling speed, double-click speed
inline constexpr int kPointerPositions = 11;

// Row 1..3, position 1..11.
constexpr int pointerCellIndex(int row, int position) { return (row - 1) * kPointerPositions + (position - 1); }
constexpr int pointerCellRow(int index) { return index / kPointerPositions + 1; }
constexpr int pointerCellPosition(int index) { return index % kPointerPositions + 1; }

Surface<AdvancedControl> advancedPageSurface();

// The pointer settings' fixed labels: the three slider titles, the check box labels, the
// scale numbers under the slider cells, and the macro panel's group title.
std::vector<PageText> advancedPageTexts(const InterfaceTexts& texts);

}  // namespace ombrisk
