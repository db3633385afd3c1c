#include "keys/fire_key_editor.h"

#include "keys/editor_texts.h"
#include "keys/key_editor_surfaces.h"
#include "keys/key_names.h"
#include "util/decimal.h"

namespace ombrisk {
namespace {

FieldReading read(std::string_view text, long long low, long long high, std::uint8_t corrected) {
  const long long value = leadingDecimal(text);
  if (value < low || value > high) return {corrected, std::string(1, static_cast<char>('0' + corrected))};
  return {static_cast<std::uint8_t>(value), std::nullopt};
}

}  // namespace

FieldReading readFireSpeed(std::string_view text) { return read(text, kFireSpeedMin, 255, kFireSpeedCorrected); }

FieldReading readFireTimes(std::string_view text) { return read(text, 0, 255, kFireTimesCorrected); }

std::vector<std::string> fireKeyItems() {
  std::vector<std::string> items;
  for (const FireKeyEntry& entry : fireKeyList()) items.emplace_back(entry.text);
  return items;
}

void paintFireKeyContent(Painter& painter, Language language) {
  const KeyEditorSurface surface = fireKeySurface();
  const auto caption = [&](KeyEditorControl edit, EditorText text) {
    painter.text(editorText(language, text), captionAbove(childOf(surface.children, edit).rect),
                 TextPlacement::Centred, TextColour::White);
  };
  painter.text(editorText(language, EditorText::FireKeyCaption),
               captionAbove(regionOf(surface.regions, KeyEditorControl::FireKeyBox).rect), TextPlacement::Centred,
               TextColour::White);
  caption(KeyEditorControl::SpeedEdit, EditorText::FireSpeedCaption);
  caption(KeyEditorControl::TimesEdit, EditorText::FireTimesCaption);
  painter.text(editorText(language, EditorText::FireSpeedNote), kFireSpeedNoteRegion, TextPlacement::Paragraph,
               TextColour::White);
  painter.text(editorText(language, EditorText::FireTimesNote), kFireTimesNoteRegion, TextPlacement::Paragraph,
               TextColour::White);
}

}  // namespace ombrisk
