// bench_profile: the cost of the macro operations on record.ini files whose sections claim
// the most items. Prints the median time of each case; not a test.
//
//   small: a 19-byte record.ini "[M]" / "ItemCount=1024", one macro save of 1024 entries;
//   wide:  twelve sections of 1024 items each (about 190 KB), one rebuild of the macro blocks.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "macros/macro_store.h"
#include "settings/profile_store.h"
#include "settings/settings_image.h"

namespace {

using Clock = std::chrono::steady_clock;

void writeText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string wideFile() {
  std::string text;
  for (int section = 0; section < 12; ++section) {
    text += "[Macro" + std::to_string(section) + "]\r\nItemCount=1024\r\n";
    for (int item = 0; item < 1024; ++item)
      text += "Item" + std::to_string(item) + (item % 2 ? "=50 ms\r\n" : "=A   Dn\r\n");
  }
  return text;
}

template <typename Prepare, typename Run>
double medianSeconds(int runs, Prepare prepare, Run run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrisk;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const auto folder = std::filesystem::temp_directory_path() / ("bench-profile-" + std::to_string(Clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string ini = (folder / "record.ini").string();
  auto store = makePortableProfileStore();
  SettingsRecord record;

  const std::vector<std::string> entries(1024, "50 ms");
  const double small = medianSeconds(
      runs, [&] { writeText(ini, "[M]\r\nItemCount=1024\r\n"); },
      [&] { saveMacro(*store, ini, "M", entries, record, Language::English); });
  std::printf("small: 19-byte record.ini claiming 1024 items, one macro save of 1024 entries: %.4f s\n", small);

  const std::string wide = wideFile();
  const double rebuild = medianSeconds(
      runs, [&] { writeText(ini, wide); }, [&] { rebuildMacroMemory(*store, ini, record); });
  std::printf("wide: %zu-byte record.ini, 12 sections of 1024 items, one rebuild of the macro blocks: %.4f s\n",
              wide.size(), rebuild);

  std::filesystem::remove_all(folder);
  return 0;
}
