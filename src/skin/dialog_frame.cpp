#include "skin/dialog_frame.h"

namespace ombrisk {

const EditorDialogFrame& editorDialogFrame(EditorDialog dialog) {
  for (const EditorDialogFrame& frame : kEditorDialogFrames)
    if (frame.dialog == dialog) return frame;
  return kEditorDialogFrames[0];
}

}  // namespace ombrisk
