// The macro-key editor: a macro from record.ini's drop-down list and one of three repeat
// modes by its tick box. OK without a choice returns macro 0 without a name, mode 1.
#pragma once

#include <string>

#include "macros/macro_key_choice.h"
#include "settings/profile_store.h"
#include "skin/skinned_dialog_win32.h"

namespace ombrisk {

class CMacroDialog final : public CSkinnedDialog {
 public:
  CMacroDialog(ProfileStore& store, std::string recordIni);
  const MacroKeyChoice& result() const { return choice_; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  bool contentClick(int x, int y) override;
  std::vector<std::string> dropDownItems(std::size_t) override;
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override;

 private:
  ProfileStore& store_;
  std::string recordIni_;
  MacroKeyChoice choice_;
  HWND nameText_ = nullptr;
};

}  // namespace ombrisk
