// Event reports as the mouse's event interface delivers them, and interface names.
#include <cstdlib>
#include <string_view>

#include "device/device_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto event = ombrisk::parseEventReport({data, size});
  if (event && !(event->type == 5 || event->type == 7 || event->type == 8 || event->type == 9)) std::abort();
  ombrisk::namesTheMouse(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
