// The Apply sequence: writes the whole settings record to the mouse in one fixed order of
// commands, then saves config.bin and the button labels. Pieces of the mouse's state that
// the record does not hold (effect block, light sets, feature block 0) are read first and
// written back, so Apply changes only what the utility controls. No step checks the mouse's
// answers, but the sequence notes the first step whose transfer failed; then nothing is
// saved, so that no file claims settings the mouse did not receive. The only messages come
// from saving.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "device/command_protocol.h"
#include "device/pauser.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"

namespace ombrisk {

struct ApplyInputs {
  CommandProtocol& protocol;
  SettingsImage& image;  // record in, device image out; current sensor type as connected
  const SettingsFileContext& files;
  ProfileStore& labelStore;  // str.ini (files.paths.strIni)
  const ButtonLabelSet& labels;
  std::string labelSection;  // "Setting-EN", "Setting-CHS" or "Setting-CHT"
  // Raised for the length of the sequence so that the 2 ms and 3 ms pauses are real; null
  // where there is nothing to raise.
  TimerResolution* timerResolution = nullptr;
};

struct ApplyOutcome {
  // The first step (1..16) with a failed transfer; none when every transfer went through.
  std::optional<unsigned> failedStep;
  // Whether str.ini took the labels (false: it could not be read whole or written, and was
  // left as it was; the caller tells the user).
  bool labelsSaved = true;
  bool delivered() const { return !failedStep; }
};

// The eighteen steps in order. Steps 1..16 always all run and leave the device image holding
// exactly what was sent (plus the macro blocks read back). When every transfer went through,
// config.bin then holds the record with first byte 1, str.ini the labels, and the first-run
// flag is 1; the caller takes the applied copy. Otherwise the files and the flag stay as
// they were and the caller keeps its applied copy.
ApplyOutcome runApplySequence(const ApplyInputs& inputs);

// What step 1..18 does, for messages ("reading the feature blocks"); "" for other numbers.
std::string_view applyStepName(unsigned step);

// Step 5: the effect block and light set 0 from the record's lighting mode; light set 1 and
// every byte the mode does not set stay as read.
void applyLightingMode(const SettingsRecord& record, DeviceImage& device);
// Step 6: feature block 1 = the twelve stage-colour bytes, then zeros.
void applyStageColours(const SettingsRecord& record, DeviceImage& device);
// Step 10: four stage codes of the current sensor type (bit 7 set for a disabled stage), four
// 0x80 bytes, stage count 4.
void buildStageCodes(const SettingsRecord& record, DeviceImage& device);

}  // namespace ombrisk
