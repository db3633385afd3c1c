// A fixed rectangle of a skinned window in client pixels.
#pragma once

namespace ombrisk {

struct Region {
  int left = 0, top = 0, right = 0, bottom = 0;

  // Left and top edges belong to the region, right and bottom edges do not.
  constexpr bool contains(int x, int y) const {
    return left <= x && x < right && top <= y && y < bottom;
  }
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool operator==(const Region&) const = default;
};

}  // namespace ombrisk
