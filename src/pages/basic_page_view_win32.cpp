#include "pages/basic_page_view_win32.h"

#include "pages/basic_page_surface.h"

namespace ombrisk {

BasicPageView::BasicPageView(PageContext& context) : PageView(context) {}

void BasicPageView::build(Painter& painter) {
  for (const PageText& text : basicPageTexts(texts())) painter.text(text.text, text.region, text.placement);
}

bool BasicPageView::press(int, int) { return false; }

}  // namespace ombrisk
