#include "pages/advanced_page_view_win32.h"

#include "macros/macro_panel_surface.h"
#include "pages/advanced_page_surface.h"

namespace ombrisk {

AdvancedPageView::AdvancedPageView(PageContext& context) : PageView(context) {}

void AdvancedPageView::build(Painter& painter) {
  for (const PageText& text : advancedPageTexts(texts())) painter.text(text.text, text.region, text.placement);
  for (const PanelText& text : macroPanelTexts(texts())) painter.text(text.text, text.region, text.placement);
}

bool AdvancedPageView::press(int, int) { return false; }

}  // namespace ombrisk
