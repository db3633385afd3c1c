// ombriskctl: the utility's settings from the command line. `ombriskctl --help` and
// help_text.cpp say what each command does; errors go to stderr as one line; the exit code is
// 0 on success, 1 when the work failed and 2 for a wrong command line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/pauser.h"
#include "device/report_commands.h"
#include "keys/button_labels.h"
#include "macros/macro_codec.h"
#include "macros/macro_store.h"
#include "mouse_connection.h"
#include "ombriskctl/help_text.h"
#include "ombriskctl/profile_document.h"
#include "ombriskctl/set_command.h"
#include "ombriskctl/settings_view.h"
#include "ombriskctl/utility_files.h"
#include "settings/apply_sequence.h"
#include "settings/settings_files.h"

namespace {

using namespace ombrisk;
using namespace ombrisk::ctl;

struct Arguments {
  std::string command;
  std::string dir;
  std::string device;
  bool json = false;
  bool help = false;
  std::optional<std::uint8_t> sensorType;  // show: the DPI values and codes of this sensor; set: its levels
  std::vector<std::string> rest;           // set: the setting; export, import: the file; help: the command
};

int fail(const std::string& message) {
  std::fprintf(stderr, "ombriskctl: %s\n", message.c_str());
  return 1;
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "ombriskctl: %s\n%s", message.c_str(), usageText().c_str());
  return 2;
}

// Returns an error message, or empty.
std::string parse(int argc, char** argv, Arguments& a) {
  if (argc < 2) return "no command given";
  a.command = argv[1];
  if (!findCommandHelp(a.command)) return "unknown command " + a.command;
  const auto takes = [&](std::initializer_list<std::string_view> commands) {
    return std::find(commands.begin(), commands.end(), a.command) != commands.end();
  };
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      a.help = true;
    } else if (arg == "--dir" && a.command != "help") {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) return "--dir needs a folder";
      a.dir = argv[++i];
    } else if (arg == "--device" && takes({"apply"})) {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) return "--device needs a value";
      a.device = argv[++i];
    } else if (arg == "--json" && takes({"show"})) {
      a.json = true;
    } else if (arg == "--sensor" && takes({"show", "set"})) {
      const std::string_view value = i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
      if (value.size() != 1 || value[0] < '0' || value[0] > '9') return "--sensor needs a sensor type 0 to 9";
      a.sensorType = static_cast<std::uint8_t>(value[0] - '0');
    } else if (arg.size() > 1 && arg[0] == '-' && a.command != "set") {
      return "unexpected option " + std::string(arg);
    } else {
      a.rest.emplace_back(arg);
    }
  }
  if (a.help) return {};
  const std::size_t files = a.command == "export" || a.command == "import" ? 1 : 0;
  if (a.command == "set" && a.rest.empty()) return "set needs a setting; see ombriskctl help set";
  if ((a.command == "export" || a.command == "import") && a.rest.size() != files)
    return a.command + " needs one FILE (\"-\" for the standard " + (a.command == "export" ? "output)" : "input)");
  if ((a.command == "show" || a.command == "apply") && !a.rest.empty()) return "unexpected argument " + a.rest[0];
  if (a.command == "help" && a.rest.size() > 1) return "help takes one command";
  return {};
}

DataPaths dataPaths(const std::string& dir) { return dataPathsIn(dir, executablePath()); }

// The three files of --dir (or of the executable's folder) with what reads and writes them.
struct Session {
  std::unique_ptr<FileIo> io = makePlatformFileIo();
  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
  DataPaths paths;
  std::optional<UtilityFiles> files;
  std::string error;
};

Session openSession(const Arguments& a) {
  Session session;
  session.paths = dataPaths(a.dir);
  session.files = readUtilityFiles(session.paths, *session.io, *session.store, session.error);
  return session;
}

