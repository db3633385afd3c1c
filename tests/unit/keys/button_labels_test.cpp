// The labels the key boxes show for what a table holds.
#include <gtest/gtest.h>

#include "keys/button_labels.h"

namespace ombrisk {
namespace {

TEST(ButtonLabels, EachEntryNamedByItsFunction) {
  const InterfaceTexts english(Language::English), simplified(Language::SimplifiedChinese);
  SettingsRecord record;
  struct Case {
    std::uint8_t function, dpiAction;
    const InterfaceTexts& texts;
    const char* label;
  };
  const Case cases[] = {
      {0, 0, english, "Left Click"},    {4, 0, simplified, "后退方向键"},  {5, 0, english, "Triple-click"},
      {6, 1, english, "DPI +"},         {6, 3, simplified, "DPI Loop"},     {6, 4, english, "Shift DPI"},
      // A DPI action outside 1..4 leaves the function's own name.
      {6, 0, english, "DPI Switch"},    {6, 9, simplified, "DPI切换"},
      {11, 0, english, "Single Key"},   {13, 0, simplified, "宏"},          {14, 0, english, "Shift"},
      {15, 0, english, "Key Off"},      {16, 0, english, ""},               {255, 0, english, ""},
  };
  for (const Case& c : cases) {
    record.key(KeyTableId::B, KeyField::Function, 7) = c.function;
    record.dpiAction(KeyTableId::B, 7) = c.dpiAction;
    EXPECT_EQ(functionLabel(record, KeyTableId::B, 7, c.texts), c.label)
        << "function " << int{c.function} << ", action " << int{c.dpiAction};
  }
}

TEST(ButtonLabels, BothTablesInLabelOrder) {
  const InterfaceTexts texts;
  SettingsRecord record;
  record.key(KeyTableId::A, KeyField::Function, 11) = 15;
  record.key(KeyTableId::B, KeyField::Function, 0) = 1;
  const ButtonLabelSet labels = functionLabels(record, texts);
  EXPECT_EQ(labels[0], "Left Click");
  EXPECT_EQ(labels[11], "Key Off");
  EXPECT_EQ(labels[12], "Right Click");
  EXPECT_EQ(labels[23], "Left Click");
  EXPECT_EQ(labelIndex(KeyTableId::B, 0), 12u);
}

}  // namespace
}  // namespace ombrisk
