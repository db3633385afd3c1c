#include "macros/macro_recorder.h"

#include <algorithm>

#include "keys/captured_keys.h"
#include "keys/key_names.h"
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
  leftOut_.clear();
  namelessLeftOut_ = false;
}

std::vector<PanelMessage> MacroRecorder::stop(bool hookWasInstalled, const InterfaceTexts& texts) {
  std::vector<PanelMessage> messages{{texts[TextId::StopRecording], PanelMessage::Caption::Application}};
  if (!recording_) {
    messages.push_back({texts[TextId::RecordingNotStarted], PanelMessage::Caption::Warning});
    return messages;
  }
  if (hookWasInstalled) progress_ = Progress::Stopped;
  recording_ = false;
  if (!leftOut_.empty() || namelessLeftOut_) {
    std::string text = texts[TextId::KeysNotRecorded];
    const bool english = texts.language() == Language::English;
    for (std::size_t i = 0; i < leftOut_.size(); ++i)
      text += (i == 0 ? (english ? ": " : "：") : (english ? ", " : "、")) + leftOut_[i];
    messages.push_back({std::move(text), PanelMessage::Caption::Warning});
    leftOut_.clear();
    namelessLeftOut_ = false;
  }
  return messages;
}

std::optional<RecordedKey> MacroRecorder::take(std::string layoutName, std::uint32_t flags) {
  const KeyStroke stroke = KeyStroke::fromFlags(flags);
  keyName_ = keptKeyName(std::move(layoutName), stroke.key);
  if (keyNameToUsage(keyName_) == 0) {
    if (keyName_.empty())
      namelessLeftOut_ = true;
    else if (std::find(leftOut_.begin(), leftOut_.end(), keyName_) == leftOut_.end())
      leftOut_.push_back(keyName_);
    return std::nullopt;
  }
  return filter(keyName_, stroke.release, stroke.wasDown);
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
