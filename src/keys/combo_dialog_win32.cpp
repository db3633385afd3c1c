#include "keys/combo_dialog_win32.h"

#include "app/window_messages.h"
#include "keys/key_editor_surfaces.h"
#include "keys/key_names.h"
#include "util/wide_win32.h"

namespace ombrisk {

CComboDialog::CComboDialog()
    : CKeyCaptureDialog(EditorDialog::Combo, KeyNameHookOwner::Combo, WM_COMBO_KEY_NAME,
                        L"KeyboardHook_ComboDlg Install error code :%d\n") {}

void CComboDialog::initContent() {
  using enum KeyEditorControl;
  const KeyEditorSurface surface = comboKeySurface();
  addDropDown(surface.dropDown(ModifierBox, ModifierList));
  modifierText_ = createChild(childOf(surface.children, ModifierText), SS_SUNKEN | SS_CENTER | SS_ENDELLIPSIS);
  key1Edit_ = createChild(childOf(surface.children, Key1Edit), ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP);
  key2Edit_ = createChild(childOf(surface.children, Key2Edit), ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP);
  installHook();
}

void CComboDialog::drawContent(Painter& painter, TextColour labelColour) {
  paintComboKeyCaptions(painter, texts().language(), labelColour);
  paintComboKeyContent(painter, texts().language(), key1_, key2_, labelColour);
}

std::vector<std::string> CComboDialog::dropDownItems(std::size_t) {
  std::vector<std::string> names;
  for (const ModifierNameBit& modifier : modifierNameTable()) names.emplace_back(modifier.name);
  return names;
}

void CComboDialog::dropDownChosen(std::size_t, const DropDownList::Choice& choice) {
  modifier_ = choice.text;
  SetWindowTextW(modifierText_, widen(modifier_).c_str());
}

void CComboDialog::dropDownsChanged() {
  // While the modifier list is open the keys cannot be typed.
  const BOOL enable = !dropDown(0).isOpen();
  EnableWindow(key1Edit_, enable);
  EnableWindow(key2Edit_, enable);
}

void CComboDialog::keyCaptured(const std::string& name) {
  HWND focus = GetFocus();
  CapturedKey* key = focus == key1Edit_ ? &key1_ : focus == key2Edit_ ? &key2_ : nullptr;
  if (!key) return;
  const bool noteBefore = key1_.unassignable() || key2_.unassignable();
  key->capture(name);
  SetWindowTextW(focus, widen(name).c_str());
  if (noteBefore || key1_.unassignable() || key2_.unassignable()) repaintAfresh();
}

bool CComboDialog::preTranslateMessage(MSG& message) {
  // The edits show captured names only: the characters the keys type are not theirs.
  if ((message.message == WM_CHAR || message.message == WM_SYSCHAR) &&
      (message.hwnd == key1Edit_ || message.hwnd == key2Edit_))
    return true;
  return CKeyCaptureDialog::preTranslateMessage(message);
}

}  // namespace ombrisk
