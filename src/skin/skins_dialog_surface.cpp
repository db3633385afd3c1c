#include "skin/skins_dialog_surface.h"

#include <array>

namespace ombrisk {
namespace {

using enum SkinsDialogControl;

constexpr Region kColourBox{42, 94, 151, 110};

constexpr std::array<SurfaceRegion<SkinsDialogControl>, 2> kRows = {{
    {ColourBox, 0, kColourBox},
    {SkinBox, 0, {42, 128, 151, 144}},
}};

constexpr std::array<ChildControl<SkinsDialogControl>, 3> kChildren = {{
    {ColourBox, 0, 561, kColourBox, ChildKind::Static},
    {SkinText, 0, 560, {42, 128, 136, 144}, ChildKind::Static},
    {SkinList, 0, 562, {42, 146, 151, 266}, ChildKind::List},
}};

}  // namespace

SurfaceTables<SkinsDialogControl> skinsDialogSurface() { return {kRows, kChildren}; }

}  // namespace ombrisk
