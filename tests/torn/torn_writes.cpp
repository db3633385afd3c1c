// torn_writes [KILLS]: kills a process in the middle of saving config.bin, record.ini and
// str.ini, KILLS times each (1000 by default), at random points of the save, and checks that
// every file is afterwards exactly its old or its new image. Prints the counts; exits 1 when a
// file was anything else.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "macros/macro_store.h"
#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"

namespace {

using namespace ombrisk;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

class SilentSink final : public MessageSink {
 public:
  void show(const std::string&, const std::string&) override {}
};

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Target {
  std::string name;
  std::string path;
  Bytes oldImage;
  std::function<void()> save;  // the program's own save of the new image
};

// Runs save in a child process; returns the time from fork to its end.
std::chrono::nanoseconds runChild(const Target& target, std::chrono::nanoseconds killAfter) {
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    target.save();
    _exit(0);
  }
  if (killAfter.count() >= 0) {
    while (Clock::now() - start < killAfter) {
    }
    kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return Clock::now() - start;
}

bool check(const Target& target, int kills, std::mt19937& random) {
  writeFile(target.path, target.oldImage);
  runChild(target, std::chrono::nanoseconds(-1));
  const Bytes newImage = readFile(target.path);
  if (newImage == target.oldImage) {
    std::printf("%s: the save changed nothing\n", target.name.c_str());
    return false;
  }
  // The kill points spread over a whole save, fork to exit, taken as the slowest of a few.
  std::chrono::nanoseconds span{0};
  for (int i = 0; i < 5; ++i) {
    writeFile(target.path, target.oldImage);
    span = std::max(span, runChild(target, std::chrono::nanoseconds(-1)));
  }
  std::uniform_int_distribution<long long> point(0, span.count());
  int olds = 0, news = 0, others = 0;
  for (int i = 0; i < kills; ++i) {
    writeFile(target.path, target.oldImage);
    runChild(target, std::chrono::nanoseconds(point(random)));
    const Bytes now = readFile(target.path);
    if (now == target.oldImage)
      ++olds;
    else if (now == newImage)
      ++news;
    else
      ++others;
  }
  std::printf("%s: %d kills within %.2f ms of the save: %d old, %d new, %d other\n", target.name.c_str(), kills,
              span.count() / 1e6, olds, news, others);
  return others == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int kills = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const auto folder = std::filesystem::temp_directory_path() / ("torn-writes-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const DataPaths paths = dataPathsFromModule((folder / "Ombrisk.exe").string());
  std::unique_ptr<FileIo> io = makePortableFileIo();
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
  SilentSink sink;
  const SettingsFileContext context{paths, *io, sink, "Ombrisk"};

  SettingsRecord record;
  for (std::size_t i = 0; i < record.bytes.size(); ++i) record.bytes[i] = static_cast<std::uint8_t>(i * 7);
  std::string recordIni;
  for (int s = 0; s < 12; ++s) {
    recordIni += "[Macro" + std::to_string(s) + "]\r\nItemCount=40\r\n";
    for (int i = 0; i < 40; ++i) recordIni += "Item" + std::to_string(i) + (i % 2 ? "=50 ms\r\n" : "=A   Dn\r\n");
  }
  std::string strIni = "[Skins]\r\nLan=EN\r\nPath=Carbon\r\n[Setting-EN]\r\n";
  for (int i = 1; i <= 123; ++i) strIni += "Item" + std::to_string(i) + "=Old label " + std::to_string(i) + "\r\n";
  ButtonLabelSet labels;
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = "New label " + std::to_string(i);
  const std::vector<std::string> entries{"B   Dn", "30 ms", "B   Up", "30 ms"};

  const std::vector<Target> targets{
      {"config.bin", paths.configBin, Bytes(kConfigFileSize, 0), [&] { saveSettings(context, record); }},
      {"record.ini", paths.recordIni, Bytes(recordIni.begin(), recordIni.end()),
       [&] {
         SettingsRecord blocks;
         saveMacro(*store, paths.recordIni, "Macro3", entries, blocks, Language::English);
       }},
      {"str.ini", paths.strIni, Bytes(strIni.begin(), strIni.end()),
       [&] { writeButtonLabels(*store, paths.strIni, "Setting-EN", labels); }},
  };
  std::mt19937 random(std::random_device{}());
  bool whole = true;
  for (const Target& target : targets) whole = check(target, kills, random) && whole;
  std::filesystem::remove_all(folder);
  std::printf(whole ? "every file was its old or its new image\n" : "TORN: a file was neither image\n");
  return whole ? 0 : 1;
}
