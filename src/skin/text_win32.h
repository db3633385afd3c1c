// Text on skinned surfaces: window fonts and the placements the pages and dialogs use.
#pragma once

#include <windows.h>

#include <string>

#include "app/interface_texts.h"
#include "skin/region.h"
#include "skin/text_placement.h"

namespace ombrisk {

// A font with the fixed attributes of every window font (width 0, normal, default character
// set, precision and quality, Swiss pitch-and-family).
HFONT createWindowFont(const FontSpec& spec);

// The major and minor version the system reports to the program.
SystemVersion reportedSystemVersion();

inline constexpr COLORREF kWhiteText = RGB(255, 255, 255);


// The pixels that drawText covers (region included): a one-line text wider or taller than its
// region spills over it as placed.
RECT textBounds(HDC dc, const std::string& text, const Region& region, TextPlacement placement);

// Draws text (UTF-8) in region with a transparent background in colour, with the font
// currently selected into dc.
void drawText(HDC dc, const std::string& text, const Region& region, COLORREF colour,
              TextPlacement placement);

// A narrower cut of font (same face and height) in which text fits width pixels; null when
// it fits in font itself. The caller deletes the font it gets.
HFONT createFittingFont(HFONT font, const std::string& text, int width);

// Selects font for the life of the object.
class FontSelection {
 public:
  FontSelection(HDC dc, HFONT font) : dc_(dc), previous_(font ? SelectObject(dc, font) : nullptr) {}
  ~FontSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  FontSelection(const FontSelection&) = delete;
  FontSelection& operator=(const FontSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace ombrisk
