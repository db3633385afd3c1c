#include "skin/drop_down_win32.h"

#include <algorithm>

#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr int kWheelLines = 3;

}  // namespace

DropDownList::DropDownList(HWND parent, const DropDownBox& geometry, HFONT font)
    : parent_(parent), geometry_(geometry), font_(font) {}

DropDownList::~DropDownList() { close(); }

void DropDownList::open(const std::vector<std::string>& items) { open(items, geometry_.list); }

void DropDownList::open(const std::vector<std::string>& items, const Region& listRect) {
  close();
  // A list reaching past the bottom of its window would hide its last items and the end of
  // its scroll bar: it ends at the window's edge instead.
  Region rect = listRect;
  RECT client{};
  if (GetClientRect(parent_, &client) && rect.bottom > client.bottom && client.bottom > rect.top)
    rect.bottom = client.bottom;
  list_ = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                          rect.left, rect.top, rect.width(), rect.height(), parent_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(geometry_.listId)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!list_) return;
  if (font_) SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  int widest = 0;
  HDC dc = GetDC(list_);
  HGDIOBJ previousFont = font_ ? SelectObject(dc, font_) : nullptr;
  for (const std::string& item : items) {
    const std::wstring text = widen(item);
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SIZE size{};
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) widest = std::max<int>(widest, size.cx);
  }
  if (previousFont) SelectObject(dc, previousFont);
  ReleaseDC(list_, dc);
  // A list never cuts its items: it widens to the longest, as far as its window reaches.
  constexpr int kItemMargins = 6;
  const int needed = widest + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXBORDER) + kItemMargins;
  int width = rect.width();
  if (needed > width)
    width = std::max(width, client.right > rect.left ? std::min(needed, static_cast<int>(client.right) - rect.left)
                                                     : needed);
  // Above the other children it covers (new children start at the bottom of their order).
  SetWindowPos(list_, HWND_TOP, 0, 0, width, rect.height(), SWP_NOMOVE | SWP_NOACTIVATE);
  opened_ = {rect.left, rect.top, rect.left + width, rect.bottom};
  // Drawn at once: until then the controls it covers still show through it.
  UpdateWindow(list_);
}

void DropDownList::close() {
  // A press on the list gave it the keyboard focus; the parent takes it back, so that keys
  // still arrive as key presses once the list is gone.
  if (list_ && GetFocus() == list_) SetFocus(parent_);
  if (list_ && IsWindow(list_)) DestroyWindow(list_);
  list_ = nullptr;
}

bool DropDownList::closeOnPressOutside(int x, int y) {
  if (!list_ || !DropDownBox{geometry_.listId, geometry_.box, opened_}.pressClosesList(x, y)) return false;
  close();
  return true;
}

bool selectItemUnderPointer(HWND list, const MSG& message) {
  if (!list || message.message != WM_MOUSEMOVE || message.hwnd != list) return false;
  const LRESULT item = SendMessageW(list, LB_ITEMFROMPOINT, 0, message.lParam);
  if (HIWORD(item) != 0 || SendMessageW(list, LB_GETCURSEL, 0, 0) == LOWORD(item)) return false;
  SendMessageW(list, LB_SETCURSEL, LOWORD(item), 0);
  return true;
}

void DropDownList::followPointer(const MSG& message) { selectItemUnderPointer(list_, message); }

bool DropDownList::scroll(int wheelDelta) {
  if (!list_) return false;
  const LRESULT top = SendMessageW(list_, LB_GETTOPINDEX, 0, 0);
  const LRESULT next = wheelDelta > 0 ? std::max<LRESULT>(0, top - kWheelLines) : top + kWheelLines;
  SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(next), 0);
  return true;
}

std::optional<DropDownList::Choice> DropDownList::onCommand(WPARAM wParam, LPARAM lParam) {
  std::optional<Choice> choice = chosen(wParam, lParam);
  if (choice) close();
  return choice;
}

std::optional<DropDownList::Choice> DropDownList::chosen(WPARAM wParam, LPARAM lParam) const {
  if (!list_ || LOWORD(wParam) != geometry_.listId || reinterpret_cast<HWND>(lParam) != list_) return std::nullopt;
  if (HIWORD(wParam) != LBN_SELCHANGE && HIWORD(wParam) != LBN_DBLCLK) return std::nullopt;
  const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return std::nullopt;
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
  std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
  if (length > 0) {
    SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
  } else {
    text.clear();
  }
  return Choice{static_cast<int>(selected), narrow(text)};
}

}  // namespace ombrisk
