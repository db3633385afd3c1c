// The colours of the main window's child windows: edits, list boxes and static texts.
#pragma once

#include <cstdint>
#include <optional>

#include "settings/settings_image.h"

namespace ombrisk {

enum class ChildClass { Edit, List, Button, Static };

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

struct ControlColour {
  std::optional<Rgb> text;        // none: the system's
  std::optional<Rgb> background;  // none: transparent text background
  std::optional<Rgb> brush;       // none: the default brush
  bool smallFont = false;
};

// By the child's class and control identifier: the stage swatches (71..74) are filled with
// their stage's colour, the lighting values (80..82) and the mouse-event text (119) show the
// skin colour on black, the macro lists (151, 152) are white on their dark brush, other
// lists white on black, other statics the skin colour on green-grey.
ControlColour controlColourFor(ChildClass childClass, int id, const SettingsRecord& record, Rgb skinColour);

}  // namespace ombrisk
