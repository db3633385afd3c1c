// The report-rate slider and the four DPI stages of the Basic page: what each press stores,
// and what the controls show for the sensor the mouse reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pages/control_colours.h"
#include "settings/settings_image.h"

namespace ombrisk {

// Report intervals of positions 1..4 (125, 250, 500, 1000 reports per second).
std::uint8_t reportRateCode(int position);
// The position (0..3) of an interval code; none for a code other than 8, 4, 2, 1.
std::optional<int> reportRatePosition(std::uint8_t code);

// Stages and levels count from 0 here (stage 1 is 0).
bool stageOn(const SettingsRecord& record, int stage);
// Switches a stage off, unless it is the only one on, or on. True when it changed.
bool toggleStage(SettingsRecord& record, int stage);

// Levels of the grid: 8 for sensor types 1..3, 12 for type 0 and any unknown type.
std::size_t gridLevels(std::uint8_t sensorType);
// Whether the cell of level (1..12) takes a press: levels 9..12 only with sensor type 0.
bool levelTakesPress(std::uint8_t sensorType, int level);
// Cells drawn light in a stage's column: none while the stage is off, otherwise up to its
// level (a stored level past the grid's top is drawn at the top).
std::size_t litCells(const SettingsRecord& record, int stage, std::size_t levels);
// The value text beside level index levelIndex of the grid; an unknown sensor type shows
// the values of type 0.
std::string_view gridValueText(std::uint8_t sensorType, std::size_t levelIndex);

Rgb stageColour(const SettingsRecord& record, int stage);
void setStageColour(SettingsRecord& record, int stage, Rgb colour);

}  // namespace ombrisk
