// The pointer settings: the slider positions from and to the system's values, what the
// controls draw and change, and which system calls OK, Apply and "Default" make.
#include <gtest/gtest.h>

#include "pages/pointer_panel.h"
#include "support/recording_painter.h"

namespace ombrisk {
namespace {

using Kind = PointerCall::Kind;

struct Conversion {
  int systemValue;
  int index;
};

TEST(PointerConversions, SpeedIndexFromAndToTheSystem) {
  // speed / 2 + 1, clamped to the slider; back: 1 for index 1, else 2 × index - 2.
  for (const auto [speed, index] : {Conversion{10, 6}, {1, 1}, {3, 2}, {0, 1}, {20, 11}, {21, 11}, {-4, 1}})
    EXPECT_EQ(speedIndexFromSystem(speed), index) << speed;
  for (const auto [speed, index] : {Conversion{1, 1}, {2, 2}, {10, 6}, {20, 11}})
    EXPECT_EQ(systemSpeedFromIndex(index), speed) << index;
  // A speed of 3 reads as index 2 and goes back as 2.
  EXPECT_EQ(systemSpeedFromIndex(speedIndexFromSystem(3)), 2);
}

TEST(PointerConversions, DoubleClickIndexFromAndToTheSystem) {
  // (900 - time) / 70 + 1 clamped; back: 970 - 70 × index.
  for (const auto [time, index] : {Conversion{500, 6}, {900, 1}, {200, 11}, {550, 6}, {1500, 1}, {100, 11}, {1, 11}})
    EXPECT_EQ(doubleClickIndexFromSystem(static_cast<unsigned>(time)), index) << time;
  for (const auto [time, index] : {Conversion{900, 1}, {550, 6}, {200, 11}})
    EXPECT_EQ(doubleClickTimeFromIndex(index), static_cast<unsigned>(time)) << index;
  EXPECT_EQ(doubleClickIndexFromSystem(0xFFFFFFFFu), 1);
}

TEST(PointerReading, SystemValuesIntoTheRecordAndFailedReadsKeepTheField) {
  SettingsRecord record;
  takeSystemPointerReading({6, 10, 3u, 500u}, record);
  EXPECT_EQ(record[rec::kEnhancePrecision], 1);
  EXPECT_EQ(record[rec::kPointerSpeed], 6);
  EXPECT_EQ(record[rec::kWheelOneScreen], 0);
  EXPECT_EQ(record[rec::kWheelLines], 3);
  EXPECT_EQ(record[rec::kDoubleClickIndex], 6);

  // One screen per notch: ticked, no light cell; 40 lines clamp to 11; failed reads keep.
  takeSystemPointerReading({0, std::nullopt, kWheelOneScreen, std::nullopt}, record);
  EXPECT_EQ(record[rec::kEnhancePrecision], 0);
  EXPECT_EQ(record[rec::kWheelOneScreen], 1);
  EXPECT_EQ(record[rec::kWheelLines], 0);
  EXPECT_EQ(record[rec::kPointerSpeed], 6);
  EXPECT_EQ(record[rec::kDoubleClickIndex], 6);
  takeSystemPointerReading({std::nullopt, 10, 40u, 0u}, record);
  EXPECT_EQ(record[rec::kEnhancePrecision], 0) << "a failed SPI_GETMOUSE reads as no precision";
  EXPECT_EQ(record[rec::kWheelLines], 11);
  EXPECT_EQ(record[rec::kDoubleClickIndex], 6) << "a double-click time of 0 is a failed read";
}

SettingsRecord pointerRecord(std::uint8_t precision, std::uint8_t oneScreen, std::uint8_t speed, std::uint8_t lines,
                             std::uint8_t doubleClick) {
  SettingsRecord record;
  record[rec::kEnhancePrecision] = precision;
  record[rec::kWheelOneScreen] = oneScreen;
  record[rec::kPointerSpeed] = speed;
  record[rec::kWheelLines] = lines;
  record[rec::kDoubleClickIndex] = doubleClick;
  return record;
}

TEST(PointerApply, CallsInOrderWithTheirValuesAndProfileFlag) {
  const std::vector<PointerCall> calls = pointerApplyCalls(pointerRecord(1, 0, 6, 3, 6));
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, Kind::SetMouse);
  EXPECT_EQ((std::vector<int>(calls[0].values, calls[0].values + 3)), (std::vector<int>{6, 10, 1}));
  EXPECT_EQ(calls[1].kind, Kind::SetMouseSpeed);
  EXPECT_EQ(calls[1].values[0], 10);
  EXPECT_EQ(calls[2].values[0], 3);
  EXPECT_EQ(calls[3].kind, Kind::SetDoubleClickTime);
  EXPECT_EQ(calls[3].values[0], 550);
  EXPECT_TRUE(calls[3].saveToProfile);
  EXPECT_FALSE(calls[0].saveToProfile || calls[1].saveToProfile || calls[2].saveToProfile);
  EXPECT_EQ(calls[3].failureText, "SPI_SETDOUBLECLICKTIME failed.");

