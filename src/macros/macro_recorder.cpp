#include "macros/macro_recorder.h"

#include "macros/macro_codec.h"

namespace ombrisk {

std::optional<PanelMessage> MacroRecorder::startRefusal(bool haveMacros, const InterfaceTexts& texts) const {
  if (haveMacros) return std::nullopt;
  return PanelMessage{texts[TextId::MacroNameBlank], PanelMessage::Caption::Warning};
}

PanelMessage MacroRecorder::startMessage(const InterfaceTexts& texts) {
  return {texts[TextId::StartRecording], PanelMessage::Caption::Application};
}

PanelMessage MacroRecorder::hookFailure(unsigned long errorCode) {
  return {"JournalRecordHook Install error code :" + std::to_string(errorCode) + "\n",
          PanelMessage::Caption::Application};
}

void MacroRecorder::started() {
  recording_ = true;
  progress_ = Progress::NoPressYet;
}

std::vector<PanelMessage> MacroRecorder::stop(bool hookWasInstalled, const InterfaceTexts& texts) {
  std::vector<PanelMessage> messages{{texts[TextId::StopRecording], PanelMessage::Caption::Application}};
  if (!recording_) {
    messages.push_back({texts[TextId::RecordingNotStarted], PanelMessage::Caption::Warning});
    return messages;
  }
  if (hookWasInstalled) progress_ = Progress::Stopped;
  recording_ = false;
  return messages;
}

std::optional<RecordedKey> MacroRecorder::filter(std::string_view keyName, bool released, bool wasDown) const {
  const bool sameKey = keyName == previousKeyName_;
  if (released) {
    if (sameKey && !wasDown) return std::nullopt;
    return RecordedKey::Release;
  }
  // A press of the key pressed last that was already down is the keyboard's auto-repeat.
  if (sameKey && wasDown) return std::nullopt;
  return RecordedKey::Press;
}

std::vector<std::string> MacroRecorder::entriesFor(RecordedKey key, std::string_view keyName) {
  const std::string delay(kDefaultDelayEntry);
  switch (key) {
    case RecordedKey::Press: {
      std::string entry = std::string(keyName) + std::string(kPressSuffix);
      previousKeyName_ = std::string(keyName);
      if (progress_ != Progress::NoPressYet) return {delay, entry};
      progress_ = Progress::Pressed;
      return {entry};
    }
    case RecordedKey::Release:
      return {delay, std::string(keyName) + std::string(kReleaseSuffix)};
    case RecordedKey::Stopped:
      break;
  }
  return {};
}

}  // namespace ombrisk
