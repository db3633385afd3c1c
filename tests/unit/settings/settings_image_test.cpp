#include <gtest/gtest.h>

#include "settings/settings_image.h"

namespace ombrisk {
namespace {

TEST(SettingsRecord, FieldOffsetsCoverTheRecord) {
  EXPECT_EQ(rec::kMacroMemory + rec::kMacroMemorySize, rec::kReserved0);
  EXPECT_EQ(rec::kDpiActionsB + kButtonCount, rec::kSize);
  SettingsRecord record;
  record.key(KeyTableId::B, KeyField::MacroRepeat, 11) = 7;
  EXPECT_EQ(record[rec::kKeyTableB + 0xB4 + 11], 7);
  record.key(KeyTableId::A, KeyField::FireSpeed, 2) = 9;
  EXPECT_EQ(record[0x60 + 2], 9);
  record.dpiAction(KeyTableId::B, 0) = 4;
  EXPECT_EQ(record[0x7B5], 4);
  record.macroBlock(11)[127] = 0x55;
  EXPECT_EQ(record[0x180 + 11 * 128 + 127], 0x55);
}

struct DpiCase {
  std::uint8_t sensor, level, code;
};

TEST(DpiCodeTable, CodesPerSensorWithClampAndUnknownSensor) {
  const DpiCase cases[] = {
      {0, 0, 0x01}, {0, 7, 0x08}, {0, 8, 0x25}, {0, 11, 0x28}, {0, 12, 0x28}, {0, 255, 0x28},
      {1, 5, 0x23}, {1, 7, 0x25}, {1, 8, 0x25}, {1, 11, 0x25}, {2, 0, 0x02}, {2, 7, 0x2A},
      {2, 9, 0x2A}, {3, 7, 0x08}, {3, 8, 0x08}, {4, 0, 0x00}, {4, 11, 0x00}, {255, 3, 0x00},
  };
  for (const DpiCase& c : cases)
    EXPECT_EQ(dpiCode(c.sensor, c.level), c.code) << "sensor " << int(c.sensor) << " level "
                                                  << int(c.level);
  EXPECT_EQ(dpiLevelCount(0), 12u);
  EXPECT_EQ(dpiLevelCount(2), 8u);
  EXPECT_EQ(dpiLevelCount(9), 12u);
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