  const std::vector<PointerCall> unticked = pointerApplyCalls(pointerRecord(0, 1, 1, 0, 11));
  ASSERT_EQ(unticked.size(), 4u);
  EXPECT_EQ((std::vector<int>(unticked[0].values, unticked[0].values + 3)), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(unticked[1].values[0], 1);
  EXPECT_EQ(static_cast<std::uint32_t>(unticked[2].values[0]), kWheelOneScreen);
  EXPECT_EQ(unticked[3].values[0], 200);
}

// A settings file that never held pointer settings (a fresh one is all zeros) must not set
// the slowest pointer, no wheel scrolling and a 900 ms double click at the first Apply.
TEST(PointerApply, NothingIsWrittenWhileTheRecordHoldsNoPointerSettings) {
  EXPECT_TRUE(pointerApplyCalls(SettingsRecord{}).empty());
  EXPECT_TRUE(pointerApplyCalls(pointerRecord(0, 0, 12, 3, 6)).empty());
  EXPECT_TRUE(pointerApplyCalls(pointerRecord(0, 0, 6, 12, 6)).empty());
  EXPECT_TRUE(pointerApplyCalls(pointerRecord(2, 0, 6, 3, 6)).empty());
  EXPECT_TRUE(pointerApplyCalls(pointerRecord(0, 0, 6, 3, 0)).empty());
  EXPECT_EQ(pointerApplyCalls(pointerRecord(0, 0, 6, 0, 6)).size(), 4u) << "no lines per notch is a setting";
}

class PointerPanel : public ::testing::Test {
 protected:
  SettingsRecord record = pointerRecord(0, 1, 6, 0, 3);
  testing::RecordingPainter painter;

