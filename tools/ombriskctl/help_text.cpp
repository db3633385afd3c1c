#include "help_text.h"

#include <algorithm>

#include "set_command.h"

namespace ombrisk::ctl {
namespace {

constexpr std::size_t kWidth = 80;

constexpr std::string_view kSummary =
    "Shows and changes the settings of the Ombrisk gaming mouse utility, saves and loads them as profiles, and "
    "sends them to the mouse. It works on the utility's own files (config.bin, str.ini and record.ini, beside "
    "Ombrisk.exe) by the utility's rules, so the utility's window shows what ombriskctl did.";

const OptionHelp kDirOption{"--dir DIR",
                            "The folder of config.bin, str.ini and record.ini; by default the folder of ombriskctl "
                            "itself, which an installation shares with Ombrisk.exe."};

const std::vector<CommandHelp> kCommands = {
    {"show", "[--dir DIR] [--json] [--sensor T]", "Print the settings in words, or as JSON",
     "Prints each button of both key tables with its function, parameters, key-matrix word and label; the DPI "
     "stages with their levels, DPI values, codes and colours; the report rate; the lighting; the pointer "
     "settings; and the macros with their events and loop counts.",
     {kDirOption,
      {"--json", "One JSON object instead of words (\"key_tables\", \"dpi_stages\", \"reports_per_second\", "
                 "\"lighting\", \"pointer\", \"macros\", ...)."},
      {"--sensor T", "The DPI values and codes of sensor type T (0 to 9; 0 when left out): the files do not say "
                     "which sensor the mouse has."}},
     {"ombriskctl show", "ombriskctl show --json --sensor 1"}},
    {"set", "[--dir DIR] [--sensor T] SETTING VALUE...", "Change one setting as the utility's window does",
     "Changes one setting in config.bin and, for a button, its label in str.ini (in the interface language, "
     "composed as the window composes it), by the rules of the utility's window. A value out of range or against "
     "a rule is refused with a message that says what is accepted, and nothing is written. Names of lists are "
     "taken in English or in the interface language, without regard to case. The mouse gets the change with "
     "`ombriskctl apply` (or OK or Apply in the utility's window).",
     {kDirOption, {"--sensor T", "The mouse's sensor type (0 to 3), for the levels a stage offers."}},
     {"ombriskctl set report-rate 500", "ombriskctl set stage 2 level 6", "ombriskctl set stage 4 colour 00FF80",
      "ombriskctl set lighting mode Neon", "ombriskctl set lighting parameter 2.5S",
      "ombriskctl set button A 4 single-key F5", "ombriskctl set button A 5 combo-key \"Left Ctrl\" C",
      "ombriskctl set button B 6 dpi-switch \"DPI Loop\"", "ombriskctl set button A 7 macro-key Burst 2"},
     true},
    {"apply", "[--dir DIR] [--device tcp:127.0.0.1:PORT]", "Send the settings to the mouse and save them",
     "Runs the utility's Apply: loads the three files, encodes the macros of record.ini into their blocks as "
     "saving a macro in the utility does, connects to the mouse, runs the handshake, reads the sensor, sends "
     "everything in the utility's order, then rewrites config.bin (first byte 1) and the labels of the interface "
     "language, and prints what it sent. When a transfer fails, nothing is saved and the step that failed is "
     "named. Windows' pointer settings are not touched: the utility gives them to Windows when its own window "
     "applies.",
     {kDirOption,
      {"--device tcp:127.0.0.1:PORT", "The virtual mouse (vmouse) at that loopback port instead of the real "
                                      "mouse, which only the Windows build reaches."}},
     {"ombriskctl apply", "ombriskctl apply --device tcp:127.0.0.1:47001"}},
    {"export", "[--dir DIR] FILE", "Save everything the utility stores as a profile",
     "Writes one JSON document with everything the utility stores: the settings of config.bin (report rate, DPI "
     "stages, lighting, pointer settings, both key tables with every parameter of every button), the button "
     "labels of each language in str.ini, the interface language, the skin and its text colour, and the macros "
     "of record.ini with their names, events and loop counts. FILE \"-\" is the standard output. Values are "
     "named as the utility shows them, so a profile can be read and edited by hand; it starts with \"format\": "
     "\"ombrisk-profile\" and \"format_version\": 1.",
     {kDirOption},
     {"ombriskctl export my-mouse.json"}},
    {"import", "[--dir DIR] FILE", "Load a profile, checked in full before anything is written",
     "Reads a profile that export wrote (FILE \"-\" is the standard input) and replaces the settings, labels, "
     "language, skin and macros with it. The whole document is checked first: a profile of another format "
     "version or for another device, a missing or unknown field, a wrong type or a value out of range is "
     "refused with the JSON Pointer of the field (as /config/key_tables/A/4/key) and what it accepts, and then "
     "config.bin, str.ini and record.ini stay as they were, byte for byte. The macros' blocks are encoded anew "
     "from their events. Send the result to the mouse with `ombriskctl apply`.",
     {kDirOption},
     {"ombriskctl import my-mouse.json && ombriskctl apply"}},
    {"help", "[COMMAND]", "Show this help, or a command's", "", {}, {}},
};

// Text wrapped to width, each line indented; a line break in text starts a new line.
std::string wrapped(std::string_view text, std::size_t indent, std::size_t width = kWidth) {
  std::string out;
  const std::string margin(indent, ' ');
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = margin;
    std::size_t at = start;
    while (at < end) {
      std::size_t wordEnd = text.find(' ', at);
      if (wordEnd == std::string_view::npos || wordEnd > end) wordEnd = end;
      const std::string_view word = text.substr(at, wordEnd - at);
      if (line.size() > indent && line.size() + 1 + word.size() > width) {
        out += line + "\n";
        line = margin;
      }
      line += (line.size() > indent ? " " : "") + std::string(word);
      at = wordEnd + 1;
    }
    out += line + "\n";
    start = end + 1;
  }
  return out;
}

std::vector<std::string_view> paragraphs(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find("\n\n", start), text.size());
    parts.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return parts;
}

