#include "pages/advanced_page_view_win32.h"

#include "app/resource_ids.h"
#include "app/window_messages.h"
#include "keys/delay_time_dialog_win32.h"
#include "macros/macro_panel_surface.h"
#include "macros/macro_recorder_win32.h"
#include "pages/advanced_page_surface.h"
#include "pages/pointer_panel.h"
#include "pages/pointer_settings_win32.h"
#include "util/module_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

static_assert(kCommandMacroListMenu == ID_MACRO_LIST_DELETE);

using enum AdvancedControl;

DropDownBox mouseEventGeometry() { return mouseEventDropDown(regionOf(advancedPageSurface(), MouseEventBox).rect); }

std::optional<std::size_t> listSelection(HWND list) {
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(selected));
}

// Makes list show wanted (shown is what it shows now), touching only the items that differ
// from the first changed one on, and selects selection.
void syncList(HWND list, std::vector<std::string>& shown, const std::vector<std::string>& wanted,
              std::optional<std::size_t> selection) {
  std::size_t same = 0;
  while (same < shown.size() && same < wanted.size() && shown[same] == wanted[same]) ++same;
  if (same < shown.size() || same < wanted.size()) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t item = shown.size(); item > same; --item) SendMessageW(list, LB_DELETESTRING, item - 1, 0);
    for (std::size_t item = same; item < wanted.size(); ++item)
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(wanted[item]).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    shown = wanted;
  }
  SendMessageW(list, LB_SETCURSEL, selection ? static_cast<WPARAM>(*selection) : static_cast<WPARAM>(-1), 0);
}

}  // namespace

AdvancedPageView::AdvancedPageView(PageContext& context)
    : PageView(context),
      panel_(context.profiles, context.paths.recordIni, context.image.record, context.texts, &context.labels),
      mouseEvents_(context.window, mouseEventGeometry(), context.smallFont) {}

AdvancedPageView::~AdvancedPageView() {
  MacroRecordingHook::instance().remove();
  mouseEvents_.close();
  for (HWND child : children_)
    if (IsWindow(child)) DestroyWindow(child);
}

void AdvancedPageView::build(Painter& painter) {
  SettingsRecord& record = context().image.record;
  readSystemPointerOnce(context().window, record);
  paintPointerControls(painter, record);
  for (AdvancedControl button : {PointerDefault, MacroNew, MacroDelete, MacroConfirm}) {
    const SurfaceRegion<AdvancedControl>& row = regionOf(advancedPageSurface(), button);
    painter.image(*row.normal, row.rect.left, row.rect.top);
  }
  for (const PageText& text : advancedPageTexts(texts())) painter.text(text.text, text.region, text.placement);
  for (const PanelText& text : macroPanelTexts(texts())) painter.text(text.text, text.region, text.placement);
  if (children_.empty()) {
    createChildren();
    panel_.load();
    showPanel();
  }
}

HWND AdvancedPageView::createChild(const wchar_t* windowClass, DWORD style, int id, const Region& rect) {
  HWND child = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.width(),
                               rect.height(), context().window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (child) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(context().smallFont), FALSE);
    children_.push_back(child);
  }
  return child;
}

void AdvancedPageView::createChildren() {
  using enum MacroPanelControl;
  const auto children = macroPanelChildren();
  const auto make = [&](MacroPanelControl control, const wchar_t* windowClass, DWORD style) {
    const ChildControl<MacroPanelControl>& child = childOf(children, control);
    return createChild(windowClass, style, child.id, child.rect);
  };
  // The lists scroll when their entries pass their height.
  macroList_ = make(MacroList, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL);
  eventList_ = make(EventList, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL);
  // No tab stops: the window keeps the focus until the user clicks an edit.
  nameEdit_ = make(NameEdit, L"EDIT", ES_CENTER | ES_AUTOHSCROLL);
  loopEdit_ = make(LoopTimesEdit, L"EDIT", ES_CENTER | ES_NUMBER | ES_AUTOHSCROLL);
  eventText_ = make(MouseEventText, L"STATIC", SS_CENTER | SS_CENTERIMAGE);
}

void AdvancedPageView::setEditText(HWND edit, const std::string& text) {
  if (windowTextOf(edit) == text) return;
  settingText_ = true;
  SetWindowTextW(edit, widen(text).c_str());
  settingText_ = false;
  InvalidateRect(edit, nullptr, TRUE);
}

void AdvancedPageView::showPanel() {
  syncList(macroList_, shownNames_, panel_.macroNames(), panel_.selectedMacro());
  showEntries();
  setEditText(nameEdit_, panel_.nameText());
  setEditText(loopEdit_, panel_.loopText());
  SetWindowTextW(eventText_, widen(panel_.mouseEventText()).c_str());
}

void AdvancedPageView::showEntries() { syncList(eventList_, shownEntries_, panel_.entries(), panel_.selectedEntry()); }

void AdvancedPageView::takeEntrySelection() { panel_.selectEntry(listSelection(eventList_)); }

void AdvancedPageView::show(const std::optional<PanelMessage>& message) {
  if (!message) return;
  const std::wstring caption =
      message->caption == PanelMessage::Caption::Warning ? std::wstring(L"Warning") : applicationName();
  MessageBoxW(context().window, widen(message->text).c_str(), caption.c_str(), MB_OK);
}

