// A page of the main window as the window sees it: the window draws the page picture and
// its own buttons, then hands the page its surface. The page draws its controls and labels,
// creates its child windows, answers the presses the window-wide buttons left, the commands
// and colours of its children and the messages it wants to see before dispatch. Leaving the
// page destroys the view and with it every child window of the page.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/interface_texts.h"
#include "device/device_link_win32.h"
#include "pages/window_surface.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"
#include "skin/skinned_surface_win32.h"

namespace ombrisk {

// What the pages work with; it all belongs to the main window and outlives every page.
struct PageContext {
  HWND window;
  SkinnedSurface& surface;  // repaints go through surface.paint
  const InterfaceTexts& texts;
  HFONT smallFont;
  SettingsImage& image;
  ButtonLabelSet& labels;  // of the interface language's section of str.ini
  ProfileStore& profiles;
  const DataPaths& paths;
  Win32DeviceLink& link;
};

class PageView {
 public:
  explicit PageView(PageContext& context) : context_(context) {}
  virtual ~PageView() = default;
  PageView(const PageView&) = delete;
  PageView& operator=(const PageView&) = delete;

  // Draws the page's controls and labels over the page picture and creates its children.
  virtual void build(Painter& painter) = 0;
  // A press that no window-wide button claimed: true when a control of the page took it
  // (otherwise the window is dragged).
  virtual bool press(int x, int y) = 0;
  // The page's hoverable controls, besides the window-wide buttons.
  virtual std::vector<SkinnedSurface::HoverTarget> hoverTargets() { return {}; }
  // WM_COMMAND from a child of the page: true when it was the page's.
  virtual bool command(WPARAM, LPARAM) { return false; }
  // Before dispatch: true consumes the message.
  virtual bool preTranslate(MSG&) { return false; }
  // WM_CTLCOLOR* of a child of the page: the brush, or nothing when it is not the page's.
  virtual std::optional<HBRUSH> controlColour(UINT /*message*/, HDC, HWND /*child*/) { return std::nullopt; }
  // A private message of the main window meant for the page (WM_RECORDED_KEY): its answer, or
  // nothing when the page does not take it.
  virtual std::optional<LRESULT> windowMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

 protected:
  PageContext& context() { return context_; }
  const InterfaceTexts& texts() const { return context_.texts; }

 private:
  PageContext& context_;
};

std::unique_ptr<PageView> makePageView(Page page, PageContext& context);

}  // namespace ombrisk
