#include "app/corvane_dlg_win32.h"

#include <windowsx.h>

#include "app/device_balloon.h"
#include "app/resource_ids.h"
#include "app/window_messages.h"
#include "util/message_box_win32.h"
#include "settings/settings_image.h"
#include "pages/basic_page.h"
#include "pages/control_colours.h"
#include "pages/pointer_settings_win32.h"
#include "settings/apply_sequence.h"
#include "skin/mem_dc_win32.h"
#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/skins_dialog_win32.h"
#include "skin/text_win32.h"
#include "util/module_win32.h"
#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr wchar_t kMutexName[] = L"TarvokQ77Mutex";
constexpr UINT kHoverTimeMs = 10;
// While the shell's tray is not up yet, adding the icon is retried on this timer.
constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetryMs = 250;

}  // namespace

CCorvaneDlg::CCorvaneDlg(std::unique_ptr<Win32DeviceLink> link)
    : link_(std::move(link)),
      fileIo_(makePlatformFileIo()),
      messages_(makeMessageBoxSink()),
      profiles_(makePlatformProfileStore()),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON))) {}

CCorvaneDlg::~CCorvaneDlg() {
  page_.reset();
  for (HBRUSH brush : brushes_.values()) deleteCountedGdi(brush);
  if (smallFont_) deleteCountedGdi(smallFont_);
  if (titleFont_) deleteCountedGdi(titleFont_);
}

INT_PTR CCorvaneDlg::run() {
  // The window lives in the tray and has no taskbar button. Its tool-window style (step 4 of
  // the initialisation) says so to Windows, but Wine's desktop taskbar gives a button to every
  // visible window without an owner, whatever its style: the window gets an owner that is
  // never shown, which keeps it off the taskbar of both (and off Alt+Tab, as tool windows are).
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  const INT_PTR result = runModal(GetModuleHandleW(nullptr), IDD_MAIN_WINDOW, owner);
  if (owner) DestroyWindow(owner);
  return result;
}

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
  resourceCountsMessage_ = RegisterWindowMessageW(kResourceCountsMessageName);
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
  // Without its background the window keeps its template size and paints nothing of its own.
  surface_.attach(window, state.folder, SkinImage::Main);

  // 17. Fonts.
  const WindowFonts fonts = fontsFor(language, reportedSystemVersion());
  smallFont_ = createWindowFont(fonts.small);
  titleFont_ = createWindowFont(fonts.title);
  surface_.setFonts(smallFont_, titleFont_);
  timerResolution_ = makePlatformTimerResolution();
  pageContext_.reset(new PageContext{window, surface_, texts_, smallFont_, image, labels_, *profiles_, paths_, *link_});

  // 18. The first page, when the mouse is there.
  if (link_->linkReady()) buildPage(Page::Basic);
  return TRUE;
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
    // The labels go back to the applied ones with the record, whichever page was left
    // (the Basic page may be reached from the Advanced one without a rebuild).
    SkinSettings skin;
    readButtonLabels(*profiles_, paths_.strIni, std::string(texts_.labelSection()), labels_, skin);
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
  page_.reset();
  link_->close();
  tray_.remove();
}

void CCorvaneDlg::exitProgram() {
  DestroyWindow(window());
  ExitProcess(0);
}

void CCorvaneDlg::buildPage(Page page) {
  if (page == currentPage_ || !pageContext_) return;
  page_.reset();  // leaving a page destroys its children
  currentPage_ = page;
  if (page == Page::Basic && !firstBuild_ && link_->linkReady()) {
    prepareFirstBasicBuild(link_->protocol(), settingsImage(), labels_, texts_, *profiles_, paths_.strIni);
    firstBuild_ = true;
  }
  page_ = makePageView(page, *pageContext_);
  // The keyboard focus may have been on a child of the page left; without a focus Enter and
  // Escape would not arrive as key presses.
  if (GetFocus() == nullptr) SetFocus(window());
  paintPage();
}

