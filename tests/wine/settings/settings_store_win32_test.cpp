// The settings files on the real Win32 APIs under Wine: the profile store beside the system's
// private-profile API, and the atomic config.bin save.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "support/system_profile_store_win32.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using testing::readBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::writeBytes;

// The program's store on the Win32 file operations against the system's private-profile API:
// either reads what the other wrote.
class Win32Store : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder.file("str.ini");
  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
  testing::SystemProfileStore system;
};

// In a new file and in an empty one, as record.ini is installed: without the byte-order mark
// the system's store would write the ANSI code page.
TEST_F(Win32Store, ChineseTextsSurviveInANewOrEmptyFile) {
  ButtonLabelSet labels;
  const char* names[] = {"左键", "右鍵", "前进方向键", "後退方向鍵", "DPI切换", "巨集", "Key Off"};
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = names[i % 7];
  ASSERT_TRUE(writeButtonLabels(*store, ini, "Setting-CHS", labels));
  // record.ini as installed: empty, and written by the program's store first.
  const std::string emptyIni = folder.file("record.ini");
  writeBytes(emptyIni, {});
  ASSERT_TRUE(store->write(emptyIni, "连发", "ItemCount", "0"));
  EXPECT_EQ(system.sectionNames(emptyIni), std::vector<std::string>{"连发"});

  const auto bytes = readBytes(ini);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);

  for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
    EXPECT_EQ(system.read(ini, "Setting-CHS", buttonLabelKey(KeyTableId::A, entry)), labels[entry]);
    EXPECT_EQ(system.read(ini, "Setting-CHS", buttonLabelKey(KeyTableId::B, entry)), labels[kButtonCount + entry]);
  }
  ButtonLabelSet read;
  SkinSettings skin;
  readButtonLabels(*store, ini, "Setting-CHS", read, skin);
  EXPECT_EQ(read, labels);
}

TEST_F(Win32Store, SkinKeysRoundTripBetweenBothStores) {
  for (const auto& [key, value] : {std::pair{"Path", "碳纤维"}, {"RColor", "0"}, {"GColor", "255"}, {"BColor", "12"}})
    system.write(ini, "Skins", key, value);
  ButtonLabelSet labels;
  SkinSettings skin;
  readButtonLabels(*store, ini, "Setting-EN", labels, skin);
  EXPECT_EQ(skin.path, "碳纤维");
  EXPECT_EQ(skin.green, "255");

  ASSERT_TRUE(store->write(ini, "Skins", "Path", "Default"));
  EXPECT_EQ(system.read(ini, "Skins", "Path"), "Default");
  EXPECT_EQ(system.read(ini, "Skins", "BColor"), "12");
}

TEST_F(Win32Store, ExistingAnsiFileKeepsWorking) {
  writeBytes(ini, {'[', 'S', 'k', 'i', 'n', 's', ']', '\r', '\n', 'L', 'a', 'n', '=', 'C', 'H', 'T',
                   '\r', '\n'});
  EXPECT_EQ(store->read(ini, "Skins", "Lan"), "CHT");
  store->write(ini, "Skins", "Path", "Default");
  EXPECT_EQ(system.read(ini, "Skins", "Path"), "Default");
  EXPECT_EQ(system.read(ini, "skins", "LAN"), "CHT");
}

TEST_F(Win32Store, LongValuesAreCutAndSectionsReorderAlike) {
  store->write(ini, "Setting-EN", "Item1", std::string(3000, 'y'));
  EXPECT_EQ(store->read(ini, "Setting-EN", "Item1"), std::string(1023, 'y'));
  EXPECT_EQ(system.read(ini, "Setting-EN", "Item1"), std::string(1023, 'y'));

  const std::vector<std::string> order{"宏二", "Reload", "Jump"};
  const std::string bySystem = folder.file("system.ini");
  const std::string byStore = folder.file("record.ini");
  for (const char* name : {"Jump", "宏二", "Reload"}) {
    system.write(bySystem, name, "ItemCount", "0");
    store->write(byStore, name, "ItemCount", "0");
  }
  system.deleteSection(bySystem, "Jump");
  system.write(bySystem, "Jump", "ItemCount", "2");
  store->deleteSection(byStore, "Jump");
  store->write(byStore, "Jump", "ItemCount", "2");
  EXPECT_EQ(system.sectionNames(bySystem), order);
  EXPECT_EQ(store->sectionNames(bySystem), order);
  EXPECT_EQ(system.sectionNames(byStore), order);
  EXPECT_EQ(system.read(byStore, "Jump", "ItemCount"), "2");
}

// The system's API reads a file of any size; the program's store leaves one it cannot read
// whole alone rather than write back a part of it.
TEST_F(Win32Store, FileTooLargeToReadWholeIsNeverRewritten) {
  std::string text = "[Skins]\r\nPath=Carbon\r\n";
  while (text.size() <= kLargestFileRead) text += "; padding padding padding padding padding padding\r\n";
  text += "[Setting-EN]\r\nItem1=Last\r\n";
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  writeBytes(ini, bytes);

  EXPECT_EQ(system.read(ini, "Setting-EN", "Item1"), "Last");
  EXPECT_EQ(store->read(ini, "Skins", "Path", "none"), "none");
  EXPECT_FALSE(store->write(ini, "Skins", "Path", "Default"));
  EXPECT_FALSE(writeButtonLabels(*store, ini, "Setting-EN", ButtonLabelSet{}));
  EXPECT_EQ(readBytes(ini), bytes);
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
