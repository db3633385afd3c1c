// A folder of the utility's three files for ombriskctl to work on, and the tool run on it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "keys/key_functions.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace ombrisk::testing {

using Bytes = std::vector<std::uint8_t>;

class UtilityFolder {
 public:
  std::unique_ptr<TempFolder> ownFolder;
  const TempFolder& folder;
  std::string dir;
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();

  UtilityFolder() : ownFolder(std::make_unique<TempFolder>()), folder(*ownFolder), dir(folder.file("utility")) {
    std::filesystem::create_directories(pathFromUtf8(dir));
  }
  // Another installation in the test folder of beside.
  UtilityFolder(const UtilityFolder& beside, const std::string& name) : folder(beside.folder), dir(folder.file(name)) {
    std::filesystem::create_directories(pathFromUtf8(dir));
  }

  std::string path(const std::string& name) const { return dir + "/" + name; }

  void writeConfig(const SettingsRecord& record, std::uint8_t firstRunFlag = 1) {
    Bytes file{firstRunFlag};
    file.insert(file.end(), record.bytes.begin(), record.bytes.end());
    writeBytes(path("config.bin"), file);
  }
  SettingsRecord record() const {
    const Bytes file = readBytes(path("config.bin"));
    SettingsRecord record;
    if (file.size() == kConfigFileSize) std::copy(file.begin() + 1, file.end(), record.bytes.begin());
    return record;
  }
  void writeMacro(const std::string& name, const std::vector<std::string>& entries) {
    const std::string ini = path("record.ini");
    store->write(ini, name, "ItemCount", std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) store->write(ini, name, "Item" + std::to_string(i), entries[i]);
  }
  std::string label(const std::string& section, KeyTableId table, std::size_t entry) const {
    return store->read(path("str.ini"), section, buttonLabelKey(table, entry), "");
  }

  Bytes readBytesOf(const std::string& name) const { return readBytes(path(name)); }
  // The three files byte for byte (empty for a missing one).
  std::vector<Bytes> files() const {
    return {readBytes(path("config.bin")), readBytes(path("str.ini")), readBytes(path("record.ini"))};
  }

  CommandResult ctl(const std::string& arguments) const {
    return run(tool("ombriskctl/ombriskctl") + " " + arguments, folder);
  }
  // `ombriskctl COMMAND --dir DIR ARGUMENTS`.
  CommandResult ctlIn(const std::string& command, const std::string& arguments) const {
    return ctl(command + " --dir '" + dir + "' " + arguments);
  }
};

// The record of a utility in use: factory keys, two stages on, Standard lighting, pointer
// settings at their defaults.
inline SettingsRecord usedRecord() {
  SettingsRecord record;
  resetKeyTables(record);
  record[rec::kReportInterval] = 8;
  for (std::size_t stage = 0; stage < rec::kStageCount; ++stage) {
    record[rec::kDpiLevel + stage] = static_cast<std::uint8_t>(2 * stage);
    record[rec::kStageEnabled + stage] = stage < 2 ? 1 : 0;
  }
  record[rec::kLightingMode] = 1;
  record[rec::kMode1Parameter] = 4;
  record[rec::kMode2Parameter] = 1;
  record[rec::kMode3Parameter] = 1;
  record[rec::kMode2Effect] = 1;
  record[rec::kMode3Effect] = 2;
  record[rec::kPointerSpeed] = 6;
  record[rec::kWheelLines] = 3;
  record[rec::kDoubleClickIndex] = 6;
  return record;
}

}  // namespace ombrisk::testing
