// The common frame of the eight editor dialogs: the frame buttons' regions and images, and
// what distinguishes each dialog's frame (template, background, failure caption).
#pragma once

#include <array>
#include <string_view>

#include "skin/region.h"

namespace ombrisk {

inline constexpr Region kDialogCloseRegion{352, 6, 370, 24};
inline constexpr Region kDialogOkRegion{166, 253, 271, 274};
inline constexpr Region kDialogCancelRegion{270, 253, 375, 274};

inline constexpr std::string_view kCloseNormalImage = "/button-close-normal.png";
inline constexpr std::string_view kCloseOverImage = "/button-close-over.png";
inline constexpr std::string_view kButtonNormalImage = "/button-normal.png";
inline constexpr std::string_view kButtonOverImage = "/button-over.png";

enum class EditorDialog { Single, Windows, Media, FireKey, Macro, Combo, DelayTime, Skins };

struct EditorDialogFrame {
  EditorDialog dialog;
  int templateId;
  std::string_view background;
  std::string_view failureCaption;
  bool contentLabelsInSkinColour;  // otherwise white
  bool wheelScrollsList;           // the mouse wheel scrolls an open drop-down list
};

inline constexpr std::array<EditorDialogFrame, 8> kEditorDialogFrames = {{
    {EditorDialog::Single, 701, "/single-key.png", "Single Key Dialog Load background image failed!!!", false, false},
    {EditorDialog::Windows, 702, "/windows-key.png", "Windows Dialog Load background image failed!!!", true, false},
    {EditorDialog::Media, 703, "/media-key.png", "Media Dialog Load background image failed!!!", true, false},
    {EditorDialog::FireKey, 704, "/fire-key.png", "FireKey Dialog Load background image failed!!!", false, true},
    {EditorDialog::Macro, 705, "/macro-key.png", "Macro Key Dialog Load background image failed!!!", false, true},
    {EditorDialog::Combo, 706, "/combo-key.png", "Combo Dialog Load background image failed!!!", true, false},
    {EditorDialog::DelayTime, 707, "/delay-time.png", "DelayTime Dialog Load background image failed!!!", false, false},
    {EditorDialog::Skins, 708, "/skins.png", "Skins Dialog Load background image failed!!!", true, true},
}};

const EditorDialogFrame& editorDialogFrame(EditorDialog dialog);

}  // namespace ombrisk
