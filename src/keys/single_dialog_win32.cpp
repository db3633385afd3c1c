#include "keys/single_dialog_win32.h"

#include "app/window_messages.h"
#include "keys/key_editor_surfaces.h"
#include "util/wide_win32.h"

namespace ombrisk {

CSingleDialog::CSingleDialog()
    : CKeyCaptureDialog(EditorDialog::Single, KeyNameHookOwner::Single, WM_SINGLE_KEY_NAME,
                        L"KeyboardHook_SingleDlgKey Install error code :%d\n") {}

void CSingleDialog::initContent() {
  nameText_ = createChild(childOf(singleKeySurface().children, KeyEditorControl::KeyNameText), SS_SUNKEN | SS_CENTER | SS_ENDELLIPSIS);
  installHook();
}

void CSingleDialog::drawContent(Painter& painter, TextColour) {
  paintSingleKeyContent(painter, texts().language(), key_);
}

void CSingleDialog::keyCaptured(const std::string& name) {
  const bool noteBefore = key_.unassignable();
  key_.capture(name);
  SetWindowTextW(nameText_, widen(name).c_str());
  if (key_.unassignable() || noteBefore) repaintAfresh();
}

}  // namespace ombrisk
