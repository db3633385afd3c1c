// The recorder: which key messages become entries and which entries they append, with the
// progress of a recording and its start and stop messages.
#include <gtest/gtest.h>

#include "macros/macro_codec.h"
#include "macros/macro_recorder.h"

namespace ombrisk {
namespace {

using Entries = std::vector<std::string>;
using Caption = PanelMessage::Caption;

// One key message as the hook sees it, recorded when the filter lets it through.
struct KeyMessage {
  std::string name;
  bool released;
  bool wasDown;
};

Entries record(MacroRecorder& recorder, const std::vector<KeyMessage>& messages) {
  Entries entries;
  for (const KeyMessage& message : messages)
    if (const auto key = recorder.filter(message.name, message.released, message.wasDown)) {
      const Entries added = recorder.entriesFor(*key, message.name);
      entries.insert(entries.end(), added.begin(), added.end());
    }
  return entries;
}

TEST(MacroRecorder, PressAndReleaseWithAutoRepeatFiltered) {
  MacroRecorder recorder;
  recorder.started();
  EXPECT_EQ(recorder.progress(), MacroRecorder::Progress::NoPressYet);
  // "A" held: the repeats (bit 30 set) are the keyboard's, not presses.
  EXPECT_EQ(record(recorder, {{"A", false, false}, {"A", false, true}, {"A", false, true}, {"A", true, true}}),
            (Entries{"A   Dn", "50 ms", "A   Up"}));
  EXPECT_EQ(recorder.progress(), MacroRecorder::Progress::Pressed);
  // The same key twice: two presses, each after a delay.
  EXPECT_EQ(record(recorder, {{"A", false, false}, {"A", true, true}, {"A", false, false}}),
            (Entries{"50 ms", "A   Dn", "50 ms", "A   Up", "50 ms", "A   Dn"}));
  // A combination.
  EXPECT_EQ(record(recorder, {{"Ctrl", false, false}, {"C", false, false}, {"C", true, true}, {"Ctrl", true, true}}),
            (Entries{"50 ms", "Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up"}));
}

TEST(MacroRecorder, ARecordingThatBeginsWithAReleaseAndTheStopMessage) {
  MacroRecorder recorder;
  recorder.started();
  // The key was held at Start: its release comes first, the next press without a delay.
  EXPECT_EQ(record(recorder, {{"Shift", true, true}, {"B", false, false}}),
            (Entries{"50 ms", "Shift   Up", "B   Dn"}));
  EXPECT_EQ(recorder.entriesFor(RecordedKey::Stopped, "B"), Entries{});
}

TEST(MacroRecorder, StartAndStopMessagesAndProgress) {
  const InterfaceTexts texts(Language::English);
  MacroRecorder recorder;
  EXPECT_EQ(recorder.startRefusal(false, texts), (PanelMessage{"Macro name is blank", Caption::Warning}));
  EXPECT_EQ(recorder.startRefusal(true, texts), std::nullopt);
  EXPECT_EQ(MacroRecorder::startMessage(texts).text, "Start Recording");
  EXPECT_EQ(MacroRecorder::hookFailure(5).text, "JournalRecordHook Install error code :5\n");

  const PanelMessage stopMessage{"Stop Recording", Caption::Application};
  const PanelMessage notStarted{"It doesn\u2019t start recording, unnecessary to press Stop key!", Caption::Warning};
  EXPECT_EQ(recorder.stop(false, texts), (std::vector<PanelMessage>{stopMessage, notStarted}));
  recorder.started();
  EXPECT_TRUE(recorder.recording());
  EXPECT_EQ(recorder.stop(true, texts), std::vector<PanelMessage>{stopMessage});
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(recorder.progress(), MacroRecorder::Progress::Stopped);
  // Stop after a finished recording warns again.
  EXPECT_EQ(recorder.stop(false, texts), (std::vector<PanelMessage>{stopMessage, notStarted}));
  // A new recording starts without a leading delay.
  recorder.started();
  EXPECT_EQ(record(recorder, {{"Z", false, false}}), Entries{"Z   Dn"});
}

// The flags of a key message: scan code (0x100 for an extended key), release, previous state.
std::uint32_t keyFlags(unsigned key, bool released, bool wasDown) {
  return (key & 0xFF) << 16 | (key >> 8 & 1) << 24 | (wasDown ? 1u : 0u) << 30 | (released ? 1u : 0u) << 31;
}

TEST(MacroRecorder, KeysAreNamedAsTheEditorsNameThemAndUnknownOnesAreLeftOut) {
  MacroRecorder recorder;
  recorder.started();
  struct Message {
    const char* layoutName;
    unsigned key;
    bool released;
    bool wasDown;
  };
  const Message messages[] = {
      {"Return", 0x1C, false, false},   // Wine's name of Enter
      {"Return", 0x1C, true, true},
      {"Strg", 0x1D, false, false},     // a German layout's left Ctrl
      {"F13", 0x64, false, false},      // no key of the tables: not recorded
      {"F13", 0x64, true, true},
      {"", 0x76, false, false},         // a key without a name
      {"Alt", 0x138, false, false},     // the right Alt key, named like the left one
      {"Alt", 0x138, true, true},
      {"Strg", 0x1D, true, true},
      {"Entf", 0x5D, false, false},     // no US name either
  };
  Entries entries;
  for (const Message& m : messages)
    if (const auto key = recorder.take(m.layoutName, keyFlags(m.key, m.released, m.wasDown))) {
      const Entries added = recorder.entriesFor(*key, recorder.keyName());
      entries.insert(entries.end(), added.begin(), added.end());
    }
  EXPECT_EQ(entries, (Entries{"Enter   Dn", "50 ms", "Enter   Up", "50 ms", "Ctrl   Dn", "50 ms", "Right Alt   Dn",
                              "50 ms", "Right Alt   Up", "50 ms", "Ctrl   Up"}));
  // Every recorded entry encodes to a key the mouse plays.
  for (const MacroEvent& event : macroEventsFromEntries(entries)) EXPECT_NE(event.code, 0) << event.keyName;

  // Stop says which keys were left out, once each, in the interface language.
  for (const auto& [language, note] :
       {std::pair{Language::English, "Keys the mouse cannot play back were not recorded: F13, Entf"},
        std::pair{Language::SimplifiedChinese, "鼠标无法回放的按键没有录制：F13、Entf"},
        std::pair{Language::TraditionalChinese, "滑鼠無法回放的按鍵沒有錄製：F13、Entf"}}) {
    const InterfaceTexts texts(language);
    recorder.started();
    for (const Message& m : messages) recorder.take(m.layoutName, keyFlags(m.key, m.released, m.wasDown));
    const std::vector<PanelMessage> shown = recorder.stop(true, texts);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], (PanelMessage{note, Caption::Warning}));
  }
  // Only a key without a name: the note without names; the next recording starts afresh.
  recorder.started();
  recorder.take("", keyFlags(0x76, false, false));
  EXPECT_EQ(recorder.stop(true, InterfaceTexts(Language::English)).back().text,
            "Keys the mouse cannot play back were not recorded");
  recorder.started();
  recorder.take("A", keyFlags(0x1E, false, false));
  EXPECT_EQ(recorder.stop(true, InterfaceTexts(Language::English)).size(), 1u);
}

}  // namespace
}  // namespace ombrisk
