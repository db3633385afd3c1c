// A drop-down list of a skinned surface (a page or an editor dialog): a press on its box
// opens a child list box under it; while it is open the item under the pointer is selected,
// the wheel scrolls it, and a selection change or a double click takes the item as the
// choice and closes it; a press outside box and list closes it without a choice.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "skin/surface.h"

namespace ombrisk {

// Before dispatch: a pointer move over list selects the item under the pointer, without a
// notification. True when the selection changed.
bool selectItemUnderPointer(HWND list, const MSG& message);

class DropDownList {
 public:
  struct Choice {
    int index = 0;
    std::string text;  // UTF-8
  };

  DropDownList(HWND parent, const DropDownBox& geometry, HFONT font = nullptr);
  ~DropDownList();
  DropDownList(const DropDownList&) = delete;
  DropDownList& operator=(const DropDownList&) = delete;

  const DropDownBox& geometry() const { return geometry_; }
  bool isOpen() const { return list_ != nullptr; }
  HWND list() const { return list_; }

  // Creates the list at its rectangle (or at listRect) holding items (UTF-8), none selected.
  void open(const std::vector<std::string>& items);
  void open(const std::vector<std::string>& items, const Region& listRect);
  void close();

  // A press of the parent at (x, y): an open list closes when the press is outside its box
  // and the list as it was opened (a list opened at its own rectangle, shorter than the
  // geometry's, leaves the page under it free). True when it closed.
  bool closeOnPressOutside(int x, int y);
  // Before dispatch: a pointer move over the open list selects the item under it, without
  // a notification.
  void followPointer(const MSG& message);
  // One wheel notch scrolls the open list three lines: up for a positive delta, down
  // otherwise. False when the list is not open.
  bool scroll(int wheelDelta);
  // WM_COMMAND of the parent: a selection change or double click of this list gives its
  // choice and closes the list; nothing for other commands or without a selection.
  std::optional<Choice> onCommand(WPARAM wParam, LPARAM lParam);
  // The same choice, with the list left open: for a list whose owner decides whether the
  // choice closes it (an item that opens a side list keeps it open).
  std::optional<Choice> chosen(WPARAM wParam, LPARAM lParam) const;

 private:
  HWND parent_;
  DropDownBox geometry_;
  HFONT font_;
  HWND list_ = nullptr;
  Region opened_;  // in the parent's client pixels, while open
};

}  // namespace ombrisk
