#include "skin/pixels.h"

namespace ombrisk {

void premultiplyBgra(std::span<std::uint8_t> pixels) {
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
    const unsigned alpha = pixels[i + 3];
    for (std::size_t c = 0; c < 3; ++c)
      pixels[i + c] = static_cast<std::uint8_t>(pixels[i + c] * alpha / 255);
  }
}

}  // namespace ombrisk
