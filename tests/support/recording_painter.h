// A Painter that records what a surface draws, in order, so that a test can ask what shows
// at a point or in a rectangle after a paint or a redraw.
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
    bool operator==(const Image&) const = default;
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
  bool drewText(std::string_view wanted) const { return textOf(wanted).has_value(); }
  // The image drawn last with its corner at (x, y): what is on top there.
  std::optional<SkinImage> imageAt(int x, int y) const {
    for (auto it = images.rbegin(); it != images.rend(); ++it)
      if (it->x == x && it->y == y) return it->image;
    return std::nullopt;
  }
  // The texts drawn in exactly this rectangle, in order.
  std::vector<std::string> textsIn(const Region& region) const {
    std::vector<std::string> found;
    for (const Text& text : texts)
      if (text.region == region) found.push_back(text.text);
    return found;
  }
  bool empty() const { return images.empty() && texts.empty(); }
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
