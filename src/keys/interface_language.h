// The three interface languages, chosen by the language code: "CHS", "CHT", anything else
// English. Tables of texts in the three languages are indexed by it.
#pragma once

#include <cstddef>
#include <string_view>

namespace ombrisk {

enum class InterfaceLanguage : std::size_t { English = 0, SimplifiedChinese = 1, TraditionalChinese = 2 };
inline constexpr std::size_t kInterfaceLanguageCount = 3;

inline InterfaceLanguage interfaceLanguageFromCode(std::string_view code) {
  if (code == "CHS") return InterfaceLanguage::SimplifiedChinese;
  if (code == "CHT") return InterfaceLanguage::TraditionalChinese;
  return InterfaceLanguage::English;
}

}  // namespace ombrisk
