// The Basic page: key table, report rate, DPI stages and lighting.
#pragma once

#include "pages/page_view_win32.h"

namespace ombrisk {

class BasicPageView final : public PageView {
 public:
  explicit BasicPageView(PageContext& context);
  void build(Painter& painter) override;
  bool press(int x, int y) override;
};

}  // namespace ombrisk
