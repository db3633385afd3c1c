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

namespace ombrisk {
namespace {

std::vector<std::uint8_t> pngStart(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                     0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (std::uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  return bytes;
}

TEST(PngHeader, SizeFromTheHeaderChunk) {
  const auto header = readPngHeader(pngStart(880, 650));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 880u);
  EXPECT_EQ(header->height, 650u);
  EXPECT_TRUE(readPngHeader(pngStart(4096, 1)));
}

TEST(PngHeader, RefusesBrokenShortAndAbsurdFiles) {
  EXPECT_FALSE(readPngHeader(pngStart(4097, 10)));
  EXPECT_FALSE(readPngHeader(pngStart(1, 100000)));
  EXPECT_FALSE(readPngHeader(pngStart(10, 0x7FFFFFFF)));
  EXPECT_FALSE(readPngHeader(pngStart(0, 10)));
  auto truncated = pngStart(10, 10);
  truncated.pop_back();
  EXPECT_FALSE(readPngHeader(truncated));
  auto notPng = pngStart(10, 10);
  notPng[1] = 'X';
  EXPECT_FALSE(readPngHeader(notPng));
  auto otherChunk = pngStart(10, 10);
  otherChunk[12] = 'i';
  EXPECT_FALSE(readPngHeader(otherChunk));
  EXPECT_FALSE(readPngHeader({}));
}

}  // namespace
}  // namespace ombrisk
