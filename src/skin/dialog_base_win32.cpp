#include "skin/dialog_base_win32.h"

#include <utility>

namespace ombrisk {
namespace {

// The messages whose answer the dialog manager takes from the dialog procedure's return
// value rather than from DWLP_MSGRESULT.
bool answeredByReturnValue(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
         message == WM_INITDIALOG;
}

}  // namespace

DialogBase::~DialogBase() {
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

INT_PTR CALLBACK DialogBase::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<DialogBase*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    dialog->window_ = window;
  }
  if (!dialog) return FALSE;  // the few messages before WM_INITDIALOG
  // Handlers may send messages to this window themselves: each call has its own result.
  const std::optional<LRESULT> outer = std::exchange(dialog->result_, std::nullopt);
  INT_PTR handled = dialog->handleMessage(message, wParam, lParam);
  if (dialog->result_ && answeredByReturnValue(message)) handled = *dialog->result_;
  dialog->result_ = outer;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    dialog->window_ = nullptr;
    dialog->ended_ = true;
  }
  return handled;
}

bool DialogBase::preTranslateMessage(MSG&) { return false; }

void DialogBase::endDialog(INT_PTR code) {
  code_ = code;
  ended_ = true;
  // Wakes the loop even when nothing else is queued.
  if (window_) PostMessageW(window_, WM_NULL, 0, 0);
}

void DialogBase::setResult(LRESULT result) {
  result_ = result;
  if (window_) SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
}

INT_PTR DialogBase::runModal(HINSTANCE instance, int templateId, HWND owner) {
  ended_ = false;
  code_ = 0;
  if (!CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, procedure,
                          reinterpret_cast<LPARAM>(this)))
    return -1;
  return runLoop(owner);
}

INT_PTR DialogBase::runModal(const DLGTEMPLATE* dialogTemplate, HWND owner) {
  ended_ = false;
  code_ = 0;
  if (!CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, owner, procedure,
                                  reinterpret_cast<LPARAM>(this)))
    return -1;
  return runLoop(owner);
}

INT_PTR DialogBase::runLoop(HWND owner) {
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  while (!ended_) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (preTranslateMessage(message)) continue;
    if (window_ && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (disableOwner) EnableWindow(owner, TRUE);
  if (window_) DestroyWindow(window_);
  return code_;
}

}  // namespace ombrisk
