#include "settings/apply_sequence.h"

#include <algorithm>

#include "device/report_commands.h"
#include "device/sensor_table.h"
#include "keys/key_functions.h"

namespace ombrisk {
namespace {

constexpr std::uint8_t kDisabledStageBit = 0x80;
constexpr std::uint8_t kUnusedStageCode = 0x80;

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

void runApplySequence(const ApplyInputs& in) {
  const SettingsRecord& record = in.image.record;
  DeviceImage& device = in.image.device;
  CommandProtocol& protocol = in.protocol;
  {
    const TimerResolutionScope fineTimer(in.timerResolution);
    device.reportInterval = record[rec::kReportInterval];  // 1
    sendReportInterval(protocol, device);
    readEffectBlock(protocol, device);    // 2
    readLightSets(protocol, device);      // 3
    readFeatureBlocks(protocol, device);  // 4
    applyLightingMode(record, device);    // 5
    applyStageColours(record, device);    // 6
    writeFeatureBlocks(protocol, device); // 7
    writeLightSets(protocol, device);     // 8
    writeEffectBlock(protocol, device);   // 9
    buildStageCodes(record, device);      // 10
    writeStageCodes(protocol, device);    // 11
    for (std::size_t block = 0; block < rec::kMacroCount; ++block)  // 12
      std::copy_n(record.macroBlock(block), rec::kMacroBlockSize, device.macros[block].begin());
    writeMacros(protocol, device);        // 13
    readMacros(protocol, device);         // 14
    buildKeyMatrices(record, device);     // 15
    writeKeyMatrices(protocol, device);   // 16
  }
  saveSettings(in.files, record);         // 17
  in.image.firstRunFlag = 1;
  writeButtonLabels(in.labelStore, in.files.paths.strIni, in.labelSection, in.labels);  // 18
}

}  // namespace ombrisk
