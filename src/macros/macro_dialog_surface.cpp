#include "macros/macro_dialog_surface.h"

#include <array>
#include <vector>

namespace ombrisk {
namespace {

using Row = SurfaceRegion<MacroDialogControl>;
using Child = ChildControl<MacroDialogControl>;
using enum MacroDialogControl;

constexpr int kTickPitch = 50;

const std::vector<Row>& rows() {
  static const std::vector<Row> table = [] {
    std::vector<Row> t = {{MacroBox, 0, {42, 128, 151, 144}}};
    addRepeated(t, {RepeatTick, 0, {220, 78, 236, 94}, SkinImage::Pane, SkinImage::PaneTick}, kRepeatModes, 0,
                kTickPitch);
    return t;
  }();
  return table;
}

constexpr std::array<Child, 2> kChildren = {{
    {MacroText, 0, 592, {42, 128, 136, 144}, ChildKind::Static},
    {MacroList, 0, 593, {42, 146, 151, 286}, ChildKind::List},
}};

}  // namespace

SurfaceTables<MacroDialogControl> macroDialogSurface() { return {rows(), kChildren}; }

Region repeatModeTextRegion(int mode) {
  // Up to three lines beside the box, inside the dialog's panel (its picture is 380 pixels
  // wide): the English texts need three lines at this width.
  const Region tick = regionOf<MacroDialogControl>(rows(), RepeatTick, mode - 1).rect;
  return {tick.right + 1, tick.top - 16, 368, tick.bottom + 16};
}

Region macroDialogTitleRegion() {
  const Region box = regionOf<MacroDialogControl>(rows(), MacroBox).rect;
  return {box.left - 50, box.top - 16, box.right + 50, box.top};
}

}  // namespace ombrisk
