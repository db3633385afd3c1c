// The hover model of skinned buttons: which buttons show their "over" image, and what a
// mouse move or a hover report repaints. Pure bookkeeping; the window does the drawing.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "skin/region.h"

namespace ombrisk {

class HoverButtons {
 public:
  struct Button {
    Region region;
    // A hover report over a button repaints normal every flagged button of the same group.
    int group = 0;
  };

  struct MoveOutcome {
    bool requestHover = false;          // the pointer is over a button: ask for a hover report
    std::vector<std::size_t> toNormal;  // the pointer left all buttons: repaint these normal
  };

  struct HoverOutcome {
    std::optional<std::size_t> toOver;  // paint this button's over image
    std::vector<std::size_t> toNormal;  // then repaint these normal
  };

  explicit HoverButtons(std::vector<Button> buttons);

  MoveOutcome onMouseMove(int x, int y);
  HoverOutcome onHover(int x, int y);
  // The first button that contains the point.
  std::optional<std::size_t> buttonAt(int x, int y) const;
  bool isOver(std::size_t index) const { return over_.at(index); }
  void clear();

 private:
  std::vector<Button> buttons_;
  std::vector<bool> over_;
};

}  // namespace ombrisk
