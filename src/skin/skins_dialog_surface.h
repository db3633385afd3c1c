// The content of the skin dialog: the skin drop-down box, the colour box and the prompt, in
// client pixels of the dialog.
#pragma once

#include "skin/surface.h"

namespace ombrisk {

enum class SkinsDialogControl {
  ColourBox,  // 561: a static filled with the chosen colour; a press opens the colour chooser
  SkinBox,
  SkinText,   // 560: the chosen skin's name
  SkinList,   // 562
};

SurfaceTables<SkinsDialogControl> skinsDialogSurface();

// The prompt above the colour box, centred on one line. It reaches further right than the
// boxes under it, so that the English prompt, wider than they are, stays inside the panel.
inline constexpr Region kSkinsPromptRegion{12, 64, 200, 94};

}  // namespace ombrisk
