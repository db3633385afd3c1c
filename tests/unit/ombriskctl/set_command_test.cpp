// `ombriskctl set` on a folder of the utility's files: the bytes each command leaves in
// config.bin, the labels it writes to str.ini, and refusals that write nothing.
#include <gtest/gtest.h>

#include <functional>

#include "utility_folder.h"

namespace ombrisk {
namespace {

using testing::UtilityFolder;
constexpr auto A = KeyTableId::A;
constexpr auto B = KeyTableId::B;

class OmbriskctlSet : public ::testing::Test {
 protected:
  UtilityFolder utility;
  SettingsRecord before = testing::usedRecord();

  void SetUp() override {
    utility.writeConfig(before);
    utility.store->write(utility.path("str.ini"), "Skins", "Lan", "EN");
    utility.writeMacro("First", {"A   Dn", "50 ms", "A   Up"});
    utility.writeMacro("Second", {"B   Dn", "1500 ms", "B   Up"});
  }
  testing::CommandResult set(const std::string& words) { return utility.ctlIn("set", words); }
};

// Settings outside the key tables: the record bytes each command changes, nothing else.
TEST_F(OmbriskctlSet, EachSettingChangesItsBytes) {
  struct Case {
    const char* words;
    std::function<void(SettingsRecord&)> change;
  };
  const Case cases[] = {
      {"report-rate 1000", [](SettingsRecord& r) { r[rec::kReportInterval] = 1; }},
      {"report-rate 250", [](SettingsRecord& r) { r[rec::kReportInterval] = 4; }},
      {"stage 3 level 12", [](SettingsRecord& r) { r[rec::kDpiLevel + 2] = 11; }},
      {"stage 4 on", [](SettingsRecord& r) { r[rec::kStageEnabled + 3] = 1; }},
      {"stage 1 off", [](SettingsRecord& r) { r[rec::kStageEnabled] = 0; }},
      {"stage 2 colour '#ff8000'",
       [](SettingsRecord& r) { r[rec::kStageColours + 3] = 0xFF, r[rec::kStageColours + 4] = 0x80; }},
      {"stage 4 colour 0080fF", [](SettingsRecord& r) { r[rec::kStageColours + 10] = 0x80, r[rec::kStageColours + 11] = 0xFF; }},
      {"lighting mode Neon", [](SettingsRecord& r) { r[rec::kLightingMode] = 3; }},
      {"lighting parameter 100%", [](SettingsRecord& r) { r[rec::kMode1Parameter] = 9; }},
      {"mode B", [](SettingsRecord& r) { r[rec::kKeyTableSelector] = 1; }},
      {"pointer speed 11", [](SettingsRecord& r) { r[rec::kPointerSpeed] = 11; }},
      {"pointer wheel-lines 1", [](SettingsRecord& r) { r[rec::kWheelLines] = 1; }},
      {"pointer double-click 2", [](SettingsRecord& r) { r[rec::kDoubleClickIndex] = 2; }},
      {"pointer precision on", [](SettingsRecord& r) { r[rec::kEnhancePrecision] = 1; }},
      {"pointer one-screen on", [](SettingsRecord& r) { r[rec::kWheelOneScreen] = 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    utility.writeConfig(before);
    const auto result = set(c.words);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    SettingsRecord expected = before;
    c.change(expected);
    EXPECT_EQ(utility.record(), expected);
    EXPECT_EQ(utility.readBytesOf("config.bin")[0], 1);
  }
}

TEST_F(OmbriskctlSet, LightingParameterAndEffectBelongToTheModeShown) {
  ASSERT_EQ(set("lighting mode Respiration").exitCode, 0);
  ASSERT_EQ(set("lighting effect \"RGB Flash\"").exitCode, 0);
  ASSERT_EQ(set("lighting parameter 4S").exitCode, 0);
  const SettingsRecord record = utility.record();
  EXPECT_EQ(record[rec::kLightingMode], 2);
  EXPECT_EQ(record[rec::kMode2Effect], 2);
  EXPECT_NE(record[rec::kMode2Parameter], before[rec::kMode2Parameter]);
  EXPECT_EQ(record[rec::kMode1Parameter], before[rec::kMode1Parameter]);
  // Neon has no "RGB Effect"; Respiration has no period of 15S.
  const auto files = utility.files();
  EXPECT_EQ(set("lighting parameter 15S").exitCode, 1);
  ASSERT_EQ(set("lighting mode Neon").exitCode, 0);
  const auto refused = set("lighting effect \"RGB Effect\"");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("\"RGB Flash\""), std::string::npos) << refused.err;
}

// A button's function: the word the mouse gets for it, and its label in the interface language.
TEST_F(OmbriskctlSet, ButtonFunctionsEncodeAndAreLabelledAsTheWindowDoes) {
  struct Case {
    const char* words;
    KeyTableId table;
    std::size_t entry;
    std::uint32_t word;
    const char* label;
  };
  const Case cases[] = {
      {"button A 2 fire-key A", A, 1, 0x0120040A, "Fire Key-A"},
      {"button A 2 fire-key L-Button 5 0", A, 1, 0x0005F00A, "Fire Key-L-Button"},
      {"button A 3 single-key A", A, 2, 0x00040000, "Single Key-A"},
      {"button A 3 single-key enter", A, 2, 0x00280000, "Single Key-Enter"},
      {"button B 4 combo-key \"Left Ctrl\" C", B, 3, 0x00060100, "Combo Key-Left Ctrl+C"},
      {"button B 4 combo-key none A B", B, 3, 0x05040000, "Combo Key-A+B"},
      {"button A 5 multimedia Vol+", A, 4, 0x00E90003, "Multimedia-Vol+"},
      {"button A 5 windows Calculator", A, 4, 0x01920003, "Calculator"},
      {"button A 5 windows browser-search", A, 4, 0x02210003, "Browser-Search"},
      {"button A 6 dpi-switch \"Shift DPI\"", A, 5, 0x01040007, "Shift DPI"},
      {"button B 7 macro-key Second 3", B, 6, 0x00020209, "Macro Key-Second"},
      {"button B 7 macro-key 1", B, 6, 0x00010009, "Macro Key-First"},
      {"button A 6 rgb-on-off", A, 5, 0x00030008, "RGB On/Off"},
      {"button A 6 \"Key Off\"", A, 5, 0, "Key Off"},
      {"button A 2 triple-click", A, 1, 0x0322F00A, "Triple-click"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    utility.writeConfig(before);
    const auto result = set(c.words);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const SettingsRecord record = utility.record();
    EXPECT_EQ(keyMatrixWord(record, c.table, c.entry), c.word);
    EXPECT_EQ(utility.label("Setting-EN", c.table, c.entry), c.label);
    // The other table and the rest of the record are as they were.
    const KeyTableId other = c.table == A ? B : A;
    for (std::size_t entry = 0; entry < kButtonCount; ++entry)
      EXPECT_EQ(keyMatrixWord(record, other, entry), keyMatrixWord(before, other, entry)) << entry;
    EXPECT_TRUE(std::equal(record.bytes.begin() + rec::kMacroMemory, record.bytes.begin() + rec::kDpiActionsA,
                           before.bytes.begin() + rec::kMacroMemory))
        << "bytes between the key tables and the DPI actions changed";
  }
}

TEST_F(OmbriskctlSet, LabelsAreWrittenInTheInterfaceLanguage) {
  utility.store->write(utility.path("str.ini"), "Skins", "Lan", "CHS");
  ASSERT_EQ(set("button A 3 multimedia Vol+").exitCode, 0);
  EXPECT_EQ(utility.label("Setting-CHS", A, 2), "多媒体-音量+");
  ASSERT_EQ(set("button A 4 single-key Space").exitCode, 0);
  EXPECT_EQ(utility.label("Setting-CHS", A, 3), "单键-Space");
  // The labels of the buttons set before stay in that section, the English one is not made.
  EXPECT_EQ(utility.label("Setting-CHS", A, 2), "多媒体-音量+");
  EXPECT_EQ(utility.label("Setting-EN", A, 2), "");
}

TEST_F(OmbriskctlSet, ShiftGoesToTheSameButtonOfBothTablesAndPassesOnItsNextFunction) {
  ASSERT_EQ(set("button A 3 shift").exitCode, 0);
  SettingsRecord record = utility.record();
  EXPECT_EQ(record.key(A, KeyField::Function, 2), 14);
  EXPECT_EQ(record.key(B, KeyField::Function, 2), 14);
  EXPECT_EQ(utility.label("Setting-EN", B, 2), "Shift");
  // One button of a table holds Shift.
  const auto files = utility.files();
  const auto second = set("button B 4 shift");
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_EQ(utility.files(), files);
  // A button that holds Shift passes its new function to both tables.
  ASSERT_EQ(set("button B 3 right-click").exitCode, 0);
  record = utility.record();
  EXPECT_EQ(record.key(A, KeyField::Function, 2), 1);
  EXPECT_EQ(record.key(B, KeyField::Function, 2), 1);
  EXPECT_EQ(utility.label("Setting-EN", A, 2), "Right Click");
}

// Wrong values and rules broken: a message that names what is accepted, all three files
// unchanged byte for byte.
TEST_F(OmbriskctlSet, RefusalsNameTheRangeAndWriteNothing) {
  struct Case {
    const char* words;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {"report-rate 300", 1, "\"125\", \"250\", \"500\" or \"1000\""},
      {"stage 5 on", 1, "from 1 to 4"},
      {"stage 1 level 13", 1, "from 1 to 12"},
      {"--sensor 1 stage 1 level 9", 1, "from 1 to 8"},
      {"stage 2 off", 1, "one stage always stays on"},  // stage 1 is switched off first below
      {"stage 1 colour orange", 1, "RRGGBB or #RRGGBB"},
      {"lighting parameter 3%", 1, "\"5%\""},
      {"button A 1 right-click", 1, "Left key must be selected!"},  // the only Left Click of A
      {"button A 8 left-click", 1, "from 1 to 7"},
      {"button C 1 left-click", 1, "\"A\" or \"B\""},
      {"button A 2 fire-key A 4", 1, "from 5 to 255"},
      {"button A 2 fire-key A 32 256", 1, "from 0 to 255"},
      {"button A 2 fire-key Q7", 1, "the fire key must be"},
      {"button A 2 single-key NoSuchKey", 1, "US keyboard"},
      {"button A 2 macro-key Third", 1, "\"First\" or \"Second\""},
      {"button A 2 macro-key 3", 1, "from 1 to 2"},
      {"button A 2 macro-key First 4", 1, "from 1 to 3"},
      {"button A 2 multimedia Louder", 1, "\"Vol+\""},
      {"button A 2 dpi-switch Up", 1, "\"DPI +\""},
      {"pointer speed 0", 1, "from 1 to 11"},
      {"pointer precision maybe", 1, "\"off\" or \"on\""},
      {"volume 3", 2, "unknown setting"},
      {"button A 2 single-key A B", 2, "unexpected \"B\""},
  };
  ASSERT_EQ(set("stage 1 off").exitCode, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    const auto files = utility.files();
    const auto result = set(c.words);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(utility.files(), files);
  }
}

TEST_F(OmbriskctlSet, WithoutConfigBinNothingIsMade) {
  std::filesystem::remove(testing::pathFromUtf8(utility.path("config.bin")));
  const auto files = utility.files();
  const auto result = set("report-rate 500");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("config.bin"), std::string::npos) << result.err;
  EXPECT_EQ(utility.files(), files);
}

}  // namespace
}  // namespace ombrisk

namespace ombrisk {
namespace {

// The help of each command, the main help and the manual page come from one text.
TEST(OmbriskctlHelp, EveryCommandHasHelpAndAPlaceInTheManual) {
  testing::UtilityFolder utility;
  const auto main = utility.ctl("--help"), manual = utility.ctl("--man");
  ASSERT_EQ(main.exitCode, 0);
  ASSERT_EQ(manual.exitCode, 0);
  EXPECT_EQ(manual.out.rfind(".TH OMBRISKCTL 1", 0), 0u) << manual.out.substr(0, 80);
  for (const char* command : {"show", "set", "apply", "export", "import"}) {
    SCOPED_TRACE(command);
    const auto help = utility.ctl(std::string(command) + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, utility.ctl(std::string("help ") + command).out);
    EXPECT_NE(main.out.find(std::string("  ") + command + " "), std::string::npos);
    EXPECT_NE(manual.out.find(std::string(".SS ") + command), std::string::npos);
  }
  // Every setting set takes is in its help and in the manual.
  const std::string setHelp = utility.ctl("help set").out;
  const auto inRoff = [](std::string text) {  // roff writes a hyphen as \-
    for (std::size_t at = text.find('-'); at != std::string::npos; at = text.find('-', at + 2)) text.insert(at, "\\");
    return text;
  };
  for (const char* setting : {"report-rate RATE", "stage N level L", "lighting effect EFFECT", "pointer default",
                              "button A|B N FUNCTION [PARAMETERS]"}) {
    EXPECT_NE(setHelp.find(setting), std::string::npos) << setting;
    EXPECT_NE(manual.out.find(inRoff(setting)), std::string::npos) << setting;
  }
  const auto wrong = utility.ctl("frobnicate");
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.err.find("usage: ombriskctl"), std::string::npos) << wrong.err;
}

}  // namespace
}  // namespace ombrisk
