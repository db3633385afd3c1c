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
  for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
    labels[entry] = store.read(strIni, labelSection, buttonLabelKey(KeyTableId::A, entry));
    labels[kButtonCount + entry] =
        store.read(strIni, labelSection, buttonLabelKey(KeyTableId::B, entry));
  }
  skin.red = store.read(strIni, kSkinsSection, "RColor");
  skin.green = store.read(strIni, kSkinsSection, "GColor");
  skin.blue = store.read(strIni, kSkinsSection, "BColor");
  skin.path = store.read(strIni, kSkinsSection, "Path");
}

void writeButtonLabels(ProfileStore& store, const std::string& strIni,
                       const std::string& labelSection, const ButtonLabelSet& labels) {
  for (std::size_t entry = 0; entry < kButtonCount; ++entry)
    store.write(strIni, labelSection, buttonLabelKey(KeyTableId::A, entry), labels[entry]);
  for (std::size_t entry = 0; entry < kButtonCount; ++entry)
    store.write(strIni, labelSection, buttonLabelKey(KeyTableId::B, entry),
                labels[kButtonCount + entry]);
}

void writeSkinSettings(ProfileStore& store, const std::string& strIni, const SkinSettings& skin) {
  store.write(strIni, kSkinsSection, "RColor", skin.red);
  store.write(strIni, kSkinsSection, "GColor", skin.green);
  store.write(strIni, kSkinsSection, "BColor", skin.blue);
  store.write(strIni, kSkinsSection, "Path", skin.path);
}

std::uint8_t colourComponent(const std::string& text) {
  // strtol saturates instead of overflowing; the byte keeps the low eight bits.
  return static_cast<std::uint8_t>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace ombrisk
