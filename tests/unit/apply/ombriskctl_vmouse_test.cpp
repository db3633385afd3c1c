// ombriskctl apply against a running vmouse: what the mouse holds afterwards (vmouse dump)
// must be exactly what the settings files imply.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/profile_store.h"
#include "keys/key_functions.h"
#include "settings/settings_image.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

extern char** environ;

namespace ombrisk {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::CommandResult;
using testing::run;
using testing::tool;

// `vmouse serve --port 0 [options]` for the length of a test.
class VirtualMouseProcess {
 public:
  explicit VirtualMouseProcess(std::vector<std::string> options) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<std::string> args{tool("vmouse/vmouse"), "serve", "--port", "0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    // "vmouse: serving on 127.0.0.1:PORT"
    std::string line;
    char c;
    while (pid_ > 0 && line.size() < 200 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') line += c;
    close(pipeEnds[0]);
    const std::size_t colon = line.rfind(':');
    if (colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
  }
  ~VirtualMouseProcess() { stop(); }
  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  int port() const { return port_; }
  std::string device() const { return "tcp:127.0.0.1:" + std::to_string(port_); }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// The value of one top-level field of `vmouse dump` (one field per line).
std::string field(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\": ";
  const std::size_t at = json.find(key);
  if (at == std::string::npos) return "<no " + name + ">";
  std::string value = json.substr(at + key.size(), json.find('\n', at) - at - key.size());
  if (!value.empty() && value.back() == ',') value.pop_back();
  return value;
}

std::string hexOf(const Bytes& bytes) {
  std::string text;
  char item[3];
  for (const std::uint8_t b : bytes) std::snprintf(item, sizeof item, "%02x", b), text += item;
  return text;
}

// The command bytes of the frames in the dump's log, the handshake's left out.
std::string commandsLogged(const std::string& json) {
  const std::string log = field(json, "log");
  std::string commands;
  for (std::size_t at = log.find('"'); at != std::string::npos; at = log.find('"', log.find('"', at + 1) + 1)) {
    const std::string cmd = log.substr(at + 1, 2);
    if (cmd != "00") commands += (commands.empty() ? "" : " ") + cmd;
  }
  return commands;
}

class OmbriskctlApply : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  std::string dir = folder.file("utility");
  SettingsRecord record;
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();

  OmbriskctlApply() { std::filesystem::create_directories(testing::pathFromUtf8(dir)); }

  void writeConfig(std::uint8_t firstByte = 0) {
    Bytes file{firstByte};
    file.insert(file.end(), record.bytes.begin(), record.bytes.end());
    testing::writeBytes(dir + "/config.bin", file);
  }
  std::string dump(const VirtualMouseProcess& mouse) {
    return run(tool("vmouse/vmouse") + " dump --port " + std::to_string(mouse.port()), folder).out;
  }
  CommandResult apply(const std::string& device) {
    return run(tool("ombriskctl/ombriskctl") + " apply --dir '" + dir + "' --device " + device, folder);
  }
};

TEST_F(OmbriskctlApply, TheMouseHoldsWhatConfigAndRecordIniImply) {
  resetKeyTables(record);
  const auto A = KeyTableId::A;
  record.key(A, KeyField::Function, 0) = 11;  // Single Key A
  record.key(A, KeyField::SingleKey, 0) = 0x04;
  record.key(A, KeyField::Function, 3) = 3;   // Forward in entry 3, Backward in entry 4
  record.key(A, KeyField::Function, 4) = 4;
  record.dpiAction(A, 5) = 4;                 // Shift DPI
  record.key(A, KeyField::Function, 6) = 13;  // the first macro, repeat mode 1
  record.key(A, KeyField::Function, 7) = 12;  // Left Ctrl + C
  record.key(A, KeyField::ComboModifiers, 7) = 0x01;
  record.key(A, KeyField::ComboKey1, 7) = 0x06;
  record.key(A, KeyField::Function, 8) = 11;  // entry 8 is never sent
  record.key(A, KeyField::SingleKey, 8) = 0x05;
  record[rec::kReportInterval] = 2;
  const std::uint8_t levels[] = {0, 1, 2, 3}, enabled[] = {1, 1, 0, 1};
  for (std::size_t k = 0; k < 4; ++k) {
    record[rec::kDpiLevel + k] = levels[k];
    record[rec::kStageEnabled + k] = enabled[k];
  }
  for (std::size_t i = 0; i < 12; ++i) record[rec::kStageColours + i] = static_cast<std::uint8_t>(i + 1);
  record[rec::kLightingMode] = 3;
  record[rec::kMode3Parameter] = 4;
  record[rec::kMode3Effect] = 2;
  record.macroBlock(0)[1] = 3;     // loop count 3, kept
  record.macroBlock(0)[2] = 0x7E;  // stale pairs, rebuilt from record.ini
  record.macroBlock(5)[1] = 9;     // no section: sent as it stands
  writeConfig(0);
  const std::string ini = dir + "/record.ini";
  store->write(ini, "First", "ItemCount", "4");
  store->write(ini, "First", "Item0", "A   Dn");
  store->write(ini, "First", "Item1", "50 ms");
  store->write(ini, "First", "Item2", "A   Up");
  store->write(ini, "First", "Item3", "50 ms");
  store->write(ini, "Second", "ItemCount", "2");
  store->write(ini, "Second", "Item0", "B   Dn");
  store->write(ini, "Second", "Item1", "1500 ms");
  const std::string strIni = dir + "/str.ini";
  store->write(strIni, "Skins", "Lan", "CHS");
  store->write(strIni, "Setting-CHS", "Item1", "单键-A");
  store->write(strIni, "Setting-CHS", "Item13", "左键");

  VirtualMouseProcess mouse({"--sensor", "2"});
  ASSERT_GT(mouse.port(), 0) << "vmouse did not start: " << tool("vmouse/vmouse");
  const std::string before = dump(mouse);
  const CommandResult result = apply(mouse.device());
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  const std::string after = dump(mouse);

  EXPECT_EQ(commandsLogged(after),
            "83 03 01 8d 87 87 90 90 10 10 07 07 0d 11 13 13 13 13 13 13 13 13 13 13 13 13 "
            "93 93 93 93 93 93 93 93 93 93 93 93 12 12 12 12");
  EXPECT_EQ(field(after, "report_interval"), "2");
  EXPECT_EQ(field(after, "stage_count"), "4");
  EXPECT_EQ(field(after, "stage_codes"), "[2,4,134,8,128,128,128,128]");
  // Feature block 0 and light set 1 as the mouse had them; the effect's option 2 likewise.
  const std::string featureBefore = field(before, "feature_blocks");
  EXPECT_EQ(field(after, "feature_blocks"),
            featureBefore.substr(0, featureBefore.find("], [") + 4) + "1,2,3,4,5,6,7,8,9,10,11,12,0,0,0,0,0,0,0,0,0,0,0,0]]");
  const std::string setsBefore = field(before, "light_sets");
  EXPECT_EQ(field(after, "light_sets"), "[[2,100,10], " + setsBefore.substr(setsBefore.find("], [") + 3));
  const std::string effectBefore = field(before, "effect");
  EXPECT_EQ(field(after, "effect"), "[3,5," + effectBefore.substr(effectBefore.rfind(',') + 1));

  const std::string zeros64(128, '0');
  const std::string fixed = "0100f7000100f800";
  const std::string matrix1 = "00000400" "0100f100" "0100f200" "0100f300" "0100f400" "07000401" "09000100"
                              "00010600" + std::string(48, '0') + fixed;
  const std::string matrix3 = "0100f000" "0100f100" "0100f200" "0100f300" "0100f400" "07000100" "07000200"
                              "00000000" + std::string(48, '0') + fixed;
  EXPECT_EQ(field(after, "key_matrices"),
            "[\"" + matrix1 + "\", \"" + zeros64 + "\", \"" + matrix3 + "\", \"" + zeros64 + "\"]");

  const std::string zeros128(256, '0');
  std::string macros = "[\"" + hexOf({0x00, 0x03, 0x05, 0x04, 0x85, 0x04}) + std::string(244, '0') + "\", \"" +
                       hexOf({0x00, 0x00, 0x00, 0x05, 0x0F, 0x03}) + std::string(244, '0') + "\"";
  for (int m = 2; m < 12; ++m) macros += ", \"" + (m == 5 ? "0009" + std::string(252, '0') : zeros128) + "\"";
  EXPECT_EQ(field(after, "macros"), macros + "]");
  EXPECT_EQ(field(after, "sensor").substr(0, 3), "[2,");

  const Bytes config = testing::readBytes(dir + "/config.bin");
  ASSERT_EQ(config.size(), 1986u);
  EXPECT_EQ(config[0], 1);
  EXPECT_EQ(config[1 + rec::kReportInterval], 2);
  EXPECT_EQ(config[1 + rec::kMacroMemory + 2], 0x05);  // the rebuilt first macro
  EXPECT_EQ(store->read(strIni, "Setting-CHS", "Item1"), "单键-A");
  EXPECT_EQ(store->read(strIni, "Setting-CHS", "Item13"), "左键");
  EXPECT_NE(result.out.find("saved:"), std::string::npos) << result.out;
}

TEST_F(OmbriskctlApply, AMacroKeyButtonPlaysTheMacroItsLabelNames) {
  // Button 7 was given "Second" while it was the first macro; the utility's Confirm of
  // "First" has moved it in front since.
  resetKeyTables(record);
  record.key(KeyTableId::A, KeyField::Function, 6) = 13;
  record.key(KeyTableId::A, KeyField::MacroNumber, 6) = 0;
  writeConfig(1);
  const std::string ini = dir + "/record.ini", strIni = dir + "/str.ini";
  for (const char* name : {"Second", "First"}) {
    store->write(ini, name, "ItemCount", "1");
    store->write(ini, name, "Item0", std::string(name) == "First" ? "A   Dn" : "B   Dn");
  }
  store->write(strIni, "Setting-EN", "Item7", "Macro Key-First");

  VirtualMouseProcess mouse({});
  ASSERT_GT(mouse.port(), 0);
  const CommandResult result = apply(mouse.device());
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(field(dump(mouse), "key_matrices").substr(2 + 6 * 8, 8), "09000200") << "macro number 2: First";
  const Bytes config = testing::readBytes(dir + "/config.bin");
  ASSERT_EQ(config.size(), 1986u);
  SettingsRecord saved;
  std::copy(config.begin() + 1, config.end(), saved.bytes.begin());
  EXPECT_EQ(saved.key(KeyTableId::A, KeyField::MacroNumber, 6), 1);
}

TEST_F(OmbriskctlApply, AZeroRecordSendsTheLightingBackAsReadAndEveryStageDisabled) {
  writeConfig(0);  // 1986 zero bytes: a valid installed file
  VirtualMouseProcess mouse({});
  const std::string before = dump(mouse);
  const CommandResult result = apply(mouse.device());
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  const std::string after = dump(mouse);
  EXPECT_EQ(field(after, "effect"), field(before, "effect"));
  EXPECT_EQ(field(after, "light_sets"), field(before, "light_sets"));
  EXPECT_EQ(field(after, "stage_codes"), "[129,129,129,129,128,128,128,128]");
  const std::string blocks = field(after, "feature_blocks");
  EXPECT_EQ(blocks.substr(blocks.find("], [") + 3), "[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]]");
  std::string leftClicks;
  for (int word = 0; word < 8; ++word) leftClicks += "0100f000";
  const std::string matrix = leftClicks + std::string(48, '0') + "0100f7000100f800";
  const std::string zeros(128, '0');
  EXPECT_EQ(field(after, "key_matrices"),
            "[\"" + matrix + "\", \"" + zeros + "\", \"" + matrix + "\", \"" + zeros + "\"]");
  EXPECT_EQ(testing::readBytes(dir + "/config.bin").at(0), 1);
}

TEST_F(OmbriskctlApply, FailuresGiveOneLineOnStderrAndANonZeroExit) {
  writeConfig();
  {
    VirtualMouseProcess plainEcho({"--plain-echo"});
    const CommandResult handshake = apply(plainEcho.device());
    EXPECT_NE(handshake.exitCode, 0);
    EXPECT_NE(handshake.err.find("handshake"), std::string::npos) << handshake.err;
    EXPECT_EQ(std::count(handshake.err.begin(), handshake.err.end(), '\n'), 1) << handshake.err;
  }
  VirtualMouseProcess gone({});
  const int port = gone.port();
  gone.stop();
  const CommandResult missing = apply("tcp:127.0.0.1:" + std::to_string(port));
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
  EXPECT_EQ(testing::readBytes(dir + "/config.bin")[0], 0);  // nothing was saved

  const CommandResult noRealMouse = run(tool("ombriskctl/ombriskctl") + " apply --dir '" + dir + "'", folder);
  EXPECT_NE(noRealMouse.exitCode, 0);
  EXPECT_NE(noRealMouse.err.find("only the virtual mouse"), std::string::npos) << noRealMouse.err;

  VirtualMouseProcess mouse({});
  std::filesystem::remove(testing::pathFromUtf8(dir + "/config.bin"));
  const CommandResult noConfig = apply(mouse.device());
  EXPECT_NE(noConfig.exitCode, 0);
  EXPECT_NE(noConfig.err.find("config.bin"), std::string::npos) << noConfig.err;
  EXPECT_EQ(std::count(noConfig.err.begin(), noConfig.err.end(), '\n'), 1) << noConfig.err;
  EXPECT_EQ(commandsLogged(dump(mouse)), "");  // the mouse was not touched
  EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(dir + "/config.bin")));

