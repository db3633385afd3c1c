// Files the system's private-profile functions wrote in the ANSI code page (no byte-order
// mark): the program's store reads them as the system does and keeps what they hold. The test
// command runs this file a second time under Wine's Chinese locale, where the code page is GBK.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>

#include "macros/macro_store.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "support/dialog_user_win32.h"
#include "support/system_profile_store_win32.h"
#include "support/temp_folder.h"
#include "util/utf.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

using testing::readBytes;

// Texts the code page holds: Chinese ones in GBK, Western ones otherwise.
struct Texts {
  std::string label, otherLabel, macro;
};
Texts textsOfTheCodePage() {
  if (GetACP() == 936) return {"单键-A", "宏-连招", "连招"};
  return {"Café", "Crème brûlée", "Übung"};
}

// The system's store writing into a file without a mark, as it does on its own.
void systemWrite(const std::string& file, const std::string& section, const std::string& key, const std::string& value) {
  ASSERT_TRUE(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                         widen(file).c_str()));
}

std::vector<std::string> linesOf(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(AnsiProfileFiles, ReadAsTheSystemReadsThemAndKeepWhatTheyHold) {
  const Texts texts = textsOfTheCodePage();
  testing::TempFolder folder;
  const std::string ini = folder.file("str.ini");
  systemWrite(ini, "Skins", "Path", "Graphite");
  systemWrite(ini, "Setting-CHS", "Item1", texts.label);
  const std::vector<std::uint8_t> written = readBytes(ini);
  ASSERT_FALSE(written.empty());
  EXPECT_NE(written[0], 0xFF) << "the system's store writes the code page, without a mark";
  EXPECT_FALSE(isValidUtf8(std::string(written.begin(), written.end())));

  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
  ButtonLabelSet labels;
  SkinSettings skin;
  readButtonLabels(*store, ini, "Setting-CHS", labels, skin);
  EXPECT_EQ(labels[0], texts.label);
  EXPECT_EQ(skin.path, "Graphite");
  EXPECT_EQ(readBytes(ini), written) << "reading writes nothing";

  // A change the code page holds: the lines read stay as they were, and the system reads both.
  ASSERT_TRUE(store->write(ini, "Setting-CHS", "Item2", texts.otherLabel));
  const std::vector<std::uint8_t> changed = readBytes(ini);
  const std::vector<std::string> before = linesOf(written), after = linesOf(changed);
  ASSERT_GT(after.size(), before.size());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
  EXPECT_NE(changed[0], 0xFF);
  testing::SystemProfileStore system;
  EXPECT_EQ(system.read(ini, "Setting-CHS", "Item1"), texts.label);
  EXPECT_EQ(system.read(ini, "Setting-CHS", "Item2"), texts.otherLabel);

  // A text it cannot hold: the file becomes UTF-16LE, and the system still reads every text.
  ASSERT_TRUE(store->write(ini, "Setting-CHS", "Item3", "\U0001F642"));
  const std::vector<std::uint8_t> unicode = readBytes(ini);
  ASSERT_GE(unicode.size(), 2u);
  EXPECT_EQ(unicode[0], 0xFF);
  EXPECT_EQ(unicode[1], 0xFE);
  EXPECT_EQ(system.read(ini, "Setting-CHS", "Item1"), texts.label);
  EXPECT_EQ(system.read(ini, "Setting-CHS", "Item2"), texts.otherLabel);
  EXPECT_EQ(system.read(ini, "Setting-CHS", "Item3"), "\U0001F642");
  EXPECT_EQ(system.read(ini, "Skins", "Path"), "Graphite");

  // record.ini: a macro the system's store named in the code page is listed by its name, and
  // saving it keeps one section of that name.
  const std::string recordIni = folder.file("record.ini");
  systemWrite(recordIni, texts.macro, "ItemCount", "0");
  EXPECT_EQ(macroNames(*store, recordIni), std::vector<std::string>{texts.macro});
  SettingsRecord record;
  ASSERT_EQ(saveMacro(*store, recordIni, texts.macro, std::vector<std::string>{"A   Dn", "50 ms"}, record,
                      Language::English).outcome,
            MacroSaveOutcome::Saved);
  EXPECT_EQ(system.sectionNames(recordIni), std::vector<std::string>{texts.macro});
  EXPECT_EQ(system.read(recordIni, texts.macro, "Item0"), "A   Dn");
  EXPECT_EQ(record.macroBlock(0)[3], 0x04);
}

// The utility's tools on such a Windows read them too: ombriskctl.exe exports the labels and
// macro names as UTF-8.
TEST(AnsiProfileFiles, ExportCarriesTheirTextsAsUtf8) {
  const Texts texts = textsOfTheCodePage();
  testing::TempFolder folder;
  testing::writeBytes(folder.file("config.bin"), std::vector<std::uint8_t>(kConfigFileSize, 0));
  systemWrite(folder.file("str.ini"), "Setting-EN", "Item1", texts.label);
  systemWrite(folder.file("record.ini"), texts.macro, "ItemCount", "0");
  const std::string profile = folder.file("profile.json");
  const std::wstring command = L"ombriskctl.exe export --dir \"" + widen(testing::utf8FromPath(folder.path())) + L"\" \"" + widen(profile) + L"\"";
  const std::wstring program = (testing::installFolder() / L"ombriskctl.exe").wstring();
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  std::wstring line = command;
  ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  WaitForSingleObject(process.hProcess, 30000);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
  const std::vector<std::uint8_t> bytes = readBytes(profile);
  const std::string json(bytes.begin(), bytes.end());
  EXPECT_NE(json.find("\"" + texts.label + "\""), std::string::npos) << json.substr(0, 400);
  EXPECT_NE(json.find("\"name\": \"" + texts.macro + "\""), std::string::npos);
}

}  // namespace
}  // namespace ombrisk
