#include "settings/settings_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ombrisk {
namespace {

constexpr const char* kSkinsSection = "Skins";

std::size_t afterLastSeparator(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? 0 : slash + 1;
}

void showMissing(const SettingsFileContext& context) {
  context.messages.show("Config file is not exist.", context.appName);
}

}  // namespace

std::string moduleFolder(const std::string& modulePath) {
  return modulePath.substr(0, afterLastSeparator(modulePath));
}

DataPaths dataPathsFromModule(const std::string& modulePath) {
  const std::string folder = moduleFolder(modulePath);
  return {folder + "config.bin", folder + "record.ini", folder + "str.ini"};
}

void loadSettings(const SettingsFileContext& context, SettingsImage& image) {
  if (!context.io.exists(context.paths.configBin)) {
    showMissing(context);
    return;
  }
  const auto bytes = context.io.readAll(context.paths.configBin);
  if (!bytes || bytes->size() != kConfigFileSize) return;
  image.firstRunFlag = (*bytes)[0];
  std::copy(bytes->begin() + 1, bytes->end(), image.record.bytes.begin());
}

void saveSettings(const SettingsFileContext& context, const SettingsRecord& record) {
  if (!context.io.exists(context.paths.configBin)) {
    showMissing(context);
    return;
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kConfigFileSize);
  bytes.push_back(1);
  bytes.insert(bytes.end(), record.bytes.begin(), record.bytes.end());
  int errorCode = 0;
  if (!context.io.replaceAtomically(context.paths.configBin, bytes, errorCode)) {
    char text[64];
    std::snprintf(text, sizeof text, "Error Code is: %d \n", errorCode);
    context.messages.show(text, "NULL ==fp ");
  }
}

std::string buttonLabelKey(KeyTableId table, std::size_t entry) {
  const std::size_t number = table == KeyTableId::A ? entry + 1 : entry * 10 + 13;
  return "Item" + std::to_string(number);
}

void readButtonLabels(ProfileStore& store, const std::string& strIni,
                      const std::string& labelSection, ButtonLabelSet& labels,
                      SkinSettings& skin) {
  const ProfileDocument file = store.load(strIni);
  const ProfileSection section = file.section(labelSection);
  for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
    labels[entry] = section.read(buttonLabelKey(KeyTableId::A, entry));
    labels[kButtonCount + entry] = section.read(buttonLabelKey(KeyTableId::B, entry));
  }
  const ProfileSection skins = file.section(kSkinsSection);
  skin.red = skins.read("RColor");
  skin.green = skins.read("GColor");
  skin.blue = skins.read("BColor");
  skin.path = skins.read("Path");
}

bool writeButtonLabels(ProfileStore& store, const std::string& strIni,
                       const std::string& labelSection, const ButtonLabelSet& labels) {
  ProfileDocument file = store.load(strIni);
  for (std::size_t entry = 0; entry < kButtonCount; ++entry)
    file.write(labelSection, buttonLabelKey(KeyTableId::A, entry), labels[entry]);
  for (std::size_t entry = 0; entry < kButtonCount; ++entry)
    file.write(labelSection, buttonLabelKey(KeyTableId::B, entry), labels[kButtonCount + entry]);
  return store.save(strIni, file);
}

bool writeSkinSettings(ProfileStore& store, const std::string& strIni, const SkinSettings& skin) {
  ProfileDocument file = store.load(strIni);
  file.write(kSkinsSection, "RColor", skin.red);
  file.write(kSkinsSection, "GColor", skin.green);
  file.write(kSkinsSection, "BColor", skin.blue);
  file.write(kSkinsSection, "Path", skin.path);
  return store.save(strIni, file);
}

std::uint8_t colourComponent(const std::string& text) {
  // strtol saturates instead of overflowing; the byte keeps the low eight bits.
  return static_cast<std::uint8_t>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace ombrisk
