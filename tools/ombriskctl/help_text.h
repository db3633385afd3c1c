// ombriskctl's help, one text for three readers: `ombriskctl --help`, `ombriskctl help
// COMMAND` (or COMMAND --help) and the manual page (`ombriskctl --man`, roff).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk::ctl {

struct OptionHelp {
  std::string_view option;  // "--dir DIR"
  std::string_view text;
};

struct CommandHelp {
  std::string_view name;
  std::string_view arguments;    // after the name, as in the synopsis
  std::string_view summary;      // one line for the list of commands
  std::string_view description;  // paragraphs apart by a blank line
  std::vector<OptionHelp> options;
  std::vector<std::string_view> examples;
  bool listsSettings = false;  // set: followed by the settings it takes
};

std::span<const CommandHelp> commandHelp();
const CommandHelp* findCommandHelp(std::string_view name);

// The synopsis lines, for a wrong command line.
std::string usageText();
// `ombriskctl --help`: what the tool does, its commands, options and exit codes.
std::string mainHelp();
// One command's help.
std::string commandHelpText(const CommandHelp& command);
// The manual page, in roff.
std::string manPage(std::string_view version);

}  // namespace ombrisk::ctl
