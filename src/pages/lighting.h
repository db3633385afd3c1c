// The lighting group of the Basic page: the mode (Standard, Respiration, Neon), the parameter
// and the effect, each mode keeping a parameter and an effect of its own in the record. What
// the three value boxes read, what their lists hold and what a choice stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "settings/settings_image.h"

namespace ombrisk {

// The three boxes, in the order of their regions and child windows.
inline constexpr int kModeBox = 0, kParameterBox = 1, kEffectBox = 2;

inline constexpr std::size_t kBrightnessCount = 10, kSpeedCount = 5, kPeriodCount = 30;

// "5%" .. "100%", "8S" .. "4S", "0.5S" .. "15S"; "" for an index outside the list.
std::string brightnessText(std::size_t index);
std::string speedText(std::size_t index);
std::string periodText(std::size_t index);
// "Off", "Standard", "Respiration", "Neon" and "Non-Disolay", "RGB Effect", "RGB Flash",
// "RGB Fixed On" by index; "" outside 0..3.
std::string lightingModeName(std::size_t index, const InterfaceTexts& texts);
std::string lightingEffectName(std::size_t index, const InterfaceTexts& texts);

// What the value boxes show. Without a mode (a fresh record, or a byte outside 1..3) the mode
// box reads "Off" and the parameter and effect boxes do not exist. Standard has a single
// effect, so its effect box always reads "RGB Effect".
struct LightingValues {
  std::string mode;
  std::optional<std::string> parameter;
  std::optional<std::string> effect;
  bool operator==(const LightingValues&) const = default;
};
LightingValues lightingValues(const SettingsRecord& record, const InterfaceTexts& texts);

// A press on a closed box: the list to open under it (none: no list), and whether the press
// itself changed what the boxes show. The mode list offers the three modes; the parameter
// and effect lists follow the mode. Standard's effect box opens no list: the press takes its
// only effect. Without a mode the parameter and effect boxes do nothing.
struct LightingPress {
  std::optional<std::vector<std::string>> list;
  bool valuesChanged = false;
};
LightingPress pressLightingBox(int box, SettingsRecord& record, const InterfaceTexts& texts);

// Item index of the list of box was chosen: the mode (index + 1), the current mode's
// parameter (index), or its effect (Respiration index + 1, Neon index + 2). An index past
// the list changes nothing.
void chooseLighting(int box, int index, SettingsRecord& record);

}  // namespace ombrisk
