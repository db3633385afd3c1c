// The settings files on the real Win32 APIs under Wine: the private-profile store and the
// atomic config.bin save.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using testing::readBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::writeBytes;

class Win32Store : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder.file("str.ini");
  std::unique_ptr<ProfileStore> system = makePlatformProfileStore();
  std::unique_ptr<ProfileStore> portable = makePortableProfileStore();
};

// In a new file and in an empty one, as record.ini is installed: without the byte-order mark
// the system's store would write the ANSI code page.
TEST_F(Win32Store, ChineseTextsSurviveInANewOrEmptyFile) {
  ButtonLabelSet labels;
  const char* names[] = {"左键", "右鍵", "前进方向键", "後退方向鍵", "DPI切换", "巨集", "Key Off"};
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = names[i % 7];
  writeButtonLabels(*system, ini, "Setting-CHS", labels);
  const std::string emptyIni = folder.file("record.ini");
  writeBytes(emptyIni, {});
  system->write(emptyIni, "连发", "ItemCount", "0");
  EXPECT_EQ(portable->sectionNames(emptyIni), std::vector<std::string>{"连发"});

  const auto bytes = readBytes(ini);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);

  for (ProfileStore* store : {system.get(), portable.get()}) {
    ButtonLabelSet read;
    SkinSettings skin;
    readButtonLabels(*store, ini, "Setting-CHS", read, skin);
    EXPECT_EQ(read, labels);
  }
}

TEST_F(Win32Store, SkinKeysRoundTripBetweenBothStores) {
  writeSkinSettings(*system, ini, {"碳纤维", "0", "255", "12"});
  ButtonLabelSet labels;
  SkinSettings skin;
  readButtonLabels(*portable, ini, "Setting-EN", labels, skin);
  EXPECT_EQ(skin.path, "碳纤维");
  EXPECT_EQ(skin.green, "255");

  portable->write(ini, "Skins", "Path", "Default");
  readButtonLabels(*system, ini, "Setting-EN", labels, skin);
  EXPECT_EQ(skin.path, "Default");
  EXPECT_EQ(skin.blue, "12");
}

TEST_F(Win32Store, ExistingAnsiFileKeepsWorking) {
  writeBytes(ini, {'[', 'S', 'k', 'i', 'n', 's', ']', '\r', '\n', 'L', 'a', 'n', '=', 'C', 'H', 'T',
                   '\r', '\n'});
  EXPECT_EQ(system->read(ini, "Skins", "Lan"), "CHT");
  system->write(ini, "Skins", "Path", "Default");
  EXPECT_EQ(portable->read(ini, "Skins", "Path"), "Default");
  EXPECT_EQ(portable->read(ini, "skins", "LAN"), "CHT");
}

TEST_F(Win32Store, LongValuesAreCutAndSectionsReorderAsThePortableStoreSays) {
  system->write(ini, "Setting-EN", "Item1", std::string(3000, 'y'));
  EXPECT_EQ(system->read(ini, "Setting-EN", "Item1"), std::string(1023, 'y'));
  EXPECT_EQ(portable->read(ini, "Setting-EN", "Item1"), std::string(1023, 'y'));

  const std::string record = folder.file("record.ini");
  for (const char* name : {"Jump", "宏二", "Reload"}) system->write(record, name, "ItemCount", "0");
  system->deleteSection(record, "Jump");
  system->write(record, "Jump", "ItemCount", "2");
  const std::vector<std::string> order{"宏二", "Reload", "Jump"};
  EXPECT_EQ(system->sectionNames(record), order);
  EXPECT_EQ(portable->sectionNames(record), order);
}

class Win32ConfigFile : public ::testing::Test {
 protected:
  TempFolder folder;
  std::unique_ptr<FileIo> io = makePlatformFileIo();
  RecordingSink sink;
  SettingsFileContext context{dataPathsFromModule(folder.file("Ombrisk.exe")), *io, sink, "Ombrisk"};
};

TEST_F(Win32ConfigFile, SaveReplacesTheFileAndLoadReadsIt) {
  writeBytes(context.paths.configBin, std::vector<std::uint8_t>(kConfigFileSize, 0));
  SettingsRecord record;
  record[rec::kLightingMode] = 3;
  saveSettings(context, record);
  const auto bytes = readBytes(context.paths.configBin);
  ASSERT_EQ(bytes.size(), kConfigFileSize);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1 + rec::kLightingMode], 3);
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(context.paths.configBin + ".new")));

  SettingsImage image;
  loadSettings(context, image);
  EXPECT_EQ(image.record, record);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(Win32ConfigFile, FailedSaveLeavesTheOldFileWhole) {
  std::vector<std::uint8_t> old(kConfigFileSize, 0x33);
  old[0] = 0;
  writeBytes(context.paths.configBin, old);
  std::filesystem::create_directory(testing::pathFromUtf8(context.paths.configBin + ".new"));
  saveSettings(context, SettingsRecord{});
  EXPECT_EQ(readBytes(context.paths.configBin), old);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "NULL ==fp ");
  EXPECT_EQ(sink.messages[0].text.rfind("Error Code is: ", 0), 0u);
  EXPECT_NE(sink.messages[0].text, "Error Code is: 0 \n");
}

TEST_F(Win32ConfigFile, MissingFileIsNeverCreated) {
  saveSettings(context, SettingsRecord{});
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(context.paths.configBin)));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Config file is not exist.");
}

}  // namespace
}  // namespace ombrisk
