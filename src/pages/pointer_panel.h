// The pointer settings' controls on the Advanced page: three sliders of eleven cells and two
// check boxes drawn from the record, and what a press on one of them changes.
#pragma once

#include <vector>

#include "pages/advanced_page_surface.h"
#include "pages/pointer_settings.h"

namespace ombrisk {

// The light cells of slider row 1..3: the record's pointer speed index, wheel lines and
// double-click index, bounded to 0..11 (a settings file may hold anything).
int pointerSliderValue(const SettingsRecord& record, int row);

// Draws the three sliders (cells 1..value light, the rest dark) and the two check boxes.
void paintPointerControls(Painter& painter, const SettingsRecord& record);

// A press on a pointer control (a check box, a slider cell or "Default"): changes the record,
// redraws what changed and gives the system calls to make at once ("Default" writes the
// system's defaults). A press on any other control changes nothing.
std::vector<PointerCall> pressPointerControl(AdvancedControl control, int index, SettingsRecord& record,
                                             Painter& painter);

}  // namespace ombrisk
