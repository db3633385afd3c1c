// A Painter that notes what a surface draws, for the native tests of what pages and dialogs
// show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "skin/surface.h"

namespace ombrisk::testing {

class RecordingPainter final : public Painter {
 public:
  struct Image {
    SkinImage image;
    int x, y;
  };
  struct Text {
    std::string text;
    Region region;
    TextPlacement placement;
    TextColour colour;
    TextFont font;
  };

  void image(SkinImage image, int x, int y) override { images.push_back({image, x, y}); }
  void text(std::string_view utf8, const Region& region, TextPlacement placement, TextColour colour,
            TextFont font) override {
    texts.push_back({std::string(utf8), region, placement, colour, font});
  }

  // The text drawn with this content, if any.
  std::optional<Text> textOf(std::string_view content) const {
    for (const Text& text : texts)
      if (text.text == content) return text;
    return std::nullopt;
  }
  // The image drawn at (x, y) last, if any.
  std::optional<SkinImage> imageAt(int x, int y) const {
    std::optional<SkinImage> found;
    for (const Image& image : images)
      if (image.x == x && image.y == y) found = image.image;
    return found;
  }

  std::vector<Image> images;
  std::vector<Text> texts;
};

}  // namespace ombrisk::testing
