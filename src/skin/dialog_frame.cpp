#include "skin/dialog_frame.h"

namespace ombrisk {
namespace {

using enum FrameControl;

constexpr std::array<SurfaceRegion<FrameControl>, 3> kFrameRows = {{
    {Ok, 0, {166, 253, 271, 274}, SkinImage::ButtonNormal, SkinImage::ButtonOver, TextId::Ok, true},
    {Cancel, 0, {270, 253, 375, 274}, SkinImage::ButtonNormal, SkinImage::ButtonOver, TextId::Cancel, true},
    {Close, 0, {352, 6, 370, 24}, SkinImage::CloseNormal, SkinImage::CloseOver, {}, true},
}};

}  // namespace

Surface<FrameControl> dialogFrameSurface() { return kFrameRows; }

const EditorDialogFrame& editorDialogFrame(EditorDialog dialog) {
  for (const EditorDialogFrame& frame : kEditorDialogFrames)
    if (frame.dialog == dialog) return frame;
  return kEditorDialogFrames[0];
}

}  // namespace ombrisk