std::filesystem::path fsPath(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

// Saving's messages (missing config.bin, a failed write) as errors on stderr.
struct StderrMessages final : MessageSink {
  bool any = false;
  void show(const std::string& text, const std::string& caption) override {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    std::fprintf(stderr, "ombriskctl: %s%s\n", caption == "Ombrisk" ? "" : (caption + ": ").c_str(), line.c_str());
    any = true;
  }
};

void warnIfConfigIgnored(const UtilityFiles& files, const DataPaths& paths, const char* what) {
  if (!files.configLoaded)
    std::fprintf(stderr, "ombriskctl: %s is not %zu bytes long: ignored as the utility does, %s\n",
                 paths.configBin.c_str(), kConfigFileSize, what);
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  char item[4];
  for (const std::uint8_t b : bytes) {
    std::snprintf(item, sizeof item, "%02X", b);
    text += (text.empty() ? "" : " ") + std::string(item);
  }
  return text;
}

int apply(const Arguments& a) {
  Session session = openSession(a);
  if (!session.files) return fail(session.error);
  std::string error;
  warnIfConfigIgnored(*session.files, session.paths, "the all-zero record is applied and the file rewritten");
  // record.ini is the source of the macros: encode it as saving a macro does.
  for (std::size_t m = 0; m < session.files->macros.size() && m < rec::kMacroCount; ++m) {
    const auto events = macroEventsFromEntries(session.files->macros[m].entries);
    if (eventsThatFit(events) < events.size())
      std::fprintf(stderr, "ombriskctl: macro \"%s\": only the first %zu of its %zu events fit its block\n",
                   session.files->macros[m].name.c_str(), eventsThatFit(events), events.size());
  }
  if (session.files->macros.size() > rec::kMacroCount)
    std::fprintf(stderr, "ombriskctl: record.ini has %zu macros: those past the twelfth are not sent\n",
                 session.files->macros.size());
  SettingsImage image;
  image.firstRunFlag = session.files->firstRunFlag;
  image.record = session.files->record;
  rebuildMacroMemory(*session.store, session.paths.recordIni, image.record);
  // The Macro Key buttons play the macros their labels name, at the numbers just encoded.
  std::vector<std::string> macroNames;
  for (const MacroText& macro : session.files->macros) macroNames.push_back(macro.name);
  followMacroLabels(image.record, session.files->interfaceLabels(), InterfaceTexts(session.files->language()),
                    macroNames);

  auto mouse = a.device.empty() ? connectRealMouse(error) : connectVirtualMouse(a.device, error);
  if (!mouse) return fail(error);
  CommandProtocol& protocol = mouse->protocol();
  protocol.clearTransferFailure();
  readSensorAtConnection(protocol, image.device);
  // The DPI codes follow the sensor type: without its answer nothing can be sent right.
  if (protocol.transferFailed()) return fail("the mouse did not answer the read of its sensor block; nothing was sent");
  std::printf("connected: %s, sensor type %u\n", mouse->description().c_str(), image.device.currentSensorType);

  StderrMessages messages;
  const SettingsFileContext context{session.paths, *session.io, messages, "Ombrisk"};
  const std::string labelSection(ombrisk::labelSection(session.files->language()));
  auto timerResolution = makePlatformTimerResolution();
  const auto start = std::chrono::steady_clock::now();
  const ApplyOutcome outcome = runApplySequence(
      {protocol, image, context, *session.store, session.files->interfaceLabels(), labelSection, timerResolution.get()});
  const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
  if (const auto step = outcome.failedStep)
    return fail("the mouse did not take step " + std::to_string(*step) + " of the Apply (" +
                std::string(applyStepName(*step)) + "); config.bin and the labels were left as they were");
  image.appliedCopy = image.record;

  const DeviceImage& d = image.device;
  std::printf("sent: report interval code %u, lighting effect %s, light sets %s / %s\n", d.reportInterval,
              hexBytes(d.effect).c_str(), hexBytes(d.lightSets[0]).c_str(), hexBytes(d.lightSets[1]).c_str());
  std::printf("sent: feature block 1 %s\n", hexBytes(d.featureBlocks[1]).c_str());
  std::printf("sent: stage count %u, stage codes %s\n", d.stageCount, hexBytes(d.stageCodes).c_str());
  std::printf("sent: 12 macro blocks (%zu from record.ini), read back\n",
              std::min(session.files->macros.size(), rec::kMacroCount));
  std::printf("sent: key matrices 1 (table A) and 3 (table B), 2 and 4 zero\n");
  std::printf("applied in %.1f ms\n", elapsed.count());
  if (messages.any) return 1;
  std::printf("saved: %s (first byte 1), 24 labels in [%s] of %s\n", session.paths.configBin.c_str(), labelSection.c_str(),
              session.paths.strIni.c_str());
  return 0;
}

int show(const Arguments& a) {
  Session session = openSession(a);
  if (!session.files) return fail(session.error);
  SettingsView view;
  view.configPath = session.paths.configBin;
  view.configLoaded = session.files->configLoaded;
  view.image.firstRunFlag = session.files->firstRunFlag;
  view.image.record = session.files->record;
  view.image.device.currentSensorType = a.sensorType.value_or(0);
  view.labelSection = std::string(labelSection(session.files->language()));
  view.labels = session.files->interfaceLabels();
  view.macros = session.files->macros;
  const std::string text = a.json ? settingsJson(view) : describeSettings(view);
  std::fputs(text.c_str(), stdout);
  return 0;
}

int set(const Arguments& a) {
  Session session = openSession(a);
  if (!session.files) return fail(session.error);
  warnIfConfigIgnored(*session.files, session.paths, "the change is made to the all-zero record");
  SetContext context{*session.files, *session.store, session.paths, a.sensorType};
  const SetOutcome outcome = applySetting(a.rest, context);
  switch (outcome.kind) {
    case SetOutcome::Kind::Usage: return usageError(outcome.message);
    case SetOutcome::Kind::Refused: return fail(outcome.message + "; nothing was written");
    case SetOutcome::Kind::Unchanged: std::printf("%s\n", outcome.message.c_str()); return 0;
    case SetOutcome::Kind::Changed: break;
  }
  if (const std::string written = writeUtilityFiles(*session.files, session.paths, {.config = true, .strIni = true},
                                                    *session.io, *session.store);
      !written.empty())
    return fail(written);
  std::printf("%s\n", outcome.message.c_str());
  return 0;
}

// The profile's text: at most a little more than any profile may be, so that a huge file is
// refused without being read whole.
std::optional<std::string> readProfileText(const std::string& file, std::string& error) {
  std::string text;
  const std::size_t limit = kProfileMaxBytes + 1;
  const auto readFrom = [&](std::istream& in) {
    text.resize(limit);
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
  };
  if (file == "-") {
    readFrom(std::cin);
  } else {
    std::ifstream in(fsPath(file), std::ios::binary);
    if (!in) {
      error = "cannot read " + file;
      return std::nullopt;
    }
    readFrom(in);
  }
  if (text.size() > kProfileMaxBytes) {
    error = file + " is larger than " + std::to_string(kProfileMaxBytes) + " bytes: no profile is that large";
    return std::nullopt;
  }
  return text;
}

// "2 macros, labels of 1 language".
std::string profileContents(const UtilityFiles& files) {
  const auto count = [](std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
  };
  return count(files.macros.size(), "macro") + ", labels of " + count(files.labels.size(), "language");
}

int exportProfile(const Arguments& a) {
  Session session = openSession(a);
  if (!session.files) return fail(session.error);
  warnIfConfigIgnored(*session.files, session.paths, "the profile holds the all-zero record");
  const ProfileOfFiles profile = profileOf(*session.files);
  if (!profile.document) return fail("cannot export: " + profile.problem.path + ": " + profile.problem.message);
  const std::string text = json::write(*profile.document);
  const std::string& file = a.rest[0];
  if (file == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the standard output");
  }
  int errorCode = 0;
  if (!session.io->replaceAtomically(file, std::vector<std::uint8_t>(text.begin(), text.end()), errorCode))
    return fail(file + " could not be written (error " + std::to_string(errorCode) + ")");
  std::printf("exported %s: %s\n", file.c_str(), profileContents(*session.files).c_str());
  return 0;
}

int importProfile(const Arguments& a) {
  Session session = openSession(a);
  if (!session.files) return fail(session.error);
  std::string error;
  const std::string& file = a.rest[0];
  const auto text = readProfileText(file, error);
  if (!text) return fail(error + "; nothing was written");
  FilesOfProfile profile = filesOfProfileText(*text, *session.files);
  if (!profile.files)
    return fail(file + ": " + (profile.problem.path.empty() ? "" : profile.problem.path + ": ") +
                profile.problem.message + "; nothing was written");
  if (const std::string written = writeUtilityFiles(
          *profile.files, session.paths, {.config = true, .strIni = true, .recordIni = true, .rebuildMacroBlocks = true},
          *session.io, *session.store);
      !written.empty())
    return fail(written);
  std::printf("imported %s: %s; `ombriskctl apply` sends it to the mouse\n", file.c_str(),
              profileContents(*profile.files).c_str());
  return 0;
}

int help(const Arguments& a) {
  if (a.rest.empty()) {
    std::fputs(mainHelp().c_str(), stdout);
    return 0;
  }
  const CommandHelp* command = findCommandHelp(a.rest[0]);
  if (!command) return usageError("unknown command " + a.rest[0]);
  std::fputs(commandHelpText(*command).c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view first = argc > 1 ? argv[1] : "";
  if (argc == 2 && (first == "--help" || first == "-h")) return std::fputs(mainHelp().c_str(), stdout) < 0;
  if (argc == 2 && first == "--version") return std::printf("ombriskctl %s\n", OMBRISK_VERSION) < 0;
  if (argc == 2 && first == "--man") return std::fputs(manPage(OMBRISK_VERSION).c_str(), stdout) < 0;
  Arguments arguments;
  if (const std::string error = parse(argc, argv, arguments); !error.empty()) return usageError(error);
  if (arguments.help) return std::fputs(commandHelpText(*findCommandHelp(arguments.command)).c_str(), stdout) < 0;
  if (arguments.command == "apply") return apply(arguments);
  if (arguments.command == "show") return show(arguments);
  if (arguments.command == "set") return set(arguments);
  if (arguments.command == "export") return exportProfile(arguments);
  if (arguments.command == "import") return importProfile(arguments);
  return help(arguments);
}
