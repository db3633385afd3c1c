#include "keys/delay_time_dialog_win32.h"

#include "keys/key_editor_surfaces.h"
#include "util/wide_win32.h"

namespace ombrisk {

void CDelayTimeDialog::initContent() {
  const ChildControl<KeyEditorControl>& child = childOf(delayTimeSurface().children, KeyEditorControl::DelayEdit);
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_CENTER | ES_AUTOHSCROLL,
                          child.rect.left, child.rect.top, child.rect.width(), child.rect.height(), window(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), GetModuleHandleW(nullptr), nullptr);
  if (!edit_) return;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  SetFocus(edit_);
}

void CDelayTimeDialog::drawContent(Painter& painter, TextColour labelColour) {
  drawDelayTimeContent(painter, texts().language(), labelColour);
}

INT_PTR CDelayTimeDialog::contentMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && edit_ && reinterpret_cast<HWND>(lParam) == edit_ && HIWORD(wParam) == EN_CHANGE) {
    result_ = delayTimeFromText(windowTextOf(edit_));
    return TRUE;
  }
  return FALSE;
}

}  // namespace ombrisk
