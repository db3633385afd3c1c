#include "settings_view.h"

#include <cstdio>
#include <optional>

#include "device/sensor_table.h"
#include "keys/button_labels.h"
#include "keys/key_functions.h"
#include "keys/key_names.h"
#include "macros/macro_codec.h"

namespace ombrisk::ctl {
namespace {

std::string hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
  return text;
}

std::string hexWord(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

// One parameter of a button function: a number, with a text where the number has a name.
struct Parameter {
  std::string name;
  long number;
  std::string text;
};

std::string keyText(std::uint8_t usage) {
  const std::string_view name = usageToKeyName(usage);
  return name.empty() ? "usage " + hex2(usage) : std::string(name);
}

template <typename List>
std::string listEntry(List list, std::size_t position) {
  return position < list.size() ? std::string(listText(list[position], Language::English))
                                : "position " + std::to_string(position);
}

std::vector<Parameter> parametersOf(const SettingsView& view, KeyTableId table, std::size_t entry) {
  const SettingsRecord& r = view.image.record;
  const auto f = [&](KeyField field) { return r.key(table, field, entry); };
  switch (static_cast<KeyFunction>(f(KeyField::Function))) {
    case KeyFunction::DpiSwitch: {
      const std::uint8_t action = r.dpiAction(table, entry);
      return {{"dpi_action", action, std::string(dpiActionName(action))}};
    }
    case KeyFunction::Windows:
      return {{"windows_index", f(KeyField::WindowsIndex), listEntry(windowsFunctionList(), f(KeyField::WindowsIndex))},
              {"usage", f(KeyField::WindowsUsagePage) << 8 | f(KeyField::WindowsUsageLow), ""}};
    case KeyFunction::Multimedia:
      return {{"media_index", f(KeyField::MediaIndex), listEntry(mediaFunctionList(), f(KeyField::MediaIndex))},
              {"usage", f(KeyField::MediaUsage), ""}};
    case KeyFunction::FireKey: {
      const std::uint8_t index = f(KeyField::FireIndex);
      return {{"fire_key", f(KeyField::FireKey),
               index < fireKeyList().size() ? std::string(fireKeyList()[index].text) : keyText(f(KeyField::FireKey))},
              {"speed", f(KeyField::FireSpeed), ""},
              {"times", f(KeyField::FireTimes), f(KeyField::FireTimes) == 0 ? "until released" : ""}};
    }
    case KeyFunction::SingleKey: return {{"key", f(KeyField::SingleKey), keyText(f(KeyField::SingleKey))}};
    case KeyFunction::ComboKey: {
      std::string modifiers;
      for (const ModifierNameBit& m : modifierNameTable())
        if (f(KeyField::ComboModifiers) & m.bit) modifiers += (modifiers.empty() ? "" : " + ") + std::string(m.name);
      return {{"modifiers", f(KeyField::ComboModifiers), modifiers},
              {"key1", f(KeyField::ComboKey1), f(KeyField::ComboKey1) ? keyText(f(KeyField::ComboKey1)) : ""},
              {"key2", f(KeyField::ComboKey2), f(KeyField::ComboKey2) ? keyText(f(KeyField::ComboKey2)) : ""}};
    }
    case KeyFunction::MacroKey: {
      const std::size_t position = f(KeyField::MacroNumber);
      return {{"macro_number", static_cast<long>(position + 1),
               position < view.macros.size() ? view.macros[position].name : ""},
              {"repeat_mode", f(KeyField::MacroRepeat) + 1, ""}};
    }
    default: return {};
  }
}

std::string functionName(std::uint8_t function) {
  const std::string_view name = keyFunctionName(function);
  return name.empty() ? "unknown function " + std::to_string(function) + " (sent as 0)" : std::string(name);
}

std::string lightingModeName(std::uint8_t mode) {
  switch (mode) {
    case 1: return "Standard";
    case 2: return "Respiration";
    case 3: return "Neon";
    default: return "none (the mouse keeps its own)";
  }
}

std::size_t modeParameterOffset(std::uint8_t mode) {
  return mode == 1 ? rec::kMode1Parameter : mode == 2 ? rec::kMode2Parameter : rec::kMode3Parameter;
}

std::string reportRate(std::uint8_t code) {
  switch (code) {
    case 1: return "1000";
    case 2: return "500";
    case 4: return "250";
    case 8: return "125";
    default: return "";
  }
}

std::string eventText(const MacroEvent& e) {
  return e.keyName + (e.release ? " Up" : " Dn") + ", " + std::to_string(e.delayMs) + " ms";
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\', out += c;
    else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else out += c;
  }
  return out + "\"";
}

const char* tableName(KeyTableId table) { return table == KeyTableId::A ? "A" : "B"; }

}  // namespace

