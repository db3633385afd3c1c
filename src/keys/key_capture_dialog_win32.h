// What the single-key and combination editors share: their keyboard hook, installed once the
// content is up and removed before the window goes, and the keys that are captured by name
// instead of acting on the dialog (Enter, Escape, Tab, the Windows keys).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "keys/key_name_hook_win32.h"
#include "skin/skinned_dialog_win32.h"

namespace ombrisk {

class CKeyCaptureDialog : public CSkinnedDialog {
 protected:
  // failureFormat: the message box text when the hook cannot be installed, with %d for the
  // system's error code.
  CKeyCaptureDialog(EditorDialog dialog, KeyNameHookOwner owner, UINT message, const wchar_t* failureFormat);
  ~CKeyCaptureDialog() override;

  // Called at the end of the content's initialisation.
  void installHook();
  // A key event the hook took, with the name the keyboard layout gives it.
  virtual void keyCaptured(const std::string& name) = 0;

  INT_PTR contentMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool preTranslateMessage(MSG& message) override;

 private:
  KeyNameHookOwner owner_;
  UINT message_;
  const wchar_t* failureFormat_;
  std::unique_ptr<KeyNameHook> hook_;
};

}  // namespace ombrisk
