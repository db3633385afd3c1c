// The multimedia and Windows-function editors: one drop-down list of functions in the
// interface language; OK returns the chosen position and text (the first when none was
// chosen).
#pragma once

#include "keys/consumer_key_editors.h"
#include "skin/skinned_dialog_win32.h"

namespace ombrisk {

class CConsumerKeyDialog : public CSkinnedDialog {
 public:
  const ConsumerKeyChoice& choice() const { return choice_; }

 protected:
  CConsumerKeyDialog(EditorDialog dialog, ConsumerList list);
  void initContent() override;
  std::vector<std::string> dropDownItems(std::size_t) override;
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override;

 private:
  ConsumerList list_;
  ConsumerKeyChoice choice_;
  HWND choiceText_ = nullptr;
};

class CMediaDialog final : public CConsumerKeyDialog {
 public:
  CMediaDialog() : CConsumerKeyDialog(EditorDialog::Media, ConsumerList::Media) {}
  MediaChoice result() const { return {choice()}; }
};

class CWindowsDialog final : public CConsumerKeyDialog {
 public:
  CWindowsDialog() : CConsumerKeyDialog(EditorDialog::Windows, ConsumerList::Windows) {}
  WindowsChoice result() const { return {choice()}; }
};

}  // namespace ombrisk
