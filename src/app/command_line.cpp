#include "app/command_line.h"

namespace ombrisk {

CommandLine parseCommandLine(const std::vector<std::u16string>& arguments) {
  static constexpr std::u16string_view kDevice = u"--device=";
  CommandLine line;
  for (const std::u16string& argument : arguments) {
    if (argument.starts_with(kDevice))
      line.deviceOption = argument.substr(kDevice.size());
    else
      line.unknown.push_back(argument);
  }
  return line;
}

}  // namespace ombrisk
