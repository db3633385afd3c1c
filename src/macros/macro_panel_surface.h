// The macro panel of the Advanced page: its child windows and its labels. Its buttons are
// regions of the Advanced page (pages/advanced_page_surface.h), which tests them in order.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "skin/surface.h"

namespace ombrisk {

enum class MacroPanelControl {
  MacroList,        // 151: the macro names in record.ini order
  EventList,        // 152: the selected macro's entries
  NameEdit,         // 150
  LoopTimesEdit,    // 149
  MouseEventText,   // 119: the last inserted mouse event, in the mouse-event box
  MouseEventList,   // 154: exists only while open
};

std::span<const ChildControl<MacroPanelControl>> macroPanelChildren();

// The mouse-event box opens the mouse-event list under it.
DropDownBox mouseEventDropDown(const Region& box);

struct PanelText {
  std::string text;
  Region region;
  TextPlacement placement;
};

// The column headers, the recording labels and the labels above the name edit, the
// loop-times edit and the mouse-event box.
std::vector<PanelText> macroPanelTexts(const InterfaceTexts& texts);

}  // namespace ombrisk
