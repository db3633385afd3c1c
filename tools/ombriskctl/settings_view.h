// The settings record in human words and as JSON, for `ombriskctl show`.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_files.h"
#include "settings/settings_image.h"
#include "utility_files.h"

namespace ombrisk::ctl {

struct SettingsView {
  std::string configPath;
  bool configLoaded = false;  // false: missing or not 1986 bytes, the record is all zero
  SettingsImage image;
  std::string labelSection;
  ButtonLabelSet labels;
  std::vector<MacroText> macros;  // record.ini in file order
};

std::string describeSettings(const SettingsView& view);
std::string settingsJson(const SettingsView& view);

}  // namespace ombrisk::ctl
