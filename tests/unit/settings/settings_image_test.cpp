#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>

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

// Indices past the record's twelve entries and twelve blocks name no entry or block: they
// throw rather than hand out bytes of a neighbouring field or past the record's end.
TEST(SettingsRecord, EntryAndBlockIndicesStopAtEleven) {
  SettingsRecord record;
  const SettingsRecord& constant = record;
  // 2^57 - 3 blocks past the macro memory wraps around to the start of the record.
  const std::size_t wrapsToZero = (std::numeric_limits<std::size_t>::max() >> 7) - 2;
  for (const std::size_t index : {std::size_t{12}, std::size_t{13}, wrapsToZero,
                                  std::numeric_limits<std::size_t>::max()}) {
    EXPECT_THROW(record.macroBlock(index), std::out_of_range) << index;
    EXPECT_THROW(constant.macroBlock(index), std::out_of_range) << index;
    EXPECT_THROW(record.key(KeyTableId::A, KeyField::MacroRepeat, index), std::out_of_range) << index;
    EXPECT_THROW(constant.dpiAction(KeyTableId::A, index), std::out_of_range) << index;
  }
  EXPECT_EQ(record.macroBlock(11), record.bytes.data() + 0x180 + 11 * 128);
  EXPECT_EQ(&record.key(KeyTableId::B, KeyField::MacroRepeat, 11), record.bytes.data() + 0xC0 + 0xB4 + 11);
  EXPECT_EQ(&record.dpiAction(KeyTableId::B, 11), record.bytes.data() + 0x7B5 + 11);
}

}  // namespace
}  // namespace ombrisk
