// The notification-area icon of the main window: one NOTIFYICONDATAW reused for every call.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace ombrisk {

// The tip of the tray icon.
inline constexpr wchar_t kTrayTip[] = L"Gaming Mouse Setting";

class TrayIcon {
 public:
  // Shell_NotifyIconW, or a stand-in that records the calls.
  using NotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
  explicit TrayIcon(NotifyFunction notify = Shell_NotifyIconW) : notify_(notify) {}

  // The record size that ends with the item GUID, without the balloon-icon handle.
  static constexpr DWORD kRecordSize = 968;

  void init(HWND window, HICON icon, UINT callbackMessage);
  // NIM_ADD with message, icon and tip; false when the shell has no tray (yet).
  bool add();
  // NIM_MODIFY with a balloon (information icon).
  bool showBalloon(const std::wstring& text, const std::wstring& title, UINT timeoutMs);
  bool remove();
  bool added() const { return added_; }
  const NOTIFYICONDATAW& record() const { return data_; }

 private:
  NotifyFunction notify_;
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

static_assert(TrayIcon::kRecordSize == NOTIFYICONDATAW_V3_SIZE);

}  // namespace ombrisk
