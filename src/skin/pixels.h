// Pixel rules of skin images, apart from the decoder that produces them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ombrisk {

// Pixels are blue, green, red, alpha with straight alpha; each colour becomes c * a / 255
// (truncated), as per-pixel alpha blending wants them.
void premultiplyBgra(std::span<std::uint8_t> pixels);

// Skin images larger than this on either side are refused as broken.
inline constexpr unsigned kMaxSkinImageSide = 4096;

struct PngHeader {
  unsigned width = 0;
  unsigned height = 0;
};

// Width and height from the first bytes of a PNG file (signature and IHDR chunk); nothing for
// anything that is not a PNG file of a sensible size (1..kMaxSkinImageSide on each side), so
// that a broken or hostile file never reaches the decoder with an absurd size.
std::optional<PngHeader> readPngHeader(std::span<const std::uint8_t> start);
inline constexpr std::size_t kPngHeaderBytes = 24;

}  // namespace ombrisk
