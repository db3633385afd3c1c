// Pixel rules of skin images, apart from the decoder that produces them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrisk {

// Pixels are blue, green, red, alpha with straight alpha; each colour becomes c * a / 255
// (truncated), as per-pixel alpha blending wants them.
void premultiplyBgra(std::span<std::uint8_t> pixels);

// Decoded skin images larger than this on either side are refused as broken.
inline constexpr unsigned kMaxSkinImageSide = 4096;

}  // namespace ombrisk
