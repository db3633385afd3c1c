#include "app/corvane_dlg_win32.h"

#include <windowsx.h>

#include "app/device_balloon.h"
#include "app/resource_ids.h"
#include "app/window_messages.h"
#include "util/message_box_win32.h"
#include "settings/settings_image.h"
#include "skin/mem_dc_win32.h"
#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/text_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr wchar_t kMutexName[] = L"TarvokQ77Mutex";
constexpr UINT kHoverTimeMs = 10;
// While the shell's tray is not up yet, adding the icon is retried on this timer.
constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetryMs = 250;

std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::vector<HoverButtons::Button> windowHoverButtons() {
  std::vector<HoverButtons::Button> buttons;
  for (const WindowControlRow& row : kWindowControls)
    // The web link has no images; a region that never matches keeps indices aligned.
    buttons.push_back({row.normalImage.empty() ? Region{} : row.region, 0});
  return buttons;
}

}  // namespace

CCorvaneDlg::CCorvaneDlg(std::unique_ptr<Win32DeviceLink> link)
    : link_(std::move(link)),
      fileIo_(makePlatformFileIo()),
      messages_(makeMessageBoxSink()),
      profiles_(makePlatformProfileStore()),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON))),
      hover_(windowHoverButtons()) {}

CCorvaneDlg::~CCorvaneDlg() {
  if (background_) DeleteObject(background_);
  if (smallFont_) DeleteObject(smallFont_);
  if (titleFont_) DeleteObject(titleFont_);
}

INT_PTR CCorvaneDlg::run() { return runModal(GetModuleHandleW(nullptr), IDD_MAIN_WINDOW, nullptr); }

BOOL CCorvaneDlg::onInitDialog() {
  // 1. One instance: a second one ends here, silently.
  CreateMutexW(nullptr, FALSE, kMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) ExitProcess(0);

  // 3, 4. Icons; no taskbar button.
  HWND window = this->window();
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

  // 5. The tray icon.
  link_->setMainWindow(window);
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_.init(window, icon_, TrayNotifyMessage);
  addTrayIcon();

  // 6. The mouse.
  if (link_->findDevice()) {
    link_->handshake();
  } else {
    SendMessageW(window, DeviceNotifyMessage, kEventNoMouse, 0);
    link_->setLinkReady(false);
  }

  // 7-9. Reader thread and device notifications.
  const std::wstring appName = applicationName();
  if (!link_->createReadEvent()) {
    MessageBoxW(window, L"CreateEvent failed.", appName.c_str(), MB_OK);
    return TRUE;
  }
  link_->startReaderThread();
  if (!link_->registerForDeviceNotifications()) {
    MessageBoxW(window, L"RegisterDeviceNotification failed!!!", appName.c_str(), MB_OK);
    return TRUE;
  }

  // 10. The settings file.
  modulePath_ = modulePath();
  paths_ = dataPathsFromModule(narrow(modulePath_));
  SettingsImage& image = settingsImage();
  const SettingsFileContext context{paths_, *fileIo_, *messages_, narrow(appName)};
  loadSettings(context, image);
  image.appliedCopy = image.record;

  // 11-13. Language, texts, labels and skin settings.
  const std::string languageCode = profiles_->read(paths_.strIni, "Skins", "Lan", "");
  const Language language = languageFromCode(languageCode);
  setInterfaceLanguage(language);
  texts_ = InterfaceTexts(language);
  SkinSettings skin;
  readButtonLabels(*profiles_, paths_.strIni, std::string(texts_.labelSection()), labels_, skin);

  // 14-16. The skin: folder, background and window size, the published state.
  SkinState& state = skinState();
  state.name = skin.path;
  state.folder = skinFolderFor(moduleFolder(narrow(modulePath_)), skin.path);
  state.red = colourComponent(skin.red);
  state.green = colourComponent(skin.green);
  state.blue = colourComponent(skin.blue);
  loadBackground();

  // 17. Fonts.
  const WindowFonts fonts = fontsFor(language, reportedSystemVersion());
  smallFont_ = createWindowFont(fonts.small);
  titleFont_ = createWindowFont(fonts.title);

  // 18. The first page, when the mouse is there.
  if (link_->linkReady()) buildPage(Page::Basic);
  return TRUE;
}

