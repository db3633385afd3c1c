// `ombriskctl set`: one setting changed as the utility's window changes it, by the same rules
// (the left-button rule, Shift in both tables, one DPI stage always on, the editors' ranges)
// and with the labels composed as the window composes them, in the interface language.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_store.h"
#include "utility_files.h"

namespace ombrisk::ctl {

// One form of the command, for the help and the manual.
struct SettingSyntax {
  std::string_view words;        // after "ombriskctl set "
  std::string_view description;
};
std::span<const SettingSyntax> settingSyntaxes();

struct SetContext {
  UtilityFiles& files;
  ProfileStore& store;        // record.ini's macros, for macro keys
  const DataPaths& paths;
  std::optional<std::uint8_t> sensorType;  // the mouse's sensor when known (--sensor)
};

struct SetOutcome {
  enum class Kind { Changed, Unchanged, Refused, Usage } kind = Kind::Refused;
  std::string message;  // what changed, or why nothing did
};

// Applies the setting the words name to the files in memory (the caller writes them). Refused:
// a value out of its range or against a rule, with a message naming what is accepted. Usage:
// the words name no setting.
SetOutcome applySetting(std::span<const std::string> words, SetContext& context);

}  // namespace ombrisk::ctl
