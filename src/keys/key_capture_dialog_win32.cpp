#include "keys/key_capture_dialog_win32.h"

#include <cwchar>

#include "skin/png_win32.h"
#include "util/module_win32.h"

namespace ombrisk {

CKeyCaptureDialog::CKeyCaptureDialog(EditorDialog dialog, KeyNameHookOwner owner, UINT message,
                                     const wchar_t* failureFormat)
    : CSkinnedDialog(dialog), owner_(owner), message_(message), failureFormat_(failureFormat) {}

CKeyCaptureDialog::~CKeyCaptureDialog() { hook_.reset(); }

void CKeyCaptureDialog::installHook() {
  hook_ = std::make_unique<KeyNameHook>(owner_, window(), message_);
  if (hook_->installed()) return;
  wchar_t text[128];
  std::swprintf(text, std::size(text), failureFormat_, static_cast<int>(hook_->installError()));
  MessageBoxW(window(), text, applicationName().c_str(), MB_OK);
}

INT_PTR CKeyCaptureDialog::contentMessage(UINT message, WPARAM, LPARAM) {
  if (message == message_) {
    keyCaptured(KeyNameHook::capturedName(owner_));
    return TRUE;
  }
  switch (message) {
    case WM_HELP:
      setResult(TRUE);
      return TRUE;
    case WM_DESTROY:
      // The hook must never reach a window that is gone.
      hook_.reset();
      return FALSE;
    default:
      return FALSE;
  }
}

bool CKeyCaptureDialog::preTranslateMessage(MSG& message) {
  const bool keyMessage = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
  if (keyMessage && (message.wParam == VK_LWIN || message.wParam == VK_RWIN)) return true;
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
      (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE))
    return true;
  // Tab is a key like any other here: it goes into the focused field, and the focus stays
  // there (the dialog manager would move it on to the next field, whose edit then took the
  // key's release as its own key).
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) return true;
  return CSkinnedDialog::preTranslateMessage(message);
}

}  // namespace ombrisk
