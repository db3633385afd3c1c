#include <gtest/gtest.h>

#include "device/sensor_table.h"

namespace ombrisk {
namespace {

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

TEST(DpiValueTexts, LevelOneFirstClampedAndNoneForAnUnknownSensor) {
  const struct {
    std::uint8_t sensor;
    std::size_t level;
    std::string_view text;
  } cases[] = {
      {0, 0, "250"},  {0, 8, "2500"}, {0, 11, "4000"}, {0, 40, "4000"}, {1, 0, "600"},
      {1, 7, "3200"}, {2, 5, "1500"}, {2, 6, "2000"},  {3, 0, "400"},   {3, 7, "3200"},
      {3, 11, "3200"}, {4, 0, ""},    {200, 5, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(dpiValueText(c.sensor, c.level), c.text) << "sensor " << int(c.sensor) << " level "
                                                       << c.level;
}

}  // namespace
}  // namespace ombrisk
