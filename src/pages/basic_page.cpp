#include "pages/basic_page.h"

#include "device/report_commands.h"
#include "keys/button_labels.h"
#include "keys/key_functions.h"
#include "pages/basic_page_surface.h"
#include "pages/dpi_controls.h"

namespace ombrisk {
namespace {

using Row = SurfaceRegion<BasicControl>;

const Row& rowOf(BasicControl control, int index = 0) { return regionOf(basicPageSurface(), control, index); }

void paintImage(Painter& painter, const Row& row, bool on) {
  if (const auto image = on ? row.over : row.normal) painter.image(*image, row.rect.left, row.rect.top);
}

}  // namespace

void prepareFirstBasicBuild(CommandProtocol& protocol, SettingsImage& image, ButtonLabelSet& labels,
                            const InterfaceTexts& texts, ProfileStore& profiles, const std::string& strIni) {
  readSensorAtConnection(protocol, image.device);
  if (image.firstRunFlag != 0) return;
  labels = functionLabels(image.record, texts);
  writeButtonLabels(profiles, strIni, std::string(texts.labelSection()), labels);
}

BasicPage::BasicPage(SettingsImage& image, ButtonLabelSet& labels, const InterfaceTexts& texts)
    : image_(image), record_(image.record), labels_(labels), texts_(texts) {}

std::size_t BasicPage::levels() const { return gridLevels(sensorType()); }

void BasicPage::paintModeButtons(Painter& painter, bool captions) const {
  const bool tableB = currentKeyTable(record_) == KeyTableId::B;
  for (const auto& [control, selected] : {std::pair{BasicControl::ModeA, !tableB}, {BasicControl::ModeB, tableB}}) {
    if (captions)
      paintRegion(painter, rowOf(control), selected, texts_);
    else
      paintImage(painter, rowOf(control), selected);
  }
}

void BasicPage::paintKeyBox(Painter& painter, int button, bool over) const {
  paintImage(painter, rowOf(BasicControl::KeyBox, button), over);
  painter.text(std::to_string(button + 1), keyNumberRegion(button), TextPlacement::Left);
  painter.text(labels_[labelIndex(currentKeyTable(record_), static_cast<std::size_t>(button))], keyLabelRegion(button),
               TextPlacement::LeftCut);
}

void BasicPage::paintKeyBoxes(Painter& painter) const {
  for (int button = 0; button < kKeyBoxCount; ++button) paintKeyBox(painter, button, false);
}

void BasicPage::paintColumn(Painter& painter, int stage, std::size_t lit) const {
  const std::size_t count = levels();
  for (std::size_t level = 1; level <= count; ++level)
    paintImage(painter, rowOf(BasicControl::DpiCell, dpiCellIndex(stage + 1, static_cast<int>(level))), level <= lit);
}

void BasicPage::paintStageSwitch(Painter& painter, int stage) const {
  paintImage(painter, rowOf(BasicControl::StageSwitch, stage), stageOn(record_, stage));
}

void BasicPage::paint(Painter& painter) const {
  // Controls first: the key section, the report rate, the stages.
  paintModeButtons(painter, false);
  paintImage(painter, rowOf(BasicControl::KeyDefault), false);
  for (int button = 0; button < kKeyBoxCount; ++button) paintImage(painter, rowOf(BasicControl::KeyBox, button), false);
  const std::optional<int> rate = reportRatePosition(record_[rec::kReportInterval]);
  for (int position = 0; position < kReportRatePositions; ++position)
    paintImage(painter, rowOf(BasicControl::ReportRate, position), position == rate);
  for (int stage = 0; stage < kStages; ++stage) {
    paintStageSwitch(painter, stage);
    paintColumn(painter, stage, litCells(record_, stage, levels()));
  }
  // Then the texts: the fixed ones, the key labels of the table shown, the DPI values.
  for (const PageText& text : basicPageTexts(texts_)) painter.text(text.text, text.region, text.placement);
  const KeyTableId table = currentKeyTable(record_);
  for (int button = 0; button < kKeyBoxCount; ++button)
    painter.text(labels_[labelIndex(table, static_cast<std::size_t>(button))], keyLabelRegion(button),
                 TextPlacement::LeftCut);
  for (std::size_t level = 1; level <= levels(); ++level)
    painter.text(gridValueText(sensorType(), level - 1), dpiValueRegion(static_cast<int>(level), levels()),
                 TextPlacement::Right);
}

BasicPage::Press BasicPage::press(int x, int y) {
  const Row* row = hitTest(basicPageSurface(), x, y);
  if (!row) return {};
  Press press{true};
  switch (row->control) {
    case BasicControl::ModeA:
    case BasicControl::ModeB:
      record_[rec::kKeyTableSelector] = row->control == BasicControl::ModeA ? 0 : 1;
      press.redraw = [this](Painter& painter) {
        paintModeButtons(painter, true);
        paintKeyBoxes(painter);
      };
      return press;
    case BasicControl::KeyDefault:
      {
        KeyChoiceContext keys = keyChoice();
        resetKeyAssignments(keys);
      }
      press.redraw = [this](Painter& painter) { paintKeyBoxes(painter); };
      return press;
    case BasicControl::KeyBox:
      press.keyBox = row->index;
      return press;
    case BasicControl::ReportRate:
      return pressReportRate(row->index);
    case BasicControl::StageSwitch:
      return pressStageSwitch(row->index);
    case BasicControl::StageSwatch:
      if (stageOn(record_, row->index)) press.colourDialog = row->index;
      return press;
    case BasicControl::LightingBox:
      press.lightingBox = row->index;
      return press;
    case BasicControl::DpiCell:
      return pressDpiCell(dpiCellStage(row->index) - 1, dpiCellLevel(row->index));
    default:
      return {};
  }
}

BasicPage::Press BasicPage::pressReportRate(int position) {
  const std::uint8_t code = reportRateCode(position);
  const std::uint8_t old = record_[rec::kReportInterval];
  if (old == code) return {true};
  record_[rec::kReportInterval] = code;
  return {true, [this, position, was = reportRatePosition(old)](Painter& painter) {
            paintImage(painter, rowOf(BasicControl::ReportRate, position), true);
            if (was) paintImage(painter, rowOf(BasicControl::ReportRate, *was), false);
          }};
}

BasicPage::Press BasicPage::pressStageSwitch(int stage) {
  if (!toggleStage(record_, stage)) return {true};
  return {true, [this, stage](Painter& painter) {
            paintStageSwitch(painter, stage);
            paintColumn(painter, stage, litCells(record_, stage, levels()));
          }};
}

BasicPage::Press BasicPage::pressDpiCell(int stage, int level) {
  if (!levelTakesPress(sensorType(), level)) return {};
  record_[rec::kDpiLevel + static_cast<std::size_t>(stage)] = static_cast<std::uint8_t>(level - 1);
  // The chosen level shows even on a stage that is off, so the press is seen to take.
  return {true, [this, stage, level](Painter& painter) { paintColumn(painter, stage, static_cast<std::size_t>(level)); }};
}

std::function<void(Painter&)> BasicPage::keyBoxRedraw(int button) const {
  return [this, button](Painter& painter) { paintKeyBox(painter, button, false); };
}

std::vector<BasicPage::HoverControl> BasicPage::hoverControls() const {
  std::vector<HoverControl> controls;
  const Row& keyDefault = rowOf(BasicControl::KeyDefault);
  controls.push_back({keyDefault.rect, [this, &keyDefault](Painter& painter, bool over) {
                        paintRegion(painter, keyDefault, over, texts_);
                      }});
  for (int button = 0; button < kKeyBoxCount; ++button)
    controls.push_back({rowOf(BasicControl::KeyBox, button).rect,
                        [this, button](Painter& painter, bool over) { paintKeyBox(painter, button, over); }});
  return controls;
}

}  // namespace ombrisk
