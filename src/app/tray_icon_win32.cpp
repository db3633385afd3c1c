#include "app/tray_icon_win32.h"

namespace ombrisk {

void TrayIcon::init(HWND window, HICON icon, UINT callbackMessage) {
  data_ = {};
  data_.cbSize = kRecordSize;
  data_.hWnd = window;
  data_.uID = 0;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  lstrcpynW(data_.szTip, kTrayTip, ARRAYSIZE(data_.szTip));
}

bool TrayIcon::add() {
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  added_ = notify_(NIM_ADD, &data_) != FALSE;
  return added_;
}

bool TrayIcon::showBalloon(const std::wstring& text, const std::wstring& title, UINT timeoutMs) {
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  lstrcpynW(data_.szInfo, text.c_str(), ARRAYSIZE(data_.szInfo));
  lstrcpynW(data_.szInfoTitle, title.c_str(), ARRAYSIZE(data_.szInfoTitle));
  data_.uTimeout = timeoutMs;
  data_.dwInfoFlags = NIIF_INFO;
  return notify_(NIM_MODIFY, &data_) != FALSE;
}

bool TrayIcon::remove() {
  const bool removed = notify_(NIM_DELETE, &data_) != FALSE;
  added_ = false;
  return removed;
}

}  // namespace ombrisk
