// The tray balloon that a DeviceNotifyMessage shows, if any.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/interface_texts.h"
#include "settings/settings_image.h"

namespace ombrisk {

struct Balloon {
  std::string text;
  std::string title;
  unsigned timeoutMs = 0;
};

// The balloon of event type with its value: report rate (5), DPI stage (7), key matrix (8),
// macro (9), link ready (14), no mouse (15). Other types and values give nothing. The DPI
// stage text is followed by the value text of that stage's level for the current sensor.
std::optional<Balloon> deviceBalloon(const InterfaceTexts& texts, unsigned type,
                                     std::int64_t value, const SettingsImage& image);

}  // namespace ombrisk
