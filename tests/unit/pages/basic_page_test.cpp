// The Basic page's decisions through a recording painter: what a paint shows for a record and
// a sensor, what each press stores, redraws and asks of the window. Coordinates are written
// out by hand, as the page picture has them.
#include <gtest/gtest.h>

#include <string>

#include "keys/key_functions.h"
#include "pages/basic_page.h"
#include "support/recording_painter.h"

namespace ombrisk {
namespace {

using testing::RecordingPainter;

// Corners of the controls (stages and levels 1-based, positions 1..4).
constexpr int rateX(int position) { return 542 + 72 * (position - 1); }
constexpr int kRateY = 204;
constexpr int stageX(int stage) { return 554 + 27 * (stage - 1); }
constexpr int levelY(int level) { return 500 - 18 * (level - 1); }
constexpr int kSwitchY = 541, kSwatchY = 523;

class BasicPageTest : public ::testing::Test {
 protected:
  SettingsRecord& record() { return image.record; }
  // Stage s on (1..4) at level index.
  void stage(int s, bool on, std::uint8_t levelIndex) {
    record()[rec::kStageEnabled + s - 1] = on ? 1 : 0;
    record()[rec::kDpiLevel + s - 1] = levelIndex;
  }
  RecordingPainter paint() {
    RecordingPainter painter;
    page.paint(painter);
    return painter;
  }
  // Presses (x, y) and draws what the press redraws.
  BasicPage::Press press(int x, int y, RecordingPainter& redrawn) {
    BasicPage::Press outcome = page.press(x, y);
    if (outcome.redraw) outcome.redraw(redrawn);
    return outcome;
  }
  // How many cells of a stage's column are drawn light, and how many at all.
  static std::pair<int, int> column(const RecordingPainter& painter, int s) {
    int light = 0, drawn = 0;
    for (int level = 1; level <= 12; ++level)
      if (const auto cell = painter.imageAt(stageX(s), levelY(level))) {
        ++drawn;
        light += *cell == SkinImage::SliderDpiLight;
      }
    return {light, drawn};
  }

