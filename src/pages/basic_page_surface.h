// The Basic page's surface: its controls in the order a press tests them, its child windows
// and its fixed texts, in client pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "keys/function_choice.h"
#include "pages/window_surface.h"

namespace ombrisk {

enum class BasicControl {
  ModeA,
  ModeB,
  KeyDefault,
  KeyBox,        // index 0..6: button 1..7
  ReportRate,    // index 0..3: 125, 250, 500, 1000 reports per second
  StageSwitch,   // index 0..3: stage 1..4
  StageSwatch,   // index 0..3
  LightingBox,   // index 0..2: mode, parameter, effect
  DpiCell,       // index dpiCellIndex(stage, level)
  // Child windows only:
  KeyList,       // index 0..6, the function list of button 1..7
  LightingValue, // index 0..2, the value text in each lighting box
  LightingList,  // index 0..2
};

inline constexpr int kKeyBoxCount = static_cast<int>(kButtonsWithKeyBox);
inline constexpr int kReportRatePositions = 4;
inline constexpr int kStages = 4;
inline constexpr int kDpiLevelsMax = 12;
inline constexpr int kLightingBoxes = 3;

// Stage and level are 1-based, as the page counts them.
constexpr int dpiCellIndex(int stage, int level) { return (stage - 1) * kDpiLevelsMax + (level - 1); }
constexpr int dpiCellStage(int index) { return index / kDpiLevelsMax + 1; }
constexpr int dpiCellLevel(int index) { return index % kDpiLevelsMax + 1; }

// In the order a press tests them: Mode A, Mode B, Default, the key boxes, the report-rate
// positions, the stage switches, the swatches, the lighting boxes, the DPI cells.
Surface<BasicControl> basicPageSurface();
std::span<const ChildControl<BasicControl>> basicPageChildren();

// Box and list of key button k (0..6) and of lighting box i (0..2).
DropDownBox keyDropDown(int button);
DropDownBox lightingDropDown(int box);

// A fixed text of a page in the language of texts.
struct PageText {
  std::string text;
  Region region;
  TextPlacement placement;
};

// The Basic page's fixed labels: group titles, "Default", "Mode A" and "Mode B", the button
// numbers, the report rates under their positions, "Color" and "Select", the stage numbers,
// the lighting labels. The values, the key labels and the DPI value texts follow the settings
// and are drawn by the page.
std::vector<PageText> basicPageTexts(const InterfaceTexts& texts);

// The rectangles of the number and of the label of key box k (0..6): the number at its
// left, the label right of it up to the box's arrow.
Region keyNumberRegion(int button);
Region keyLabelRegion(int button);

// The list of lighting box i (0..2) while the lighting mode is mode: the parameter list is
// as long as the mode's values need (brightness, speed or period).
Region lightingListRect(int box, std::uint8_t mode);

// The DPI value text of level n (1..12) beside the grid, right-aligned up to the grid; the
// texts stand further left when the sensor offers eight levels.
Region dpiValueRegion(int level, std::size_t levelCount);

}  // namespace ombrisk
