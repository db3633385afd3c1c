// The main window's surfaces: the window-wide buttons that every page tests first, and the
// page picture and title of each page, in client pixels of the skin's "/main.png".
#pragma once

#include "skin/surface.h"

namespace ombrisk {

enum class Page { None = 0, Basic = 1, Advanced = 2 };

enum class WindowControl { Ok, Apply, Skins, Minimise, Close, PreviousPage, NextPage, Cancel, WebLink };

// In the order a press tests them.
Surface<WindowControl> windowSurface();

inline constexpr Region kPageTitleRegion{105, 51, 320, 99};

// The picture drawn first on a page.
SkinImage pageImage(Page page);
TextId pageTitle(Page page);

}  // namespace ombrisk
