#include "keys/fire_key_dialog_win32.h"

#include <algorithm>

#include "keys/key_editor_surfaces.h"
#include "util/wide_win32.h"

namespace ombrisk {

CFireKeyDialog::CFireKeyDialog() : CSkinnedDialog(EditorDialog::FireKey) {}

void CFireKeyDialog::initContent() {
  using enum KeyEditorControl;
  const KeyEditorSurface surface = fireKeySurface();
  addDropDown(surface.dropDown(FireKeyBox, FireKeyList));
  keyText_ = createChild(childOf(surface.children, FireKeyText), SS_SUNKEN | SS_CENTER | SS_ENDELLIPSIS, choice_.text);
  constexpr DWORD kNumberEdit = ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP;
  speedEdit_ = createChild(childOf(surface.children, SpeedEdit), kNumberEdit, std::to_string(choice_.speed));
  timesEdit_ = createChild(childOf(surface.children, TimesEdit), kNumberEdit, std::to_string(choice_.times));
}

void CFireKeyDialog::drawContent(Painter& painter, TextColour) { paintFireKeyContent(painter, texts().language()); }

std::vector<std::string> CFireKeyDialog::dropDownItems(std::size_t) { return fireKeyItems(); }

void CFireKeyDialog::dropDownChosen(std::size_t, const DropDownList::Choice& choice) {
  choice_.index = choice.index;
  choice_.text = choice.text;
  SetWindowTextW(keyText_, widen(choice.text).c_str());
}

void CFireKeyDialog::dropDownsChanged() {
  const BOOL enable = !dropDown(0).isOpen();
  EnableWindow(speedEdit_, enable);
  EnableWindow(timesEdit_, enable);
}

std::uint8_t CFireKeyDialog::checkEdit(HWND edit, FieldReading (*read)(std::string_view)) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(edit, text.data(), length + 1), 0)));
  const FieldReading reading = read(narrow(text));
  if (reading.replacement) {
    SetWindowTextW(edit, widen(*reading.replacement).c_str());
    SendMessageW(edit, EM_SETSEL, reading.replacement->size(), reading.replacement->size());
  }
  return reading.value;
}

void CFireKeyDialog::beforeOk() {
  // OK does not take the focus from the speed edit: the speed typed last is checked here.
  if (speedEdit_) choice_.speed = checkEdit(speedEdit_, readFireSpeed);
}

INT_PTR CFireKeyDialog::contentMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND || !lParam) return FALSE;
  const HWND control = reinterpret_cast<HWND>(lParam);
  if (control == speedEdit_ && HIWORD(wParam) == EN_KILLFOCUS) {
    choice_.speed = checkEdit(speedEdit_, readFireSpeed);
    return TRUE;
  }
  if (control == timesEdit_ && HIWORD(wParam) == EN_CHANGE) {
    choice_.times = checkEdit(timesEdit_, readFireTimes);
    return TRUE;
  }
  return FALSE;
}

}  // namespace ombrisk
