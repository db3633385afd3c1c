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

}  // namespace
}  // namespace ombrisk
