// The texts the editor dialogs keep for themselves (the main window's texts are
// app/interface_texts.h): one row per text, in English, Simplified and Traditional Chinese.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "app/interface_texts.h"

namespace ombrisk {

// One text in the three languages, indexed by Language.
using Translations = std::array<std::string_view, 3>;

constexpr std::string_view translated(const Translations& texts, Language language) {
  return texts[static_cast<std::size_t>(language)];
}

enum class EditorText : std::size_t {
  SingleKeyPrompt,
  UnassignableKey,  // under a captured key that the key tables do not know
  ComboModifierCaption,  // above the combination editor's modifier box
  ComboKey1Caption,
  ComboKey2Caption,
  FireKeyCaption,        // above the fire-key editor's key box
  FireSpeedCaption,
  FireTimesCaption,
  FireSpeedNote,
  FireTimesNote,
  MacroTitle,
  RepeatMode1,
  RepeatMode2,
  RepeatMode3,
  Count
};

std::string_view editorText(Language language, EditorText text);

}  // namespace ombrisk
