// The Advanced page: the Windows pointer settings and the macro panel with its recorder.
#pragma once

#include <string>
#include <vector>

#include "macros/macro_panel.h"
#include "pages/page_view_win32.h"
#include "skin/drop_down_win32.h"

namespace ombrisk {

class AdvancedPageView final : public PageView {
 public:
  explicit AdvancedPageView(PageContext& context);
  // Leaving the page removes the recording hook; the children go with the view.
  ~AdvancedPageView() override;

  void build(Painter& painter) override;
  bool press(int x, int y) override;
  std::vector<SkinnedSurface::HoverTarget> hoverTargets() override;
  bool command(WPARAM wParam, LPARAM lParam) override;
  bool preTranslate(MSG& message) override;
  std::optional<LRESULT> windowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void createChildren();
  HWND createChild(const wchar_t* windowClass, DWORD style, int id, const Region& rect);
  // The children show what the panel holds.
  void showPanel();
  void showEntries();
  void setEditText(HWND edit, const std::string& text);
  // The event list's selection as the list shows it (it follows the pointer).
  void takeEntrySelection();
  void show(const std::optional<PanelMessage>& message);

  void startRecording();
  void stopRecording();
  void editDelay();
  void showEntryMenu();

  MacroPanel panel_;
  DropDownList mouseEvents_;
  HWND macroList_ = nullptr, eventList_ = nullptr, nameEdit_ = nullptr, loopEdit_ = nullptr, eventText_ = nullptr;
  std::vector<HWND> children_;
  std::vector<std::string> shownNames_, shownEntries_;
  bool settingText_ = false;  // the program is changing an edit: its EN_CHANGE is not the user's
};

}  // namespace ombrisk
