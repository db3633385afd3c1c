#include "keys/key_names.h"

namespace ombrisk {
namespace {

constexpr KeyNameUsage kKeyNames[] = {
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09},
    {"G", 0x0A}, {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F},
    {"M", 0x10}, {"N", 0x11}, {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15},
    {"S", 0x16}, {"T", 0x17}, {"U", 0x18}, {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B},
    {"Y", 0x1C}, {"Z", 0x1D},
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22}, {"6", 0x23},
    {"7", 0x24}, {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    {"Enter", 0x28}, {"Esc", 0x29}, {"Backspace", 0x2A}, {"Tab", 0x2B}, {"Space", 0x2C},
    {"-", 0x2D}, {"=", 0x2E}, {"[", 0x2F}, {"]", 0x30}, {"\\", 0x31},
    {"Eurpo(Note 2)", 0x32},
    {";", 0x33}, {"'", 0x34}, {"`", 0x35}, {",", 0x36}, {".", 0x37}, {"/", 0x38},
    {"Caps Lock", 0x39},
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F},
    {"F7", 0x40}, {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    {"Prnt Scrn", 0x46}, {"Scroll Lock", 0x47}, {"Pause", 0x48},
    {"Insert", 0x49}, {"Home", 0x4A}, {"Page Up", 0x4B}, {"Delete", 0x4C}, {"End", 0x4D},
    {"Page Down", 0x4E},
    {"Right", 0x4F}, {"Left", 0x50}, {"Down", 0x51}, {"Up", 0x52},
    {"Num Lock", 0x53}, {"Num /", 0x54}, {"Num *", 0x55}, {"Num -", 0x56}, {"Num +", 0x57},
    {"Num Enter", 0x58},
    {"Num 1", 0x59}, {"Num 2", 0x5A}, {"Num 3", 0x5B}, {"Num 4", 0x5C}, {"Num 5", 0x5D},
    {"Num 6", 0x5E}, {"Num 7", 0x5F}, {"Num 8", 0x60}, {"Num 9", 0x61}, {"Num 0", 0x62},
    {"Num Del", 0x63},
    {"Ctrl", 0xE0}, {"Shift", 0xE1}, {"Alt", 0xE2}, {"Left Windows", 0xE3},
    {"Right Ctrl", 0xE4}, {"Right Shift", 0xE5}, {"Right Alt", 0xE6}, {"Right Windows", 0xE7},
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2},
};
static_assert(std::size(kKeyNames) == 107);

