// The running executable's path and name, from the system.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

// The full path of the running executable, however long.
std::wstring modulePath();
// Its base name without extension: the caption of the program's message boxes.
std::wstring applicationName();

}  // namespace ombrisk
