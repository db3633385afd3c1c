// A set-up made in the real program travels to another machine as a profile: exported with
// ombriskctl.exe from the first installation, imported into a fresh one and applied from
// there, the second mouse ends up holding what the first one got from the window's Apply.
#include <gtest/gtest.h>

#include "e2e/driver/basic_page_points.h"
#include "e2e/with_mouse.h"

namespace ombrisk::e2e {
namespace {

using namespace basic_page;

class ProfileJourney : public WithMouse {
 protected:
  void click(POINT p) {
    program->clickClient(p.x, p.y);
    EXPECT_TRUE(program->settle());
  }
  void choose(POINT box, int list, int index) {
    click(box);
    ASSERT_TRUE(waitUntil([&] { return program->child(list) != nullptr; }, 5s)) << "list " << list;
    ASSERT_TRUE(program->chooseListItem(list, index));
    EXPECT_TRUE(waitUntil([&] { return program->child(list) == nullptr; }, 5s));
  }
  // ombriskctl.exe of an installation, run in its folder; its exit code and first line.
  static std::pair<std::optional<DWORD>, std::string> ctl(const Installation& installation,
                                                          const std::wstring& arguments) {
    Process process(installation.folder() / L"ombriskctl.exe", arguments, installation.folder(), true);
    std::string line = process.readLine(30s).value_or("");
    return {process.waitForExit(30s), line};
  }
};

// What a mouse holds after an Apply, without the log of how it got there.
std::string settingsOf(const MouseState& state) {
  std::string settings;
  for (const char* key : {"report_interval", "effect", "light_sets", "feature_blocks", "stage_count", "stage_codes"}) {
    settings += key;
    for (const int n : state.numbers(key)) settings += " " + std::to_string(n);
    settings += "\n";
  }
  for (const char* key : {"key_matrices", "macros"})
    for (const std::string& s : state.strings(key)) settings += std::string(key) + " " + s + "\n";
  return settings;
}

TEST_F(ProfileJourney, AProfileMadeInTheWindowGivesAnotherMouseTheSameState) {
  start();
  show();
  click(ratePosition(2));
  click(stageSwitch(2));
  click(stageSwitch(3));
  click(cell(2, 7));
  click(cell(3, 2));
  choose(kModeBox, kModeList, 1);  // Respiration
  choose(kParameterBox, kParameterList, 3);
  choose(kEffectBox, kEffectList, 1);
  click(kKeyDefault);
  click(kApply);
  const auto first = mouse.dump();
  ASSERT_TRUE(first) << mouse.error();
  program.reset();

  const auto exported = ctl(install, L"export profile.json");
  ASSERT_EQ(exported.first, 0u) << exported.second;
  Installation fresh;
  fresh.replaceFile(L"profile.json", install.readFile(L"profile.json"));
  const auto imported = ctl(fresh, L"import profile.json");
  ASSERT_EQ(imported.first, 0u) << imported.second;
  EXPECT_EQ(fresh.readFile(L"config.bin"), install.readFile(L"config.bin"));

  VirtualMouse second;
  ASSERT_TRUE(second.ready()) << second.error();
  const auto applied = ctl(fresh, L"apply --device tcp:127.0.0.1:" + std::to_wstring(second.port()));
  ASSERT_EQ(applied.first, 0u) << applied.second;
  const auto state = second.dump();
  ASSERT_TRUE(state) << second.error();
  EXPECT_EQ(settingsOf(*state), settingsOf(*first));
  EXPECT_EQ(first->numbers("report_interval"), std::vector<int>{4}) << "the window's choice reached the first mouse";
  EXPECT_NE(settingsOf(*first).find("key_matrices 0100f000"), std::string::npos) << settingsOf(*first);
}

}  // namespace
}  // namespace ombrisk::e2e
