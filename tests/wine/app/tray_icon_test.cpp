// The tray icon record the shell is given.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/tray_icon_win32.h"

namespace ombrisk {
namespace {

struct Call {
  DWORD message;
  NOTIFYICONDATAW data;
};
std::vector<Call> calls;

BOOL WINAPI recordCall(DWORD message, PNOTIFYICONDATAW data) {
  calls.push_back({message, *data});
  return TRUE;
}

TEST(TrayIcon, AddBalloonAndRemove) {
  calls.clear();
  HWND window = reinterpret_cast<HWND>(0x1234);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  TrayIcon tray(recordCall);
  tray.init(window, icon, WM_USER + 1);
  ASSERT_TRUE(tray.add());
  ASSERT_TRUE(tray.showBalloon(L"Switch to key matrix 2", L"Info", 5000));
  ASSERT_TRUE(tray.remove());
  ASSERT_EQ(calls.size(), 3u);

  const NOTIFYICONDATAW& added = calls[0].data;
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(added.cbSize, 968u);
  EXPECT_EQ(added.hWnd, window);
  EXPECT_EQ(added.uID, 0u);
  EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.uCallbackMessage, 0x401u);
  EXPECT_EQ(added.hIcon, icon);
  EXPECT_STREQ(added.szTip, L"Gaming Mouse Setting");

  const NOTIFYICONDATAW& balloon = calls[1].data;
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_STREQ(balloon.szInfo, L"Switch to key matrix 2");
  EXPECT_STREQ(balloon.szInfoTitle, L"Info");
  EXPECT_EQ(balloon.uTimeout, 5000u);
  EXPECT_EQ(balloon.dwInfoFlags, 1u);  // the information icon, for "Warning" too
  EXPECT_STREQ(balloon.szTip, L"Gaming Mouse Setting");

  EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls[2].data.hWnd, window);
  EXPECT_FALSE(tray.added());
}

TEST(TrayIcon, OverlongBalloonTextIsCutToTheRecord) {
  calls.clear();
  TrayIcon tray(recordCall);
  tray.init(nullptr, nullptr, WM_USER + 1);
  tray.showBalloon(std::wstring(1000, L'x'), std::wstring(200, L'y'), 100);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(wcslen(calls[0].data.szInfo), 255u);
  EXPECT_EQ(wcslen(calls[0].data.szInfoTitle), 63u);
}

}  // namespace
}  // namespace ombrisk
