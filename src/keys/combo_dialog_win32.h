// The combination editor: a modifier from its drop-down list and two keys captured by name,
// each into the edit that has the focus.
#pragma once

#include "keys/captured_keys.h"
#include "keys/key_capture_dialog_win32.h"

namespace ombrisk {

class CComboDialog final : public CKeyCaptureDialog {
 public:
  CComboDialog();
  // After OK: the modifier and the two key names, each empty when not given.
  ComboKeyChoice result() const { return {modifier_, key1_.name, key2_.name}; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  std::vector<std::string> dropDownItems(std::size_t) override;
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override;
  void dropDownsChanged() override;
  void keyCaptured(const std::string& name) override;
  bool preTranslateMessage(MSG& message) override;

 private:
  std::string modifier_;
  CapturedKey key1_, key2_;
  HWND modifierText_ = nullptr, key1Edit_ = nullptr, key2Edit_ = nullptr;
};

}  // namespace ombrisk