void CCorvaneDlg::loadBackground() {
  const auto loaded = loadBackgroundBitmap(widen(skinState().imagePath("/main.png")));
  if (!loaded) return;  // the window keeps its template size and paints nothing of its own
  background_ = loaded->bitmap;
  SetWindowPos(window(), nullptr, 0, 0, loaded->size.cx, loaded->size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCorvaneDlg::addTrayIcon() {
  if (tray_.add()) {
    KillTimer(window(), kTrayRetryTimer);
    return;
  }
  SetTimer(window(), kTrayRetryTimer, kTrayRetryMs, nullptr);
}

void CCorvaneDlg::onDeviceNotify(WPARAM type, LPARAM value) {
  const auto balloon = deviceBalloon(texts_, static_cast<unsigned>(type), value, settingsImage());
  if (!balloon) return;
  tray_.showBalloon(widen(balloon->text), widen(balloon->title), balloon->timeoutMs);
}

void CCorvaneDlg::showWindowFromTray() {
  if (rebuildOnShow_) {
    rebuildOnShow_ = false;
    const Page page = currentPage_;
    currentPage_ = Page::None;
    if (page == Page::Basic) {
      SkinSettings skin;
      readButtonLabels(*profiles_, paths_.strIni, std::string(texts_.labelSection()), labels_, skin);
    }
    if (page != Page::None) buildPage(page);
  } else if (!firstBuild_) {
    buildPage(Page::Basic);
  }
  // Shown by the program from here on: the start-up hiding is over.
  startHiddenCounter_ = 0;
  SetForegroundWindow(window());
  ShowWindow(window(), SW_SHOW);
}

void CCorvaneDlg::onTrayNotify(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      if (!link_->linkReady()) {
        SendMessageW(window(), DeviceNotifyMessage, kEventNoMouse, 0);
        return;
      }
      showWindowFromTray();
      return;
    case WM_RBUTTONUP:
      showTrayMenu();
      return;
    default:
      return;
  }
}

void CCorvaneDlg::showTrayMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuW(menu, MF_STRING, kCommandExit, widen(texts_[TextId::TrayExit]).c_str());
  SetForegroundWindow(window());
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, window(), nullptr);
  DestroyMenu(menu);
}

void CCorvaneDlg::onDestroy() {
  KillTimer(window(), kTrayRetryTimer);
  link_->close();
  tray_.remove();
}

void CCorvaneDlg::exitProgram() {
  DestroyWindow(window());
  ExitProcess(0);
}

void CCorvaneDlg::buildPage(Page page) {
  if (page == currentPage_) return;
  currentPage_ = page;
  if (page == Page::Basic) firstBuild_ = true;
  if (!background_) return;
  PaintStep step(window(), background_);
  paintPage(step);
}

void CCorvaneDlg::paintWindowControl(PaintStep& step, std::size_t index, bool over) {
  const WindowControlRow& row = kWindowControls[index];
  if (!row.normalImage.empty())
    LoadPng(step.memDC(), widen(skinState().imagePath(over ? row.overImage : row.normalImage)),
            row.region.left, row.region.top);
  if (row.caption) {
    FontSelection font(step.dc(), smallFont_);
    drawText(step.dc(), texts_[*row.caption], row.region, skinState().textColour(),
             TextPlacement::Centred);
  }
}

void CCorvaneDlg::paintPage(PaintStep& step) {
  const bool basic = currentPage_ == Page::Basic;
  LoadPng(step.memDC(), widen(skinState().imagePath(basic ? kBasicPageImage : kAdvancedPageImage)), 0, 0);
  for (std::size_t i = 0; i < kWindowControls.size(); ++i) paintWindowControl(step, i, false);
  hover_.clear();
  const COLORREF colour = skinState().textColour();
  {
    FontSelection font(step.dc(), titleFont_);
    drawText(step.dc(), texts_[basic ? TextId::BasicTitle : TextId::AdvancedTitle],
             kPageTitleRegion, colour, TextPlacement::Left);
  }
  FontSelection font(step.dc(), smallFont_);
  for (const PageText& text : pageTexts(currentPage_, texts_))
    drawText(step.dc(), text.text, text.region, colour, text.placement);
}