std::string describeSettings(const SettingsView& view) {
  const SettingsRecord& r = view.image.record;
  std::string out;
  const auto line = [&](const std::string& text) { out += text + "\n"; };
  line("Settings: " + view.configPath +
       (view.configLoaded ? " (first-run flag " + std::to_string(view.image.firstRunFlag) + ")"
                          : " (missing or not 1986 bytes: every setting reads as zero)"));
  for (const KeyTableId table : {KeyTableId::A, KeyTableId::B}) {
    const bool shown = (r[rec::kKeyTableSelector] == 1) == (table == KeyTableId::B);
    line(std::string("Key table ") + tableName(table) + " (Mode " + tableName(table) + ")" +
         (shown ? ", the one shown" : "") + ":");
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      std::string text = "  button " + std::to_string(entry + 1) + ": " +
                         functionName(r.key(table, KeyField::Function, entry));
      for (const Parameter& p : parametersOf(view, table, entry))
        text += ", " + p.name + " " + std::to_string(p.number) + (p.text.empty() ? "" : " (" + p.text + ")");
      if (entry < kEncodedButtons) text += ", word " + hexWord(keyMatrixWord(r, table, entry));
      else text += ", not sent";
      const std::string& label = view.labels[labelIndex(table, entry)];
      if (!label.empty()) text += ", label \"" + label + "\"";
      line(text);
    }
  }
  const std::uint8_t sensor = view.image.device.currentSensorType;
  line("DPI stages (values and codes of sensor type " + std::to_string(sensor) + "):");
  for (std::size_t stage = 0; stage < rec::kStageCount; ++stage) {
    const std::uint8_t level = r[rec::kDpiLevel + stage];
    const std::size_t colour = rec::kStageColours + 3 * stage;
    char rgb[16];
    std::snprintf(rgb, sizeof rgb, "#%02X%02X%02X", r[colour], r[colour + 1], r[colour + 2]);
    const std::string_view dpi = dpiValueText(sensor, level);
    line("  stage " + std::to_string(stage + 1) + ": level " + std::to_string(level) +
         (dpi.empty() ? "" : " = " + std::string(dpi) + " DPI") + " (code " + hex2(dpiCode(sensor, level)) + "), " +
         (r[rec::kStageEnabled + stage] ? "on" : "off") + ", colour " + rgb);
  }
  const std::string rate = reportRate(r[rec::kReportInterval]);
  line("Report rate: " + (rate.empty() ? "unknown" : rate + " reports per second") + " (code " +
       std::to_string(r[rec::kReportInterval]) + ")");
  const std::uint8_t mode = r[rec::kLightingMode];
  std::string lighting = "Lighting: mode " + std::to_string(mode) + " " + lightingModeName(mode);
  if (mode >= 1 && mode <= 3) lighting += ", parameter " + std::to_string(r[modeParameterOffset(mode)]);
  if (mode == 2) lighting += ", effect " + std::to_string(r[rec::kMode2Effect]);
  if (mode == 3) lighting += ", effect " + std::to_string(r[rec::kMode3Effect]);
  line(lighting + ", option " + std::to_string(r[rec::kLightingOption]));
  line("Pointer: speed " + std::to_string(r[rec::kPointerSpeed]) + ", enhanced precision " +
       (r[rec::kEnhancePrecision] ? "on" : "off") + ", wheel " +
       (r[rec::kWheelOneScreen] ? "one screen per notch" : std::to_string(r[rec::kWheelLines]) + " lines") +
       ", double-click speed index " + std::to_string(r[rec::kDoubleClickIndex]));
  line("Macros (" + std::to_string(view.macros.size()) + " in record.ini):");
  for (std::size_t m = 0; m < rec::kMacroCount; ++m) {
    const std::uint8_t* block = r.macroBlock(m);
    const auto events = decodeMacroBlock(block);
    const bool named = m < view.macros.size();
    if (!named && events.empty() && macroLoopCount(block) == 0) continue;
    line("  macro " + std::to_string(m + 1) + (named ? " \"" + view.macros[m].name + "\"" : " (no section)") +
         ": loop count " + std::to_string(macroLoopCount(block)) + ", " + std::to_string(events.size()) +
         " events in its block");
    for (const MacroEvent& e : events) line("    " + eventText(e));
  }
  for (std::size_t m = rec::kMacroCount; m < view.macros.size(); ++m)
    line("  \"" + view.macros[m].name + "\": past the twelfth, has no block");
  return out;
}

