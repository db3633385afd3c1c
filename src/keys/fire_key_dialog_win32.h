// The fire-key editor: the key or mouse button to fire from its drop-down list, the speed
// (checked when its edit loses the focus) and the times (checked as they are typed).
#pragma once

#include "keys/fire_key_editor.h"
#include "skin/skinned_dialog_win32.h"

namespace ombrisk {

class CFireKeyDialog final : public CSkinnedDialog {
 public:
  CFireKeyDialog();
  // After OK: the key, its text, the speed and the times.
  const FireKeyChoice& result() const { return choice_; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  std::vector<std::string> dropDownItems(std::size_t) override;
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override;
  void dropDownsChanged() override;
  void beforeOk() override;
  INT_PTR contentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Reads an edit and puts the corrected text into it when its number is out of range.
  std::uint8_t checkEdit(HWND edit, FieldReading (*read)(std::string_view));

  FireKeyChoice choice_;
  HWND keyText_ = nullptr, speedEdit_ = nullptr, timesEdit_ = nullptr;
};

}  // namespace ombrisk
