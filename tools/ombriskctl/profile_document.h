// Profiles: everything the utility stores, as one versioned JSON document that people can
// read and edit (ombriskctl export and import).
//
// A profile names values as the utility shows them ("Single Key", "Vol+", "55%", "#FF8000")
// and holds: the record of config.bin (report rate, DPI stages, lighting, pointer settings,
// both key tables with every parameter a button keeps), the button labels of each language
// str.ini has, the interface language, the skin and its text colour, and the macros of
// record.ini with their events and loop counts. Reading one checks all of it first: the first
// field that is missing, extra, of the wrong type or out of range is named by its JSON Pointer
// with what it accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/json.h"
#include "utility_files.h"

namespace ombrisk::ctl {

inline constexpr std::string_view kProfileFormat = "ombrisk-profile";
inline constexpr std::int64_t kProfileFormatVersion = 1;
// Far more than any profile: twelve full macros and three label sections take some 60 kB.
inline constexpr std::size_t kProfileMaxBytes = 1 << 20;

struct ProfileProblem {
  std::string path;  // JSON Pointer of the field; "" for the document as a whole
  std::string message;
};

struct ProfileOfFiles {
  std::optional<json::Value> document;
  ProfileProblem problem;  // when the files hold what the utility never stores
};
// The profile of the files. Fails on values the utility never stores (a function number past
// 15, a parameter that does not belong to its list, more than twelve macros), naming them.
ProfileOfFiles profileOf(const UtilityFiles& files);

struct FilesOfProfile {
  std::optional<UtilityFiles> files;
  ProfileProblem problem;
};
// The files a profile describes. The record starts as base's (its reserved bytes, which no
// profile holds, stay); the macro blocks of named macros hold their loop counts and are
// re-encoded when the files are written (FilesToWrite::rebuildMacroBlocks).
FilesOfProfile filesOfProfile(const json::Value& document, const UtilityFiles& base);
// The same from the document's text, which is first read as JSON within kProfileMaxBytes.
FilesOfProfile filesOfProfileText(std::string_view text, const UtilityFiles& base);

}  // namespace ombrisk::ctl
