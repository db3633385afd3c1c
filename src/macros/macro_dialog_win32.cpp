#include "macros/macro_dialog_win32.h"

#include "macros/macro_dialog_surface.h"
#include "util/wide_win32.h"

namespace ombrisk {

CMacroDialog::CMacroDialog(ProfileStore& store, std::string recordIni)
    : CSkinnedDialog(EditorDialog::Macro), store_(store), recordIni_(std::move(recordIni)) {}

void CMacroDialog::initContent() {
  using enum MacroDialogControl;
  const auto surface = macroDialogSurface();
  addDropDown(surface.dropDown(MacroBox, MacroList));
  nameText_ = createChild(childOf(surface.children, MacroText), SS_SUNKEN | SS_LEFT | SS_ENDELLIPSIS);
}

void CMacroDialog::drawContent(Painter& painter, TextColour) {
  paintMacroDialogContent(painter, texts().language(), choice_.repeatMode);
}

bool CMacroDialog::contentClick(int x, int y) {
  const std::optional<int> mode = repeatModeAt(x, y);
  if (!mode) return false;
  if (*mode != choice_.repeatMode) {
    choice_.repeatMode = *mode;
    paint([this](Painter& painter) { paintRepeatTicks(painter, choice_.repeatMode); });
  }
  return true;
}

std::vector<std::string> CMacroDialog::dropDownItems(std::size_t) { return macroKeyItems(store_, recordIni_); }

void CMacroDialog::dropDownChosen(std::size_t, const DropDownList::Choice& choice) {
  choice_.index = choice.index;
  choice_.name = choice.text;
  SetWindowTextW(nameText_, widen(choice.text).c_str());
}

}  // namespace ombrisk
