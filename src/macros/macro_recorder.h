// The macro recorder's decisions: which key messages of the keyboard hook become entries
// (auto-repeat of a held key does not), which entries a recorded press or release appends
// (a "50 ms" delay before every key entry but a leading press), and the progress of a
// recording. The hook and the message boxes are the window's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "macros/macro_panel.h"

namespace ombrisk {

// WM_RECORDED_KEY's wParam.
enum class RecordedKey : unsigned { Press = 0, Release = 1, Stopped = 5 };

class MacroRecorder {
 public:
  enum class Progress { NoPressYet = 0, Pressed = 1, Stopped = 2 };

  bool recording() const { return recording_; }
  Progress progress() const { return progress_; }

  // "Start Recording": refused with a warning while there is no macro; otherwise the
  // message that recording starts, then the hook goes in (started) or its failure is shown.
  std::optional<PanelMessage> startRefusal(bool haveMacros, const InterfaceTexts& texts) const;
  static PanelMessage startMessage(const InterfaceTexts& texts);
  static PanelMessage hookFailure(unsigned long errorCode);
  void started();

  // "Stop Recording": the messages to show (its own, then the warning when no recording was
  // in progress, or the keys left out of the recording); the hook, if any, has been removed.
  std::vector<PanelMessage> stop(bool hookWasInstalled, const InterfaceTexts& texts);

  // One key message the hook sees (its key name, whether it is a release and whether the key
  // was down before): what to record, if anything.
  std::optional<RecordedKey> filter(std::string_view keyName, bool released, bool wasDown) const;
  // One key message of the hook: the name the keyboard layout gives its key, and the message's
  // flags. The key is named as the key editors name it (keptKeyName); a key the key tables do
  // not know would play nothing, so it is not recorded but noted for the stop. What to record,
  // if anything; keyName() is the name to record it by.
  std::optional<RecordedKey> take(std::string layoutName, std::uint32_t flags);
  const std::string& keyName() const { return keyName_; }
  // WM_RECORDED_KEY while a macro is selected: the entries to append.
  std::vector<std::string> entriesFor(RecordedKey key, std::string_view keyName);

 private:
  bool recording_ = false;
  Progress progress_ = Progress::NoPressYet;
  std::string previousKeyName_;  // of the last recorded press, kept across recordings
  std::string keyName_;          // of the key message being handled
  std::vector<std::string> leftOut_;  // names of the keys that could not be recorded
  bool namelessLeftOut_ = false;      // and a key without any name was among them
};

}  // namespace ombrisk
