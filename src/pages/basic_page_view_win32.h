// The Basic page: key table, report rate, DPI stages and lighting. The page's decisions are
// BasicPage's; this view carries them out with the page's child windows: the stage colour
// swatches, the lighting value boxes, the lighting lists and the key boxes' function lists.
#pragma once

#include <array>
#include <memory>
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
  // A press on key box button (0..6). The function lists and their choices belong to the key
  // assignment; until they open here the press only closes the other lists.
  void keyBoxPressed(int button);
  // Opens the function list of button with items, closing any other: one key list at a time.
  void openKeyList(int button, const std::vector<std::string>& items);
  void lightingBoxPressed(int box);
  void chooseColour(int stage);
  // The lighting value boxes as the record has them: created, updated or removed.
  void showLightingValues();
  std::vector<DropDownList*> lists();

  BasicPage page_;
  std::array<std::unique_ptr<DropDownList>, kKeyBoxCount> keyLists_;
  std::array<std::unique_ptr<DropDownList>, kLightingBoxes> lightingLists_;
  std::array<HWND, kStages> swatches_{};
  std::array<HWND, kLightingBoxes> lightingValues_{};
  std::array<HFONT, kLightingBoxes> valueFonts_{};  // narrower fonts of values wider than their box
};

}  // namespace ombrisk
