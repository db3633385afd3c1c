// The macro-key dialog without its window: the macros it offers, its choice and its labels.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "settings/profile_store.h"
#include "skin/surface.h"

namespace ombrisk {

// What the dialog returns; OK without a choice gives macro 0 without a name, mode 1.
struct MacroKeyChoice {
  int index = 0;  // position in the dialog's list = macro number - 1
  std::string name;
  int repeatMode = 1;  // 1..3
};

// The macros a button can play: the sections of record.ini in file order, as far as the
// mouse has blocks for them (the first twelve). A later section has no macro number the
// mouse knows, so it is not offered.
std::vector<std::string> macroKeyItems(ProfileStore& store, const std::string& recordIni);

// The repeat mode whose tick box holds the point.
std::optional<int> repeatModeAt(int x, int y);

// The title over the macro box, the three mode texts beside their boxes (in white) and the
// boxes, the one of repeatMode ticked.
void paintMacroDialogContent(Painter& painter, Language language, int repeatMode);
// Only the tick boxes, after a change of mode.
void paintRepeatTicks(Painter& painter, int repeatMode);

}  // namespace ombrisk