bool AdvancedPageView::press(int x, int y) {
  mouseEvents_.closeOnPressOutside(x, y);
  const SurfaceRegion<AdvancedControl>* row = hitTest(advancedPageSurface(), x, y);
  if (!row) return false;
  switch (row->control) {
    case PrecisionBox:
    case OneScreenBox:
    case PointerDefault:
    case PointerSlider: {
      std::vector<PointerCall> calls;
      context().surface.paint([&](Painter& painter) {
        calls = pressPointerControl(row->control, row->index, context().image.record, painter);
      });
      makePointerCalls(context().window, calls);
      break;
    }
    case StartRecording:
      startRecording();
      break;
    case StopRecording:
      stopRecording();
      break;
    case MacroNew:
      show(panel_.newMacro());
      showPanel();
      break;
    case MacroDelete:
      show(panel_.deleteMacro());
      showPanel();
      break;
    case MacroConfirm:
      show(panel_.save());
      showPanel();
      break;
    case MouseEventBox:
      if (mouseEvents_.isOpen())
        mouseEvents_.close();
      else
        mouseEvents_.open(std::vector<std::string>(kMouseEventNames.begin(), kMouseEventNames.end()));
      break;
  }
  return true;
}

std::vector<SkinnedSurface::HoverTarget> AdvancedPageView::hoverTargets() {
  return hoverTargetsOf(advancedPageSurface(), texts());
}

void AdvancedPageView::startRecording() {
  MacroRecordingHook& hook = MacroRecordingHook::instance();
  MacroRecorder& recorder = hook.recorder();
  if (const auto refusal = recorder.startRefusal(!panel_.macroNames().empty(), texts())) {
    show(refusal);
    return;
  }
  show(MacroRecorder::startMessage(texts()));
  hook.remove();
  panel_.clearEntries();
  showEntries();
  if (!hook.install(context().window)) {
    show(MacroRecorder::hookFailure(GetLastError()));
    return;
  }
  recorder.started();
  SetWindowTextW(context().window, widen(texts()[TextId::RecordingStopHint]).c_str());
}

void AdvancedPageView::stopRecording() {
  MacroRecordingHook& hook = MacroRecordingHook::instance();
  // The hook goes before the message is shown, so that the key answering it is not recorded.
  const bool hadHook = hook.installed();
  hook.remove();
  if (hadHook) SendMessageW(context().window, WM_RECORDED_KEY, static_cast<WPARAM>(RecordedKey::Stopped), 0);
  for (const PanelMessage& message : hook.recorder().stop(hadHook, texts())) show(message);
}

std::optional<LRESULT> AdvancedPageView::windowMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_RECORDED_KEY) return std::nullopt;
  if (!panel_.selectedMacro()) return 1;
  MacroRecordingHook& hook = MacroRecordingHook::instance();
  const auto key = static_cast<RecordedKey>(wParam);
  if (key != RecordedKey::Press && key != RecordedKey::Release) return 1;
  panel_.appendEntries(hook.recorder().entriesFor(key, hook.currentKeyName()));
  showEntries();
  return 1;
}

void AdvancedPageView::editDelay() {
  takeEntrySelection();
  const auto selected = panel_.selectedEntry();
  if (!selected || !isDelayEntry(panel_.entries()[*selected])) return;
  CDelayTimeDialog dialog;
  if (dialog.run(context().window) != IDOK) return;
  panel_.setDelay(*selected, dialog.result().text);
  showEntries();
}

void AdvancedPageView::showEntryMenu() {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MACRO_LIST_MENU));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  ModifyMenuW(popup, ID_MACRO_LIST_DELETE, MF_BYCOMMAND | MF_STRING, ID_MACRO_LIST_DELETE,
              widen(texts()[TextId::MacroDelete]).c_str());
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, context().window, nullptr);
  DestroyMenu(menu);
}

bool AdvancedPageView::command(WPARAM wParam, LPARAM lParam) {
  if (const auto choice = mouseEvents_.onCommand(wParam, lParam)) {
    takeEntrySelection();
    panel_.insertMouseEvent(choice->text);
    showPanel();
    return true;
  }
  const HWND from = reinterpret_cast<HWND>(lParam);
  const WORD notification = HIWORD(wParam);
  if (LOWORD(wParam) == kCommandMacroListMenu && !from) {
    takeEntrySelection();
    panel_.deleteSelectedEntry();
    showEntries();
    return true;
  }
  if (!from) return false;
  if (from == macroList_ && notification == LBN_SELCHANGE) {
    panel_.selectMacro(listSelection(macroList_));
    showPanel();
  } else if (from == eventList_ && notification == LBN_SELCHANGE) {
    takeEntrySelection();
  } else if (from == eventList_ && notification == LBN_DBLCLK) {
    editDelay();
  } else if (from == loopEdit_ && notification == EN_CHANGE && !settingText_) {
    panel_.setLoopText(windowTextOf(loopEdit_));
    setEditText(loopEdit_, panel_.loopText());
    InvalidateRect(loopEdit_, nullptr, TRUE);
  } else if (from == nameEdit_ && notification == EN_CHANGE && !settingText_) {
    panel_.setNameText(windowTextOf(nameEdit_));
    InvalidateRect(nameEdit_, nullptr, TRUE);
  } else {
    return false;
  }
  return true;
}

bool AdvancedPageView::preTranslate(MSG& message) {
  // While recording, keys go to the recorder only: none operates a control or hides the window.
  if (message.message == WM_KEYDOWN && MacroRecordingHook::instance().installed()) return true;
  if (message.message == WM_MOUSEMOVE) {
    mouseEvents_.followPointer(message);
    if (selectItemUnderPointer(eventList_, message)) takeEntrySelection();
    return false;
  }
  if (message.message == WM_RBUTTONDOWN && message.hwnd == eventList_) {
    showEntryMenu();
    return true;
  }
  return false;
}

}  // namespace ombrisk
