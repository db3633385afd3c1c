// The fire-key editor without its window: its choice, the corrections of the speed and times
// edits, and its labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "skin/surface.h"

namespace ombrisk {

// What the editor returns; untouched, fire key "A" at speed 32, once.
struct FireKeyChoice {
  int index = 0;         // position in the fire-key list
  std::string text = "A";
  std::uint8_t speed = 32;  // 5..255, smaller is faster
  std::uint8_t times = 1;   // 0..255, 0 = until the button is released
};

inline constexpr std::uint8_t kFireSpeedMin = 5;
inline constexpr std::uint8_t kFireSpeedCorrected = 5;
inline constexpr std::uint8_t kFireTimesCorrected = 1;

// An edit's text read as a number, and the text to put into the edit instead when the number
// is out of range (nothing when the text stands).
struct FieldReading {
  std::uint8_t value = 0;
  std::optional<std::string> replacement;
};

// The speed when its edit loses the focus (and when OK takes the editor's answer): outside
// 5..255 it becomes 5, "5" in the edit.
FieldReading readFireSpeed(std::string_view text);
// The times on every change of its edit: outside 0..255 it becomes 1, "1" in the edit at
// once; an empty edit is 0.
FieldReading readFireTimes(std::string_view text);

// The 61 texts of the key list, in list order (the same in every language).
std::vector<std::string> fireKeyItems();

// The captions above the key box and the two edits, and the two notes, in white.
void paintFireKeyContent(Painter& painter, Language language);

}  // namespace ombrisk
