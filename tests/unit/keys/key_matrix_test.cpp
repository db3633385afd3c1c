#include <gtest/gtest.h>

#include "keys/key_functions.h"
#include "keys/key_names.h"

namespace ombrisk {
namespace {

constexpr auto A = KeyTableId::A;
constexpr auto B = KeyTableId::B;

// One entry of table A set up as the editors leave it, and the word it must give.
struct WordCase {
  const char* what;
  std::uint32_t word;
  void (*setUp)(SettingsRecord&);
};

void set(SettingsRecord& r, KeyField f, std::uint8_t v) { r.key(A, f, 0) = v; }
void function(SettingsRecord& r, std::uint8_t v) { set(r, KeyField::Function, v); }

TEST(KeyMatrixWord, WordOfEveryFunction) {
  const WordCase cases[] = {
      {"Left Click", 0x00F00001, [](SettingsRecord& r) { function(r, 0); }},
      {"Right Click", 0x00F10001, [](SettingsRecord& r) { function(r, 1); }},
      {"Mid Click", 0x00F20001, [](SettingsRecord& r) { function(r, 2); }},
      {"Forward", 0x00F40001, [](SettingsRecord& r) { function(r, 3); }},
      {"Backward", 0x00F30001, [](SettingsRecord& r) { function(r, 4); }},
      {"Triple-click", 0x0322F00A, [](SettingsRecord& r) { function(r, 5); }},
      {"DPI +", 0x00010007, [](SettingsRecord& r) { function(r, 6); r.dpiAction(A, 0) = 1; }},
      {"DPI Loop", 0x00030007, [](SettingsRecord& r) { function(r, 6); r.dpiAction(A, 0) = 3; }},
      {"Shift DPI", 0x01040007, [](SettingsRecord& r) { function(r, 6); r.dpiAction(A, 0) = 4; }},
      {"RGB On/Off", 0x00030008, [](SettingsRecord& r) { function(r, 7); }},
      {"Shift", 0x00020008, [](SettingsRecord& r) { function(r, 14); }},
      {"Key Off", 0x00000000, [](SettingsRecord& r) { function(r, 15); }},
      {"Fire A at 32, once", 0x0120040A,
       [](SettingsRecord& r) {
         function(r, 10);
         set(r, KeyField::FireIndex, 0);
         set(r, KeyField::FireKey, fireIndexToUsage(0));
         set(r, KeyField::FireSpeed, 32);
         set(r, KeyField::FireTimes, 1);
       }},
      {"Single Key A", 0x00040000,
       [](SettingsRecord& r) { function(r, 11); set(r, KeyField::SingleKey, keyNameToUsage("A")); }},
      {"Combo Left Ctrl + C", 0x00060100,
       [](SettingsRecord& r) {
         function(r, 12);
         set(r, KeyField::ComboModifiers, modifierNameToBit("Left Ctrl"));
         set(r, KeyField::ComboKey1, keyNameToUsage("C"));
         set(r, KeyField::ComboKey2, keyNameToUsage(""));
       }},
      {"Multimedia Vol+", 0x00E90003,
       [](SettingsRecord& r) { function(r, 9); set(r, KeyField::MediaUsage, mediaIndexToUsage(5)); }},
      {"Windows Calculator", 0x01920003,
       [](SettingsRecord& r) {
         function(r, 8);
         set(r, KeyField::WindowsUsageLow, windowsIndexToUsage(2));
         set(r, KeyField::WindowsUsagePage, windowsIndexToUsagePage(2));
       }},
      {"Windows Browser-Search", 0x02210003,
       [](SettingsRecord& r) {
         function(r, 8);
         set(r, KeyField::WindowsUsageLow, windowsIndexToUsage(4));
         set(r, KeyField::WindowsUsagePage, windowsIndexToUsagePage(4));
       }},
      {"Windows Browser-My Favorites", 0x022A0003,
       [](SettingsRecord& r) {
         function(r, 8);
         set(r, KeyField::WindowsUsageLow, windowsIndexToUsage(10));
         set(r, KeyField::WindowsUsagePage, windowsIndexToUsagePage(10));
       }},
      {"Macro at list position 2, third repeat mode", 0x00030209,
       [](SettingsRecord& r) {
         function(r, 13);
         set(r, KeyField::MacroNumber, 2);
         set(r, KeyField::MacroRepeat, 2);
       }},
      {"function 16", 0, [](SettingsRecord& r) { function(r, 16); set(r, KeyField::SingleKey, 4); }},
      {"function 255", 0, [](SettingsRecord& r) { function(r, 255); }},
  };
  for (const WordCase& c : cases) {
    SettingsRecord record;
    // Fields of other functions hold leftovers; only the function's own fields count.
    for (std::size_t f = 1; f < kKeyFieldCount; ++f) record.key(A, KeyField(f), 0) = 0x5A;
    record.dpiAction(A, 0) = 2;
    c.setUp(record);
    EXPECT_EQ(keyMatrixWord(record, A, 0), c.word) << c.what;
  }
}

TEST(BuildKeyMatrices, FactoryTablesGiveTheFactoryMatrices) {
  SettingsRecord record;
  resetKeyTables(record);
  DeviceImage device;
  device.keyMatrices[1].fill(0xFFFFFFFF);  // stale contents must not be sent
  buildKeyMatrices(record, device);
  const KeyMatrix factory{0x00F00001, 0x00F10001, 0x00F20001, 0x00F30001, 0x00F40001, 0x00010007,
                          0x00020007, 0,          0,          0,          0,          0,
                          0,          0,          0x00F70001, 0x00F80001};
  EXPECT_EQ(device.keyMatrices[0], factory);
  EXPECT_EQ(device.keyMatrices[2], factory);
  EXPECT_EQ(device.keyMatrices[1], KeyMatrix{});
  EXPECT_EQ(device.keyMatrices[3], KeyMatrix{});
}

TEST(BuildKeyMatrices, ButtonsFourAndFiveTradeWordsAndEntriesEightOnNeverReachTheMouse) {
  SettingsRecord record;
  for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
    record.key(A, KeyField::Function, entry) = 11;  // Single Key, usage = entry + 0x10
    record.key(A, KeyField::SingleKey, entry) = static_cast<std::uint8_t>(0x10 + entry);
    record.key(B, KeyField::Function, entry) = 6;   // DPI Switch, with table B's own actions
    record.dpiAction(B, entry) = 3;
    record.dpiAction(A, entry) = 4;
  }
  record.key(A, KeyField::Function, 3) = 3;  // Forward in entry 3
  record.key(A, KeyField::Function, 4) = 4;  // Backward in entry 4
  DeviceImage device;
  buildKeyMatrices(record, device);
  const KeyMatrix expectedA{0x00100000, 0x00110000, 0x00120000, 0x00F30001, 0x00F40001, 0x00150000,
                            0x00160000, 0x00170000, 0,          0,          0,          0,
                            0,          0,          0x00F70001, 0x00F80001};
  EXPECT_EQ(device.keyMatrices[0], expectedA);
  KeyMatrix expectedB{};
  for (std::size_t word = 0; word < 8; ++word) expectedB[word] = 0x00030007;
  expectedB[14] = 0x00F70001;
  expectedB[15] = 0x00F80001;
  EXPECT_EQ(device.keyMatrices[2], expectedB);
}

TEST(ResetKeyTables, SetsFactoryFunctionsAndDpiActionsOnly) {
  SettingsRecord record;
  record.bytes.fill(0xAA);
  SettingsRecord expected = record;
  resetKeyTables(record);
  const std::uint8_t functions[] = {0, 1, 2, 3, 4, 6, 6, 15, 15, 15, 15, 15};
  for (std::size_t table = 0; table < 2; ++table) {
    const std::size_t base = table == 0 ? 0x000 : 0x0C0;
    const std::size_t actions = table == 0 ? 0x7A9 : 0x7B5;
    for (std::size_t entry = 0; entry < 12; ++entry) expected[base + entry] = functions[entry];
    expected[actions + 5] = 1;
    expected[actions + 6] = 2;
  }
  EXPECT_EQ(record, expected);
}

}  // namespace
}  // namespace ombrisk
