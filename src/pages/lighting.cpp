#include "pages/lighting.h"

#include <array>

namespace ombrisk {
namespace {

constexpr std::array<const char*, kBrightnessCount> kBrightness = {"5%",  "15%", "25%", "35%", "45%",
                                                                  "55%", "65%", "75%", "85%", "100%"};
constexpr std::array<const char*, kSpeedCount> kSpeeds = {"8S", "7S", "6S", "5S", "4S"};
constexpr std::array<TextId, 4> kModeNames = {TextId::LightingModeOff, TextId::LightingModeStandard,
                                              TextId::LightingModeRespiration, TextId::LightingModeNeon};
constexpr std::array<TextId, 4> kEffectNames = {TextId::LightingEffectNone, TextId::LightingEffectRgb,
                                                TextId::LightingEffectRgbFlash, TextId::LightingEffectRgbFixed};

constexpr std::uint8_t kStandard = 1, kRespiration = 2, kNeon = 3;
// Respiration's effects are "RGB Effect" and "RGB Flash" (1, 2), Neon's "RGB Flash" and
// "RGB Fixed On" (2, 3): the stored choice is the effect's name index.
constexpr std::uint8_t kRespirationFirstEffect = 1, kNeonFirstEffect = 2;
constexpr std::size_t kEffectsPerMode = 2;
constexpr std::size_t kModeCount = 3;

std::uint8_t modeOf(const SettingsRecord& record) {
  const std::uint8_t mode = record[rec::kLightingMode];
  return mode >= kStandard && mode <= kNeon ? mode : 0;
}

template <typename Text>
std::vector<std::string> listOf(std::size_t count, Text text) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < count; ++i) items.push_back(text(i));
  return items;
}

}  // namespace

std::string brightnessText(std::size_t index) { return index < kBrightness.size() ? kBrightness[index] : ""; }
std::string speedText(std::size_t index) { return index < kSpeeds.size() ? kSpeeds[index] : ""; }

std::string periodText(std::size_t index) {
  if (index >= kPeriodCount) return "";
  const std::size_t halfSeconds = index + 1;
  return std::to_string(halfSeconds / 2) + (halfSeconds % 2 ? ".5S" : "S");
}

std::string lightingModeName(std::size_t index, const InterfaceTexts& texts) {
  return index < kModeNames.size() ? texts[kModeNames[index]] : "";
}

std::string lightingEffectName(std::size_t index, const InterfaceTexts& texts) {
  return index < kEffectNames.size() ? texts[kEffectNames[index]] : "";
}

LightingValues lightingValues(const SettingsRecord& record, const InterfaceTexts& texts) {
  switch (modeOf(record)) {
    case kStandard:
      return {lightingModeName(kStandard, texts), brightnessText(record[rec::kMode1Parameter]),
              lightingEffectName(1, texts)};
    case kRespiration:
      return {lightingModeName(kRespiration, texts), speedText(record[rec::kMode2Parameter]),
              lightingEffectName(record[rec::kMode2Effect], texts)};
    case kNeon:
      return {lightingModeName(kNeon, texts), periodText(record[rec::kMode3Parameter]),
              lightingEffectName(record[rec::kMode3Effect], texts)};
    default:
      return {lightingModeName(0, texts), std::nullopt, std::nullopt};
  }
}

LightingPress pressLightingBox(int box, SettingsRecord& record, const InterfaceTexts& texts) {
  const std::uint8_t mode = modeOf(record);
  switch (box) {
    case kModeBox:
      return {listOf(kModeCount, [&](std::size_t i) { return lightingModeName(i + 1, texts); }), false};
    case kParameterBox:
      if (mode == kStandard) return {listOf(kBrightnessCount, brightnessText), false};
      if (mode == kRespiration) return {listOf(kSpeedCount, speedText), false};
      if (mode == kNeon) return {listOf(kPeriodCount, periodText), false};
      return {};
    case kEffectBox:
      if (mode == kStandard) {
        record[rec::kLightingOption] = 1;
        return {std::nullopt, true};
      }
      if (mode == kRespiration || mode == kNeon) {
        const std::size_t first = mode == kRespiration ? kRespirationFirstEffect : kNeonFirstEffect;
        return {listOf(kEffectsPerMode, [&](std::size_t i) { return lightingEffectName(first + i, texts); }),
                false};
      }
      return {};
    default:
      return {};
  }
}

void chooseLighting(int box, int index, SettingsRecord& record) {
  if (index < 0) return;
  const auto choice = static_cast<std::size_t>(index);
  const std::uint8_t mode = modeOf(record);
  switch (box) {
    case kModeBox:
      if (choice < kModeCount) record[rec::kLightingMode] = static_cast<std::uint8_t>(choice + 1);
      return;
    case kParameterBox:
      if (mode == kStandard && choice < kBrightnessCount) record[rec::kMode1Parameter] = static_cast<std::uint8_t>(choice);
      if (mode == kRespiration && choice < kSpeedCount) record[rec::kMode2Parameter] = static_cast<std::uint8_t>(choice);
      if (mode == kNeon && choice < kPeriodCount) record[rec::kMode3Parameter] = static_cast<std::uint8_t>(choice);
      return;
    case kEffectBox:
      if (choice >= kEffectsPerMode) return;
      if (mode == kStandard) record[rec::kLightingOption] = 1;
      if (mode == kRespiration) record[rec::kMode2Effect] = static_cast<std::uint8_t>(kRespirationFirstEffect + choice);
      if (mode == kNeon) record[rec::kMode3Effect] = static_cast<std::uint8_t>(kNeonFirstEffect + choice);
      return;
    default:
      return;
  }
}

}  // namespace ombrisk