void CCorvaneDlg::paintPage() {
  std::vector<SkinnedSurface::HoverTarget> targets = hoverTargetsOf(windowSurface(), texts_);
  for (SkinnedSurface::HoverTarget& target : page_->hoverTargets()) targets.push_back(std::move(target));
  surface_.setHoverTargets(std::move(targets));
  surface_.paint([this](Painter& painter) {
    painter.image(pageImage(currentPage_), 0, 0);
    for (const SurfaceRegion<WindowControl>& row : windowSurface()) paintRegion(painter, row, false, texts_);
    page_->build(painter);
    painter.text(texts_[pageTitle(currentPage_)], kPageTitleRegion, TextPlacement::Left, TextColour::Skin,
                 TextFont::Title);
  });
}

bool CCorvaneDlg::applySettings(int bottomButton) {
  if (!link_->linkReady() || applying_) return false;
  applying_ = true;
  const HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  SettingsImage& image = settingsImage();
  // What is sent is what becomes the applied copy, even if a message box of the sequence
  // lets a press change the record meanwhile.
  const SettingsRecord sent = image.record;
  const SettingsFileContext files{paths_, *fileIo_, *messages_, narrow(applicationName())};
  const ApplyOutcome outcome = runApplySequence(
      {link_->protocol(), image, files, *profiles_, labels_, std::string(texts_.labelSection()), timerResolution_.get()});
  lastBottomButton_ = bottomButton;
  SetCursor(previousCursor);
  if (!outcome.delivered()) {
    // The mouse has part of it at most: the applied copy, config.bin, the labels and the
    // system's pointer settings stay as they were, and the user hears of it.
    MessageBoxW(window(), widen(texts_[TextId::ApplyIncomplete]).c_str(), L"Warning", MB_OK);
    applying_ = false;
    return false;
  }
  image.appliedCopy = sent;
  makePointerCalls(window(), pointerApplyCalls(sent));
  if (!outcome.labelsSaved) warnFileNotRewritten("str.ini");
  applying_ = false;
  return true;
}

void CCorvaneDlg::warnFileNotRewritten(std::string_view fileName) {
  MessageBoxW(window(), widen(fileNotRewrittenMessage(texts_, fileName)).c_str(), L"Warning", MB_OK);
}

// The skin dialog; on OK its skin and colour become the program's, are stored in str.ini,
// and the page shown is built anew from them (the window's background keeps its start skin).
void CCorvaneDlg::chooseSkin() {
  CSkinsDialog dialog(moduleFolder(narrow(modulePath_)));
  if (dialog.run(window()) != IDOK) return;
  const SkinChoice& choice = dialog.choice();
  SkinState& state = skinState();
  state.folder = choice.folder;
  state.red = choice.red;
  state.green = choice.green;
  state.blue = choice.blue;
  state.name = choice.name;
  surface_.setSkinFolder(state.folder);
  if (!writeSkinChoice(*profiles_, paths_.strIni, choice)) warnFileNotRewritten("str.ini");
  const Page page = currentPage_;
  currentPage_ = Page::None;
  buildPage(page);
  SetForegroundWindow(window());
  ShowWindow(window(), SW_SHOW);
}

