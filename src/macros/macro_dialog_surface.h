// The content of the macro-key dialog: the macro drop-down box and the three repeat-mode
// tick boxes with their texts, in client pixels of the dialog.
#pragma once

#include "skin/surface.h"

namespace ombrisk {

enum class MacroDialogControl {
  MacroBox,
  RepeatTick,  // index 0..2: repeat mode 1..3
  MacroText,   // 592: the chosen macro's name
  MacroList,   // 593
};

inline constexpr int kRepeatModes = 3;

SurfaceTables<MacroDialogControl> macroDialogSurface();

// The text of repeat mode 1..3, right of its tick box, up to three lines.
Region repeatModeTextRegion(int mode);
// The title above the macro box: 50 pixels wider on each side, 16 pixels high.
Region macroDialogTitleRegion();

}  // namespace ombrisk
