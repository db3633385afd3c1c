#include "keys/key_functions.h"

#include <array>
#include <utility>

namespace ombrisk {
namespace {

// The list text of each function, in function value order (the text table lists Shift right
// after DPI Switch; its value is 14).
constexpr std::array<TextId, kKeyFunctionCount> kFunctionTexts{
    TextId::KeyLeftClick, TextId::KeyRightClick, TextId::KeyMidClick,   TextId::KeyForward,
    TextId::KeyBackward,  TextId::KeyTripleClick, TextId::KeyDpiSwitch, TextId::KeyRgbOnOff,
    TextId::KeyWindows,   TextId::KeyMultimedia, TextId::KeyFireKey,    TextId::KeySingleKey,
    TextId::KeyComboKey,  TextId::KeyMacroKey,   TextId::KeyShift,      TextId::KeyOff,
};

constexpr std::array<std::string_view, 4> kDpiActionNames{"DPI +", "DPI -", "DPI Loop",
                                                          "Shift DPI"};
constexpr std::uint8_t kShiftDpiAction = 4;

// The factory assignment of entries 0..11, in both key tables.
constexpr std::array<KeyFunction, kButtonCount> kFactoryFunctions{
    KeyFunction::LeftClick, KeyFunction::RightClick, KeyFunction::MidClick, KeyFunction::Forward,
    KeyFunction::Backward,  KeyFunction::DpiSwitch,  KeyFunction::DpiSwitch, KeyFunction::KeyOff,
    KeyFunction::KeyOff,    KeyFunction::KeyOff,     KeyFunction::KeyOff,    KeyFunction::KeyOff,
};
// The DPI Switch entries of the factory assignment and their actions.
constexpr std::pair<std::size_t, std::uint8_t> kFactoryDpiActions[] = {{5, 1 /* DPI + */},
                                                                      {6, 2 /* DPI - */}};

// Word position of entries 0..7.
constexpr std::array<std::size_t, kEncodedButtons> kWordIndex{0, 1, 2, 4, 3, 5, 6, 7};

constexpr std::uint32_t word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  return std::uint32_t{b0} | std::uint32_t{b1} << 8 | std::uint32_t{b2} << 16 |
         std::uint32_t{b3} << 24;
}

// Action classes (byte 0 of a word).
constexpr std::uint8_t kKeyboard = 0x00;
constexpr std::uint8_t kMouseButton = 0x01;
constexpr std::uint8_t kConsumer = 0x03;
constexpr std::uint8_t kDpi = 0x07;
constexpr std::uint8_t kSpecial = 0x08;
constexpr std::uint8_t kMacro = 0x09;
constexpr std::uint8_t kFire = 0x0A;

constexpr std::uint8_t kSpecialShift = 0x02;
constexpr std::uint8_t kSpecialRgb = 0x03;
// Triple click: the left button fired three times at speed 34.
constexpr std::uint8_t kTripleClickSpeed = 0x22;
constexpr std::uint8_t kTripleClickTimes = 3;

}  // namespace

TextId keyFunctionText(KeyFunction function) {
  return kFunctionTexts.at(static_cast<std::size_t>(function));
}

std::string_view keyFunctionName(std::uint8_t function) {
  return function < kFunctionTexts.size() ? textIn(Language::English, kFunctionTexts[function])
                                          : std::string_view{};
}

std::string_view dpiActionName(std::uint8_t action) {
  return action >= 1 && action <= kDpiActionNames.size() ? kDpiActionNames[action - 1]
                                                         : std::string_view{};
}

std::size_t wordIndexOfEntry(std::size_t entry) { return kWordIndex.at(entry); }

std::uint32_t keyMatrixWord(const SettingsRecord& record, KeyTableId table, std::size_t entry) {
  const auto field = [&](KeyField f) { return record.key(table, f, entry); };
  switch (static_cast<KeyFunction>(field(KeyField::Function))) {
    case KeyFunction::LeftClick: return word(kMouseButton, 0, mouse_code::kLeft, 0);
    case KeyFunction::RightClick: return word(kMouseButton, 0, mouse_code::kRight, 0);
    case KeyFunction::MidClick: return word(kMouseButton, 0, mouse_code::kMiddle, 0);
    case KeyFunction::Forward: return word(kMouseButton, 0, mouse_code::kFifth, 0);
    case KeyFunction::Backward: return word(kMouseButton, 0, mouse_code::kFourth, 0);
    case KeyFunction::TripleClick:
      return word(kFire, mouse_code::kLeft, kTripleClickSpeed, kTripleClickTimes);
    case KeyFunction::DpiSwitch: {
      const std::uint8_t action = record.dpiAction(table, entry);
      return word(kDpi, 0, action, action == kShiftDpiAction ? 1 : 0);
    }
    case KeyFunction::RgbOnOff: return word(kSpecial, 0, kSpecialRgb, 0);
    case KeyFunction::Windows:
      return word(kConsumer, 0, field(KeyField::WindowsUsageLow), field(KeyField::WindowsUsagePage));
    case KeyFunction::Multimedia: return word(kConsumer, 0, field(KeyField::MediaUsage), 0);
    case KeyFunction::FireKey:
      return word(kFire, field(KeyField::FireKey), field(KeyField::FireSpeed),
                  field(KeyField::FireTimes));
    case KeyFunction::SingleKey: return word(kKeyboard, 0, field(KeyField::SingleKey), 0);
    case KeyFunction::ComboKey:
      return word(kKeyboard, field(KeyField::ComboModifiers), field(KeyField::ComboKey1),
                  field(KeyField::ComboKey2));
    case KeyFunction::MacroKey:
      // The macro number is sent 1-based; it wraps like the byte it is.
      return word(kMacro, field(KeyField::MacroRepeat),
                  static_cast<std::uint8_t>(field(KeyField::MacroNumber) + 1), 0);
    case KeyFunction::Shift: return word(kSpecial, 0, kSpecialShift, 0);
    case KeyFunction::KeyOff: return 0;
  }
  return 0;  // a function value outside 0..15
}

void buildKeyMatrices(const SettingsRecord& record, DeviceImage& device) {
  const auto build = [&](KeyTableId table, KeyMatrix& matrix) {
    matrix.fill(0);
    for (std::size_t entry = 0; entry < kEncodedButtons; ++entry)
      matrix[kWordIndex[entry]] = keyMatrixWord(record, table, entry);
    matrix[14] = kFixedWord14;
    matrix[15] = kFixedWord15;
  };
  build(KeyTableId::A, device.keyMatrices[0]);
  device.keyMatrices[1].fill(0);
  build(KeyTableId::B, device.keyMatrices[2]);
  device.keyMatrices[3].fill(0);
}

KeyTableId currentKeyTable(const SettingsRecord& record) {
  return record[rec::kKeyTableSelector] == 1 ? KeyTableId::B : KeyTableId::A;
}

KeyTableId otherKeyTable(KeyTableId table) { return table == KeyTableId::A ? KeyTableId::B : KeyTableId::A; }

void resetKeyTables(SettingsRecord& record) {
  for (KeyTableId table : {KeyTableId::A, KeyTableId::B}) {
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      const auto function = static_cast<std::uint8_t>(kFactoryFunctions[entry]);
      record.key(table, KeyField::Function, entry) = function;
    }
    for (const auto& [entry, action] : kFactoryDpiActions) record.dpiAction(table, entry) = action;
  }
}

}  // namespace ombrisk