void CCorvaneDlg::onLeftButtonDown(int x, int y) {
  lastClick_ = {x, y};
  // While Apply runs, presses reach the window only through its message boxes: ignored.
  if (applying_) return;
  if (const auto* row = hitTest(windowSurface(), x, y)) {
    switch (row->control) {
      case WindowControl::Ok:
        if (applySettings(1)) ShowWindow(window(), SW_HIDE);
        return;
      case WindowControl::Apply:
        applySettings(2);
        return;
      case WindowControl::Skins:
        chooseSkin();
        return;
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
    }
  }
  if (page_ && page_->press(x, y)) return;
  // Nothing claimed the press: drag the borderless window.
  PostMessageW(window(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
}

std::optional<INT_PTR> CCorvaneDlg::controlColour(UINT message, HDC dc, HWND child) {
  if (page_)
    if (const auto brush = page_->controlColour(message, dc, child)) return reinterpret_cast<INT_PTR>(*brush);
  const ChildClass childClass = message == WM_CTLCOLOREDIT    ? ChildClass::Edit
                                : message == WM_CTLCOLORLISTBOX ? ChildClass::List
                                : message == WM_CTLCOLORBTN     ? ChildClass::Button
                                                                : ChildClass::Static;
  const SkinState& skin = skinState();
  const ControlColour colour =
      controlColourFor(childClass, GetDlgCtrlID(child), settingsImage().record, {skin.red, skin.green, skin.blue});
  const auto rgb = [](Rgb c) { return RGB(c.red, c.green, c.blue); };
  if (colour.text) SetTextColor(dc, rgb(*colour.text));
  if (colour.background) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, rgb(*colour.background));
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  // The small font, or the narrower cut of it that a child was given for a long text.
  if (colour.smallFont && smallFont_) {
    const auto own = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    SelectObject(dc, own ? own : smallFont_);
  }
  if (!colour.brush) return std::nullopt;
  // A brush per colour, the recently used ones kept: a brush serves only the paint that asked
  // for it, and the swatches take every colour a user picks.
  const COLORREF wanted = rgb(*colour.brush);
  if (const auto kept = brushes_.use(wanted)) return reinterpret_cast<INT_PTR>(*kept);
  const HBRUSH brush = countedGdi(CreateSolidBrush(wanted));
  if (!brush) return std::nullopt;
  if (const auto old = brushes_.add(wanted, brush)) deleteCountedGdi(*old);
  return reinterpret_cast<INT_PTR>(brush);
}

void CCorvaneDlg::onMouseMove(int x, int y) {
  if (currentPage_ != Page::None) surface_.onMouseMove(x, y);
}

void CCorvaneDlg::onMouseHover(int x, int y) {
  if (currentPage_ != Page::None) surface_.onMouseHover(x, y);
}

bool CCorvaneDlg::onNonClientPaint() {
  if (startHiddenCounter_ <= 0) return false;
  --startHiddenCounter_;
  ShowWindow(window(), SW_HIDE);
  return true;
}

bool CCorvaneDlg::preTranslateMessage(MSG& message) {
  if (page_ && page_->preTranslate(message)) return true;
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
  if (message == resourceCountsMessage_ && message != 0) {
    setResult(static_cast<LRESULT>(packResourceCounts(static_cast<unsigned long>(gdiObjectsMade.load()),
                                                      static_cast<unsigned long>(heapBytesInUse() / 1024))));
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
      surface_.paintOn(reinterpret_cast<HDC>(wParam), [](Painter&) {});
      setResult(TRUE);
      return TRUE;
    case WM_NCPAINT:
      return onNonClientPaint() ? TRUE : FALSE;
    case WM_TIMER:
      if (wParam == kTrayRetryTimer) addTrayIcon();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCommandExit) exitProgram();
      if (page_) page_->command(wParam, lParam);
      return TRUE;  // IDOK and IDCANCEL from the dialog manager do nothing here
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (const auto brush = controlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return *brush;
      return FALSE;
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
    case WM_DEVICECHANGE: {
      // An arrival reads the sensor again; the Basic page's grid and values follow it.
      const std::uint8_t sensor = settingsImage().device.currentSensorType;
      setResult(link_->onDeviceChange(wParam, lParam, settingsImage().device));
      if (currentPage_ == Page::Basic && settingsImage().device.currentSensorType != sensor) paintPage();
      return TRUE;
    }
    default:
      break;
  }
  if (page_)
    if (const auto answer = page_->windowMessage(message, wParam, lParam)) {
      setResult(*answer);
      return TRUE;
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
