#include <gtest/gtest.h>

#include "app/device_balloon.h"

namespace ombrisk {
namespace {

class DeviceBalloonTest : public ::testing::Test {
 protected:
  std::optional<Balloon> balloon(Language language, unsigned type, std::int64_t value) {
    return deviceBalloon(InterfaceTexts(language), type, value, image);
  }
  SettingsImage image;
};

TEST_F(DeviceBalloonTest, EventTextsTitlesAndTimeouts) {
  const struct {
    unsigned type;
    std::int64_t value;
    const char* text;
    const char* title;
    unsigned timeout;
  } cases[] = {
      {5, 1, "Switch report rate into 1000HZ", "Info", 5000},
      {5, 2, "Switch report rate into 500HZ", "Info", 5000},
      {5, 4, "Switch report rate into 250HZ", "Info", 5000},
      {5, 8, "Switch report rate into 125HZ", "Info", 5000},
      {8, 1, "Switch to key matrix 1", "Info", 5000},
      {8, 2, "Switch to key matrix 2", "Info", 5000},
      {9, 7, "Switch to macro key7", "Info", 5000},
      {9, 12, "Switch to macro key12", "Info", 5000},
      {14, 0, "The system detect the gaming mouse.", "Info", 100},
      {15, 0, "The system did not detect the gaming mouse!", "Warning", 100},
  };
  for (const auto& c : cases) {
    const auto shown = balloon(Language::English, c.type, c.value);
    ASSERT_TRUE(shown) << c.type << "/" << c.value;
    EXPECT_EQ(shown->text, c.text);
    EXPECT_EQ(shown->title, c.title);
    EXPECT_EQ(shown->timeoutMs, c.timeout);
  }
}

TEST_F(DeviceBalloonTest, OtherTypesAndValuesShowNothing) {
  const struct {
    unsigned type;
    std::int64_t value;
  } cases[] = {{8, 3}, {8, 0}, {5, 3}, {5, 0}, {5, 16}, {7, 0}, {7, 5}, {7, -1},
               {9, 0}, {6, 1}, {0, 0}, {13, 0}, {16, 0}};
  for (const auto& c : cases)
    EXPECT_FALSE(balloon(Language::English, c.type, c.value)) << c.type << "/" << c.value;
}

TEST_F(DeviceBalloonTest, DpiStageCarriesTheBlankOnlyInEnglish) {
  image.device.currentSensorType = 1;
  image.record[rec::kDpiLevel + 1] = 1;  // stage 2 at level 2
  EXPECT_EQ(balloon(Language::English, 7, 2)->text, "Switch DPI into the second stage 800");
  EXPECT_EQ(balloon(Language::SimplifiedChinese, 7, 2)->text,
            "DPI\xE5\x88\x87\xE6\x8D\xA2\xE5\x88\xB0\xE7\xAC\xAC\xE4\xBA\x8C\xE6\xAE\xB5" "800");
  EXPECT_EQ(balloon(Language::TraditionalChinese, 7, 2)->text,
            "DPI\xE5\x88\x87\xE6\x8F\x9B\xE5\x88\xB0\xE7\xAC\xAC\xE4\xBA\x8C\xE6\xAE\xB5" "800");
  EXPECT_EQ(balloon(Language::English, 7, 2)->title, "Info");
}

TEST_F(DeviceBalloonTest, DpiValueFollowsTheSensorAndTheStageLevel) {
  image.record[rec::kDpiLevel + 0] = 0;
  image.record[rec::kDpiLevel + 3] = 11;
  image.device.currentSensorType = 0;
  EXPECT_EQ(balloon(Language::English, 7, 1)->text, "Switch DPI into the first stage 250");
  EXPECT_EQ(balloon(Language::English, 7, 4)->text, "Switch DPI into the fourth stage 4000");
  image.device.currentSensorType = 3;  // eight levels: level 12 reads as the top one
  EXPECT_EQ(balloon(Language::English, 7, 4)->text, "Switch DPI into the fourth stage 3200");
  image.device.currentSensorType = 9;  // unknown sensor: no value
  EXPECT_EQ(balloon(Language::English, 7, 1)->text, "Switch DPI into the first stage ");
}

TEST_F(DeviceBalloonTest, ChineseEventTexts) {
  EXPECT_EQ(balloon(Language::TraditionalChinese, 15, 0)->text,
            "\xE7\xB3\xBB\xE7\xB5\xB1\xE6\xB2\x92\xE6\x9C\x89\xE6\xAA\xA2\xE6\xB8\xAC\xE5\x88\xB0"
            "\xE9\x81\x8A\xE6\x88\xB2\xE6\xBB\x91\xE9\xBC\xA0\xEF\xBC\x81");
  EXPECT_EQ(balloon(Language::TraditionalChinese, 15, 0)->title, "Warning");
  EXPECT_EQ(balloon(Language::SimplifiedChinese, 9, 3)->text, "\xE5\x88\x87\xE6\x8D\xA2\xE5\x88\xB0\xE5\xAE\x8F" "3");
}

}  // namespace
}  // namespace ombrisk
