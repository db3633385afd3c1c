#include "skin/pixels.h"

namespace ombrisk {

void premultiplyBgra(std::span<std::uint8_t> pixels) {
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
    const unsigned alpha = pixels[i + 3];
    for (std::size_t c = 0; c < 3; ++c)
      pixels[i + c] = static_cast<std::uint8_t>(pixels[i + c] * alpha / 255);
  }
}

std::optional<PngHeader> readPngHeader(std::span<const std::uint8_t> start) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr std::uint8_t kHeaderChunk[8] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  if (start.size() < kPngHeaderBytes) return std::nullopt;
  for (std::size_t i = 0; i < 8; ++i)
    if (start[i] != kSignature[i] || start[8 + i] != kHeaderChunk[i]) return std::nullopt;
  const auto bigEndian = [&](std::size_t at) {
    return unsigned{start[at]} << 24 | unsigned{start[at + 1]} << 16 | unsigned{start[at + 2]} << 8 |
           unsigned{start[at + 3]};
  };
  const PngHeader header{bigEndian(16), bigEndian(20)};
  if (header.width == 0 || header.height == 0 || header.width > kMaxSkinImageSide ||
      header.height > kMaxSkinImageSide)
    return std::nullopt;
  return header;
}

}  // namespace ombrisk
