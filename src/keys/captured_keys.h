// The single-key and combination editors without their windows: which key events their
// keyboard hook takes, the names it captured, whether the mouse can be given those keys,
// and what the editors draw.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "app/interface_texts.h"
#include "skin/surface.h"

namespace ombrisk {

// A key event as the hook gets it: the flags of the key message.
struct KeyStroke {
  unsigned key = 0;      // scan code, plus 0x100 for an extended key
  bool release = false;  // the key goes up
  bool wasDown = false;  // the key was down before this event (auto-repeat, release)

  // From the key message's flags: bits 16..23 scan code, 24 extended, 30 previous state,
  // 31 transition.
  static KeyStroke fromFlags(std::uint32_t flags);
};

// Follows the keys pressed since an editor opened. A key that was already held when it
// opened (the key that chose the function, say) is not the user's answer: its auto-repeat
// and its release are passed over. Everything else is taken; the last event taken wins.
class KeyCapture {
 public:
  bool take(const KeyStroke& stroke);

 private:
  std::bitset<0x200> down_;
};

// The name an editor keeps for a key event: the keyboard layout's name when the key name
// tables know it. Layouts of other languages, and Wine's X11 keyboard ("Return", "Control",
// "Super_L"), name many keys otherwise; those keys keep the US English name of the same key
// (the same scan code), so that they can still be assigned. A key without such a name keeps
// the layout's name and cannot be assigned. The left and right halves of Ctrl, Shift, Alt
// and Win always keep the US English name of their scan code, whatever the layout calls them.
std::string keptKeyName(std::string layoutName, unsigned key);

// One key as an editor captured it: the name the keyboard layout gave.
struct CapturedKey {
  bool captured = false;
  std::string name;

  void capture(std::string keyName) {
    captured = true;
    name = std::move(keyName);
  }
  // A captured key that the key name tables do not know (another keyboard layout, a key
  // without a usage, no name at all): it is stored as code 0, which sends nothing, so the
  // editor says so.
  bool unassignable() const;
};

// What the single-key editor returns: the captured name (empty when nothing was pressed).
struct SingleKeyChoice {
  std::string keyName;
};

// What the combination editor returns: the chosen modifier name and the two captured key
// names, each empty when not given.
struct ComboKeyChoice {
  std::string modifier;
  std::string key1;
  std::string key2;
};

// Where an editor says that a captured key cannot be assigned: under the single key's name;
// under the combination's second edit, across the panel.
Region singleKeyNoteRegion();
Region comboKeyNoteRegion();

// The combination editor's note: one line per key that cannot be assigned, naming it; empty
// when both can.
std::string comboKeyNote(Language language, const CapturedKey& key1, const CapturedKey& key2);

// The single-key editor's labels: the prompt, and the note under an unassignable key.
void paintSingleKeyContent(Painter& painter, Language language, const CapturedKey& key);
// The combination editor's captions above the modifier box and the two key edits, in the
// dialog's label colour.
void paintComboKeyCaptions(Painter& painter, Language language, TextColour colour);
// The combination editor's note, in the dialog's label colour.
void paintComboKeyContent(Painter& painter, Language language, const CapturedKey& key1,
                          const CapturedKey& key2, TextColour colour);

}  // namespace ombrisk
