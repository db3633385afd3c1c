#include <gtest/gtest.h>

#include <vector>

#include "skin/pixels.h"

namespace ombrisk {
namespace {

TEST(Premultiply, ColoursScaleByAlphaTruncated) {
  // Blue, green, red, alpha.
  std::vector<std::uint8_t> pixels = {
      50, 100, 200, 128,   // (200, 100, 50) at alpha 128 -> (100, 50, 25)
      255, 255, 255, 0,    // fully transparent: nothing left
      9, 80, 255, 255,     // opaque: unchanged
      1, 254, 255, 1,      // 254 * 1 / 255 truncates to 0, 255 * 1 / 255 = 1
  };
  premultiplyBgra(pixels);
  const std::vector<std::uint8_t> expected = {25, 50, 100, 128, 0, 0, 0, 0,
                                              9, 80, 255, 255, 0, 0, 1, 1};
  EXPECT_EQ(pixels, expected);
}

TEST(Premultiply, IgnoresATrailingPartialPixel) {
  std::vector<std::uint8_t> pixels = {200, 200, 200, 0, 77, 77};
  premultiplyBgra(pixels);
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 77, 77}));
}

}  // namespace
}  // namespace ombrisk
