#include "pages/control_colours.h"

#include "pages/dpi_controls.h"

namespace ombrisk {
namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kGreenGrey{100, 150, 100}, kMacroListBrush{14, 15, 14};

}  // namespace

ControlColour controlColourFor(ChildClass childClass, int id, const SettingsRecord& record, Rgb skinColour) {
  switch (childClass) {
    case ChildClass::Edit:
      return {skinColour, std::nullopt, kBlack, false};
    case ChildClass::List:
      // The macro lists lie on their own dark brush; black system text would not read there.
      // The list box clears its rows with the text background colour, not the brush, so that
      // is the brush's colour too (a transparent one leaves them white).
      if (id == 151 || id == 152) return {kWhite, kMacroListBrush, kMacroListBrush, false};
      return {kWhite, kBlack, kBlack, true};
    case ChildClass::Button:
      return {std::nullopt, std::nullopt, std::nullopt, false};
    case ChildClass::Static:
      if (id >= 71 && id <= 74) return {std::nullopt, std::nullopt, stageColour(record, id - 71), false};
      if ((id >= 80 && id <= 82) || id == 119) return {skinColour, kBlack, kBlack, true};
      return {skinColour, kGreenGrey, kGreenGrey, true};
  }
  return {};
}

}  // namespace ombrisk