  // The image drawn at slider row r, cell c.
  std::optional<SkinImage> cell(int row, int position) const {
    const Region rect = regionOf(advancedPageSurface(), AdvancedControl::PointerSlider, pointerCellIndex(row, position)).rect;
    const auto* image = painter.lastAt(rect.left, rect.top);
    return image ? std::optional(image->image) : std::nullopt;
  }
  int lightCells(int row) const {
    int lit = 0;
    for (int position = 1; position <= kPointerPositions; ++position) lit += cell(row, position) == SkinImage::SliderLight;
    return lit;
  }
  std::optional<SkinImage> box(AdvancedControl control) const {
    const Region rect = regionOf(advancedPageSurface(), control).rect;
    const auto* image = painter.lastAt(rect.left, rect.top);
    return image ? std::optional(image->image) : std::nullopt;
  }
};

TEST_F(PointerPanel, DrawsTheRecordAndBoundsWhatAFileMayHold) {
  paintPointerControls(painter, record);
  EXPECT_EQ(painter.images.size(), 3u * 11 + 2);
  EXPECT_EQ(lightCells(1), 6);
  EXPECT_EQ(cell(1, 6), SkinImage::SliderLight);
  EXPECT_EQ(cell(1, 7), SkinImage::SliderDark);
  EXPECT_EQ(lightCells(2), 0) << "one screen per notch: no lines";
  EXPECT_EQ(lightCells(3), 3);
  EXPECT_EQ(box(AdvancedControl::PrecisionBox), SkinImage::Pane);
  EXPECT_EQ(box(AdvancedControl::OneScreenBox), SkinImage::PaneTick);

  painter.clear();
  paintPointerControls(painter, pointerRecord(7, 0, 200, 255, 12));
  EXPECT_EQ(lightCells(1), 11);
  EXPECT_EQ(lightCells(2), 11);
  EXPECT_EQ(lightCells(3), 11);
  EXPECT_EQ(box(AdvancedControl::PrecisionBox), SkinImage::PaneTick);
}

TEST_F(PointerPanel, SliderAndCheckBoxPressesChangeTheRecordAndRedrawOnlyTheirControl) {
  EXPECT_TRUE(pressPointerControl(AdvancedControl::PointerSlider, pointerCellIndex(2, 4), record, painter).empty());
  EXPECT_EQ(record[rec::kWheelLines], 4);
  EXPECT_EQ(painter.images.size(), 11u) << "only row 2";
  EXPECT_EQ(lightCells(2), 4);

  painter.clear();
  pressPointerControl(AdvancedControl::PointerSlider, pointerCellIndex(1, 11), record, painter);
  EXPECT_EQ(record[rec::kPointerSpeed], 11);
  pressPointerControl(AdvancedControl::PointerSlider, pointerCellIndex(3, 1), record, painter);
  EXPECT_EQ(record[rec::kDoubleClickIndex], 1);
  EXPECT_EQ(lightCells(3), 1);

  painter.clear();
  pressPointerControl(AdvancedControl::PrecisionBox, 0, record, painter);
  EXPECT_EQ(record[rec::kEnhancePrecision], 1);
  EXPECT_EQ(box(AdvancedControl::PrecisionBox), SkinImage::PaneTick);
  pressPointerControl(AdvancedControl::PrecisionBox, 0, record, painter);
  pressPointerControl(AdvancedControl::OneScreenBox, 0, record, painter);
  EXPECT_EQ(record[rec::kEnhancePrecision], 0);
  EXPECT_EQ(record[rec::kWheelOneScreen], 0);
  EXPECT_EQ(box(AdvancedControl::PrecisionBox), SkinImage::Pane);
  EXPECT_EQ(box(AdvancedControl::OneScreenBox), SkinImage::Pane);
  EXPECT_EQ(painter.images.size(), 3u);

  // Not a pointer control: nothing.
  const SettingsRecord before = record;
  painter.clear();
  EXPECT_TRUE(pressPointerControl(AdvancedControl::MacroNew, 0, record, painter).empty());
  EXPECT_EQ(record, before);
  EXPECT_TRUE(painter.images.empty());
}

TEST_F(PointerPanel, DefaultWritesTheSystemDefaultsAtOnceAndApplyThenWritesTheSliders) {
  record[rec::kEnhancePrecision] = 1;
  const std::vector<PointerCall> calls = pressPointerControl(AdvancedControl::PointerDefault, 0, record, painter);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ((std::vector<int>(calls[0].values, calls[0].values + 3)), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(calls[1].values[0], 10);
  EXPECT_EQ(calls[2].values[0], 3);
  EXPECT_EQ(calls[3].values[0], 500);
  EXPECT_TRUE(calls[3].saveToProfile);
  EXPECT_EQ(record, pointerRecord(0, 0, 6, 3, 6));
  EXPECT_EQ(lightCells(1), 6);
  EXPECT_EQ(lightCells(2), 3);
  EXPECT_EQ(lightCells(3), 6);
  EXPECT_EQ(box(AdvancedControl::PrecisionBox), SkinImage::Pane);
  // "Default" wrote 500 ms; Apply writes the slider's 550 ms.
  EXPECT_EQ(pointerApplyCalls(record)[3].values[0], 550);
}

}  // namespace
}  // namespace ombrisk