std::string settingsJson(const SettingsView& view) {
  const SettingsRecord& r = view.image.record;
  std::string out = "{\n";
  out += "  \"config\": " + jsonString(view.configPath) + ",\n";
  out += "  \"config_loaded\": " + std::string(view.configLoaded ? "true" : "false") + ",\n";
  out += "  \"first_run_flag\": " + std::to_string(view.image.firstRunFlag) + ",\n";
  out += "  \"key_table_selector\": " + std::to_string(r[rec::kKeyTableSelector]) + ",\n";
  out += "  \"sensor_type\": " + std::to_string(view.image.device.currentSensorType) + ",\n";
  out += "  \"label_section\": " + jsonString(view.labelSection) + ",\n";
  out += "  \"key_tables\": {";
  for (const KeyTableId table : {KeyTableId::A, KeyTableId::B}) {
    out += std::string(table == KeyTableId::A ? "\n" : ",\n") + "    \"" + tableName(table) + "\": [";
    for (std::size_t entry = 0; entry < kButtonCount; ++entry) {
      const std::uint8_t function = r.key(table, KeyField::Function, entry);
      out += std::string(entry ? "," : "") + "\n      {\"button\": " + std::to_string(entry + 1) +
             ", \"function\": " + std::to_string(function) + ", \"name\": " +
             jsonString(keyFunctionName(function));
      for (const Parameter& p : parametersOf(view, table, entry)) {
        out += ", " + jsonString(p.name) + ": " + std::to_string(p.number);
        if (!p.text.empty()) out += ", " + jsonString(p.name + "_text") + ": " + jsonString(p.text);
      }
      out += ", \"word\": " + (entry < kEncodedButtons ? jsonString(hexWord(keyMatrixWord(r, table, entry))) : "null");
      out += ", \"label\": " + jsonString(view.labels[labelIndex(table, entry)]) + "}";
    }
    out += "\n    ]";
  }
  out += "\n  },\n  \"dpi_stages\": [";
  for (std::size_t stage = 0; stage < rec::kStageCount; ++stage) {
    const std::size_t colour = rec::kStageColours + 3 * stage;
    const std::uint8_t level = r[rec::kDpiLevel + stage];
    out += std::string(stage ? ", " : "") + "{\"level\": " + std::to_string(level) + ", \"dpi\": " +
           jsonString(dpiValueText(view.image.device.currentSensorType, level)) + ", \"code\": " +
           std::to_string(dpiCode(view.image.device.currentSensorType, level)) +
           ", \"enabled\": " + (r[rec::kStageEnabled + stage] ? "true" : "false") + ", \"colour\": [" +
           std::to_string(r[colour]) + ", " + std::to_string(r[colour + 1]) + ", " +
           std::to_string(r[colour + 2]) + "]}";
  }
  const std::string rate = reportRate(r[rec::kReportInterval]);
  out += "],\n  \"report_interval_code\": " + std::to_string(r[rec::kReportInterval]) +
         ",\n  \"reports_per_second\": " + (rate.empty() ? "null" : rate) + ",\n";
  out += "  \"lighting\": {\"mode\": " + std::to_string(r[rec::kLightingMode]) + ", \"name\": " +
         jsonString(lightingModeName(r[rec::kLightingMode])) + ", \"parameters\": [" +
         std::to_string(r[rec::kMode1Parameter]) + ", " + std::to_string(r[rec::kMode2Parameter]) + ", " +
         std::to_string(r[rec::kMode3Parameter]) + "], \"mode2_effect\": " + std::to_string(r[rec::kMode2Effect]) +
         ", \"mode3_effect\": " + std::to_string(r[rec::kMode3Effect]) + ", \"option\": " +
         std::to_string(r[rec::kLightingOption]) + "},\n";
  out += "  \"pointer\": {\"speed\": " + std::to_string(r[rec::kPointerSpeed]) + ", \"enhance_precision\": " +
         std::to_string(r[rec::kEnhancePrecision]) + ", \"wheel_one_screen\": " +
         std::to_string(r[rec::kWheelOneScreen]) + ", \"wheel_lines\": " + std::to_string(r[rec::kWheelLines]) +
         ", \"double_click_index\": " + std::to_string(r[rec::kDoubleClickIndex]) + "},\n";
  out += "  \"macros\": [";
  for (std::size_t m = 0; m < std::max(view.macros.size(), rec::kMacroCount); ++m) {
    out += std::string(m ? "," : "") + "\n    {\"number\": ";
    out += m < rec::kMacroCount ? std::to_string(m + 1) : "null";
    out += ", \"name\": " + (m < view.macros.size() ? jsonString(view.macros[m].name) : "null");
    if (m < view.macros.size()) {
      out += ", \"entries\": [";
      for (std::size_t i = 0; i < view.macros[m].entries.size(); ++i)
        out += (i ? ", " : "") + jsonString(view.macros[m].entries[i]);
      out += "]";
    }
    if (m < rec::kMacroCount) {
      const std::uint8_t* block = r.macroBlock(m);
      out += ", \"loop_count\": " + std::to_string(macroLoopCount(block)) + ", \"events\": [";
      const auto events = decodeMacroBlock(block);
      for (std::size_t i = 0; i < events.size(); ++i)
        out += std::string(i ? ", " : "") + "{\"key\": " + jsonString(events[i].keyName) + ", \"code\": " +
               std::to_string(events[i].code) + ", \"release\": " + (events[i].release ? "true" : "false") +
               ", \"delay_ms\": " + std::to_string(events[i].delayMs) + "}";
      out += "]";
    }
    out += "}";
  }
  out += "\n  ]\n}\n";
  return out;
}

}  // namespace ombrisk::ctl