  const CommandResult badOption = apply("tcp:10.0.0.1:1");
  EXPECT_NE(badOption.exitCode, 0);
}

TEST_F(OmbriskctlApply, ATransferThatFailsIsNamedAndNothingIsSaved) {
  writeConfig(0);
  store->write(dir + "/str.ini", "Setting-EN", "Item1", "Left Click");
  VirtualMouseProcess late({"--late"});  // the feature block 0 read gets nothing in time
  const CommandResult result = apply(late.device());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out.find("sent:"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("step 4"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("reading the feature blocks"), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  EXPECT_EQ(testing::readBytes(dir + "/config.bin")[0], 0);
  // The labels of str.ini were not rewritten either (a write leaves every key of the section).
  EXPECT_EQ(store->read(dir + "/str.ini", "Setting-EN", "Item2", "absent"), "absent");
}

TEST_F(OmbriskctlApply, AMouseThatStopsAnsweringAfterTheHandshakeIsNamedNotReportedConnected) {
  writeConfig(0);
  VirtualMouseProcess stuck({"--stuck"});
  const CommandResult result = apply(stuck.device());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out.find("connected"), std::string::npos) << result.out;
  EXPECT_EQ(result.err, "ombriskctl: the mouse did not answer the read of its sensor block; nothing was sent\n");
  EXPECT_EQ(testing::readBytes(dir + "/config.bin")[0], 0);
}

TEST_F(OmbriskctlApply, ShowDescribesTheRecordInWordsAndJson) {
  resetKeyTables(record);
  record.key(KeyTableId::B, KeyField::Function, 1) = 10;  // Fire "R-CTRL" at 40, 3 times
  record.key(KeyTableId::B, KeyField::FireIndex, 1) = 39;
  record.key(KeyTableId::B, KeyField::FireKey, 1) = 0xE4;
  record.key(KeyTableId::B, KeyField::FireSpeed, 1) = 40;
  record.key(KeyTableId::B, KeyField::FireTimes, 1) = 3;
  record[rec::kReportInterval] = 1;
  record[rec::kDpiLevel + 1] = 7;
  record[rec::kStageEnabled + 1] = 1;
  record.macroBlock(0)[1] = 7;
  writeConfig(1);
  store->write(dir + "/record.ini", "宏一", "ItemCount", "2");
  store->write(dir + "/record.ini", "宏一", "Item0", "A   Dn");
  store->write(dir + "/record.ini", "宏一", "Item1", "50 ms");
  store->write(dir + "/str.ini", "Setting-EN", "Item23", "Fire");
  const CommandResult text = run(tool("ombriskctl/ombriskctl") + " show --sensor 3 --dir '" + dir + "'", folder);
  ASSERT_EQ(text.exitCode, 0) << text.err;
  for (const char* expected :
       {"button 2: Fire Key, fire_key 228 (R-CTRL), speed 40, times 3, word 0x0328E40A, label \"Fire\"",
        "button 6: DPI Switch, dpi_action 1 (DPI +), word 0x00010007", "button 9: Key Off, not sent",
        "Report rate: 1000 reports per second (code 1)", "stage 2: level 7 = 3200 DPI (code 0x08), on", "macro 1 \"宏一\": loop count 7"})
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
  const CommandResult json = run(tool("ombriskctl/ombriskctl") + " show --json --dir '" + dir + "'", folder);
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_NE(json.out.find("\"reports_per_second\": 1000"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("{\"level\": 7, \"dpi\": \"2000\", \"code\": 8, \"enabled\": true"), std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"name\": \"宏一\", \"entries\": [\"A   Dn\", \"50 ms\"], \"loop_count\": 7"),
            std::string::npos)
      << json.out;
}

}  // namespace
}  // namespace ombrisk
