// The skinned frame shared by the eight editor dialogs: the background image as the whole
// window, close, OK and Cancel buttons with hover images, the window font, dark list and
// edit controls, and drop-down boxes. A dialog adds its content through the virtual hooks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/dialog_base_win32.h"
#include "skin/dialog_frame.h"
#include "skin/hover_buttons.h"
#include "skin/mem_dc_win32.h"

namespace ombrisk {

inline constexpr COLORREF kDarkControlColour = RGB(40, 40, 40);

class CSkinnedDialog : public DialogBase {
 public:
  explicit CSkinnedDialog(EditorDialog dialog);
  ~CSkinnedDialog() override;

  // Runs the dialog from its own template: 1 for OK, 2 for Cancel or close.
  INT_PTR run(HWND owner);

  // False when the background could not be loaded (the dialog then has no skin).
  bool skinned() const { return background_ != nullptr; }

 protected:
  // A drop-down box of the content: the click box and where its list opens.
  struct DropDown {
    Region box;
    Region list;
    int listId = 0;
    HWND listWindow = nullptr;
  };

  // Content hooks; the defaults do nothing.
  virtual void initContent() {}
  // Draws the content's labels in labelColour inside a paint step of the frame.
  virtual void drawContent(PaintStep&, COLORREF /*labelColour*/) {}
  // A left click the frame did not claim; true when the content used it.
  virtual bool contentClick(int, int) { return false; }
  // Items of drop-down box index when it opens, and the choice taken from it.
  virtual std::vector<std::wstring> dropDownItems(std::size_t) { return {}; }
  virtual void dropDownChosen(std::size_t, int, const std::wstring&) {}
  // Messages the frame does not handle.
  virtual INT_PTR contentMessage(UINT, WPARAM, LPARAM) { return FALSE; }

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool preTranslateMessage(MSG& message) override;

  void addDropDown(const Region& box, const Region& list, int listId);
  // Repaints the whole frame into the background and the window.
  void repaint();

  const EditorDialogFrame& frame() const { return frame_; }
  const std::string& skinFolder() const { return skinFolder_; }
  HFONT font() const { return font_; }
  HBRUSH darkBrush() const { return darkBrush_; }
  HBITMAP background() const { return background_; }
  std::vector<DropDown>& dropDowns() { return dropDowns_; }

 private:
  enum FrameButton : std::size_t { kOk = 0, kCancel = 1, kClose = 2 };

  BOOL onInitDialog();
  void paintFrame(PaintStep& step);
  void paintButton(PaintStep& step, std::size_t button, bool over);
  void onLeftButtonDown(int x, int y);
  void onMouseMove(int x, int y);
  void onMouseHover(int x, int y);
  INT_PTR onControlColour(UINT message, HDC dc);
  void toggleDropDown(std::size_t index);
  void closeDropDown(std::size_t index);
  void takeDropDownChoice(std::size_t index);

  const EditorDialogFrame& frame_;
  std::string skinFolder_;
  HFONT font_ = nullptr;
  HBITMAP background_ = nullptr;
  std::string okCaption_, cancelCaption_;
  HoverButtons hover_;
  HBRUSH darkBrush_ = nullptr;
  std::vector<DropDown> dropDowns_;
};

}  // namespace ombrisk
