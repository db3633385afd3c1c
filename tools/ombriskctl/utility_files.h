// The utility's three files as one state: config.bin (the first-run flag and the record),
// str.ini (the interface language, the skin and its text colour, the button labels of each
// language) and record.ini (the macros). ombriskctl reads it for every command and writes it
// after `set` and `import`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"

namespace ombrisk::ctl {

struct MacroText {
  std::string name;
  std::vector<std::string> entries;  // as in record.ini
  bool operator==(const MacroText&) const = default;
};

// The labels of one language's section of str.ini.
struct LanguageLabels {
  Language language = Language::English;
  ButtonLabelSet labels;
  bool operator==(const LanguageLabels&) const = default;
};

struct UtilityFiles {
  bool configLoaded = false;  // config.bin holds 1986 bytes; otherwise the record reads as zero
  std::uint8_t firstRunFlag = 0;
  SettingsRecord record;
  std::string languageCode;  // "Lan" of [Skins] as stored
  SkinSettings skin;
  std::vector<LanguageLabels> labels;  // the label sections str.ini has, English, CHS, CHT in turn
  std::vector<MacroText> macros;       // record.ini's sections in file order

  Language language() const { return languageFromCode(languageCode); }
  // The labels of the interface language (empty ones when str.ini has no section for it).
  ButtonLabelSet interfaceLabels() const;
  // The same, made part of the state when it is not yet.
  ButtonLabelSet& interfaceLabels();
};

// The data files inside dir, or beside the running executable when dir is empty.
DataPaths dataPathsIn(const std::string& dir, const std::string& executablePath);

// Reads the three files; nothing, with error set, when there is no config.bin (the utility
// never creates it: an installation ships it). Missing str.ini and record.ini read as empty.
std::optional<UtilityFiles> readUtilityFiles(const DataPaths& paths, FileIo& io, ProfileStore& store,
                                             std::string& error);

struct FilesToWrite {
  bool config = false;
  bool strIni = false;
  bool recordIni = false;
  // Re-encodes the macro blocks of the record from the macros written, as saving a macro in
  // the utility does (loop counts stay; a macro without events clears its block).
  bool rebuildMacroBlocks = false;
};

// Writes the chosen files from the state. str.ini keeps what else it holds: the keys of
// [Skins] and every label section of the state are set, and the label sections of languages
// the state has none for are removed. record.ini is written anew, one section per macro in
// order. Each file's new contents are made completely before any file is replaced; a file
// that cannot be replaced leaves the ones replaced before it restored. Returns "" or a
// one-line error.
std::string writeUtilityFiles(UtilityFiles& files, const DataPaths& paths, const FilesToWrite& which, FileIo& io,
                              ProfileStore& store);

}  // namespace ombrisk::ctl
