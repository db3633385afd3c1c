// The macro recorder's decisions: which key messages of the keyboard hook become entries
// (auto-repeat of a held key does not), which entries a recorded press or release appends
// (a "50 ms" delay before every key entry but a leading press), and the progress of a
// recording. The hook and the message boxes are the window's.
#pragma once

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
  // in progress); the hook, if any, has been removed.
  std::vector<PanelMessage> stop(bool hookWasInstalled, const InterfaceTexts& texts);

  // One key message the hook sees (its key name, whether it is a release and whether the key
  // was down before): what to record, if anything.
  std::optional<RecordedKey> filter(std::string_view keyName, bool released, bool wasDown) const;
  // WM_RECORDED_KEY while a macro is selected: the entries to append.
  std::vector<std::string> entriesFor(RecordedKey key, std::string_view keyName);

 private:
  bool recording_ = false;
  Progress progress_ = Progress::NoPressYet;
  std::string previousKeyName_;  // of the last recorded press, kept across recordings
};

}  // namespace ombrisk
