#include "skin/skinned_dialog_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "app/interface_texts.h"
#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/text_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr Region kFrameRegions[] = {kDialogOkRegion, kDialogCancelRegion, kDialogCloseRegion};
constexpr UINT kHoverTimeMs = 10;

}  // namespace

CSkinnedDialog::CSkinnedDialog(EditorDialog dialog)
    : frame_(editorDialogFrame(dialog)),
      // OK and Cancel are a pair: hovering one shows the other normal; close stands alone.
      hover_({{kDialogOkRegion, 0}, {kDialogCancelRegion, 0}, {kDialogCloseRegion, 1}}) {}

CSkinnedDialog::~CSkinnedDialog() {
  if (font_) DeleteObject(font_);
  if (background_) DeleteObject(background_);
  if (darkBrush_) DeleteObject(darkBrush_);
}

INT_PTR CSkinnedDialog::run(HWND owner) {
  return runModal(GetModuleHandleW(nullptr), frame_.templateId, owner);
}

void CSkinnedDialog::addDropDown(const Region& box, const Region& list, int listId) {
  dropDowns_.push_back({box, list, listId, nullptr});
}

BOOL CSkinnedDialog::onInitDialog() {
  skinFolder_ = skinState().folder;
  const std::string path = skinFolder_ + std::string(frame_.background);
  if (const auto loaded = loadBackgroundBitmap(widen(path))) {
    background_ = loaded->bitmap;
    SetWindowPos(window(), nullptr, 0, 0, loaded->size.cx, loaded->size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    MessageBoxW(window(), L"error", widen(frame_.failureCaption).c_str(), MB_OK);
    return FALSE;
  }
  const Language language = interfaceLanguage();
  font_ = createWindowFont(fontsFor(language, reportedSystemVersion()).small);
  const InterfaceTexts texts(language);
  okCaption_ = texts[TextId::Ok];
  cancelCaption_ = texts[TextId::Cancel];
  darkBrush_ = CreateSolidBrush(kDarkControlColour);
  initContent();
  repaint();
  return TRUE;
}

void CSkinnedDialog::paintButton(PaintStep& step, std::size_t button, bool over) {
  const Region& region = kFrameRegions[button];
  const bool close = button == kClose;
  const std::string_view image = close ? (over ? kCloseOverImage : kCloseNormalImage)
                                       : (over ? kButtonOverImage : kButtonNormalImage);
  LoadPng(step.memDC(), widen(skinFolder_ + std::string(image)), region.left, region.top,
          PngFailure::ShowMessage);
  if (!close) {
    FontSelection selected(step.dc(), font_);
    drawText(step.dc(), button == kOk ? okCaption_ : cancelCaption_, region,
             skinState().textColour(), TextPlacement::Centred);
  }
}

void CSkinnedDialog::paintFrame(PaintStep& step) {
  FontSelection selected(step.dc(), font_);
  SetBkMode(step.dc(), TRANSPARENT);
  paintButton(step, kOk, false);
  paintButton(step, kCancel, false);
  drawContent(step, frame_.contentLabelsInSkinColour ? skinState().textColour() : kWhiteText);
  paintButton(step, kClose, false);
  hover_.clear();
}

void CSkinnedDialog::repaint() {
  if (!background_) return;
  PaintStep step(window(), background_);
  paintFrame(step);
}

void CSkinnedDialog::closeDropDown(std::size_t index) {
  DropDown& dropDown = dropDowns_[index];
  if (dropDown.listWindow) DestroyWindow(dropDown.listWindow);
  dropDown.listWindow = nullptr;
}

void CSkinnedDialog::toggleDropDown(std::size_t index) {
  DropDown& dropDown = dropDowns_[index];
  if (dropDown.listWindow) {
    closeDropDown(index);
    return;
  }
  const Region& list = dropDown.list;
  dropDown.listWindow = CreateWindowExW(
      0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
      list.left, list.top, list.width(), list.height(), window(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(dropDown.listId)), GetModuleHandleW(nullptr),
      nullptr);
  if (!dropDown.listWindow) return;
  SendMessageW(dropDown.listWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (const std::wstring& item : dropDownItems(index))
    SendMessageW(dropDown.listWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void CSkinnedDialog::takeDropDownChoice(std::size_t index) {
  HWND list = dropDowns_[index].listWindow;
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
  std::wstring text(length > 0 ? static_cast<std::size_t>(length) : 0, L'\0');
  if (length > 0)
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
  closeDropDown(index);
  dropDownChosen(index, static_cast<int>(selected), text);
}

void CSkinnedDialog::onLeftButtonDown(int x, int y) {
  for (std::size_t i = 0; i < dropDowns_.size(); ++i)
    if (dropDowns_[i].listWindow && !dropDowns_[i].list.contains(x, y) &&
        !dropDowns_[i].box.contains(x, y))
      closeDropDown(i);
  if (kDialogOkRegion.contains(x, y)) {
    endDialog(IDOK);
    return;
  }
  if (kDialogCancelRegion.contains(x, y) || kDialogCloseRegion.contains(x, y)) {
    endDialog(IDCANCEL);
    return;
  }
  for (std::size_t i = 0; i < dropDowns_.size(); ++i)
    if (dropDowns_[i].box.contains(x, y)) {
      toggleDropDown(i);
      return;
    }
  contentClick(x, y);
}

void CSkinnedDialog::onMouseMove(int x, int y) {
  const HoverButtons::MoveOutcome outcome = hover_.onMouseMove(x, y);
  if (outcome.requestHover) {
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER, window(), kHoverTimeMs};
    TrackMouseEvent(&track);
  }
  if (!outcome.toNormal.empty() && background_) {
    PaintStep step(window(), background_);
    for (std::size_t button : outcome.toNormal) paintButton(step, button, false);
  }
}

void CSkinnedDialog::onMouseHover(int x, int y) {
  const HoverButtons::HoverOutcome outcome = hover_.onHover(x, y);
  if (!outcome.toOver || !background_) return;
  PaintStep step(window(), background_);
  paintButton(step, *outcome.toOver, true);
  for (std::size_t button : outcome.toNormal) paintButton(step, button, false);
}

INT_PTR CSkinnedDialog::onControlColour(UINT message, HDC dc) {
  SetTextColor(dc, kWhiteText);
  SetBkMode(dc, TRANSPARENT);
  if (font_) SelectObject(dc, font_);
  if (message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLOREDIT) SetBkColor(dc, kDarkControlColour);
  return reinterpret_cast<INT_PTR>(darkBrush_);
}

bool CSkinnedDialog::preTranslateMessage(MSG& message) {
  // The item under the pointer becomes the selection of an open list.
  if (message.message == WM_MOUSEMOVE)
    for (const DropDown& dropDown : dropDowns_)
      if (dropDown.listWindow && message.hwnd == dropDown.listWindow) {
        const LRESULT item = SendMessageW(dropDown.listWindow, LB_ITEMFROMPOINT, 0, message.lParam);
        if (HIWORD(item) == 0) SendMessageW(dropDown.listWindow, LB_SETCURSEL, LOWORD(item), 0);
      }
  return false;
}

INT_PTR CSkinnedDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog();
    case WM_ERASEBKGND:
      if (!background_) return FALSE;
      {
        PaintStep step(window(), reinterpret_cast<HDC>(wParam), background_);
        paintFrame(step);
      }
      setResult(TRUE);
      return TRUE;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEHOVER:
      onMouseHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
      return onControlColour(message, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        endDialog(LOWORD(wParam));
        return TRUE;
      }
      for (std::size_t i = 0; i < dropDowns_.size(); ++i)
        if (dropDowns_[i].listWindow && LOWORD(wParam) == dropDowns_[i].listId &&
            (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK)) {
          takeDropDownChoice(i);
          return TRUE;
        }
      break;
    case WM_CLOSE:
      endDialog(IDCANCEL);
      return TRUE;
    case WM_MOUSEWHEEL:
      if (frame_.wheelScrollsList) {
        for (const DropDown& dropDown : dropDowns_)
          if (dropDown.listWindow) {
            // Three lines a notch: up for a positive delta, down otherwise.
            const LRESULT top = SendMessageW(dropDown.listWindow, LB_GETTOPINDEX, 0, 0);
            const LRESULT next = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? std::max<LRESULT>(0, top - 3) : top + 3;
            SendMessageW(dropDown.listWindow, LB_SETTOPINDEX, static_cast<WPARAM>(next), 0);
          }
        return TRUE;
      }
      break;
    default:
      break;
  }
  return contentMessage(message, wParam, lParam);
}

}  // namespace ombrisk
