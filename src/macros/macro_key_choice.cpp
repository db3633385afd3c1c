#include "macros/macro_key_choice.h"

#include "keys/editor_texts.h"
#include "macros/macro_dialog_surface.h"
#include "macros/macro_store.h"

namespace ombrisk {
namespace {

constexpr EditorText kModeTexts[kRepeatModes] = {EditorText::RepeatMode1, EditorText::RepeatMode2,
                                                 EditorText::RepeatMode3};

}  // namespace

std::vector<std::string> macroKeyItems(ProfileStore& store, const std::string& recordIni) {
  std::vector<std::string> names = macroNames(store, recordIni);
  if (names.size() > rec::kMacroCount) names.resize(rec::kMacroCount);
  return names;
}

std::optional<int> repeatModeAt(int x, int y) {
  const auto* row = hitTest(macroDialogSurface().regions, x, y);
  if (!row || row->control != MacroDialogControl::RepeatTick) return std::nullopt;
  return row->index + 1;
}

void paintRepeatTicks(Painter& painter, int repeatMode) {
  const auto regions = macroDialogSurface().regions;
  for (int mode = 1; mode <= kRepeatModes; ++mode) {
    const auto& box = regionOf(regions, MacroDialogControl::RepeatTick, mode - 1);
    painter.image(mode == repeatMode ? *box.over : *box.normal, box.rect.left, box.rect.top);
  }
}

void paintMacroDialogContent(Painter& painter, Language language, int repeatMode) {
  painter.text(editorText(language, EditorText::MacroTitle), macroDialogTitleRegion(), TextPlacement::Centred,
               TextColour::White);
  for (int mode = 1; mode <= kRepeatModes; ++mode)
    painter.text(editorText(language, kModeTexts[mode - 1]), repeatModeTextRegion(mode), TextPlacement::Paragraph,
                 TextColour::White);
  paintRepeatTicks(painter, repeatMode);
}

}  // namespace ombrisk
