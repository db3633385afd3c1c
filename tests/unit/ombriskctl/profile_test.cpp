// ombriskctl export and import: a profile made of every kind of setting comes back the same
// on another installation, and a wrong profile is refused by the path of its field with the
// three files left byte for byte as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "utility_folder.h"

namespace ombrisk {
namespace {

using testing::UtilityFolder;

std::string textOf(const testing::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A utility set up through ombriskctl set in Simplified Chinese: all sixteen functions in the
// two key tables, Chinese labels and macro names, lighting, stages, pointer settings.
class ProfileSource : public UtilityFolder {
 public:
  ProfileSource() {
    writeConfig(testing::usedRecord());
    const std::string strIni = path("str.ini");
    store->write(strIni, "Skins", "Lan", "CHS");
    store->write(strIni, "Skins", "Path", "Ember");
    store->write(strIni, "Skins", "Red", "255");
    store->write(strIni, "Skins", "Green", "128");
    store->write(strIni, "Skins", "Blue", "0");
    // The English section of an earlier session, kept as it is.
    store->write(strIni, "Setting-EN", "Item1", "Left Click");
    writeMacro("连发", {"A   Dn", "50 ms", "A   Up", "50 ms"});
    writeMacro("Second", {"Left Button   Dn", "1500 ms", "Left Button   Up"});
    // Shift and Left Click hold a button of each table; Right, Mid Click, Forward and Backward
    // go to entries past the seven buttons, which the record keeps as well.
    for (const char* words :
         {"button A 2 triple-click", "button A 3 dpi-switch \"DPI Loop\"", "button A 4 rgb-on-off",
          "button A 5 windows 计算器", "button A 7 fire-key F5 20 3", "button B 2 single-key Space",
          "button B 3 combo-key \"Left Ctrl\" C V", "button B 4 macro-key 连发 3", "button B 5 multimedia Vol+",
          "button B 6 shift", "button B 7 key-off", "report-rate 500", "stage 3 on", "stage 3 level 9",
          "stage 2 colour 12ABEF", "lighting mode Neon", "lighting parameter 7.5S",
          "lighting effect \"RGB Fixed On\"", "pointer precision on", "pointer speed 9", "mode B"}) {
      const auto result = ctlIn("set", words);
      EXPECT_EQ(result.exitCode, 0) << words << result.err;
    }
    EXPECT_EQ(ctlIn("set", "button A 1 backward").exitCode, 1);  // the only Left Click of A
    SettingsRecord stored = record();
    for (std::size_t entry = 7; entry < 11; ++entry)
      stored.key(KeyTableId::A, KeyField::Function, entry) = static_cast<std::uint8_t>(entry - 6);
    writeConfig(stored);
  }
};

TEST(OmbriskctlProfile, ExportImportExportIsIdenticalAndRestoresTheFiles) {
  ProfileSource source;
  const std::string profile = source.folder.file("profile.json");
  const auto exported = source.ctlIn("export", "'" + profile + "'");
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::string text = textOf(testing::readBytes(profile));
  for (const char* function :
       {"Left Click", "Right Click", "Mid Click", "Forward", "Backward", "Triple-click", "DPI Switch", "RGB On/Off",
        "Windows", "Multimedia", "Fire Key", "Single Key", "Combo Key", "Macro Key", "Shift", "Key Off"})
    EXPECT_NE(text.find("\"function\": \"" + std::string(function) + "\""), std::string::npos) << function;
  EXPECT_NE(text.find("宏-连发"), std::string::npos);

  // A fresh installation: config.bin of zeros, no str.ini, no record.ini.
  UtilityFolder fresh(source, "fresh");
  testing::writeBytes(fresh.path("config.bin"), testing::Bytes(kConfigFileSize, 0));
  const auto imported = fresh.ctlIn("import", "'" + profile + "'");
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  const auto again = fresh.ctlIn("export", "-");
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.out, text);

  // The same files as the source once its macro blocks are encoded as an import encodes them.
  ASSERT_EQ(source.ctlIn("import", "'" + profile + "'").exitCode, 0);
  EXPECT_EQ(fresh.readBytesOf("config.bin"), source.readBytesOf("config.bin"));
  EXPECT_EQ(fresh.readBytesOf("record.ini"), source.readBytesOf("record.ini"));
  for (const KeyTableId table : {KeyTableId::A, KeyTableId::B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      EXPECT_EQ(fresh.label("Setting-CHS", table, entry), source.label("Setting-CHS", table, entry));
      EXPECT_EQ(fresh.label("Setting-EN", table, entry), source.label("Setting-EN", table, entry));
    }
  EXPECT_EQ(fresh.label("Setting-CHS", KeyTableId::B, 3), "宏-连发");
  EXPECT_EQ(fresh.store->read(fresh.path("str.ini"), "Skins", "Path", ""), "Ember");
  EXPECT_EQ(fresh.store->read(fresh.path("record.ini"), "连发", "Item2", ""), "A   Up");
}

// Each bad profile is the good one with one change.
TEST(OmbriskctlProfile, BadProfilesAreRefusedByPathAndWriteNothing) {
  ProfileSource utility;
  const auto exported = utility.ctlIn("export", "-");
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::string good = exported.out;
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  std::string longMacro;
  for (int i = 0; i < 40; ++i) longMacro += R"({"key": "B", "action": "press", "delay_ms": 10}, {"key": "B", "action": "release", "delay_ms": 10}, )";
  struct Case {
    const char* name;
    std::string text;
    const char* message;  // the path of the field, or what is said of the document
  };
  const Case cases[] = {
      {"other format version", replaced("\"format_version\": 1", "\"format_version\": 2"), "/format_version"},
      {"other device", replaced("04D9:A09F", "046D:C077"), "/device: belongs to another device"},
      {"missing key", replaced("\"report_rate\": 500,", ""), "/config/report_rate"},
      {"extra key", replaced("\"report_rate\": 500,", "\"report_rate\": 500, \"polling\": 1,"), "/config/polling"},
      {"wrong type", replaced("\"report_rate\": 500", "\"report_rate\": \"500\""), "/config/report_rate"},
      {"out of range", replaced("\"fire_speed\": 20", "\"fire_speed\": 4"), "/config/key_tables/A/7/fire_speed"},
      {"unknown function", replaced("\"function\": \"Triple-click\"", "\"function\": \"Triple click\""),
       "/config/key_tables/A/2/function"},
      {"invalid UTF-8", replaced("宏-连发", "\xE5\xAE"), "not valid UTF-8"},
      {"label of 5000 characters", replaced("宏-连发", std::string(5000, 'x')), "/labels/CHS/B/3"},
      {"label with a line break", replaced("宏-连发", "a\\nb"), "/labels/CHS/B/3"},
      {"macro too long for its block", replaced("\"events\": [", "\"events\": [" + longMacro), "/macros/0/events"},
      {"10 MB", good + std::string(10 << 20, ' '), "larger than"},
      {"not JSON", good.substr(0, good.size() / 2), "line"},
      {"not an object", "[]", "object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = utility.folder.file("bad.json");
    testing::writeBytes(file, testing::Bytes(c.text.begin(), c.text.end()));
    const auto files = utility.files();
    const auto result = utility.ctlIn("import", "'" + file + "'");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("nothing was written"), std::string::npos) << result.err;
    EXPECT_EQ(utility.files(), files);
  }
}


// What the files hold that a profile cannot carry is named by its path and reason, and no
// profile is written: 8-bit text of a Windows code page (which this build cannot read), and
// an entry of record.ini that is neither an event nor a delay.
TEST(OmbriskctlProfile, ExportNamesWhatAProfileCannotCarry) {
  struct Case {
    const char* name;
    std::string strIni, recordIni;
    const char* path;
    const char* reason;
  };
  const std::string gbkLabel = "\xB5\xA5\xBC\xFC-A";  // 单键-A in GBK, as a Chinese Windows writes it
  const Case cases[] = {
      {"a label in GBK", "[Skins]\r\nLan=CHS\r\n[Setting-CHS]\r\nItem1=" + gbkLabel + "\r\n", "", "/labels/CHS/A/0",
       "8-bit text that is not UTF-8"},
      {"a macro named in GBK", "", "[\xC1\xAC\xD5\xD0]\r\nItemCount=0\r\n", "/macros/0/name",
       "8-bit text that is not UTF-8"},
      {"a hand-written mouse click", "",
       "[Burst]\r\nItemCount=4\r\nItem0=A   Dn\r\nItem1=50 ms\r\nItem2=L-Button Click\r\nItem3=50 ms\r\n",
       "/macros/0/events", "\"L-Button Click\" (Item2 of \"Burst\"), which is neither a key press"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UtilityFolder utility;
    utility.writeConfig(SettingsRecord{});
    testing::writeBytes(utility.path("str.ini"), testing::Bytes(c.strIni.begin(), c.strIni.end()));
    testing::writeBytes(utility.path("record.ini"), testing::Bytes(c.recordIni.begin(), c.recordIni.end()));
    const std::string profile = utility.folder.file("profile.json");
    const auto result = utility.ctlIn("export", "'" + profile + "'");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(std::string(c.path) + ": "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(profile)));
  }
}

// A file that cannot be replaced (here record.ini, a folder) after another was: the one
// replaced before it is put back.
TEST(OmbriskctlProfile, AnImportThatCannotWriteEveryFileLeavesThemAllAsTheyWere) {
  UtilityFolder utility;
  utility.writeConfig(testing::usedRecord());
  ASSERT_EQ(utility.ctlIn("set", "report-rate 1000").exitCode, 0);
  const std::string profile = utility.folder.file("profile.json");
  ASSERT_EQ(utility.ctlIn("export", "'" + profile + "'").exitCode, 0);
  ASSERT_EQ(utility.ctlIn("set", "report-rate 125").exitCode, 0);
  std::filesystem::create_directory(testing::pathFromUtf8(utility.path("record.ini")));
  const auto config = utility.readBytesOf("config.bin"), strIni = utility.readBytesOf("str.ini");
  const auto result = utility.ctlIn("import", "'" + profile + "'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("record.ini"), std::string::npos) << result.err;
  EXPECT_EQ(utility.readBytesOf("config.bin"), config);
  EXPECT_EQ(utility.readBytesOf("str.ini"), strIni);
  EXPECT_EQ(utility.record()[rec::kReportInterval], 8);
}

}  // namespace
}  // namespace ombrisk
