#include <gtest/gtest.h>

#include <set>
#include <string>

#include "keys/key_names.h"

namespace ombrisk {
namespace {

struct NameCase {
  const char* name;
  std::uint8_t usage;
};

TEST(KeyNameToUsage, ExactCaseSensitiveWholeNames) {
  const NameCase cases[] = {
      {"A", 0x04},        {"Z", 0x1D},         {"1", 0x1E},          {"9", 0x26},
      {"0", 0x27},        {"Enter", 0x28},     {"Space", 0x2C},      {"\\", 0x31},
      {"Eurpo(Note 2)", 0x32}, {";", 0x33},    {"/", 0x38},          {"Caps Lock", 0x39},
      {"F1", 0x3A},       {"F12", 0x45},       {"Prnt Scrn", 0x46},  {"Pause", 0x48},
      {"Page Down", 0x4E}, {"Up", 0x52},       {"Num Lock", 0x53},   {"Num Enter", 0x58},
      {"Num 1", 0x59},    {"Num 9", 0x61},     {"Num 0", 0x62},      {"Num Del", 0x63},
      {"Ctrl", 0xE0},     {"Left Windows", 0xE3}, {"Right Ctrl", 0xE4}, {"Right Windows", 0xE7},
      {"L-Button", 0xF0}, {"M-Button", 0xF2},
      // Not in the table: other case, modifier-editor names, padding, localised names.
      {"a", 0},           {"ENTER", 0},        {"Left Ctrl", 0},     {"A ", 0},
      {" A", 0},          {"", 0},             {"Strg", 0},          {"B4-Button", 0},
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(keyNameToUsage(c.name), c.usage) << '"' << c.name << '"';
}

TEST(KeyNameToUsage, TableHas107DistinctNames) {
  std::set<std::string_view> names;
  for (const KeyNameUsage& entry : keyNameTable()) names.insert(entry.name);
  EXPECT_EQ(keyNameTable().size(), 107u);
  EXPECT_EQ(names.size(), 107u);
}

TEST(ModifierNameToBit, EightNamesOneBitEach) {
  const NameCase cases[] = {
      {"Left Ctrl", 0x01},  {"Left Shift", 0x02},  {"Left Alt", 0x04},  {"Left Win", 0x08},
      {"Right Ctrl", 0x10}, {"Right Shift", 0x20}, {"Right Alt", 0x40}, {"Right Win", 0x80},
      {"Ctrl", 0},          {"", 0},               {"left ctrl", 0},    {"Left Windows", 0},
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(modifierNameToBit(c.name), c.usage) << '"' << c.name << '"';
  ASSERT_EQ(modifierNameTable().size(), 8u);
  EXPECT_EQ(modifierNameTable()[0].name, "Left Ctrl");
  EXPECT_EQ(modifierNameTable()[7].name, "Right Win");
}

TEST(FireIndexToUsage, PositionsOfTheFireKeyList) {
  const std::pair<std::size_t, std::uint8_t> cases[] = {
      {0, 0x04},  {25, 0x1D}, {26, 0x1E}, {35, 0x27}, {36, 0xE0}, {38, 0xE2}, {39, 0xE4},
      {40, 0xE5}, {41, 0xE6}, {42, 0x3A}, {53, 0x45}, {54, 0xF0}, {57, 0xF3}, {58, 0xF4},
      {60, 0xF6}, {61, 0},    {1000, 0},
  };
  for (const auto& [position, code] : cases)
    EXPECT_EQ(fireIndexToUsage(position), code) << "position " << position;
  ASSERT_EQ(fireKeyList().size(), 61u);
  EXPECT_EQ(fireKeyList()[39].text, "R-CTRL");
  EXPECT_EQ(fireKeyList()[57].text, "B4-Button");
  EXPECT_EQ(fireKeyList()[60].text, "R-Tilt Wheel");
}

TEST(ConsumerUsages, MediaAndWindowsPositions) {
  const std::uint8_t media[] = {0xB5, 0xB6, 0xB7, 0xCD, 0xE2, 0xE9, 0xEA, 0};
  for (std::size_t p = 0; p < std::size(media); ++p)
    EXPECT_EQ(mediaIndexToUsage(p), media[p]) << "media position " << p;
  const std::uint8_t low[] = {0x83, 0x8A, 0x92, 0x94, 0x21, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2A, 0};
  const std::uint8_t page[] = {1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 0};
  for (std::size_t p = 0; p < std::size(low); ++p) {
    EXPECT_EQ(windowsIndexToUsage(p), low[p]) << "Windows position " << p;
    EXPECT_EQ(windowsIndexToUsagePage(p), page[p]) << "Windows position " << p;
  }
  EXPECT_EQ(mediaIndexToUsage(255), 0);
  EXPECT_EQ(listText(mediaFunctionList()[3], Language::TraditionalChinese), "播放/暫停");
  EXPECT_EQ(listText(windowsFunctionList()[10], Language::SimplifiedChinese), "浏览器-收藏夹");
  EXPECT_EQ(listText(windowsFunctionList()[0], languageFromCode("XX")), "Multimedia Player");
}

}  // namespace
}  // namespace ombrisk
