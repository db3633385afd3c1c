#include "pages/page_view_win32.h"

#include "pages/advanced_page_view_win32.h"
#include "pages/basic_page_view_win32.h"

namespace ombrisk {

std::unique_ptr<PageView> makePageView(Page page, PageContext& context) {
  switch (page) {
    case Page::Basic: return std::make_unique<BasicPageView>(context);
    case Page::Advanced: return std::make_unique<AdvancedPageView>(context);
    case Page::None: break;
  }
  return nullptr;
}

}  // namespace ombrisk
