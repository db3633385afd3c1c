// The Basic page's decisions: what it draws over its picture, what a press changes in the
// settings record, what the press redraws and what the window has to do next (open or close
// a list, run the colour dialog, or drag the window when no control took the press).
// Nothing here touches a window; the page view carries the outcomes out.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "device/command_protocol.h"
#include "keys/function_choice.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"
#include "skin/surface.h"

namespace ombrisk {

// The first build of the Basic page after start: the sensor the mouse reports becomes the
// current one (its block written back with bit 6 of option 2 set), and until the first
// Apply ever (first-run flag 0) the labels are filled in for what the key tables hold and
// written to str.ini.
void prepareFirstBasicBuild(CommandProtocol& protocol, SettingsImage& image, ButtonLabelSet& labels,
                            const InterfaceTexts& texts, ProfileStore& profiles, const std::string& strIni);

class BasicPage {
 public:
  // What a press on the page asks of the window besides the redraw.
  struct Press {
    bool claimed = false;                      // false: no control took it; the window is dragged
    std::function<void(Painter&)> redraw;      // the controls it changed; empty: nothing to redraw
    std::optional<int> keyBox;                 // button 0..6: its function list opens or closes
    std::optional<int> lightingBox;            // 0..2: its list opens or closes
    std::optional<int> colourDialog;           // stage 0..3: choose its colour
  };

  // A control that shows its over image while the pointer rests on it.
  struct HoverControl {
    Region region;
    std::function<void(Painter&, bool over)> draw;
  };

  BasicPage(SettingsImage& image, ButtonLabelSet& labels, const InterfaceTexts& texts);

  // The page's controls over the page picture, then its texts.
  void paint(Painter& painter) const;
  Press press(int x, int y);
  // The key "Default" and the seven key boxes (a box keeps its number and label over).
  std::vector<HoverControl> hoverControls() const;

  // What the function lists and the editors work on to give a button its function.
  KeyChoiceContext keyChoice() { return {record_, labels_, texts_}; }
  // Key box button (0..6) with its number and its label in the table shown: after a choice.
  std::function<void(Painter&)> keyBoxRedraw(int button) const;

 private:
  std::uint8_t sensorType() const { return image_.device.currentSensorType; }
  std::size_t levels() const;
  void paintModeButtons(Painter& painter, bool captions) const;
  void paintKeyBox(Painter& painter, int button, bool over) const;
  void paintKeyBoxes(Painter& painter) const;
  void paintColumn(Painter& painter, int stage, std::size_t lit) const;
  void paintStageSwitch(Painter& painter, int stage) const;

  Press pressReportRate(int position);
  Press pressStageSwitch(int stage);
  Press pressDpiCell(int stage, int level);

  SettingsImage& image_;
  SettingsRecord& record_;
  ButtonLabelSet& labels_;
  const InterfaceTexts& texts_;
};

}  // namespace ombrisk
