#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "settings/settings_files.h"
#include "util/module_path.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using testing::readBytes;
using testing::RecordedMessage;
using testing::RecordingSink;
using testing::TempFolder;
using testing::writeBytes;

TEST(DataPaths, ReplaceTheExecutableNameWhateverItIs) {
  struct Case {
    std::string module, folder, name;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Ombrisk\\Ombrisk.exe", "C:\\Program Files\\Ombrisk\\", "Ombrisk"},
      {"C:\\Games\\mouse tool.EXE", "C:\\Games\\", "mouse tool"},
      {"D:\\a.b\\Ombrisk", "D:\\a.b\\", "Ombrisk"},  // a dot in the folder, none in the name
      {"/opt/ombrisk/ombriskctl", "/opt/ombrisk/", "ombriskctl"},
      {"C:\\mixed/seps\\Ombrisk.exe", "C:\\mixed/seps\\", "Ombrisk"},
      {"Ombrisk.exe", "", "Ombrisk"},
      {"C:\\x\\.exe", "C:\\x\\", "Ombrisk"},  // no name left: the fixed caption
  };
  for (const Case& c : cases) {
    const DataPaths paths = dataPathsFromModule(c.module);
    EXPECT_EQ(paths.configBin, c.folder + "config.bin") << c.module;
    EXPECT_EQ(paths.recordIni, c.folder + "record.ini") << c.module;
    EXPECT_EQ(paths.strIni, c.folder + "str.ini") << c.module;
    EXPECT_NE(paths.configBin, c.module);
    EXPECT_EQ(moduleFolder(c.module), c.folder);
    EXPECT_EQ(applicationNameFromPath(c.module), c.name);
  }
}

class ConfigFile : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> image(std::uint8_t firstRun) const {
    std::vector<std::uint8_t> bytes(kConfigFileSize);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
    bytes[0] = firstRun;
    return bytes;
  }

  TempFolder folder;
  std::unique_ptr<FileIo> io = makePortableFileIo();
  RecordingSink sink;
  SettingsFileContext context{dataPathsFromModule(folder.file("Ombrisk.exe")), *io, sink, "Ombrisk"};
  SettingsImage settings;
};

TEST_F(ConfigFile, LoadsAnExactImage) {
  const auto bytes = image(0);
  writeBytes(context.paths.configBin, bytes);
  loadSettings(context, settings);
  EXPECT_EQ(settings.firstRunFlag, 0);
  EXPECT_TRUE(std::equal(settings.record.bytes.begin(), settings.record.bytes.end(), bytes.begin() + 1));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConfigFile, WrongLengthsAreIgnoredSilently) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, kConfigFileSize - 1, kConfigFileSize + 1,
                           std::size_t{100000}}) {
    std::vector<std::uint8_t> bytes(size, 0x5A);
    writeBytes(context.paths.configBin, bytes);
    SettingsImage fresh;
    loadSettings(context, fresh);
    EXPECT_EQ(fresh.record, SettingsRecord{}) << size << " bytes";
    EXPECT_EQ(fresh.firstRunFlag, 0) << size << " bytes";
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConfigFile, MissingFileIsReportedOnLoadAndSaveAndNeverCreated) {
  loadSettings(context, settings);
  EXPECT_EQ(settings.record, SettingsRecord{});
  saveSettings(context, settings.record);
  const RecordedMessage missing{"Config file is not exist.", "Ombrisk"};
  EXPECT_EQ(sink.messages, (std::vector<RecordedMessage>{missing, missing}));
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(context.paths.configBin)));
}

TEST_F(ConfigFile, UnreadableFileIsIgnoredSilently) {
  // A folder of that name exists but cannot be read as a file.
  std::filesystem::create_directory(testing::pathFromUtf8(context.paths.configBin));
  loadSettings(context, settings);
  EXPECT_EQ(settings.record, SettingsRecord{});
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ConfigFile, SaveWritesFirstRunOneAndTheRecord) {
  writeBytes(context.paths.configBin, std::vector<std::uint8_t>(10, 0));  // any existing file
  SettingsRecord record;
  record[0] = 0x0B;
  record[rec::kReportInterval] = 8;
  record[rec::kSize - 1] = 0xEE;
  saveSettings(context, record);
  const auto bytes = readBytes(context.paths.configBin);
  ASSERT_EQ(bytes.size(), 1986u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 0x0B);
  EXPECT_EQ(bytes[1 + 0x785], 8);
  EXPECT_EQ(bytes[1985], 0xEE);
  EXPECT_TRUE(sink.messages.empty());

  SettingsImage reloaded;
  loadSettings(context, reloaded);
  EXPECT_EQ(reloaded.record, record);
  EXPECT_EQ(reloaded.firstRunFlag, 1);
}