  SettingsImage image;
  ButtonLabelSet labels;
  InterfaceTexts texts{Language::English};
  BasicPage page{image, labels, texts};
};

TEST_F(BasicPageTest, PaintShowsReportRateStagesAndValuesOfTheSensor) {
  struct Case {
    const char* name;
    std::uint8_t sensor;
    std::uint8_t rateCode;
    std::optional<int> litPosition;
    std::uint8_t stage1Level;
    int stage1Light, cellsPerColumn;
    const char *level1Value, *topValue;
    int valueLeft;
  };
  const Case cases[] = {
      {"sensor 0, 500 Hz", 0, 2, 3, 4, 5, 12, "250", "4000", 514},
      {"sensor 3, 125 Hz", 3, 8, 1, 7, 8, 8, "400", "3200", 494},
      // A level stored past the sensor's grid is drawn at its top.
      {"sensor 1, level past the grid", 1, 1, 4, 11, 8, 8, "600", "3200", 494},
      // An unknown sensor shows the grid and values of sensor type 0.
      {"sensor 9", 9, 4, 2, 11, 12, 12, "250", "4000", 514},
      // A report code none of 8, 4, 2, 1 lights no position.
      {"code 3", 0, 3, std::nullopt, 0, 1, 12, "250", "4000", 514},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    image.device.currentSensorType = c.sensor;
    record()[rec::kReportInterval] = c.rateCode;
    stage(1, true, c.stage1Level);
    stage(2, false, 3);
    const RecordingPainter painted = paint();
    for (int position = 1; position <= 4; ++position)
      EXPECT_EQ(painted.imageAt(rateX(position), kRateY),
                position == c.litPosition ? SkinImage::SliderRateLight : SkinImage::SliderRateDark);
    EXPECT_EQ(column(painted, 1), std::pair(c.stage1Light, c.cellsPerColumn));
    EXPECT_EQ(column(painted, 2), std::pair(0, c.cellsPerColumn)) << "a stage that is off is all dark";
    EXPECT_EQ(painted.imageAt(stageX(1), kSwitchY), SkinImage::PaneTick);
    EXPECT_EQ(painted.imageAt(stageX(2), kSwitchY), SkinImage::Pane);
    const int top = c.cellsPerColumn;
    EXPECT_EQ(painted.textsIn({c.valueLeft, 500, 544, 516}), std::vector<std::string>{c.level1Value});
    EXPECT_EQ(painted.textsIn({c.valueLeft, levelY(top), 544, levelY(top) + 16}), std::vector<std::string>{c.topValue});
  }
}

TEST_F(BasicPageTest, PaintShowsTheKeyTableChosenWithItsLabels) {
  for (std::size_t i = 0; i < labels.size(); ++i) labels[i] = "label " + std::to_string(i);
  record()[rec::kKeyTableSelector] = 1;
  const RecordingPainter painted = paint();
  EXPECT_EQ(painted.imageAt(253, 518), SkinImage::ButtonNormal);  // Mode A
  EXPECT_EQ(painted.imageAt(357, 518), SkinImage::ButtonOver);    // Mode B, chosen
  EXPECT_EQ(painted.imageAt(252, 199 + 23 * 6), SkinImage::DropdownBoxNormal);
  // Box 3 of table B: entry 2 of B, the fifteenth label.
  EXPECT_EQ(painted.textsIn({272, 245, 439, 266}), std::vector<std::string>{"label 14"});
  EXPECT_EQ(painted.textsIn({252, 245, 272, 266}), std::vector<std::string>{"3"});
  EXPECT_TRUE(painted.drewText("Mode B"));
  EXPECT_TRUE(painted.drewText("Report Rate Setting"));
}

TEST_F(BasicPageTest, ReportRatePositions) {
  record()[rec::kReportInterval] = 1;
  RecordingPainter redrawn;
  BasicPage::Press outcome = press(700, 210, redrawn);  // 500
  EXPECT_TRUE(outcome.claimed);
  EXPECT_EQ(record()[rec::kReportInterval], 2);
  EXPECT_EQ(redrawn.imageAt(rateX(3), kRateY), SkinImage::SliderRateLight);
  EXPECT_EQ(redrawn.imageAt(rateX(4), kRateY), SkinImage::SliderRateDark);
  EXPECT_EQ(redrawn.images.size(), 2u);

  RecordingPainter again;
  EXPECT_TRUE(press(686, 204, again).claimed);  // the position already chosen
  EXPECT_TRUE(again.empty());

  record()[rec::kReportInterval] = 0;  // no position lit: only the new one is drawn
  RecordingPainter fromNone;
  press(827, 214, fromNone);
  EXPECT_EQ(record()[rec::kReportInterval], 1);
  EXPECT_EQ(fromNone.images.size(), 1u);
}

TEST_F(BasicPageTest, OneStageAlwaysStaysOn) {
  image.device.currentSensorType = 1;
  stage(1, false, 2);
  stage(2, true, 0);
  RecordingPainter redrawn;
  EXPECT_TRUE(press(581 + 3, kSwitchY + 3, redrawn).claimed);  // the only stage on
  EXPECT_EQ(record()[rec::kStageEnabled + 1], 1);
  EXPECT_TRUE(redrawn.empty());

  RecordingPainter on;
  press(stageX(1), kSwitchY, on);  // stage 1 on: its switch ticked, its level shown
  EXPECT_EQ(record()[rec::kStageEnabled], 1);
  EXPECT_EQ(on.imageAt(stageX(1), kSwitchY), SkinImage::PaneTick);
  EXPECT_EQ(column(on, 1), std::pair(3, 8));

  RecordingPainter off;
  press(stageX(2) + 15, kSwitchY + 15, off);  // now stage 2 may go off
  EXPECT_EQ(record()[rec::kStageEnabled + 1], 0);
  EXPECT_EQ(off.imageAt(stageX(2), kSwitchY), SkinImage::Pane);
  EXPECT_EQ(column(off, 2), std::pair(0, 8));
}

TEST_F(BasicPageTest, GridCells) {
  stage(3, false, 0);
  RecordingPainter redrawn;
  EXPECT_TRUE(press(stageX(3) + 5, levelY(5) + 5, redrawn).claimed);
  EXPECT_EQ(record()[rec::kDpiLevel + 2], 4) << "level 5 of a stage that is off";
  EXPECT_EQ(record()[rec::kStageEnabled + 2], 0);
  EXPECT_EQ(column(redrawn, 3), std::pair(5, 12));

  RecordingPainter top;
  EXPECT_TRUE(press(stageX(4), levelY(12), top).claimed);  // sensor type 0 has twelve levels
  EXPECT_EQ(record()[rec::kDpiLevel + 3], 11);

  for (std::uint8_t sensor : {1, 2, 3, 7}) {
    SCOPED_TRACE(int{sensor});
    image.device.currentSensorType = sensor;
    RecordingPainter none;
    EXPECT_FALSE(press(stageX(1), levelY(12), none).claimed) << "the press drags the window";
    EXPECT_FALSE(press(stageX(1), levelY(9), none).claimed);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(record()[rec::kDpiLevel], 0);
    EXPECT_TRUE(press(stageX(1), levelY(8), none).claimed);
    EXPECT_EQ(record()[rec::kDpiLevel], 7);
    record()[rec::kDpiLevel] = 0;
  }
}

TEST_F(BasicPageTest, SwatchOfAStageThatIsOffIsInert) {
  stage(2, true, 0);
  stage(3, false, 0);
  EXPECT_EQ(page.press(stageX(2), kSwatchY).colourDialog, 1);
  const BasicPage::Press inert = page.press(stageX(3) + 8, kSwatchY + 8);
  EXPECT_TRUE(inert.claimed);
  EXPECT_FALSE(inert.colourDialog);
  EXPECT_FALSE(inert.redraw);
}

TEST_F(BasicPageTest, BoxesAskTheWindowAndEmptySpaceDrags) {
  EXPECT_EQ(page.press(300, 199 + 23 * 4 + 10).keyBox, 4);
  EXPECT_EQ(page.press(800, 395).lightingBox, 2);
  EXPECT_EQ(page.press(767, 330).lightingBox, 0);
  const SettingsRecord before = record();
  for (auto [x, y] : {std::pair{200, 300}, {480, 400}, {851, 335}, {700, 560}}) {
    SCOPED_TRACE(::testing::Message() << x << ", " << y);
    const BasicPage::Press outcome = page.press(x, y);
    EXPECT_FALSE(outcome.claimed);
    EXPECT_FALSE(outcome.redraw);
  }
  EXPECT_EQ(record(), before);
}

TEST_F(BasicPageTest, ModeButtonsSwitchTheTableShown) {
  labels[0] = "A one";
  labels[12] = "B one";
  RecordingPainter toB;
  press(400, 525, toB);
  EXPECT_EQ(record()[rec::kKeyTableSelector], 1);
  EXPECT_EQ(toB.imageAt(357, 518), SkinImage::ButtonOver);
  EXPECT_EQ(toB.imageAt(253, 518), SkinImage::ButtonNormal);
  EXPECT_EQ(toB.textsIn({272, 199, 439, 220}), std::vector<std::string>{"B one"});
  EXPECT_EQ(toB.textsIn({252, 199, 272, 220}), std::vector<std::string>{"1"}) << "the number stays on its box";
  EXPECT_TRUE(toB.drewText("Mode A"));

  RecordingPainter toA;
  press(300, 525, toA);
  EXPECT_EQ(record()[rec::kKeyTableSelector], 0);
  EXPECT_EQ(toA.textsIn({272, 199, 439, 220}), std::vector<std::string>{"A one"});
}

TEST_F(BasicPageTest, DefaultGivesTheFactoryKeysAndLabelsInTheLanguage) {
  const InterfaceTexts chinese(Language::TraditionalChinese);
  BasicPage chinesePage(image, labels, chinese);
  for (KeyTableId table : {KeyTableId::A, KeyTableId::B})
    for (std::size_t entry = 0; entry < kButtonCount; ++entry)
      record().key(table, KeyField::Function, entry) = 11;  // Single Key everywhere
  record().key(KeyTableId::B, KeyField::SingleKey, 0) = 0x04;
  record()[rec::kKeyTableSelector] = 1;
  BasicPage::Press outcome = chinesePage.press(360, 560);
  RecordingPainter redrawn;
  outcome.redraw(redrawn);
  for (KeyTableId table : {KeyTableId::A, KeyTableId::B}) {
    EXPECT_EQ(record().key(table, KeyField::Function, 0), 0);
    EXPECT_EQ(record().key(table, KeyField::Function, 6), 6);
    EXPECT_EQ(record().key(table, KeyField::Function, 11), 15);
    EXPECT_EQ(record().dpiAction(table, 5), 1);
    EXPECT_EQ(record().dpiAction(table, 6), 2);
  }
  EXPECT_EQ(record().key(KeyTableId::B, KeyField::SingleKey, 0), 0x04) << "the parameters stay";
  const ButtonLabelSet factory = {"左鍵",   "右鍵",   "中鍵",   "前進方向鍵", "後退方向鍵", "DPI +",
                                  "DPI -",  "按鍵關閉", "按鍵關閉", "按鍵關閉",     "按鍵關閉",     "按鍵關閉",
                                  "左鍵",   "右鍵",   "中鍵",   "前進方向鍵", "後退方向鍵", "DPI +",
                                  "DPI -",  "按鍵關閉", "按鍵關閉", "按鍵關閉",     "按鍵關閉",     "按鍵關閉"};
  EXPECT_EQ(labels, factory);
  EXPECT_EQ(redrawn.textsIn({272, 199 + 23 * 5, 439, 220 + 23 * 5}), std::vector<std::string>{"DPI +"});
  EXPECT_EQ(redrawn.imageAt(252, 199), SkinImage::DropdownBoxNormal);
}

TEST_F(BasicPageTest, HoveredKeyBoxKeepsItsNumberAndLabel) {
  labels[3] = "Forward";
  const auto controls = page.hoverControls();
  ASSERT_EQ(controls.size(), 8u);  // "Default" and the seven boxes
  EXPECT_TRUE(controls[0].region.contains(307, 549));
  RecordingPainter over;
  controls[4].draw(over, true);
  EXPECT_EQ(over.imageAt(252, 199 + 23 * 3), SkinImage::DropdownBoxOver);
  EXPECT_EQ(over.textsIn({252, 268, 272, 289}), std::vector<std::string>{"4"});
  EXPECT_EQ(over.textsIn({272, 268, 439, 289}), std::vector<std::string>{"Forward"});
  RecordingPainter defaultOver;
  controls[0].draw(defaultOver, true);
  EXPECT_EQ(defaultOver.imageAt(307, 549), SkinImage::ButtonOver);
  EXPECT_TRUE(defaultOver.drewText("Default"));
}

}  // namespace
}  // namespace ombrisk
