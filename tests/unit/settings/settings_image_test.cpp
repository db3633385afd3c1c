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

}  // namespace
}  // namespace ombrisk