// A two-column list: the name, then its text wrapped beside it (or under it when long).
std::string columns(const std::vector<std::pair<std::string, std::string_view>>& rows, std::size_t indent,
                    std::size_t column) {
  std::string out;
  for (const auto& [name, text] : rows) {
    const std::string head = std::string(indent, ' ') + name;
    if (head.size() + 2 <= column) {
      std::string body = wrapped(text, column);
      out += head + body.substr(head.size());
    } else {
      out += head + "\n" + wrapped(text, column);
    }
  }
  return out;
}

constexpr std::string_view kExitStatus =
    "0 when the command did its work (or the setting already had the value), 1 when it could not (a value "
    "refused, a file or the mouse out of reach), 2 for a wrong command line.";

std::string roffEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  std::string lines;
  std::size_t start = 0;
  while (start <= out.size()) {
    const std::size_t end = std::min(out.find('\n', start), out.size());
    std::string line = out.substr(start, end - start);
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line = "\\&" + line;
    lines += line + (end < out.size() ? "\n.br\n" : "");
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::span<const CommandHelp> commandHelp() { return kCommands; }

const CommandHelp* findCommandHelp(std::string_view name) {
  for (const CommandHelp& command : kCommands)
    if (command.name == name) return &command;
  return nullptr;
}

std::string usageText() {
  std::string out;
  for (const CommandHelp& command : kCommands)
    out += std::string(out.empty() ? "usage: " : "       ") + "ombriskctl " + std::string(command.name) + " " +
           std::string(command.arguments) + "\n";
  return out + "       ombriskctl --help | --version\n";
}

std::string mainHelp() {
  std::string out = "usage: ombriskctl COMMAND [OPTIONS] [ARGUMENTS]\n       ombriskctl --help | --version\n\n";
  out += wrapped(kSummary, 0) + "\nCommands:\n";
  std::vector<std::pair<std::string, std::string_view>> rows;
  for (const CommandHelp& command : kCommands) rows.emplace_back(std::string(command.name), command.summary);
  out += columns(rows, 2, 12);
  out += "\nOptions:\n" + columns({{std::string(kDirOption.option), kDirOption.text},
                                   {"--help, -h", "Show this help; after a command, that command's."},
                                   {"--version", "Show ombriskctl's version."}},
                                  2, 16);
  out += "\nExit status:\n" + wrapped(kExitStatus, 2);
  out += "\nSee 'ombriskctl help COMMAND' for a command's arguments and examples.\n";
  return out;
}

std::string commandHelpText(const CommandHelp& command) {
  std::string out = "usage: ombriskctl " + std::string(command.name) + " " + std::string(command.arguments) + "\n\n";
  if (command.name == "help") return out + wrapped("Shows ombriskctl's help, or the help of COMMAND.", 0);
  for (const std::string_view paragraph : paragraphs(command.description)) out += wrapped(paragraph, 0) + "\n";
  if (command.listsSettings) {
    out += "Settings:\n";
    for (const SettingSyntax& syntax : settingSyntaxes())
      out += "  " + std::string(syntax.words) + "\n" + wrapped(syntax.description, 6);
    out += "\n";
  }
  if (!command.options.empty()) {
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const OptionHelp& option : command.options) rows.emplace_back(std::string(option.option), option.text);
    out += "Options:\n" + columns(rows, 2, 32) + "\n";
  }
  if (!command.examples.empty()) {
    out += "Examples:\n";
    for (const std::string_view example : command.examples) out += "  " + std::string(example) + "\n";
  }
  return out;
}

