// ombriskctl on Linux and other POSIX systems: no HID backend yet.
#include <filesystem>

#include "mouse_connection.h"

namespace ombrisk::ctl {

std::unique_ptr<MouseConnection> connectRealMouse(std::string& error) {
  error = "only the virtual mouse is available on this system yet: give --device tcp:127.0.0.1:PORT";
  return nullptr;
}

std::string executablePath() {
  std::error_code failure;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) return {};
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace ombrisk::ctl
