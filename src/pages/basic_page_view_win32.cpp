#include "pages/basic_page_view_win32.h"

#include <commdlg.h>

#include "keys/key_editor_run_win32.h"
#include "pages/dpi_controls.h"
#include "pages/lighting.h"
#include "skin/text_win32.h"
#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

HWND createStatic(HWND parent, const ChildControl<BasicControl>& child, DWORD style, HFONT font) {
  const Region& r = child.rect;
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width(),
                                r.height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)),
                                GetModuleHandleW(nullptr), nullptr);
  if (window && font) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return window;
}

void destroy(HWND& window) {
  if (window && IsWindow(window)) DestroyWindow(window);
  window = nullptr;
}

// The colour dialog's sixteen custom colours, kept for the run.
COLORREF customColours[16] = {};

}  // namespace

BasicPageView::BasicPageView(PageContext& context)
    : PageView(context), page_(context.image, context.labels, context.texts) {
  for (int button = 0; button < kKeyBoxCount; ++button)
    keyLists_[button] = std::make_unique<DropDownList>(context.window, keyDropDown(button), context.smallFont);
  // No box and no fixed place: it opens beside the DPI Switch item, and every press closes it.
  dpiList_ = std::make_unique<DropDownList>(context.window, DropDownBox{kDpiActionListId, {}, {}}, context.smallFont);
  for (int box = 0; box < kLightingBoxes; ++box)
    lightingLists_[box] = std::make_unique<DropDownList>(context.window, lightingDropDown(box), context.smallFont);
  for (int stage = 0; stage < kStages; ++stage)
    swatches_[stage] =
        createStatic(context.window, childOf(basicPageChildren(), BasicControl::StageSwatch, stage), 0, nullptr);
  showLightingValues();
}

BasicPageView::~BasicPageView() {
  for (HWND& swatch : swatches_) destroy(swatch);
  for (HWND& value : lightingValues_) destroy(value);
  for (HFONT font : valueFonts_)
    if (font) deleteCountedGdi(font);
}

void BasicPageView::build(Painter& painter) { page_.paint(painter); }

std::vector<DropDownList*> BasicPageView::lists() {
  std::vector<DropDownList*> all;
  for (const auto& list : keyLists_) all.push_back(list.get());
  all.push_back(dpiList_.get());
  for (const auto& list : lightingLists_) all.push_back(list.get());
  return all;
}

bool BasicPageView::press(int x, int y) {
  // A press outside a list and its box closes the list, whatever the press goes on to do.
  for (DropDownList* list : lists()) list->closeOnPressOutside(x, y);
  const BasicPage::Press outcome = page_.press(x, y);
  if (!outcome.claimed) return false;
  if (outcome.redraw) context().surface.paint(outcome.redraw);
  if (outcome.keyBox) keyBoxPressed(*outcome.keyBox);
  if (outcome.lightingBox) lightingBoxPressed(*outcome.lightingBox);
  if (outcome.colourDialog) chooseColour(*outcome.colourDialog);
  return true;
}

void BasicPageView::keyBoxPressed(int button) {
  const bool wasOpen = keyLists_[button]->isOpen();
  closeKeyLists();
  if (wasOpen) return;
  const FunctionListOpening opening =
      openFunctionList(context().image.record, texts(), static_cast<std::size_t>(button), keyDropDown(button));
  if (const auto* message = std::get_if<MessageToShow>(&opening)) {
    showMessage(*message);
    return;
  }
  const auto& list = std::get<FunctionListToOpen>(opening);
  keyLists_[button]->open(list.items, list.geometry.list);
}

void BasicPageView::closeKeyLists() {
  dpiList_->close();
  for (const auto& list : keyLists_) list->close();
}

std::optional<int> BasicPageView::openKeyList() const {
  for (int button = 0; button < kKeyBoxCount; ++button)
    if (keyLists_[button]->isOpen()) return button;
  return std::nullopt;
}

void BasicPageView::followFunctionList(int button, const MSG& message) {
  HWND list = keyLists_[button]->list();
  const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, message.lParam);
  const int item = HIWORD(hit) == 0 ? static_cast<int>(LOWORD(hit)) : -1;
  switch (dpiSideListOnHover(item, dpiList_->isOpen())) {
    case DpiSideListChange::Open: {
      // The list's client area in the page: the item's rectangle is relative to it.
      RECT client{}, item{};
      GetClientRect(list, &client);
      MapWindowPoints(list, context().window, reinterpret_cast<POINT*>(&client), 2);
      SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(kDpiSwitchPosition), reinterpret_cast<LPARAM>(&item));
      dpiList_->open(dpiActionItems(),
                     dpiActionListRegion({client.left, client.top, client.right, client.bottom},
                                         {item.left, item.top, item.right, item.bottom}));
      return;
    }
    case DpiSideListChange::Close:
      dpiList_->close();
      return;
    case DpiSideListChange::None:
      return;
  }
}