// The names the US English keyboard layout gives by scan code (0x100 marks an extended key):
// the key name table's names, where the keys sit on a US keyboard.
struct ScanCodeName {
  unsigned key;
  std::string_view name;
};
constexpr unsigned kExtended = 0x100;
constexpr ScanCodeName kUsLayoutNames[] = {
    {0x01, "Esc"}, {0x02, "1"}, {0x03, "2"}, {0x04, "3"}, {0x05, "4"}, {0x06, "5"}, {0x07, "6"},
    {0x08, "7"}, {0x09, "8"}, {0x0A, "9"}, {0x0B, "0"}, {0x0C, "-"}, {0x0D, "="}, {0x0E, "Backspace"},
    {0x0F, "Tab"}, {0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"}, {0x15, "Y"},
    {0x16, "U"}, {0x17, "I"}, {0x18, "O"}, {0x19, "P"}, {0x1A, "["}, {0x1B, "]"}, {0x1C, "Enter"},
    {0x1D, "Ctrl"}, {0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"}, {0x23, "H"},
    {0x24, "J"}, {0x25, "K"}, {0x26, "L"}, {0x27, ";"}, {0x28, "'"}, {0x29, "`"}, {0x2A, "Shift"},
    {0x2B, "\\"}, {0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"}, {0x2F, "V"}, {0x30, "B"}, {0x31, "N"},
    {0x32, "M"}, {0x33, ","}, {0x34, "."}, {0x35, "/"}, {0x36, "Right Shift"}, {0x37, "Num *"},
    {0x38, "Alt"}, {0x39, "Space"}, {0x3A, "Caps Lock"}, {0x3B, "F1"}, {0x3C, "F2"}, {0x3D, "F3"},
    {0x3E, "F4"}, {0x3F, "F5"}, {0x40, "F6"}, {0x41, "F7"}, {0x42, "F8"}, {0x43, "F9"}, {0x44, "F10"},
    {0x45, "Pause"}, {0x46, "Scroll Lock"}, {0x47, "Num 7"}, {0x48, "Num 8"}, {0x49, "Num 9"},
    {0x4A, "Num -"}, {0x4B, "Num 4"}, {0x4C, "Num 5"}, {0x4D, "Num 6"}, {0x4E, "Num +"},
    {0x4F, "Num 1"}, {0x50, "Num 2"}, {0x51, "Num 3"}, {0x52, "Num 0"}, {0x53, "Num Del"},
    {0x57, "F11"}, {0x58, "F12"},
    {kExtended | 0x1C, "Num Enter"}, {kExtended | 0x1D, "Right Ctrl"}, {kExtended | 0x35, "Num /"},
    {kExtended | 0x37, "Prnt Scrn"}, {kExtended | 0x38, "Right Alt"}, {kExtended | 0x45, "Num Lock"},
    {kExtended | 0x47, "Home"}, {kExtended | 0x48, "Up"}, {kExtended | 0x49, "Page Up"},
    {kExtended | 0x4B, "Left"}, {kExtended | 0x4D, "Right"}, {kExtended | 0x4F, "End"},
    {kExtended | 0x50, "Down"}, {kExtended | 0x51, "Page Down"}, {kExtended | 0x52, "Insert"},
    {kExtended | 0x53, "Delete"}, {kExtended | 0x5B, "Left Windows"}, {kExtended | 0x5C, "Right Windows"},
};

constexpr ModifierNameBit kModifierNames[] = {
    {"Left Ctrl", 0x01},  {"Left Shift", 0x02},  {"Left Alt", 0x04},  {"Left Win", 0x08},
    {"Right Ctrl", 0x10}, {"Right Shift", 0x20}, {"Right Alt", 0x40}, {"Right Win", 0x80},
};

constexpr FireKeyEntry kFireKeys[] = {
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09},
    {"G", 0x0A}, {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F},
    {"M", 0x10}, {"N", 0x11}, {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15},
    {"S", 0x16}, {"T", 0x17}, {"U", 0x18}, {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B},
    {"Y", 0x1C}, {"Z", 0x1D},
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22}, {"6", 0x23},
    {"7", 0x24}, {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    {"L-CTRL", 0xE0}, {"L-SHIFT", 0xE1}, {"L-ALT", 0xE2}, {"R-CTRL", 0xE4}, {"R-SHIFT", 0xE5},
    {"R-ALT", 0xE6},
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F},
    {"F7", 0x40}, {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2}, {"B4-Button", 0xF3},
    {"B5-Button", 0xF4}, {"L-Tilt Wheel", 0xF5}, {"R-Tilt Wheel", 0xF6},
};
static_assert(std::size(kFireKeys) == kFireKeyCount);

constexpr ConsumerFunctionEntry kMediaFunctions[] = {
    {{"Next", "下一首", "下一首"}, 0xB5},
    {{"Previous", "上一首", "上一首"}, 0xB6},
    {{"Stop", "停止", "停止"}, 0xB7},
    {{"Play/Pause", "播放/暂停", "播放/暫停"}, 0xCD},
    {{"Mute", "静音", "靜音"}, 0xE2},
    {{"Vol+", "音量+", "音量+"}, 0xE9},
    {{"Vol-", "音量-", "音量-"}, 0xEA},
};

constexpr ConsumerFunctionEntry kWindowsFunctions[] = {
    {{"Multimedia Player", "打开多媒体播放器", "打開多媒體播放器"}, 0x183},
    {{"Mail", "邮件", "郵件"}, 0x18A},
    {{"Calculator", "计算器", "計算器"}, 0x192},
    {{"My Computer", "我的电脑", "我的電腦"}, 0x194},
    {{"Browser-Search", "浏览器-搜索", "瀏覽器-搜索"}, 0x221},
    {{"Browser-Home", "浏览器-主页", "瀏覽器-主頁"}, 0x223},
    {{"Browser-Back", "浏览器-后退", "瀏覽器-後退"}, 0x224},
    {{"Browser-Forward", "浏览器-前进", "瀏覽器-前進"}, 0x225},
    {{"Browser-Stop", "浏览器-停止", "瀏覽器-停止"}, 0x226},
    {{"Browser-Refresh", "浏览器-刷新", "瀏覽器-刷新"}, 0x227},
    {{"Browser-My Favorites", "浏览器-收藏夹", "瀏覽器-我的最愛"}, 0x22A},
};

std::uint16_t usageAt(std::span<const ConsumerFunctionEntry> list, std::size_t position) {
  return position < list.size() ? list[position].usage : 0;
}

}  // namespace

std::span<const KeyNameUsage> keyNameTable() { return kKeyNames; }

std::uint8_t keyNameToUsage(std::string_view name) {
  for (const KeyNameUsage& entry : kKeyNames)
    if (entry.name == name) return entry.usage;
  return 0;
}

std::string_view usageToKeyName(std::uint8_t usage) {
  for (const KeyNameUsage& entry : kKeyNames)
    if (entry.usage == usage) return entry.name;
  return {};
}

std::string_view usLayoutKeyName(unsigned key) {
  for (const ScanCodeName& entry : kUsLayoutNames)
    if (entry.key == key) return entry.name;
  return {};
}

std::span<const ModifierNameBit> modifierNameTable() { return kModifierNames; }

std::uint8_t modifierNameToBit(std::string_view name) {
  for (const ModifierNameBit& entry : kModifierNames)
    if (entry.name == name) return entry.bit;
  return 0;
}

std::span<const FireKeyEntry> fireKeyList() { return kFireKeys; }

std::uint8_t fireIndexToUsage(std::size_t position) {
  return position < kFireKeyCount ? kFireKeys[position].code : 0;
}

std::span<const ConsumerFunctionEntry> mediaFunctionList() { return kMediaFunctions; }
std::span<const ConsumerFunctionEntry> windowsFunctionList() { return kWindowsFunctions; }

std::uint8_t mediaIndexToUsage(std::size_t position) {
  return static_cast<std::uint8_t>(usageAt(kMediaFunctions, position));
}

std::uint8_t windowsIndexToUsage(std::size_t position) {
  return static_cast<std::uint8_t>(usageAt(kWindowsFunctions, position) & 0xFF);
}

std::uint8_t windowsIndexToUsagePage(std::size_t position) {
  return static_cast<std::uint8_t>(usageAt(kWindowsFunctions, position) >> 8);
}

std::string_view listText(const ConsumerFunctionEntry& entry, Language language) {
  return entry.text[static_cast<std::size_t>(language)];
}

}  // namespace ombrisk
