#include "keys/captured_keys.h"

#include "keys/editor_texts.h"
#include "keys/key_editor_surfaces.h"
#include "keys/key_names.h"

namespace ombrisk {

KeyStroke KeyStroke::fromFlags(std::uint32_t flags) {
  return {((flags >> 16) & 0xFF) | ((flags >> 24) & 1) << 8, (flags >> 31 & 1) != 0, (flags >> 30 & 1) != 0};
}

bool KeyCapture::take(const KeyStroke& stroke) {
  const std::size_t key = stroke.key % down_.size();
  if (stroke.release) {
    if (!down_.test(key)) return false;
    down_.reset(key);
    return true;
  }
  // A first press says the key was up; a repeat of a key this editor never saw go down
  // comes from a key held since before it opened.
  if (stroke.wasDown && !down_.test(key)) return false;
  down_.set(key);
  return true;
}

std::string keptKeyName(std::string layoutName, unsigned key) {
  const std::string_view usName = usLayoutKeyName(key);
  // The left and right halves of Ctrl, Shift, Alt and Win may share one name in a layout
  // (Wine names the right Alt key "Alt"): for them the scan code says which half it was.
  if (isModifierUsage(keyNameToUsage(usName))) return std::string(usName);
  if (keyNameToUsage(layoutName) != 0) return layoutName;
  return usName.empty() ? layoutName : std::string(usName);
}

bool CapturedKey::unassignable() const { return captured && keyNameToUsage(name) == 0; }

Region singleKeyNoteRegion() {
  const Region name = childOf(singleKeySurface().children, KeyEditorControl::KeyNameText).rect;
  return {kSingleKeyPromptRegion.left, name.bottom + 8, kSingleKeyPromptRegion.right, name.bottom + 24};
}

Region comboKeyNoteRegion() {
  const Region edit = childOf(comboKeySurface().children, KeyEditorControl::Key2Edit).rect;
  return {15, edit.bottom + 8, 365, edit.bottom + 58};
}

std::string comboKeyNote(Language language, const CapturedKey& key1, const CapturedKey& key2) {
  std::string note;
  for (const CapturedKey* key : {&key1, &key2}) {
    if (!key->unassignable()) continue;
    if (!note.empty()) note += '\n';
    note += editorText(language, EditorText::UnassignableKey);
    if (!key->name.empty()) note += (language == Language::English ? ": " : "：") + key->name;
  }
  return note;
}

void paintSingleKeyContent(Painter& painter, Language language, const CapturedKey& key) {
  painter.text(editorText(language, EditorText::SingleKeyPrompt), kSingleKeyPromptRegion, TextPlacement::Centred,
               TextColour::White);
  if (key.unassignable())
    painter.text(editorText(language, EditorText::UnassignableKey), singleKeyNoteRegion(), TextPlacement::Centred,
                 TextColour::White);
}

void paintComboKeyCaptions(Painter& painter, Language language, TextColour colour) {
  const KeyEditorSurface surface = comboKeySurface();
  using enum KeyEditorControl;
  painter.text(editorText(language, EditorText::ComboModifierCaption),
               captionAbove(regionOf(surface.regions, ModifierBox).rect), TextPlacement::Centred, colour);
  painter.text(editorText(language, EditorText::ComboKey1Caption), captionAbove(childOf(surface.children, Key1Edit).rect),
               TextPlacement::Centred, colour);
  painter.text(editorText(language, EditorText::ComboKey2Caption), captionAbove(childOf(surface.children, Key2Edit).rect),
               TextPlacement::Centred, colour);
}

void paintComboKeyContent(Painter& painter, Language language, const CapturedKey& key1, const CapturedKey& key2,
                          TextColour colour) {
  const std::string note = comboKeyNote(language, key1, key2);
  if (!note.empty()) painter.text(note, comboKeyNoteRegion(), TextPlacement::Paragraph, colour);
}

}  // namespace ombrisk
