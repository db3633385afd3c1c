// A Painter that keeps what was drawn, for tests of what a surface draws.
#pragma once

#include <string>
#include <vector>

#include "skin/surface.h"

namespace ombrisk::testing {

class RecordingPainter final : public Painter {
 public:
  struct Image {
    SkinImage image;
    int x, y;
    bool operator==(const Image&) const = default;
  };
  struct Text {
    std::string text;
    Region region;
    TextPlacement placement;
    TextColour colour;
  };

  void image(SkinImage image, int x, int y) override { images.push_back({image, x, y}); }
  void text(std::string_view utf8, const Region& region, TextPlacement placement, TextColour colour,
            TextFont) override {
    texts.push_back({std::string(utf8), region, placement, colour});
  }

  // The image drawn last at (x, y), if any.
  const Image* lastAt(int x, int y) const {
    for (auto image = images.rbegin(); image != images.rend(); ++image)
      if (image->x == x && image->y == y) return &*image;
    return nullptr;
  }
  void clear() {
    images.clear();
    texts.clear();
  }

  std::vector<Image> images;
  std::vector<Text> texts;
};

}  // namespace ombrisk::testing
