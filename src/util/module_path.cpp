#include "util/module_path.h"

namespace ombrisk {

std::string applicationNameFromPath(std::string_view executablePath) {
  std::string_view name = executablePath;
  if (const auto slash = name.find_last_of("\\/"); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  return name.empty() ? "Ombrisk" : std::string(name);
}

}  // namespace ombrisk