void BasicPageView::carryOut(int button, const KeyChoiceStep& step) {
  if (std::holds_alternative<KeepListOpen>(step)) return;
  // The lists go before an editor comes up: nothing is chosen in them any more.
  closeKeyLists();
  CloseList closed;
  if (const auto* editor = std::get_if<RunEditor>(&step)) {
    const std::optional<EditorAnswer> answer =
        runKeyEditor(editor->dialog, context().window, context().profiles, context().paths.recordIni);
    KeyChoiceContext keys = page_.keyChoice();
    closed = finishKeyEditor(keys, static_cast<std::size_t>(button), answer);
  } else {
    closed = std::get<CloseList>(step);
  }
  if (closed.message) showMessage(*closed.message);
  if (closed.changed) context().surface.paint(page_.keyBoxRedraw(button));
}

void BasicPageView::showMessage(const MessageToShow& message) {
  MessageBoxW(context().window, widen(message.text).c_str(), widen(message.caption).c_str(), MB_OK);
}

void BasicPageView::lightingBoxPressed(int box) {
  DropDownList& list = *lightingLists_[box];
  if (list.isOpen()) {
    list.close();
    return;
  }
  SettingsRecord& record = context().image.record;
  const LightingPress outcome = pressLightingBox(box, record, texts());
  if (outcome.list) list.open(*outcome.list, lightingListRect(box, record[rec::kLightingMode]));
  if (outcome.valuesChanged) showLightingValues();
}

void BasicPageView::showLightingValues() {
  const LightingValues values = lightingValues(context().image.record, texts());
  const std::optional<std::string> shown[kLightingBoxes] = {values.mode, values.parameter, values.effect};
  for (int box = 0; box < kLightingBoxes; ++box) {
    HWND& window = lightingValues_[box];
    if (!shown[box]) {
      destroy(window);
      continue;
    }
    if (!window)
      window = createStatic(context().window, childOf(basicPageChildren(), BasicControl::LightingValue, box),
                            SS_CENTER | SS_CENTERIMAGE, context().smallFont);
    if (!window) continue;
    SetWindowTextW(window, widen(*shown[box]).c_str());
    // A value wider than its box ("RGB Fixed On") is set in a narrower cut of the font.
    const Region& rect = childOf(basicPageChildren(), BasicControl::LightingValue, box).rect;
    HFONT fitting = createFittingFont(context().smallFont, *shown[box], rect.width() - 2);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fitting ? fitting : context().smallFont), TRUE);
    if (valueFonts_[box]) deleteCountedGdi(valueFonts_[box]);
    valueFonts_[box] = fitting;
  }
}

void BasicPageView::chooseColour(int stage) {
  SettingsRecord& record = context().image.record;
  const Rgb current = stageColour(record, stage);
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = context().window;
  dialog.rgbResult = RGB(current.red, current.green, current.blue);
  dialog.lpCustColors = customColours;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&dialog)) return;
  setStageColour(record, stage,
                 {GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult), GetBValue(dialog.rgbResult)});
  InvalidateRect(swatches_[stage], nullptr, TRUE);
}

bool BasicPageView::command(WPARAM wParam, LPARAM lParam) {
  // A choice in a function list or in the side list; DPI Switch keeps its list open.
  for (int button = 0; button < kKeyBoxCount; ++button)
    if (const auto choice = keyLists_[button]->chosen(wParam, lParam)) {
      KeyChoiceContext keys = page_.keyChoice();
      carryOut(button, chooseKeyFunction(keys, static_cast<std::size_t>(button), choice->index));
      return true;
    }
  if (const auto choice = dpiList_->chosen(wParam, lParam)) {
    if (const std::optional<int> button = openKeyList()) {
      KeyChoiceContext keys = page_.keyChoice();
      carryOut(*button, chooseDpiAction(keys, static_cast<std::size_t>(*button), choice->index));
    } else {
      dpiList_->close();
    }
    return true;
  }
  for (int box = 0; box < kLightingBoxes; ++box)
    if (const auto choice = lightingLists_[box]->onCommand(wParam, lParam)) {
      chooseLighting(box, choice->index, context().image.record);
      showLightingValues();
      return true;
    }
  return false;
}

bool BasicPageView::preTranslate(MSG& message) {
  if (message.message == WM_MOUSEMOVE) {
    for (DropDownList* list : lists()) list->followPointer(message);
    if (const std::optional<int> button = openKeyList(); button && message.hwnd == keyLists_[*button]->list())
      followFunctionList(*button, message);
    return false;
  }
  if (message.message == WM_MOUSEWHEEL) {
    bool scrolled = false;
    for (DropDownList* list : lists()) scrolled = list->scroll(GET_WHEEL_DELTA_WPARAM(message.wParam)) || scrolled;
    return scrolled;
  }
  return false;
}

std::vector<SkinnedSurface::HoverTarget> BasicPageView::hoverTargets() {
  std::vector<SkinnedSurface::HoverTarget> targets;
  for (BasicPage::HoverControl& control : page_.hoverControls())
    targets.push_back({control.region, 0, std::move(control.draw)});
  return targets;
}

}  // namespace ombrisk
