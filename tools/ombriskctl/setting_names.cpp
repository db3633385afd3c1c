#include "setting_names.h"

#include <algorithm>
#include <cstdio>

#include "keys/key_functions.h"
#include "keys/key_names.h"
#include "pages/dpi_controls.h"
#include "util/json.h"

namespace ombrisk::ctl {

const InterfaceTexts& englishTexts() {
  static const InterfaceTexts texts(Language::English);
  return texts;
}

std::string listOfNames(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    text += (i ? (i + 1 == names.size() ? " or " : ", ") : "") + json::quoted(names[i]);
  return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<std::uint8_t> reportRateCodes() {
  std::vector<std::pair<int, std::uint8_t>> codes;
  for (unsigned code = 1; code <= 0xFF; ++code)
    if (const auto position = reportRatePosition(static_cast<std::uint8_t>(code)))
      codes.emplace_back(*position, static_cast<std::uint8_t>(code));
  std::sort(codes.begin(), codes.end());
  std::vector<std::uint8_t> ordered;
  for (const auto& [position, code] : codes) ordered.push_back(code);
  return ordered;
}

std::string colourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
  return text;
}

std::optional<std::array<std::uint8_t, 3>> parseColour(std::string_view text) {
  const auto hex = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
  };
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  std::array<std::uint8_t, 3> rgb{};
  for (std::size_t i = 0; i < 3; ++i) {
    const int high = hex(text[1 + 2 * i]), low = hex(text[2 + 2 * i]);
    if (high < 0 || low < 0) return std::nullopt;
    rgb[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return rgb;
}

std::vector<std::string> functionNames() {
  return namesOf(kKeyFunctionCount, [](std::size_t i) { return keyFunctionName(static_cast<std::uint8_t>(i)); });
}
std::vector<std::string> dpiActionNames() {
  return namesUntilEmpty(1, [](std::size_t i) { return dpiActionName(static_cast<std::uint8_t>(i)); });
}
std::vector<std::string> windowsNames() {
  return namesOf(windowsFunctionList().size(),
                 [](std::size_t i) { return listText(windowsFunctionList()[i], Language::English); });
}
std::vector<std::string> mediaNames() {
  return namesOf(mediaFunctionList().size(),
                 [](std::size_t i) { return listText(mediaFunctionList()[i], Language::English); });
}
std::vector<std::string> fireKeyNames() {
  return namesOf(fireKeyList().size(), [](std::size_t i) { return fireKeyList()[i].text; });
}
std::vector<std::string> modifierNames() {
  return namesOf(modifierNameTable().size(), [](std::size_t i) { return modifierNameTable()[i].name; });
}

}  // namespace ombrisk::ctl
