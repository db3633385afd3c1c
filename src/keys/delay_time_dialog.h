// The content of the delay dialog (CDelayTimeDialog): its prompt and range in the interface
// language, and the delay its edit holds. The macro panel turns the result into an entry.
#pragma once

#include <string>
#include <string_view>

#include "app/interface_texts.h"
#include "skin/surface.h"

namespace ombrisk {

struct DelayTimeTexts {
  std::string_view prompt;  // "Please enter a delay"
  std::string_view range;   // "(value range 0-10000)"
};
DelayTimeTexts delayTimeTexts(Language language);

// The prompt and the range above the edit, centred on one line each.
void drawDelayTimeContent(Painter& painter, Language language, TextColour colour);

// What the dialog gives back: the edit's text as typed, and the number it reads as (leading
// blanks and a sign allowed, reading stops at the first non-digit, no digits give 0).
struct DelayTimeResult {
  long long delay = 0;
  std::string text;
};
DelayTimeResult delayTimeFromText(std::string_view text);

}  // namespace ombrisk
