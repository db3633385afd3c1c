// config.bin, the button labels and the skin settings of str.ini.
#pragma once

#include <array>
#include <string>

#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "settings/settings_image.h"

namespace ombrisk {

inline constexpr std::size_t kConfigFileSize = 1 + rec::kSize;  // 1986

// The three data files beside the executable.
struct DataPaths {
  std::string configBin;
  std::string recordIni;
  std::string strIni;
};

// Replaces the executable's file name in modulePath (either separator) by each data file's
// name; the result never names the executable itself.
DataPaths dataPathsFromModule(const std::string& modulePath);
// The folder of modulePath with its trailing separator ("" when it has none).
std::string moduleFolder(const std::string& modulePath);

struct SettingsFileContext {
  DataPaths paths;
  FileIo& io;
  MessageSink& messages;
  std::string appName;  // caption of the messages
};

// Loads config.bin into the first-run flag and the record. A missing file shows "Config
// file is not exist."; an unreadable one or one of any length but 1986 bytes is ignored.
// The image is left as it was (all zero at start) unless the file is used.
void loadSettings(const SettingsFileContext& context, SettingsImage& image);
// Rewrites an existing config.bin with first byte 1 and the record; never creates it.
void saveSettings(const SettingsFileContext& context, const SettingsRecord& record);

// The 24 labels: key table A entries 0..11, then key table B entries 0..11.
using ButtonLabelSet = std::array<std::string, 2 * kButtonCount>;

// "Item1".."Item12" for table A, "Item13", "Item23", ..., "Item123" for table B.
std::string buttonLabelKey(KeyTableId table, std::size_t entry);

struct SkinSettings {
  std::string path;  // skin folder name under Skins
  std::string red, green, blue;  // text colour components as decimal text
};

// Reads the labels from labelSection ("Setting-EN", ...) and the skin keys of "Skins".
void readButtonLabels(ProfileStore& store, const std::string& strIni,
                      const std::string& labelSection, ButtonLabelSet& labels, SkinSettings& skin);
// Writes the 24 labels, "Item1" to "Item113" in table order and "Item123" last, in one save
// of the file. False when str.ini was left as it was (it could not be read whole, or the
// write failed).
bool writeButtonLabels(ProfileStore& store, const std::string& strIni,
                       const std::string& labelSection, const ButtonLabelSet& labels);
// Writes the four skin keys of section "Skins" in one save; false as for the labels.
bool writeSkinSettings(ProfileStore& store, const std::string& strIni, const SkinSettings& skin);

// A colour component from its decimal text: non-numeric text reads as 0; the value is kept
// in one byte.
std::uint8_t colourComponent(const std::string& text);

}  // namespace ombrisk
