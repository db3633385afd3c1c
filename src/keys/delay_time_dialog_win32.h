// CDelayTimeDialog: one delay in milliseconds for a delay entry of a macro's key press
// sequence. The macro panel opens it and decides what the typed text becomes.
#pragma once

#include "keys/delay_time_dialog.h"
#include "skin/skinned_dialog_win32.h"

namespace ombrisk {

class CDelayTimeDialog final : public CSkinnedDialog {
 public:
  CDelayTimeDialog() : CSkinnedDialog(EditorDialog::DelayTime) {}
  // After OK: the delay as read and the text as typed.
  const DelayTimeResult& result() const { return result_; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  INT_PTR contentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND edit_ = nullptr;
  DelayTimeResult result_;
};

}  // namespace ombrisk
