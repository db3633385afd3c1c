// The recorder: which key messages become entries and which entries they append, with the
// progress of a recording and its start and stop messages.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ombrisk
