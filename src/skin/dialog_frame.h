// The common frame of the eight editor dialogs: the frame buttons (the same rectangles in
// every dialog) and what tells each dialog's frame apart (template, background, failure
// caption, colour of its content labels, whether the wheel scrolls its open list).
#pragma once

#include <array>
#include <string_view>

#include "skin/dialog_ids.h"
#include "skin/surface.h"

namespace ombrisk {

enum class FrameControl { Ok, Cancel, Close };

// OK, Cancel and close, in the order a press tests them.
Surface<FrameControl> dialogFrameSurface();

enum class EditorDialog { Single, Windows, Media, FireKey, Macro, Combo, DelayTime, Skins };

struct EditorDialogFrame {
  EditorDialog dialog;
  int templateId;
  SkinImage background;
  std::string_view failureCaption;
  bool contentLabelsInSkinColour;  // otherwise white
  bool wheelScrollsList;           // the mouse wheel scrolls an open drop-down list
};

inline constexpr std::array<EditorDialogFrame, 8> kEditorDialogFrames = {{
    {EditorDialog::Single, IDD_SINGLE_KEY, SkinImage::SingleKeyDialog, "Single Key Dialog Load background image failed!!!", false, false},
    {EditorDialog::Windows, IDD_WINDOWS_KEY, SkinImage::WindowsKeyDialog, "Windows Dialog Load background image failed!!!", true, false},
    {EditorDialog::Media, IDD_MEDIA_KEY, SkinImage::MediaKeyDialog, "Media Dialog Load background image failed!!!", true, false},
    {EditorDialog::FireKey, IDD_FIRE_KEY, SkinImage::FireKeyDialog, "FireKey Dialog Load background image failed!!!", false, true},
    {EditorDialog::Macro, IDD_MACRO_KEY, SkinImage::MacroKeyDialog, "Macro Key Dialog Load background image failed!!!", false, true},
    {EditorDialog::Combo, IDD_COMBO_KEY, SkinImage::ComboKeyDialog, "Combo Dialog Load background image failed!!!", true, false},
    {EditorDialog::DelayTime, IDD_DELAY_TIME, SkinImage::DelayTimeDialog, "DelayTime Dialog Load background image failed!!!", false, false},
    {EditorDialog::Skins, IDD_SKINS, SkinImage::SkinsDialog, "Skins Dialog Load background image failed!!!", true, true},
}};

const EditorDialogFrame& editorDialogFrame(EditorDialog dialog);

}  // namespace ombrisk
