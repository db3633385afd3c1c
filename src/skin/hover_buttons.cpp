#include "skin/hover_buttons.h"

namespace ombrisk {

HoverButtons::HoverButtons(std::vector<Button> buttons)
    : buttons_(std::move(buttons)), over_(buttons_.size(), false) {}

std::optional<std::size_t> HoverButtons::buttonAt(int x, int y) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].region.contains(x, y)) return i;
  return std::nullopt;
}

HoverButtons::MoveOutcome HoverButtons::onMouseMove(int x, int y) {
  MoveOutcome outcome;
  if (buttonAt(x, y)) {
    outcome.requestHover = true;
    return outcome;
  }
  for (std::size_t i = 0; i < over_.size(); ++i)
    if (over_[i]) {
      outcome.toNormal.push_back(i);
      over_[i] = false;
    }
  return outcome;
}

HoverButtons::HoverOutcome HoverButtons::onHover(int x, int y) {
  HoverOutcome outcome;
  const auto hit = buttonAt(x, y);
  if (!hit) return outcome;
  outcome.toOver = *hit;
  for (std::size_t i = 0; i < over_.size(); ++i)
    if (i != *hit && over_[i] && buttons_[i].group == buttons_[*hit].group) {
      outcome.toNormal.push_back(i);
      over_[i] = false;
    }
  over_[*hit] = true;
  return outcome;
}

void HoverButtons::clear() { over_.assign(over_.size(), false); }

}  // namespace ombrisk
