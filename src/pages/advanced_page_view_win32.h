// The Advanced page: the Windows pointer settings and the macro panel.
#pragma once

#include "pages/page_view_win32.h"

namespace ombrisk {

class AdvancedPageView final : public PageView {
 public:
  explicit AdvancedPageView(PageContext& context);
  void build(Painter& painter) override;
  bool press(int x, int y) override;
};

}  // namespace ombrisk
