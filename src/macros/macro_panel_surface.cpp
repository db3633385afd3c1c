#include "macros/macro_panel_surface.h"

#include <array>

namespace ombrisk {
namespace {

using Child = ChildControl<MacroPanelControl>;
using enum MacroPanelControl;

constexpr std::array<Child, 6> kChildren = {{
    {MacroList, 0, 151, {462, 220, 591, 512}, ChildKind::List},
    {EventList, 0, 152, {592, 220, 725, 512}, ChildKind::List},
    {NameEdit, 0, 150, {735, 322, 799, 336}, ChildKind::Edit},
    {LoopTimesEdit, 0, 149, {735, 362, 799, 376}, ChildKind::Edit},
    {MouseEventText, 0, 119, {735, 402, 839, 416}, ChildKind::Static},
    {MouseEventList, 0, 154, {734, 419, 854, 569}, ChildKind::List},
}};

// The labels above the edits and the mouse-event box: 20 pixels high, from the control's
// left edge to the panel's right edge.
constexpr int kLabelHeight = 20;
constexpr int kPanelRight = 874;

}  // namespace

std::span<const ChildControl<MacroPanelControl>> macroPanelChildren() { return kChildren; }

DropDownBox mouseEventDropDown(const Region& box) {
  const Child& list = childOf<MacroPanelControl>(kChildren, MouseEventList);
  return {list.id, box, list.rect};
}

std::vector<PanelText> macroPanelTexts(const InterfaceTexts& texts) {
  std::vector<PanelText> out = {
      {texts[TextId::SelectMacro], {457, 196, 592, 220}, TextPlacement::Centred},
      {texts[TextId::KeyPressSequence], {591, 196, 726, 220}, TextPlacement::Centred},
      {texts[TextId::RecordOption], {725, 196, 875, 220}, TextPlacement::Centred},
      {texts[TextId::StartRecording], {765, 227, 874, 260}, TextPlacement::Paragraph},
      {texts[TextId::StopRecording], {765, 263, 874, 296}, TextPlacement::Paragraph},
  };
  for (auto [control, label] : {std::pair{NameEdit, TextId::MacroName}, std::pair{LoopTimesEdit, TextId::LoopTimes},
                                std::pair{MouseEventText, TextId::InsertMouseEvent}}) {
    const Region below = childOf<MacroPanelControl>(kChildren, control).rect;
    out.push_back({texts[label], {below.left, below.top - kLabelHeight, kPanelRight, below.top}, TextPlacement::Left});
  }
  return out;
}

}  // namespace ombrisk
