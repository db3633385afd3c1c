#include "keys/consumer_key_dialog_win32.h"

#include "keys/key_editor_surfaces.h"
#include "util/wide_win32.h"

namespace ombrisk {

CConsumerKeyDialog::CConsumerKeyDialog(EditorDialog dialog, ConsumerList list)
    : CSkinnedDialog(dialog), list_(list), choice_(firstConsumerChoice(list, interfaceLanguage())) {}

void CConsumerKeyDialog::initContent() {
  using enum KeyEditorControl;
  const KeyEditorSurface surface = list_ == ConsumerList::Media ? mediaKeySurface() : windowsKeySurface();
  addDropDown(surface.dropDown(ChoiceBox, ChoiceList));
  choiceText_ = createChild(childOf(surface.children, ChoiceText), SS_SUNKEN | SS_LEFT | SS_ENDELLIPSIS, choice_.text);
}

std::vector<std::string> CConsumerKeyDialog::dropDownItems(std::size_t) {
  return consumerListItems(list_, texts().language());
}

void CConsumerKeyDialog::dropDownChosen(std::size_t, const DropDownList::Choice& choice) {
  choice_ = {choice.index, choice.text};
  SetWindowTextW(choiceText_, widen(choice.text).c_str());
}

}  // namespace ombrisk