void CCorvaneDlg::onLeftButtonDown(int x, int y) {
  lastClick_ = {x, y};
  for (const WindowControlRow& row : kWindowControls) {
    if (!row.region.contains(x, y)) continue;
    switch (row.control) {
      case WindowControl::Minimise:
        ShowWindow(window(), SW_HIDE);
        return;
      case WindowControl::Close:
        exitProgram();
      case WindowControl::PreviousPage:
        if (currentPage_ != Page::None) buildPage(Page::Basic);
        return;
      case WindowControl::NextPage:
        if (currentPage_ != Page::None) buildPage(Page::Advanced);
        return;
      case WindowControl::Cancel:
        lastBottomButton_ = 3;
        settingsImage().record = settingsImage().appliedCopy;
        rebuildOnShow_ = true;
        ShowWindow(window(), SW_HIDE);
        return;
      case WindowControl::WebLink:
        ShellExecuteW(nullptr, L"open", widen(kVendorWebSite).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
      case WindowControl::Ok:
      case WindowControl::Apply:
      case WindowControl::Skins:
        // Claimed (no drag); they act through the apply sequence and the skin dialog.
        return;
    }
  }
  // Nothing claimed the press: drag the borderless window.
  PostMessageW(window(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
}

void CCorvaneDlg::onMouseMove(int x, int y) {
  const HoverButtons::MoveOutcome outcome = hover_.onMouseMove(x, y);
  if (outcome.requestHover) {
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, window(), kHoverTimeMs};
    TrackMouseEvent(&track);
  }
  if (!outcome.toNormal.empty() && background_ && currentPage_ != Page::None) {
    PaintStep step(window(), background_);
    for (std::size_t index : outcome.toNormal) paintWindowControl(step, index, false);
  }
}

void CCorvaneDlg::onMouseHover(int x, int y) {
  if (!background_ || currentPage_ == Page::None) return;
  const HoverButtons::HoverOutcome outcome = hover_.onHover(x, y);
  if (!outcome.toOver) return;
  PaintStep step(window(), background_);
  paintWindowControl(step, *outcome.toOver, true);
  for (std::size_t index : outcome.toNormal) paintWindowControl(step, index, false);
}

bool CCorvaneDlg::onNonClientPaint() {
  if (startHiddenCounter_ <= 0) return false;
  --startHiddenCounter_;
  ShowWindow(window(), SW_HIDE);
  return true;
}

bool CCorvaneDlg::preTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
    ShowWindow(window(), SW_HIDE);
    return true;
  }
  return false;
}

INT_PTR CCorvaneDlg::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreatedMessage_ && message != 0) {
    addTrayIcon();  // the shell's tray was (re)started
    return TRUE;
  }
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog();
    case WM_PAINT:
      if (IsIconic(window())) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window(), &paint);
        RECT client;
        GetClientRect(window(), &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, icon_);
        EndPaint(window(), &paint);
        return TRUE;
      }
      return FALSE;
    case WM_QUERYDRAGICON:
      setResult(reinterpret_cast<LRESULT>(icon_));
      return TRUE;
    case WM_ERASEBKGND:
      if (background_) {
        PaintStep step(window(), reinterpret_cast<HDC>(wParam), background_);
      }
      setResult(TRUE);
      return TRUE;
    case WM_NCPAINT:
      return onNonClientPaint() ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == kTrayRetryTimer) addTrayIcon();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCommandExit) exitProgram();
      return TRUE;  // IDOK and IDCANCEL from the dialog manager do nothing here
    case WM_CLOSE:
      ShowWindow(window(), SW_HIDE);
      return TRUE;
    case WM_DESTROY:
      onDestroy();
      return FALSE;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return FALSE;
    case WM_MOUSEMOVE:
      onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return FALSE;
    case WM_MOUSEHOVER:
      onMouseHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_DEVICECHANGE:
      setResult(link_->onDeviceChange(wParam, lParam, settingsImage().device));
      return TRUE;
    default:
      break;
  }
  if (message == TrayNotifyMessage) {
    onTrayNotify(lParam);
    return TRUE;
  }
  if (message == DeviceNotifyMessage) {
    onDeviceNotify(wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

}  // namespace ombrisk
