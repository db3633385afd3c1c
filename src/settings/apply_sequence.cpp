#include "settings/apply_sequence.h"

#include <algorithm>
#include <array>

#include "device/report_commands.h"
#include "device/sensor_table.h"
#include "keys/key_functions.h"

namespace ombrisk {
namespace {

constexpr std::uint8_t kDisabledStageBit = 0x80;
constexpr std::uint8_t kUnusedStageCode = 0x80;

struct DeviceStep {
  std::string_view name;
  void (*run)(CommandProtocol& protocol, const SettingsRecord& record, DeviceImage& device);
};

// Steps 1..16, in order: the transfers, and between them what the device image takes from
// the record.
constexpr std::array<DeviceStep, 16> kDeviceSteps{{
    {"sending the report interval",
     [](auto& protocol, const auto& record, auto& device) {
       device.reportInterval = record[rec::kReportInterval];
       sendReportInterval(protocol, device);
     }},
    {"reading the effect block",
     [](auto& protocol, const auto&, auto& device) { readEffectBlock(protocol, device); }},
    {"reading the light sets",
     [](auto& protocol, const auto&, auto& device) { readLightSets(protocol, device); }},
    {"reading the feature blocks",
     [](auto& protocol, const auto&, auto& device) { readFeatureBlocks(protocol, device); }},
    {"setting the lighting",
     [](auto&, const auto& record, auto& device) { applyLightingMode(record, device); }},
    {"setting the stage colours",
     [](auto&, const auto& record, auto& device) { applyStageColours(record, device); }},
    {"writing the feature blocks",
     [](auto& protocol, const auto&, auto& device) { writeFeatureBlocks(protocol, device); }},
    {"writing the light sets",
     [](auto& protocol, const auto&, auto& device) { writeLightSets(protocol, device); }},
    {"writing the effect block",
     [](auto& protocol, const auto&, auto& device) { writeEffectBlock(protocol, device); }},
    {"building the stage codes",
     [](auto&, const auto& record, auto& device) { buildStageCodes(record, device); }},
    {"writing the stage codes",
     [](auto& protocol, const auto&, auto& device) { writeStageCodes(protocol, device); }},
    {"copying the macros",
     [](auto&, const auto& record, auto& device) {
       for (std::size_t block = 0; block < rec::kMacroCount; ++block)
         std::copy_n(record.macroBlock(block), rec::kMacroBlockSize, device.macros[block].begin());
     }},
    {"writing the macros",
     [](auto& protocol, const auto&, auto& device) { writeMacros(protocol, device); }},
    {"reading the macros back",
     [](auto& protocol, const auto&, auto& device) { readMacros(protocol, device); }},
    {"building the key matrices",
     [](auto&, const auto& record, auto& device) { buildKeyMatrices(record, device); }},
    {"writing the key matrices",
     [](auto& protocol, const auto&, auto& device) { writeKeyMatrices(protocol, device); }},
}};

}  // namespace

void applyLightingMode(const SettingsRecord& record, DeviceImage& device) {
  auto& effect = device.effect;     // effect, option 1, option 2
  auto& set0 = device.lightSets[0];
  const auto setEffect = [&](std::uint8_t e, std::size_t parameterOffset) {
    effect[0] = e;
    effect[1] = static_cast<std::uint8_t>(record[parameterOffset] + 1);
  };
  switch (record[rec::kLightingMode]) {
    case 1:
      setEffect(1, rec::kMode1Parameter);
      effect[2] = 2;
      set0[0] = 1;
      break;
    case 2:
      setEffect(2, rec::kMode2Parameter);
      if (record[rec::kMode2Effect] == 1) {
        effect[2] = 2;
        set0[0] = 1;
      } else if (record[rec::kMode2Effect] == 2) {
        effect[2] = 3;
        set0 = {2, 2, 3};
      }
      break;
    case 3:
      setEffect(3, rec::kMode3Parameter);
      if (record[rec::kMode3Effect] == 2)
        set0 = {2, 100, 10};
      else if (record[rec::kMode3Effect] == 3)
        set0 = {3, 5, 5};
      break;
    default:
      break;  // the lighting stays as the mouse has it
  }
}

void applyStageColours(const SettingsRecord& record, DeviceImage& device) {
  auto& block = device.featureBlocks[1];
  block.fill(0);
  std::copy_n(record.bytes.begin() + rec::kStageColours, 3 * rec::kStageCount, block.begin());
}

void buildStageCodes(const SettingsRecord& record, DeviceImage& device) {
  device.stageCount = rec::kStageCount;
  device.stageCodes.fill(kUnusedStageCode);
  for (std::size_t stage = 0; stage < rec::kStageCount; ++stage) {
    const std::uint8_t code = dpiCode(device.currentSensorType, record[rec::kDpiLevel + stage]);
    device.stageCodes[stage] = record[rec::kStageEnabled + stage] == 0
                                   ? static_cast<std::uint8_t>(code | kDisabledStageBit)
                                   : static_cast<std::uint8_t>(code & ~kDisabledStageBit);
  }
}

ApplyOutcome runApplySequence(const ApplyInputs& in) {
  const SettingsRecord& record = in.image.record;
  DeviceImage& device = in.image.device;
  CommandProtocol& protocol = in.protocol;
  ApplyOutcome outcome;
  {
    const TimerResolutionScope fineTimer(in.timerResolution);
    protocol.clearTransferFailure();
    for (unsigned step = 1; step <= kDeviceSteps.size(); ++step) {
      kDeviceSteps[step - 1].run(protocol, record, device);
      if (!outcome.failedStep && protocol.transferFailed()) outcome.failedStep = step;
    }
  }
  if (!outcome.delivered()) return outcome;
  saveSettings(in.files, record);  // 17
  in.image.firstRunFlag = 1;
  outcome.labelsSaved = writeButtonLabels(in.labelStore, in.files.paths.strIni, in.labelSection, in.labels);  // 18
  return outcome;
}

std::string_view applyStepName(unsigned step) {
  if (step >= 1 && step <= kDeviceSteps.size()) return kDeviceSteps[step - 1].name;
  if (step == kDeviceSteps.size() + 1) return "saving config.bin";
  if (step == kDeviceSteps.size() + 2) return "writing the button labels";
  return {};
}

}  // namespace ombrisk
