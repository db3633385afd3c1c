// The names ombriskctl reads and writes for settings (profiles and `set`): the texts the
// utility shows, taken from the tables the utility itself uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"

namespace ombrisk::ctl {

const InterfaceTexts& englishTexts();

// The texts of a list from first on, up to the first empty one.
template <typename Text>
std::vector<std::string> namesUntilEmpty(std::size_t first, Text text) {
  std::vector<std::string> names;
  for (std::size_t i = first; !std::string(text(i)).empty(); ++i) names.emplace_back(text(i));
  return names;
}
template <typename Text>
std::vector<std::string> namesOf(std::size_t count, Text text) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) names.emplace_back(text(i));
  return names;
}

// "\"a\", \"b\" or \"c\"", for messages.
std::string listOfNames(const std::vector<std::string>& names);
// ASCII letters compared without regard to case.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// The report intervals the slider stores (8, 4, 2, 1), slider order.
std::vector<std::uint8_t> reportRateCodes();
inline unsigned reportsPerSecond(std::uint8_t code) { return 1000u / code; }

std::string colourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue);  // "#RRGGBB"
// "#RRGGBB" (either case); nothing for any other text.
std::optional<std::array<std::uint8_t, 3>> parseColour(std::string_view text);

// English list texts, in list order.
std::vector<std::string> functionNames();   // the sixteen button functions
std::vector<std::string> dpiActionNames();  // "DPI +" .. "Shift DPI" for 1..4
std::vector<std::string> windowsNames();
std::vector<std::string> mediaNames();
std::vector<std::string> fireKeyNames();
std::vector<std::string> modifierNames();

}  // namespace ombrisk::ctl
