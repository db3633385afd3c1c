// The skinned frame shared by the eight editor dialogs: the background image as the whole
// window, close, OK and Cancel buttons with hover images, the window font, dark list and
// edit controls, and drop-down boxes. A dialog adds its content through the virtual hooks.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "skin/dialog_base_win32.h"
#include "skin/dialog_frame.h"
#include "skin/drop_down_win32.h"
#include "skin/skinned_surface_win32.h"

namespace ombrisk {

inline constexpr COLORREF kDarkControlColour = RGB(40, 40, 40);

class CSkinnedDialog : public DialogBase {
 public:
  explicit CSkinnedDialog(EditorDialog dialog);
  ~CSkinnedDialog() override;

  // Runs the dialog from its own template: 1 for OK, 2 for Cancel or close.
  INT_PTR run(HWND owner);

  // False when the background could not be loaded (the dialog then has no skin).
  bool skinned() const { return surface_.skinned(); }

 protected:
  // Content hooks; the defaults do nothing.
  virtual void initContent() {}
  // Draws the content's labels in the dialog's label colour.
  virtual void drawContent(Painter&, TextColour /*labelColour*/) {}
  // A left click the frame did not claim; true when the content used it.
  virtual bool contentClick(int, int) { return false; }
  // Items (UTF-8) of drop-down box index when it opens, and the choice taken from it.
  virtual std::vector<std::string> dropDownItems(std::size_t) { return {}; }
  virtual void dropDownChosen(std::size_t, const DropDownList::Choice&) {}
  // After a drop-down list of the content opened or closed (by its box, a press elsewhere or
  // a choice).
  virtual void dropDownsChanged() {}
  // OK was pressed (its button, Enter): the content takes its last typed values before the
  // dialog ends with 1.
  virtual void beforeOk() {}
  // Messages the frame does not handle.
  virtual INT_PTR contentMessage(UINT, WPARAM, LPARAM) { return FALSE; }
  // The brush of a content control whose colours are its own (the skin dialog's colour box);
  // nothing: the frame's white on dark grey.
  virtual std::optional<HBRUSH> contentControlColour(UINT /*message*/, HDC, HWND /*control*/) { return std::nullopt; }

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool preTranslateMessage(MSG& message) override;

  // Adds a drop-down box of the content (in initContent); returns its index.
  std::size_t addDropDown(const DropDownBox& geometry);
  DropDownList& dropDown(std::size_t index) { return *dropDowns_.at(index); }
  // Creates a child window of the content at its rectangle, in the dialog's font; style is
  // added to WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS.
  template <typename Control>
  HWND createChild(const ChildControl<Control>& child, DWORD style, const std::string& text = {}) {
    return createChildWindow(child.kind, child.id, child.rect, style, text);
  }
  HWND createChildWindow(ChildKind kind, int id, const Region& rect, DWORD style, const std::string& text);
  // Repaints the whole frame into the background and the window.
  void repaint();
  // The same on a fresh copy of the background picture, for content that can disappear (a
  // note that no longer applies): the canvas otherwise keeps whatever was drawn on it.
  void repaintAfresh();
  // One paint step of the content (a tick box, a changed label).
  void paint(const SkinnedSurface::Draw& draw) { surface_.paint(draw); }

  const EditorDialogFrame& frame() const { return frame_; }
  const std::string& skinFolder() const { return surface_.skinFolder(); }
  const InterfaceTexts& texts() const { return texts_; }
  HFONT font() const { return font_; }
  HBRUSH darkBrush() const { return darkBrush_; }
  HBITMAP background() const { return surface_.background(); }

 private:
  BOOL onInitDialog();
  void paintFrame(Painter& painter);
  void onLeftButtonDown(int x, int y);
  void endWith(INT_PTR code);
  INT_PTR onControlColour(UINT message, HDC dc);

  const EditorDialogFrame& frame_;
  SkinnedSurface surface_;
  InterfaceTexts texts_;
  HFONT font_ = nullptr;
  HBRUSH darkBrush_ = nullptr;
  std::vector<std::unique_ptr<DropDownList>> dropDowns_;
};

}  // namespace ombrisk