std::string manPage(std::string_view version) {
  std::string out = ".TH OMBRISKCTL 1 \"\" \"ombriskctl " + std::string(version) + "\" \"User Commands\"\n";
  out += ".SH NAME\nombriskctl \\- show, change, save, load and apply the settings of the Ombrisk gaming mouse\n";
  out += ".SH SYNOPSIS\n";
  for (const CommandHelp& command : kCommands)
    out += ".B ombriskctl " + std::string(command.name) + "\n" + roffEscaped(command.arguments) + "\n.br\n";
  out += ".B ombriskctl\n\\-\\-help | \\-\\-version\n";
  out += ".SH DESCRIPTION\n" + roffEscaped(kSummary) + "\n.PP\nThis page is written by \\fBombriskctl \\-\\-man\\fR.\n";
  out += ".SH COMMANDS\n";
  for (const CommandHelp& command : kCommands) {
    out += ".SS " + std::string(command.name) + "\n.B ombriskctl " + std::string(command.name) + "\n" +
           roffEscaped(command.arguments) + "\n.PP\n";
    if (command.name == "help") out += "Shows ombriskctl's help, or the help of COMMAND.\n";
    for (const std::string_view paragraph : paragraphs(command.description)) out += roffEscaped(paragraph) + "\n.PP\n";
    if (command.listsSettings)
      for (const SettingSyntax& syntax : settingSyntaxes())
        out += ".TP\n.B " + roffEscaped(syntax.words) + "\n" + roffEscaped(syntax.description) + "\n";
    for (const OptionHelp& option : command.options)
      out += ".TP\n.B " + roffEscaped(option.option) + "\n" + roffEscaped(option.text) + "\n";
    if (!command.examples.empty()) {
      out += ".PP\nExamples:\n.RS\n.nf\n";
      for (const std::string_view example : command.examples) out += roffEscaped(example) + "\n";
      out += ".fi\n.RE\n";
    }
  }
  out += ".SH EXIT STATUS\n" + roffEscaped(kExitStatus) + "\n";
  out += ".SH FILES\n.TP\n.B config.bin\nThe settings: 1986 bytes, a first-run byte and the record.\n"
         ".TP\n.B str.ini\nThe interface language, the skin and its text colour, the button labels (UTF-16).\n"
         ".TP\n.B record.ini\nThe macros, one section each.\n";
  out += ".SH SEE ALSO\n.BR vmouse (1)\n";
  return out;
}

}  // namespace ombrisk::ctl
