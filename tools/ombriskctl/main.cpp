// ombriskctl: the utility's Apply and a readable view of its settings, from the command line.
//
//   ombriskctl apply [--dir DIR] [--device tcp:127.0.0.1:PORT]
//   ombriskctl show [--dir DIR] [--json] [--sensor T]
//
// DIR holds config.bin, str.ini and record.ini and defaults to the folder of the executable,
// as for the utility. Errors go to stderr as one line; the exit code is 0 on success, 1 when
// the work failed and 2 for a wrong command line.
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "device/pauser.h"
#include "device/report_commands.h"
#include "app/interface_texts.h"
#include "macros/macro_codec.h"
#include "macros/macro_store.h"
#include "mouse_connection.h"
#include "settings/apply_sequence.h"
#include "settings/settings_files.h"
#include "settings_view.h"

namespace {

using namespace ombrisk;

constexpr const char* kUsage =
    "usage: ombriskctl apply [--dir DIR] [--device tcp:127.0.0.1:PORT]\n"
    "       ombriskctl show [--dir DIR] [--json] [--sensor T]\n";

struct Arguments {
  std::string command;
  std::string dir;
  std::string device;
  bool json = false;
  std::uint8_t sensorType = 0;  // show: the DPI values and codes of this sensor
};

int fail(const std::string& message) {
  std::fprintf(stderr, "ombriskctl: %s\n", message.c_str());
  return 1;
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "ombriskctl: %s\n%s", message.c_str(), kUsage);
  return 2;
}

// Returns an error message, or empty.
std::string parse(int argc, char** argv, Arguments& a) {
  if (argc < 2) return "no command given";
  a.command = argv[1];
  if (a.command != "apply" && a.command != "show") return "unknown command " + a.command;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--dir" || arg == "--device") {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) return std::string(arg) + " needs a value";
      (arg == "--dir" ? a.dir : a.device) = argv[++i];
    } else if (arg == "--json" && a.command == "show") {
      a.json = true;
    } else if (arg == "--sensor" && a.command == "show") {
      const std::string_view value = i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
      if (value.size() != 1 || value[0] < '0' || value[0] > '9') return "--sensor needs a sensor type 0 to 9";
      a.sensorType = static_cast<std::uint8_t>(value[0] - '0');
    } else {
      return "unexpected argument " + std::string(arg);
    }
  }
  if (a.command == "show" && !a.device.empty()) return "show reads files only: --device belongs to apply";
  return {};
}

// Data file paths inside DIR, or beside the executable.
DataPaths dataPaths(const std::string& dir) {
  if (dir.empty()) return dataPathsFromModule(ctl::executablePath());
  const char last = dir.back();
  return dataPathsFromModule(dir + (last == '/' || last == '\\' ? "" : "/") + "ombriskctl");
}

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

struct LoadedFiles {
  bool configLoaded = false;
  std::string labelSection;
  ButtonLabelSet labels;
  std::vector<ctl::MacroText> macros;
};

LoadedFiles loadFiles(const SettingsFileContext& files, ProfileStore& store, SettingsImage& image) {
  LoadedFiles loaded;
  if (files.io.exists(files.paths.configBin)) {
    const auto bytes = files.io.readAll(files.paths.configBin);
    loaded.configLoaded = bytes && bytes->size() == kConfigFileSize;
    loadSettings(files, image);
  }
  const std::string language = store.read(files.paths.strIni, "Skins", "Lan");
  loaded.labelSection = std::string(labelSection(languageFromCode(language)));
  SkinSettings skin;
  readButtonLabels(store, files.paths.strIni, loaded.labelSection, loaded.labels, skin);
  for (const std::string& name : macroNames(store, files.paths.recordIni))
    loaded.macros.push_back({name, readMacroEntries(store, files.paths.recordIni, name)});
  return loaded;
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
  auto io = makePlatformFileIo();
  auto store = makePlatformProfileStore();
  StderrMessages messages;
  const SettingsFileContext files{dataPaths(a.dir), *io, messages, "Ombrisk"};
  if (!io->exists(files.paths.configBin)) return fail("no config.bin at " + files.paths.configBin);

  SettingsImage image;
  const LoadedFiles loaded = loadFiles(files, *store, image);
  if (!loaded.configLoaded)
    std::fprintf(stderr, "ombriskctl: %s is not %zu bytes long: ignored as the utility does, the all-zero "
                 "record is applied and the file rewritten\n", files.paths.configBin.c_str(), kConfigFileSize);
  // record.ini is the source of the macros: encode it as saving a macro does.
  for (std::size_t m = 0; m < loaded.macros.size() && m < rec::kMacroCount; ++m) {
    const auto events = macroEventsFromEntries(loaded.macros[m].entries);
    if (eventsThatFit(events) < events.size())
      std::fprintf(stderr, "ombriskctl: macro \"%s\": only the first %zu of its %zu events fit its block\n",
                   loaded.macros[m].name.c_str(), eventsThatFit(events), events.size());
  }
  if (loaded.macros.size() > rec::kMacroCount)
    std::fprintf(stderr, "ombriskctl: record.ini has %zu macros: those past the twelfth are not sent\n",
                 loaded.macros.size());
  rebuildMacroMemory(*store, files.paths.recordIni, image.record);

  std::string error;
  auto mouse = a.device.empty() ? ctl::connectRealMouse(error) : ctl::connectVirtualMouse(a.device, error);
  if (!mouse) return fail(error);
  CommandProtocol& protocol = mouse->protocol();
  readSensorAtConnection(protocol, image.device);
  std::printf("connected: %s, sensor type %u\n", mouse->description().c_str(), image.device.currentSensorType);

  auto timerResolution = makePlatformTimerResolution();
  const auto start = std::chrono::steady_clock::now();
  const ApplyOutcome outcome = runApplySequence(
      {protocol, image, files, *store, loaded.labels, loaded.labelSection, timerResolution.get()});
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
              std::min(loaded.macros.size(), rec::kMacroCount));
  std::printf("sent: key matrices 1 (table A) and 3 (table B), 2 and 4 zero\n");
  std::printf("applied in %.1f ms\n", elapsed.count());
  if (messages.any) return 1;
  std::printf("saved: %s (first byte 1), 24 labels in [%s] of %s\n", files.paths.configBin.c_str(),
              loaded.labelSection.c_str(), files.paths.strIni.c_str());
  return 0;
}

int show(const Arguments& a) {
  auto io = makePlatformFileIo();
  auto store = makePlatformProfileStore();
  StderrMessages messages;
  const SettingsFileContext files{dataPaths(a.dir), *io, messages, "Ombrisk"};
  ctl::SettingsView view;
  view.configPath = files.paths.configBin;
  view.image.device.currentSensorType = a.sensorType;
  if (!io->exists(files.paths.configBin)) return fail("no config.bin at " + files.paths.configBin);
  LoadedFiles loaded = loadFiles(files, *store, view.image);
  view.configLoaded = loaded.configLoaded;
  view.labelSection = loaded.labelSection;
  view.labels = loaded.labels;
  view.macros = std::move(loaded.macros);
  const std::string text = a.json ? ctl::settingsJson(view) : ctl::describeSettings(view);
  std::fputs(text.c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (const std::string error = parse(argc, argv, arguments); !error.empty()) return usageError(error);
  return arguments.command == "apply" ? apply(arguments) : show(arguments);
}
