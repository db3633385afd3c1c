// The PNG header check before any decoding: never reads past what it is given, and passes
// only sizes inside the skin limit.
#include <cstdlib>

#include "skin/pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = ombrisk::readPngHeader({data, size});
  if (header && (header->width == 0 || header->height == 0 || header->width > ombrisk::kMaxSkinImageSide ||
                 header->height > ombrisk::kMaxSkinImageSide))
    std::abort();
  return 0;
}
