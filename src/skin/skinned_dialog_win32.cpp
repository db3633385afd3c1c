#include "skin/skinned_dialog_win32.h"

#include <windowsx.h>

#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/text_win32.h"
#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// OK and Cancel are a pair: hovering one shows the other normal; close stands alone.
int hoverGroup(FrameControl control) { return control == FrameControl::Close ? 1 : 0; }

}  // namespace

CSkinnedDialog::CSkinnedDialog(EditorDialog dialog)
    : frame_(editorDialogFrame(dialog)), surface_(PngFailure::ShowMessage, TME_HOVER) {}

CSkinnedDialog::~CSkinnedDialog() {
  dropDowns_.clear();
  if (font_) deleteCountedGdi(font_);
  if (darkBrush_) deleteCountedGdi(darkBrush_);
}

INT_PTR CSkinnedDialog::run(HWND owner) {
  return runModal(GetModuleHandleW(nullptr), frame_.templateId, owner);
}

std::size_t CSkinnedDialog::addDropDown(const DropDownBox& geometry) {
  dropDowns_.push_back(std::make_unique<DropDownList>(window(), geometry, font_));
  return dropDowns_.size() - 1;
}

BOOL CSkinnedDialog::onInitDialog() {
  if (!surface_.attach(window(), skinState().folder, frame_.background)) {
    MessageBoxW(window(), L"error", widen(frame_.failureCaption).c_str(), MB_OK);
    return FALSE;
  }
  const Language language = interfaceLanguage();
  texts_ = InterfaceTexts(language);
  font_ = createWindowFont(fontsFor(language, reportedSystemVersion()).small);
  surface_.setFonts(font_, font_);
  std::vector<SkinnedSurface::HoverTarget> targets;
  for (const SurfaceRegion<FrameControl>& row : dialogFrameSurface())
    targets.push_back({row.rect, hoverGroup(row.control), [&row, this](Painter& painter, bool over) {
                         paintRegion(painter, row, over, texts_);
                       }});
  surface_.setHoverTargets(std::move(targets));
  darkBrush_ = countedGdi(CreateSolidBrush(kDarkControlColour));
  initContent();
  repaint();
  return TRUE;
}

void CSkinnedDialog::paintFrame(Painter& painter) {
  const Surface<FrameControl> frame = dialogFrameSurface();
  paintRegion(painter, regionOf(frame, FrameControl::Ok), false, texts_);
  paintRegion(painter, regionOf(frame, FrameControl::Cancel), false, texts_);
  drawContent(painter, frame_.contentLabelsInSkinColour ? TextColour::Skin : TextColour::White);
  paintRegion(painter, regionOf(frame, FrameControl::Close), false, texts_);
  surface_.forgetHover();
}

void CSkinnedDialog::repaint() {
  surface_.paint([this](Painter& painter) { paintFrame(painter); });
}

HWND CSkinnedDialog::createChildWindow(ChildKind kind, int id, const Region& rect, DWORD style,
                                       const std::string& text) {
  const wchar_t* className = kind == ChildKind::Edit ? L"EDIT" : kind == ChildKind::List ? L"LISTBOX" : L"STATIC";
  // Clipped by its siblings: an edit repainting under an open drop-down list must not draw
  // over the list.
  HWND child = CreateWindowExW(0, className, widen(text).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                               rect.left, rect.top,
                               rect.width(), rect.height(), window(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (child && font_) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return child;
}

void CSkinnedDialog::endWith(INT_PTR code) {
  if (code == IDOK) beforeOk();
  endDialog(code);
}

void CSkinnedDialog::repaintAfresh() {
  surface_.paint([this](Painter& painter) {
    painter.image(frame_.background, 0, 0);
    paintFrame(painter);
  });
}

void CSkinnedDialog::onLeftButtonDown(int x, int y) {
  bool closed = false;
  for (const auto& dropDown : dropDowns_) closed = dropDown->closeOnPressOutside(x, y) || closed;
  if (closed) dropDownsChanged();
  if (const auto* row = hitTest(dialogFrameSurface(), x, y)) {
    endWith(row->control == FrameControl::Ok ? IDOK : IDCANCEL);
    return;
  }
  for (std::size_t i = 0; i < dropDowns_.size(); ++i) {
    DropDownList& dropDown = *dropDowns_[i];
    if (!dropDown.geometry().box.contains(x, y)) continue;
    if (dropDown.isOpen())
      dropDown.close();
    else
      dropDown.open(dropDownItems(i));
    dropDownsChanged();
    return;
  }
  contentClick(x, y);
}

INT_PTR CSkinnedDialog::onControlColour(UINT message, HDC dc) {
  SetTextColor(dc, kWhiteText);
  SetBkMode(dc, TRANSPARENT);
  if (font_) SelectObject(dc, font_);
  if (message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLOREDIT) SetBkColor(dc, kDarkControlColour);
  return reinterpret_cast<INT_PTR>(darkBrush_);
}

bool CSkinnedDialog::preTranslateMessage(MSG& message) {
  for (const auto& dropDown : dropDowns_) dropDown->followPointer(message);
  return false;
}

INT_PTR CSkinnedDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog();
    case WM_ERASEBKGND:
      if (!surface_.skinned()) return FALSE;
      surface_.paintOn(reinterpret_cast<HDC>(wParam), [this](Painter& painter) { paintFrame(painter); });
      setResult(TRUE);
      return TRUE;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      surface_.onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEHOVER:
      surface_.onMouseHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
      if (const auto brush = contentControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<INT_PTR>(*brush);
      return onControlColour(message, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        endWith(LOWORD(wParam));
        return TRUE;
      }
      for (std::size_t i = 0; i < dropDowns_.size(); ++i)
        if (const auto choice = dropDowns_[i]->onCommand(wParam, lParam)) {
          dropDownChosen(i, *choice);
          dropDownsChanged();
          return TRUE;
        }
      break;
    case WM_CLOSE:
      endDialog(IDCANCEL);
      return TRUE;
    case WM_MOUSEWHEEL:
      if (frame_.wheelScrollsList) {
        for (const auto& dropDown : dropDowns_) dropDown->scroll(GET_WHEEL_DELTA_WPARAM(wParam));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return contentMessage(message, wParam, lParam);
}

}  // namespace ombrisk
