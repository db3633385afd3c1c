// The program's command line: "--device=VALUE" chooses the mouse (empty: the real one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

struct CommandLine {
  std::u16string deviceOption;
  std::vector<std::u16string> unknown;  // arguments the program does not know
};

// Arguments after the program name; the last --device= wins.
CommandLine parseCommandLine(const std::vector<std::u16string>& arguments);

}  // namespace ombrisk