TEST_F(ConfigFile, FailedSaveKeepsTheOldFileAndShowsTheErrorCode) {
  const auto old = image(0);
  writeBytes(context.paths.configBin, old);
  // The new image cannot be written: a folder stands where its temporary file goes.
  std::filesystem::create_directory(testing::pathFromUtf8(context.paths.configBin + ".new"));
  saveSettings(context, SettingsRecord{});
  EXPECT_EQ(readBytes(context.paths.configBin), old);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "NULL ==fp ");
  EXPECT_EQ(sink.messages[0].text, "Error Code is: " + std::to_string(EISDIR) + " \n");
}

TEST(ButtonLabels, KeysOfBothTables) {
  const std::pair<std::size_t, const char*> tableA[] = {{0, "Item1"}, {6, "Item7"}, {11, "Item12"}};
  const std::pair<std::size_t, const char*> tableB[] = {
      {0, "Item13"}, {1, "Item23"}, {6, "Item73"}, {10, "Item113"}, {11, "Item123"}};
  for (auto [entry, key] : tableA) EXPECT_EQ(buttonLabelKey(KeyTableId::A, entry), key);
  for (auto [entry, key] : tableB) EXPECT_EQ(buttonLabelKey(KeyTableId::B, entry), key);
}

TEST(ButtonLabels, RoundTripInTableOrderWithSkinKeys) {
  TempFolder folder;
  const std::string strIni = folder.file("str.ini");
  auto store = makePortableProfileStore();
  ButtonLabelSet labels;
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = "标签 " + std::to_string(i);
  writeButtonLabels(*store, strIni, "Setting-CHS", labels);
  writeSkinSettings(*store, strIni, {"Carbon", "10", "200", "abc"});

  ButtonLabelSet read;
  SkinSettings skin;
  readButtonLabels(*store, strIni, "Setting-CHS", read, skin);
  EXPECT_EQ(read, labels);
  EXPECT_EQ(skin.path, "Carbon");
  EXPECT_EQ(colourComponent(skin.green), 200);
  EXPECT_EQ(colourComponent(skin.blue), 0);

  // Item1..Item12, then Item13, Item23, ..., Item123, in that order in the file.
  const auto keys = [&] {
    std::vector<std::string> found;
    const auto bytes = readBytes(strIni);
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) units += char16_t(bytes[i] | bytes[i + 1] << 8);
    std::size_t at = 0;
    while ((at = units.find(u"Item", at)) != std::u16string::npos) {
      const std::size_t end = units.find(u'=', at);
      found.emplace_back(units.begin() + at, units.begin() + end);
      at = end;
    }
    return found;
  }();
  ASSERT_EQ(keys.size(), 24u);
  EXPECT_EQ(keys[11], "Item12");
  EXPECT_EQ(keys[12], "Item13");
  EXPECT_EQ(keys[13], "Item23");
  EXPECT_EQ(keys[23], "Item123");
}

TEST(ButtonLabels, MissingFileReadsEmpty) {
  TempFolder folder;
  auto store = makePortableProfileStore();
  ButtonLabelSet labels;
  labels.fill("stale");
  SkinSettings skin{"x", "1", "2", "3"};
  readButtonLabels(*store, folder.file("str.ini"), "Setting-EN", labels, skin);
  for (const std::string& label : labels) EXPECT_EQ(label, "");
  EXPECT_EQ(skin.path, "");
  EXPECT_EQ(skin.red, "");
}

TEST(ColourComponent, DecimalTextToOneByte) {
  const std::pair<const char*, int> cases[] = {
      {"0", 0}, {"255", 255}, {"128", 128}, {"", 0}, {"green", 0}, {"12abc", 12},
      {" 7", 7}, {"256", 0}, {"-1", 255}, {"99999999999999999999", 255}};
  for (auto [text, value] : cases) EXPECT_EQ(colourComponent(text), value) << '"' << text << '"';
}

}  // namespace
}  // namespace ombrisk
