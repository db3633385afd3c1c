// The Basic page: key table, report rate, DPI stages and lighting. The page's decisions are
// BasicPage's and the key choice's (keys/function_choice); this view carries them out with
// the page's child windows: the stage colour swatches, the lighting value boxes, the
// lighting lists, the key boxes' function lists with the DPI side list, and the key editors.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/basic_page.h"
#include "pages/basic_page_surface.h"
#include "pages/page_view_win32.h"
#include "skin/drop_down_win32.h"

namespace ombrisk {

class BasicPageView final : public PageView {
 public:
  explicit BasicPageView(PageContext& context);
  ~BasicPageView() override;

  void build(Painter& painter) override;
  bool press(int x, int y) override;
  std::vector<SkinnedSurface::HoverTarget> hoverTargets() override;
  bool command(WPARAM wParam, LPARAM lParam) override;
  bool preTranslate(MSG& message) override;

 private:
  // A press on key box button (0..6): its function list closes when open; otherwise every
  // other closes and the button's opens, unless it holds the table's last Left Click.
  void keyBoxPressed(int button);
  // The function lists and the DPI side list.
  void closeKeyLists();
  // The button whose function list is open.
  std::optional<int> openKeyList() const;
  // A pointer move over an open function list: the DPI side list opens beside "DPI Switch"
  // while the pointer is on it.
  void followFunctionList(int button, const MSG& message);
  // Carries out what a choice in a function list or the side list asks: an editor to run,
  // the lists to close, a message, the key box to repaint.
  void carryOut(int button, const KeyChoiceStep& step);
  void showMessage(const MessageToShow& message);
  void lightingBoxPressed(int box);
  void chooseColour(int stage);
  // The lighting value boxes as the record has them: created, updated or removed.
  void showLightingValues();
  std::vector<DropDownList*> lists();

  BasicPage page_;
  std::array<std::unique_ptr<DropDownList>, kKeyBoxCount> keyLists_;
  std::unique_ptr<DropDownList> dpiList_;  // any press on the page closes it
  std::array<std::unique_ptr<DropDownList>, kLightingBoxes> lightingLists_;
  std::array<HWND, kStages> swatches_{};
  std::array<HWND, kLightingBoxes> lightingValues_{};
  std::array<HFONT, kLightingBoxes> valueFonts_{};  // narrower fonts of values wider than their box
};

}  // namespace ombrisk
