// The content of the key editor dialogs (single key, combination, fire key, delay,
// multimedia, Windows function): their press regions, child windows and label rectangles,
// in client pixels of the dialog. The frame (OK, Cancel, close) is skin/dialog_frame.h.
#pragma once

#include "skin/surface.h"

namespace ombrisk {

enum class KeyEditorControl {
  KeyNameText,    // single key: the captured name (502)
  ModifierText,   // combination: the chosen modifier (512)
  ModifierBox,
  ModifierList,   // 515
  Key1Edit,       // 516
  Key2Edit,       // 517
  FireKeyText,    // 572
  FireKeyBox,
  FireKeyList,    // 573
  SpeedEdit,      // 574
  TimesEdit,      // 575
  DelayEdit,      // 600
  ChoiceText,     // multimedia 552, Windows 532
  ChoiceBox,
  ChoiceList,     // multimedia 553, Windows 533
};

using KeyEditorSurface = SurfaceTables<KeyEditorControl>;

KeyEditorSurface singleKeySurface();
KeyEditorSurface comboKeySurface();
KeyEditorSurface fireKeySurface();
KeyEditorSurface delayTimeSurface();
KeyEditorSurface mediaKeySurface();
KeyEditorSurface windowsKeySurface();

// Label rectangles.
inline constexpr Region kSingleKeyPromptRegion{23, 108, 201, 124};
// The fire-key notes: one and two lines in the band under the edits, inside the dialog's
// picture (380 pixels wide).
inline constexpr Region kFireSpeedNoteRegion{15, 188, 366, 216};
inline constexpr Region kFireTimesNoteRegion{15, 216, 366, 246};
inline constexpr Region kDelayPromptRegion{14, 89, 210, 109};
inline constexpr Region kDelayRangeRegion{14, 109, 210, 129};
// The caption above an edit: a band 20 pixels high, 40 pixels wider on each side.
constexpr Region captionAbove(const Region& edit) {
  return {edit.left - 40, edit.top - 20, edit.right + 40, edit.top};
}

}  // namespace ombrisk
