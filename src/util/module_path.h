// The program's own file: its full path and the application name derived from it.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// The caption of the program's message boxes: the executable's file name without folder
// and extension ("Ombrisk" for an empty name).
std::string applicationNameFromPath(std::string_view executablePath);

}  // namespace ombrisk
