// CCorvaneDlg: the borderless, skinned main window that lives in the notification area.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "app/interface_texts.h"
#include "app/tray_icon_win32.h"
#include "device/device_link_win32.h"
#include "device/pauser.h"
#include "pages/page_view_win32.h"
#include "pages/window_surface.h"
#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "skin/dialog_base_win32.h"
#include "skin/skinned_surface_win32.h"
#include "util/recently_used.h"

namespace ombrisk {

class CCorvaneDlg final : public DialogBase {
 public:
  explicit CCorvaneDlg(std::unique_ptr<Win32DeviceLink> link);
  ~CCorvaneDlg() override;

  INT_PTR run();

 protected:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool preTranslateMessage(MSG& message) override;

 private:
  BOOL onInitDialog();
  void onTrayNotify(LPARAM mouseMessage);
  void onDeviceNotify(WPARAM type, LPARAM value);
  void onLeftButtonDown(int x, int y);
  void onMouseMove(int x, int y);
  void onMouseHover(int x, int y);
  bool onNonClientPaint();
  void showTrayMenu();
  void showWindowFromTray();
  void addTrayIcon();
  [[noreturn]] void exitProgram();
  void onDestroy();

  void buildPage(Page page);
  void paintPage();
  // OK and Apply: true when the mouse received everything; false when nothing ran (no link,
  // or an Apply is running) or a transfer failed (the user is told).
  bool applySettings(int bottomButton);
  void chooseSkin();
  // A profile file that could not be read whole or written was left as it was: say so.
  void warnFileNotRewritten(std::string_view fileName);
  std::optional<INT_PTR> controlColour(UINT message, HDC dc, HWND child);

  std::unique_ptr<Win32DeviceLink> link_;
  std::unique_ptr<FileIo> fileIo_;
  std::unique_ptr<MessageSink> messages_;
  std::unique_ptr<ProfileStore> profiles_;

  HICON icon_ = nullptr;
  TrayIcon tray_;
  SkinnedSurface surface_{PngFailure::Silent, TME_HOVER | TME_LEAVE};
  HFONT smallFont_ = nullptr;
  HFONT titleFont_ = nullptr;
  std::wstring modulePath_;
  DataPaths paths_;
  InterfaceTexts texts_;
  ButtonLabelSet labels_;
  POINT lastClick_{};

  std::unique_ptr<TimerResolution> timerResolution_;
  std::unique_ptr<PageContext> pageContext_;
  std::unique_ptr<PageView> page_;  // the page shown; its children live as long as it
  // Of the children's colours: far more than one paint uses (the swatches' four, black and a
  // few fixed colours), so a brush is never deleted while in use.
  RecentlyUsed<COLORREF, HBRUSH> brushes_{16};
  Page currentPage_ = Page::None;
  bool firstBuild_ = false;
  bool rebuildOnShow_ = false;
  bool applying_ = false;
  int lastBottomButton_ = 0;
  int startHiddenCounter_ = 2;
  UINT taskbarCreatedMessage_ = 0;
  UINT resourceCountsMessage_ = 0;
};

}  // namespace ombrisk
