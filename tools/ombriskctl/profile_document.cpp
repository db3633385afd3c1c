#include "profile_document.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>

#include "device/protocol_constants.h"
#include "keys/key_functions.h"
#include "keys/fire_key_editor.h"
#include "keys/key_names.h"
#include "macros/macro_codec.h"
#include "macros/macro_panel.h"
#include "macros/macro_store.h"
#include "pages/dpi_controls.h"
#include "pages/lighting.h"
#include "pages/pointer_settings.h"
#include "settings/profile_store.h"
#include "setting_names.h"
#include "util/utf.h"

namespace ombrisk::ctl {
namespace {

using json::Value;

// A value the document or the files may not hold: thrown by the readers and writers below and
// caught at the top, so that the first one found is the one reported.
struct Refusal {
  ProfileProblem problem;
};

[[noreturn]] void refuse(const std::string& path, std::string message) { throw Refusal{{path, std::move(message)}}; }

// A text of the files as a profile carries it: UTF-8. An 8-bit file that is not UTF-8 was
// written in the ANSI code page of a Windows, which only the programs on such a Windows read.
const std::string& fileText(const std::string& text, const std::string& path) {
  if (!isValidUtf8(text))
    refuse(path, "is 8-bit text that is not UTF-8: its file holds it in the ANSI code page of the Windows that "
                 "wrote it (GBK on a Chinese one), which this ombriskctl cannot read; export on that Windows with "
                 "ombriskctl.exe, or have the file saved as UTF-16 or UTF-8 first");
  return text;
}

std::string memberPath(const std::string& parent, std::string_view name) {
  std::string path = parent + "/";
  for (const char c : name) path += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
  return path;
}

std::string deviceText() {
  char text[16];
  std::snprintf(text, sizeof text, "%04X:%04X", kMouseVendorId, kMouseProductId);
  return text;
}

// One field of the document being read, with its path.
class Field {
 public:
  Field(const Value& value, std::string path) : value_(value), path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  const Value& value() const { return value_; }
  bool isNull() const { return value_.isNull(); }

  // An object with every required member, those of optional that it has, and no other.
  void expectObject(std::initializer_list<std::string_view> required,
                    std::initializer_list<std::string_view> optional = {}) const {
    if (!value_.isObject()) refuse(path_, "must be an object { ... }");
    for (const std::string_view name : required)
      if (!value_.find(name)) refuse(memberPath(path_, name), "is missing");
    for (const Value::Member& member : value_.members())
      if (std::find(required.begin(), required.end(), member.name) == required.end() &&
          std::find(optional.begin(), optional.end(), member.name) == optional.end())
        refuse(memberPath(path_, member.name), "is not part of a profile of format version " +
                                                    std::to_string(kProfileFormatVersion));
  }
  // The same with required members given at run time.
  void expectObject(const std::vector<std::string>& required) const {
    if (!value_.isObject()) refuse(path_, "must be an object { ... }");
    for (const std::string& name : required)
      if (!value_.find(name)) refuse(memberPath(path_, name), "is missing");
    for (const Value::Member& member : value_.members())
      if (std::find(required.begin(), required.end(), member.name) == required.end())
        refuse(memberPath(path_, member.name), "is not one of " + listOfNames(required));
  }
  bool has(std::string_view name) const { return value_.find(name) != nullptr; }
  Field member(std::string_view name) const { return {*value_.find(name), memberPath(path_, name)}; }

  std::size_t arraySize(std::size_t min, std::size_t max) const {
    if (!value_.isArray()) refuse(path_, "must be a list [ ... ]");
    const std::size_t size = value_.items().size();
    if (size < min || size > max)
      refuse(path_, min == max ? "must hold " + std::to_string(min) + " entries, not " + std::to_string(size)
                               : "holds " + std::to_string(size) + " entries; at most " + std::to_string(max) + " fit");
    return size;
  }
  Field item(std::size_t i) const { return {value_.items()[i], path_ + "/" + std::to_string(i)}; }

  std::int64_t integer(std::int64_t min, std::int64_t max) const {
    const auto value = value_.integer();
    if (!value || *value < min || *value > max)
      refuse(path_, "must be a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    return *value;
  }
  bool boolean() const {
    if (!value_.isBoolean()) refuse(path_, "must be true or false");
    return value_.asBoolean();
  }
  const std::string& text() const {
    if (!value_.isString()) refuse(path_, "must be a text in double quotes");
    return value_.text();
  }
  // A text the store keeps as written (labels, names, key names).
  const std::string& storableText() const {
    const std::string& t = text();
    if (!profileValueKeepsAsWritten(t))
      refuse(path_, "cannot be kept in an INI file as it is: at most 1023 characters, no line breaks, no blanks "
                    "at either end and no quotes around it");
    return t;
  }
  // The position of the text among names.
  std::size_t choice(const std::vector<std::string>& names) const {
    const std::string& t = value_.isString() ? value_.text() : std::string();
    const auto found = std::find(names.begin(), names.end(), t);
    if (!value_.isString() || found == names.end()) refuse(path_, "must be one of " + listOfNames(names));
    return static_cast<std::size_t>(found - names.begin());
  }
  // A choice, or null for none.
  std::optional<std::size_t> optionalChoice(const std::vector<std::string>& names) const {
    if (isNull()) return std::nullopt;
    const std::string& t = value_.isString() ? value_.text() : std::string();
    const auto found = std::find(names.begin(), names.end(), t);
    if (!value_.isString() || found == names.end()) refuse(path_, "must be null or one of " + listOfNames(names));
    return static_cast<std::size_t>(found - names.begin());
  }

 private:
  const Value& value_;
  std::string path_;
};

// --- Plain values -----------------------------------------------------------------------------

std::array<std::uint8_t, 3> colourOf(const Field& field) {
  const auto rgb = parseColour(field.value().isString() ? field.value().text() : std::string());
  if (!rgb) refuse(field.path(), "must be a colour written #RRGGBB, as \"#FF8000\"");
  return *rgb;
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char item[3];
  for (std::size_t i = 0; i < count; ++i) std::snprintf(item, sizeof item, "%02X", bytes[i]), text += item;
  return text;
}

// A stored byte the utility never writes: the files, not the document, are at fault.
[[noreturn]] void refuseStored(const std::string& path, const std::string& what, unsigned value) {
  refuse(path, "config.bin holds " + what + " " + std::to_string(value) + ", which the utility never stores");
}

// --- Button parameters ------------------------------------------------------------------------

// A key as a name from the key table, or its usage number when no name has it; null for none.
Value keyValue(std::uint8_t usage) {
  if (usage == 0) return Value();
  const std::string_view name = usageToKeyName(usage);
  if (!name.empty() && keyNameToUsage(name) == usage) return Value::string(std::string(name));
  return Value::number(usage);
}

std::uint8_t keyOf(const Field& field) {
  if (field.isNull()) return 0;
  if (field.value().isString()) {
    const std::uint8_t usage = keyNameToUsage(field.value().text());
    if (usage == 0)
      refuse(field.path(), "is not a key name the utility knows: key names are those of a US keyboard layout, "
                           "as \"A\", \"1\", \"Enter\", \"F5\", \"Num 1\", \"Left Windows\"");
    return usage;
  }
  return static_cast<std::uint8_t>(field.integer(0, 255));
}

struct Entry {
  SettingsRecord& record;
  KeyTableId table;
  std::size_t entry;
  std::uint8_t& at(KeyField field) { return record.key(table, field, entry); }
};
struct ConstEntry {
  const SettingsRecord& record;
  KeyTableId table;
  std::size_t entry;
  std::uint8_t at(KeyField field) const { return record.key(table, field, entry); }
};

// A list choice that also fixes the usage bytes stored with it (Windows, multimedia and fire
// keys): the position is stored, and the usages follow from it.
template <typename Usages>
bool listChoiceStored(std::size_t index, std::size_t count, Usages usagesOf, std::initializer_list<std::uint8_t> stored) {
  if (index >= count) return false;
  const std::vector<std::uint8_t> expected = usagesOf(index);
  return std::equal(stored.begin(), stored.end(), expected.begin(), expected.end());
}

// Every parameter a button keeps, by the function it belongs to. A button's own function's
// parameters are always in the profile; the others only when they hold something (a button
// keeps them when it gets another function).
struct Parameter {
  std::string_view name;
  KeyFunction function;
  // The member for the stored value; nothing when unset and not always wanted.
  std::optional<Value> (*write)(const ConstEntry&, bool always, const std::string& path);
  void (*read)(const Field&, Entry&);
};

const Parameter kParameters[] = {
    {"dpi_action", KeyFunction::DpiSwitch,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t action = e.record.dpiAction(e.table, e.entry);
       if (action == 0 && !always) return std::nullopt;
       if (action < 1 || action > 4) refuseStored(path, "DPI action", action);
       return Value::string(std::string(dpiActionName(action)));
     },
     [](const Field& f, Entry& e) {
       e.record.dpiAction(e.table, e.entry) = static_cast<std::uint8_t>(f.choice(dpiActionNames()) + 1);
     }},
    {"windows", KeyFunction::Windows,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t i = e.at(KeyField::WindowsIndex), low = e.at(KeyField::WindowsUsageLow),
                          page = e.at(KeyField::WindowsUsagePage);
       if (!i && !low && !page && !always) return std::nullopt;
       if (!listChoiceStored(i, windowsFunctionList().size(),
                             [](std::size_t n) { return std::vector<std::uint8_t>{windowsIndexToUsage(n), windowsIndexToUsagePage(n)}; },
                             {low, page}))
         refuseStored(path, "Windows function " + std::to_string(i) + " with usage byte", low);
       return Value::string(windowsNames()[i]);
     },
     [](const Field& f, Entry& e) {
       const std::size_t i = f.choice(windowsNames());
       e.at(KeyField::WindowsIndex) = static_cast<std::uint8_t>(i);
       e.at(KeyField::WindowsUsageLow) = windowsIndexToUsage(i);
       e.at(KeyField::WindowsUsagePage) = windowsIndexToUsagePage(i);
     }},
    {"media", KeyFunction::Multimedia,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t i = e.at(KeyField::MediaIndex), usage = e.at(KeyField::MediaUsage);
       if (!i && !usage && !always) return std::nullopt;
       if (!listChoiceStored(i, mediaFunctionList().size(),
                             [](std::size_t n) { return std::vector<std::uint8_t>{mediaIndexToUsage(n)}; }, {usage}))
         refuseStored(path, "multimedia function " + std::to_string(i) + " with usage", usage);
       return Value::string(mediaNames()[i]);
     },
     [](const Field& f, Entry& e) {
       const std::size_t i = f.choice(mediaNames());
       e.at(KeyField::MediaIndex) = static_cast<std::uint8_t>(i);
       e.at(KeyField::MediaUsage) = mediaIndexToUsage(i);
     }},
    {"fire_key", KeyFunction::FireKey,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t i = e.at(KeyField::FireIndex), key = e.at(KeyField::FireKey);
       if (!i && !key && !always) return std::nullopt;
       if (!listChoiceStored(i, fireKeyList().size(),
                             [](std::size_t n) { return std::vector<std::uint8_t>{fireIndexToUsage(n)}; }, {key}))
         refuseStored(path, "fire key " + std::to_string(i) + " with code", key);
       return Value::string(fireKeyNames()[i]);
     },
     [](const Field& f, Entry& e) {
       const std::size_t i = f.choice(fireKeyNames());
       e.at(KeyField::FireIndex) = static_cast<std::uint8_t>(i);
       e.at(KeyField::FireKey) = fireIndexToUsage(i);
     }},
    {"fire_speed", KeyFunction::FireKey,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t speed = e.at(KeyField::FireSpeed);
       if (!speed && !always) return std::nullopt;
       if (speed < kFireSpeedMin) refuseStored(path, "fire speed", speed);
       return Value::number(speed);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::FireSpeed) = static_cast<std::uint8_t>(f.integer(kFireSpeedMin, 255)); }},
    {"fire_times", KeyFunction::FireKey,
     [](const ConstEntry& e, bool always, const std::string&) -> std::optional<Value> {
       const std::uint8_t times = e.at(KeyField::FireTimes);
       if (!times && !always) return std::nullopt;
       return Value::number(times);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::FireTimes) = static_cast<std::uint8_t>(f.integer(0, 255)); }},
    {"key", KeyFunction::SingleKey,
     [](const ConstEntry& e, bool always, const std::string&) -> std::optional<Value> {
       const std::uint8_t usage = e.at(KeyField::SingleKey);
       if (!usage && !always) return std::nullopt;
       return keyValue(usage);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::SingleKey) = keyOf(f); }},
    {"modifiers", KeyFunction::ComboKey,
     [](const ConstEntry& e, bool always, const std::string&) -> std::optional<Value> {
       const std::uint8_t bits = e.at(KeyField::ComboModifiers);
       if (!bits && !always) return std::nullopt;
       Value list = Value::array();
       for (const ModifierNameBit& m : modifierNameTable())
         if (bits & m.bit) list.push(Value::string(std::string(m.name)));
       return list;
     },
     [](const Field& f, Entry& e) {
       std::uint8_t bits = 0;
       for (std::size_t i = 0, n = f.arraySize(0, modifierNameTable().size()); i < n; ++i) {
         const std::uint8_t bit = modifierNameTable()[f.item(i).choice(modifierNames())].bit;
         if (bits & bit) refuse(f.item(i).path(), "names a modifier a second time");
         bits |= bit;
       }
       e.at(KeyField::ComboModifiers) = bits;
     }},
    {"key1", KeyFunction::ComboKey,
     [](const ConstEntry& e, bool always, const std::string&) -> std::optional<Value> {
       const std::uint8_t usage = e.at(KeyField::ComboKey1);
       if (!usage && !always) return std::nullopt;
       return keyValue(usage);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::ComboKey1) = keyOf(f); }},
    {"key2", KeyFunction::ComboKey,
     [](const ConstEntry& e, bool always, const std::string&) -> std::optional<Value> {
       const std::uint8_t usage = e.at(KeyField::ComboKey2);
       if (!usage && !always) return std::nullopt;
       return keyValue(usage);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::ComboKey2) = keyOf(f); }},
    {"macro", KeyFunction::MacroKey,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t index = e.at(KeyField::MacroNumber);
       if (!index && !always) return std::nullopt;
       if (index >= rec::kMacroCount) refuseStored(path, "macro position", index);
       return Value::number(index + 1);
     },
     [](const Field& f, Entry& e) {
       e.at(KeyField::MacroNumber) = static_cast<std::uint8_t>(f.integer(1, rec::kMacroCount) - 1);
     }},
    {"repeat_mode", KeyFunction::MacroKey,
     [](const ConstEntry& e, bool always, const std::string& path) -> std::optional<Value> {
       const std::uint8_t stored = e.at(KeyField::MacroRepeat);
       if (!stored && !always) return std::nullopt;
       if (stored > 2) refuseStored(path, "repeat mode", stored + 1u);
       return Value::number(stored + 1);
     },
     [](const Field& f, Entry& e) { e.at(KeyField::MacroRepeat) = static_cast<std::uint8_t>(f.integer(1, 3) - 1); }},
};

const char* tableName(KeyTableId table) { return table == KeyTableId::A ? "A" : "B"; }
constexpr KeyTableId kTables[] = {KeyTableId::A, KeyTableId::B};

Value buttonValue(const SettingsRecord& record, KeyTableId table, std::size_t entry, const std::string& path) {
  const std::uint8_t function = record.key(table, KeyField::Function, entry);
  const std::string_view name = keyFunctionName(function);
  if (name.empty()) refuseStored(memberPath(path, "function"), "function", function);
  Value button = Value::object();
  button.add("function", Value::string(std::string(name)));
  const ConstEntry e{record, table, entry};
  for (const Parameter& p : kParameters)
    if (auto member = p.write(e, static_cast<std::uint8_t>(p.function) == function, memberPath(path, p.name)))
      button.add(std::string(p.name), std::move(*member));
  return button;
}

void readButton(const Field& field, SettingsRecord& record, KeyTableId table, std::size_t entry) {
  if (!field.value().isObject()) refuse(field.path(), "must be an object { ... }");
  if (!field.has("function")) refuse(memberPath(field.path(), "function"), "is missing");
  const auto function = static_cast<KeyFunction>(field.member("function").choice(functionNames()));
  std::vector<std::string_view> own{"function"}, others;
  for (const Parameter& p : kParameters) (p.function == function ? own : others).push_back(p.name);
  for (const std::string_view name : own)
    if (!field.has(name))
      refuse(memberPath(field.path(), name),
             "is missing: a " + std::string(keyFunctionName(static_cast<std::uint8_t>(function))) + " button needs it");
  for (const Value::Member& member : field.value().members())
    if (std::find(own.begin(), own.end(), member.name) == own.end() &&
        std::find(others.begin(), others.end(), member.name) == others.end())
      refuse(memberPath(field.path(), member.name), "is not a parameter of a button");
  // Parameters the document leaves out are zero, as in a fresh record.
  for (std::size_t f = 0; f < kKeyFieldCount; ++f) record.key(table, static_cast<KeyField>(f), entry) = 0;
  record.dpiAction(table, entry) = 0;
  record.key(table, KeyField::Function, entry) = static_cast<std::uint8_t>(function);
  Entry e{record, table, entry};
  for (const Parameter& p : kParameters)
    if (field.has(p.name)) p.read(field.member(p.name), e);
}

std::vector<std::string> entryKeys(std::size_t count) {
  return namesOf(count, [](std::size_t i) { return std::to_string(i + 1); });
}

// The rules every key table keeps in the utility: a Left Click somewhere (the last one cannot
// be given away), and Shift, when a button has it, on the same button of both tables and on
// one button only.
void checkKeyTables(const SettingsRecord& record, const std::string& path) {
  for (const KeyTableId table : kTables) {
    bool left = false;
    std::size_t shifts = 0;
    for (std::size_t e = 0; e < kButtonCount; ++e) {
      const auto function = static_cast<KeyFunction>(record.key(table, KeyField::Function, e));
      left = left || function == KeyFunction::LeftClick;
      if (function == KeyFunction::Shift && e < kEncodedButtons) ++shifts;
    }
    const std::string tablePath = memberPath(path, tableName(table));
    if (!left) refuse(tablePath, "has no Left Click: the utility keeps at least one button of each table on Left Click");
    if (shifts > 1) refuse(tablePath, "has Shift on " + std::to_string(shifts) + " buttons: one button at most holds Shift");
  }
  for (std::size_t e = 0; e < kButtonCount; ++e) {
    const bool a = record.key(KeyTableId::A, KeyField::Function, e) == static_cast<std::uint8_t>(KeyFunction::Shift);
    const bool b = record.key(KeyTableId::B, KeyField::Function, e) == static_cast<std::uint8_t>(KeyFunction::Shift);
    if (a != b)
      refuse(memberPath(memberPath(memberPath(path, a ? "B" : "A"), std::to_string(e + 1)), "function"),
             "must be Shift as in the other table: Shift is one button of both tables");
  }
}

// --- The record -------------------------------------------------------------------------------

Value configValue(const UtilityFiles& files, const std::string& path) {
  const SettingsRecord& r = files.record;
  Value config = Value::object();
  if (files.firstRunFlag > 1) refuseStored(memberPath(path, "first_run_flag"), "first-run flag", files.firstRunFlag);
  config.add("first_run_flag", Value::number(files.firstRunFlag));

  const std::uint8_t code = r[rec::kReportInterval];
  if (code != 0 && !reportRatePosition(code)) refuseStored(memberPath(path, "report_rate"), "report interval code", code);
  config.add("report_rate", code ? Value::number(reportsPerSecond(code)) : Value());

  Value& stages = config.add("dpi_stages", Value::object());
  for (std::size_t s = 0; s < rec::kStageCount; ++s) {
    const std::string stagePath = memberPath(memberPath(path, "dpi_stages"), std::to_string(s + 1));
    const std::uint8_t level = r[rec::kDpiLevel + s], on = r[rec::kStageEnabled + s];
    if (level >= gridLevels(0)) refuseStored(memberPath(stagePath, "level"), "DPI level index", level);
    if (on > 1) refuseStored(memberPath(stagePath, "on"), "stage switch", on);
    const Rgb colour = stageColour(r, static_cast<int>(s));
    Value& stage = stages.add(std::to_string(s + 1), Value::object());
    stage.add("level", Value::number(level + 1));
    stage.add("on", Value::boolean(on == 1));
    stage.add("colour", Value::string(colourText(colour.red, colour.green, colour.blue)));
  }

  const std::string lightPath = memberPath(path, "lighting");
  const auto stored = [&](std::size_t offset, std::string_view member, const std::string& text, const char* what) {
    if (text.empty()) refuseStored(memberPath(lightPath, member), what, r[offset]);
    return Value::string(text);
  };
  const auto effect = [&](std::size_t offset, std::string_view mode, std::initializer_list<std::uint8_t> effects) {
    const std::uint8_t value = r[offset];
    if (value == 0) return Value();
    if (std::find(effects.begin(), effects.end(), value) == effects.end())
      refuseStored(memberPath(memberPath(lightPath, mode), "effect"), "lighting effect", value);
    return Value::string(lightingEffectName(value, englishTexts()));
  };
  Value& lighting = config.add("lighting", Value::object());
  lighting.add("mode", stored(rec::kLightingMode, "mode", lightingModeName(r[rec::kLightingMode], englishTexts()), "lighting mode"));
  Value& standard = lighting.add("standard", Value::object());
  standard.add("brightness", stored(rec::kMode1Parameter, "standard", brightnessText(r[rec::kMode1Parameter]), "brightness"));
  standard.add("effect", effect(rec::kLightingOption, "standard", {1}));
  Value& respiration = lighting.add("respiration", Value::object());
  respiration.add("speed", stored(rec::kMode2Parameter, "respiration", speedText(r[rec::kMode2Parameter]), "speed"));
  respiration.add("effect", effect(rec::kMode2Effect, "respiration", {1, 2}));
  Value& neon = lighting.add("neon", Value::object());
  neon.add("period", stored(rec::kMode3Parameter, "neon", periodText(r[rec::kMode3Parameter]), "period"));
  neon.add("effect", effect(rec::kMode3Effect, "neon", {2, 3}));

  const std::string pointerPath = memberPath(path, "pointer");
  const auto index = [&](std::size_t offset, std::string_view member) {
    if (r[offset] > kPointerIndexMax) refuseStored(memberPath(pointerPath, member), std::string(member), r[offset]);
    return Value::number(r[offset]);
  };
  const auto flag = [&](std::size_t offset, std::string_view member) {
    if (r[offset] > 1) refuseStored(memberPath(pointerPath, member), std::string(member), r[offset]);
    return Value::boolean(r[offset] == 1);
  };
  Value& pointer = config.add("pointer", Value::object());
  pointer.add("speed", index(rec::kPointerSpeed, "speed"));
  pointer.add("enhance_precision", flag(rec::kEnhancePrecision, "enhance_precision"));
  pointer.add("wheel_one_screen", flag(rec::kWheelOneScreen, "wheel_one_screen"));
  pointer.add("wheel_lines", index(rec::kWheelLines, "wheel_lines"));
  pointer.add("double_click_speed", index(rec::kDoubleClickIndex, "double_click_speed"));

  const std::uint8_t selector = r[rec::kKeyTableSelector];
  if (selector > 1) refuseStored(memberPath(path, "key_table_shown"), "key table selector", selector);
  config.add("key_table_shown", Value::string(selector ? "B" : "A"));
  Value& tables = config.add("key_tables", Value::object());
  for (const KeyTableId table : kTables) {
    const std::string tablePath = memberPath(memberPath(path, "key_tables"), tableName(table));
    Value& buttons = tables.add(tableName(table), Value::object());
    for (std::size_t e = 0; e < kButtonCount; ++e)
      buttons.add(std::to_string(e + 1), buttonValue(r, table, e, memberPath(tablePath, std::to_string(e + 1))));
  }
  return config;
}

void readConfig(const Field& config, UtilityFiles& files) {
  SettingsRecord& r = files.record;
  config.expectObject({"first_run_flag", "report_rate", "dpi_stages", "lighting", "pointer", "key_table_shown", "key_tables"});
  files.firstRunFlag = static_cast<std::uint8_t>(config.member("first_run_flag").integer(0, 1));

  const Field rate = config.member("report_rate");
  r[rec::kReportInterval] = 0;
  if (!rate.isNull()) {
    std::vector<std::string> rates;
    for (const std::uint8_t code : reportRateCodes()) rates.push_back(std::to_string(reportsPerSecond(code)));
    const std::string given = rate.value().isNumber() ? rate.value().text() : "";
    const auto found = std::find(rates.begin(), rates.end(), given);
    if (found == rates.end()) refuse(rate.path(), "must be null (not yet chosen) or one of " + listOfNames(rates) + " written as numbers");
    r[rec::kReportInterval] = reportRateCodes()[static_cast<std::size_t>(found - rates.begin())];
  }

  const Field stages = config.member("dpi_stages");
  stages.expectObject(entryKeys(rec::kStageCount));
  for (std::size_t s = 0; s < rec::kStageCount; ++s) {
    const Field stage = stages.member(std::to_string(s + 1));
    stage.expectObject({"level", "on", "colour"});
    r[rec::kDpiLevel + s] = static_cast<std::uint8_t>(stage.member("level").integer(1, static_cast<std::int64_t>(gridLevels(0))) - 1);
    r[rec::kStageEnabled + s] = stage.member("on").boolean() ? 1 : 0;
    const auto rgb = colourOf(stage.member("colour"));
    setStageColour(r, static_cast<int>(s), Rgb{rgb[0], rgb[1], rgb[2]});
  }

  const Field lighting = config.member("lighting");
  lighting.expectObject({"mode", "standard", "respiration", "neon"});
  r[rec::kLightingMode] = static_cast<std::uint8_t>(lighting.member("mode").choice(namesUntilEmpty(0, [](std::size_t i) { return lightingModeName(i, englishTexts()); })));
  const auto effectNames = [](std::initializer_list<std::size_t> indices) {
    std::vector<std::string> names;
    for (const std::size_t i : indices) names.push_back(lightingEffectName(i, englishTexts()));
    return names;
  };
  const Field standard = lighting.member("standard");
  standard.expectObject({"brightness", "effect"});
  r[rec::kMode1Parameter] = static_cast<std::uint8_t>(standard.member("brightness").choice(namesOf(kBrightnessCount, brightnessText)));
  r[rec::kLightingOption] = standard.member("effect").optionalChoice(effectNames({1})) ? 1 : 0;
  const Field respiration = lighting.member("respiration");
  respiration.expectObject({"speed", "effect"});
  r[rec::kMode2Parameter] = static_cast<std::uint8_t>(respiration.member("speed").choice(namesOf(kSpeedCount, speedText)));
  const auto respirationEffect = respiration.member("effect").optionalChoice(effectNames({1, 2}));
  r[rec::kMode2Effect] = respirationEffect ? static_cast<std::uint8_t>(*respirationEffect + 1) : 0;
  const Field neon = lighting.member("neon");
  neon.expectObject({"period", "effect"});
  r[rec::kMode3Parameter] = static_cast<std::uint8_t>(neon.member("period").choice(namesOf(kPeriodCount, periodText)));
  const auto neonEffect = neon.member("effect").optionalChoice(effectNames({2, 3}));
  r[rec::kMode3Effect] = neonEffect ? static_cast<std::uint8_t>(*neonEffect + 2) : 0;

  const Field pointer = config.member("pointer");
  pointer.expectObject({"speed", "enhance_precision", "wheel_one_screen", "wheel_lines", "double_click_speed"});
  r[rec::kPointerSpeed] = static_cast<std::uint8_t>(pointer.member("speed").integer(0, kPointerIndexMax));
  r[rec::kEnhancePrecision] = pointer.member("enhance_precision").boolean() ? 1 : 0;
  r[rec::kWheelOneScreen] = pointer.member("wheel_one_screen").boolean() ? 1 : 0;
  r[rec::kWheelLines] = static_cast<std::uint8_t>(pointer.member("wheel_lines").integer(0, kPointerIndexMax));
  r[rec::kDoubleClickIndex] = static_cast<std::uint8_t>(pointer.member("double_click_speed").integer(0, kPointerIndexMax));

  r[rec::kKeyTableSelector] = static_cast<std::uint8_t>(config.member("key_table_shown").choice({"A", "B"}));
  const Field tables = config.member("key_tables");
  tables.expectObject({"A", "B"});
  for (const KeyTableId table : kTables) {
    const Field buttons = tables.member(tableName(table));
    buttons.expectObject(entryKeys(kButtonCount));
    for (std::size_t e = 0; e < kButtonCount; ++e) readButton(buttons.member(std::to_string(e + 1)), r, table, e);
  }
  checkKeyTables(r, tables.path());
}

// --- str.ini ----------------------------------------------------------------------------------

std::vector<std::string> languageCodes() {
  return namesOf(kLanguages.size(), [](std::size_t i) { return std::string(languageCode(kLanguages[i])); });
}

Value labelsValue(const UtilityFiles& files) {
  Value labels = Value::object();
  for (const LanguageLabels& section : files.labels) {
    Value& tables = labels.add(std::string(languageCode(section.language)), Value::object());
    for (const KeyTableId table : kTables) {
      Value& list = tables.add(tableName(table), Value::array());
      const std::string listPath = "/labels/" + std::string(languageCode(section.language)) + "/" + tableName(table);
      for (std::size_t e = 0; e < kButtonCount; ++e)
        list.push(Value::string(fileText(section.labels[(table == KeyTableId::A ? 0 : kButtonCount) + e],
                                         listPath + "/" + std::to_string(e))));
    }
  }
  return labels;
}

void readLabels(const Field& labels, UtilityFiles& files) {
  if (!labels.value().isObject()) refuse(labels.path(), "must be an object { ... }");
  const std::vector<std::string> codes = languageCodes();
  files.labels.clear();
  for (std::size_t l = 0; l < kLanguages.size(); ++l) {
    if (!labels.has(codes[l])) continue;
    const Field section = labels.member(codes[l]);
    section.expectObject({"A", "B"});
    LanguageLabels read{kLanguages[l], {}};
    for (const KeyTableId table : kTables) {
      const Field list = section.member(tableName(table));
      list.arraySize(kButtonCount, kButtonCount);
      for (std::size_t e = 0; e < kButtonCount; ++e) {
        const std::string& text = list.item(e).text();
        if (!text.empty()) list.item(e).storableText();
        read.labels[(table == KeyTableId::A ? 0 : kButtonCount) + e] = text;
      }
    }
    files.labels.push_back(std::move(read));
  }
  for (const Value::Member& member : labels.value().members())
    if (std::find(codes.begin(), codes.end(), member.name) == codes.end())
      refuse(memberPath(labels.path(), member.name), "is not a language of the utility: " + listOfNames(codes));
}

Value interfaceValue(const UtilityFiles& files) {
  Value ui = Value::object();
  ui.add("language", Value::string(std::string(languageCode(files.language()))));
  ui.add("skin", Value::string(fileText(files.skin.path, "/interface/skin")));
  ui.add("text_colour", Value::string(colourText(colourComponent(files.skin.red), colourComponent(files.skin.green),
                                                 colourComponent(files.skin.blue))));
  return ui;
}

void readInterface(const Field& ui, UtilityFiles& files) {
  ui.expectObject({"language", "skin", "text_colour"});
  files.languageCode = languageCodes()[ui.member("language").choice(languageCodes())];
  const Field skin = ui.member("skin");
  const std::string& name = skin.text();
  if (!name.empty()) skin.storableText();
  if (name == "." || name == ".." || name.find_first_of("/\\:*?\"<>|") != std::string::npos)
    refuse(skin.path(), "must be the name of a folder in Skins, without / \\ : * ? \" < > |");
  files.skin.path = name;
  const auto rgb = colourOf(ui.member("text_colour"));
  files.skin.red = std::to_string(rgb[0]);
  files.skin.green = std::to_string(rgb[1]);
  files.skin.blue = std::to_string(rgb[2]);
}

// --- record.ini and the macro blocks ------------------------------------------------------------

Value macrosValue(const UtilityFiles& files, const std::string& path) {
  if (files.macros.size() > rec::kMacroCount)
    refuse(path, "record.ini holds " + std::to_string(files.macros.size()) +
                     " macros; a profile holds the twelve the mouse has blocks for: delete the others in the utility first");
  Value macros = Value::array();
  for (std::size_t m = 0; m < files.macros.size(); ++m) {
    const std::string macroPath = path + "/" + std::to_string(m);
    const MacroText& text = files.macros[m];
    Value& macro = macros.push(Value::object());
    macro.add("name", Value::string(fileText(text.name, macroPath + "/name")));
    macro.add("loop_count", Value::number(macroLoopCount(files.record.macroBlock(m))));
    // The events are what a profile carries of the entries: an entry that is no event nor a
    // delay would be lost, so it is named instead.
    for (std::size_t i = 0; i < text.entries.size(); ++i) {
      const std::string& entry = fileText(text.entries[i], macroPath + "/events");
      const bool key = entry.find(kPressSuffix) != std::string::npos || entry.find(kReleaseSuffix) != std::string::npos;
      if (!entry.empty() && !key && !isDelayEntry(entry))
        refuse(macroPath + "/events",
               "cannot carry record.ini's entry " + json::quoted(entry) + " (" + macroItemKey(i) + " of " +
                   json::quoted(text.name) + "), which is neither a key press (\"   Dn\"), a key release (\"   Up\") nor "
                   "a delay (\"50 ms\"), so the mouse plays nothing for it: delete it in the utility first, or "
                   "write it as such entries (\"L-Button Click\" is \"L-Button   Dn\", \"50 ms\", \"L-Button   Up\")");
    }
    Value& events = macro.add("events", Value::array());
    for (const MacroEvent& event : macroEventsFromEntries(files.macros[m].entries)) {
      Value& e = events.push(Value::object());
      e.add("key", Value::string(event.keyName));
      e.add("action", Value::string(event.release ? "release" : "press"));
      e.add("delay_ms", Value::number(event.delayMs));
    }
  }
  return macros;
}

void readMacros(const Field& macros, UtilityFiles& files) {
  const std::size_t count = macros.arraySize(0, rec::kMacroCount);
  files.macros.clear();
  for (std::size_t m = 0; m < count; ++m) {
    const Field macro = macros.item(m);
    macro.expectObject({"name", "loop_count", "events"});
    const Field nameField = macro.member("name");
    const std::string& name = nameField.text();
    if (!macroNameFitsStore(name) || !profileValueKeepsAsWritten(name))
      refuse(nameField.path(), "cannot be the name of a macro: a name is 1 to 1023 characters without line breaks, "
                               "\"]\" or \"=\", and neither starts nor ends with a blank");
    for (const MacroText& earlier : files.macros)
      if (sameIgnoringCase(earlier.name, name))
        refuse(nameField.path(), "names a macro a second time (" + json::quoted(earlier.name) + "; names are compared without regard to case)");
    setMacroLoopCount(files.record.macroBlock(m), static_cast<std::uint16_t>(macro.member("loop_count").integer(0, 0xFFFF)));

    const Field events = macro.member("events");
    const std::size_t eventCount = events.arraySize(0, kMacroItemLimit / 2);
    std::vector<MacroEvent> read;
    MacroText text{name, {}};
    for (std::size_t i = 0; i < eventCount; ++i) {
      const Field event = events.item(i);
      event.expectObject({"key", "action", "delay_ms"});
      const Field key = event.member("key");
      const std::string& keyName = key.text();
      if (keyName.empty() || keyName.find(kPressSuffix) != std::string::npos ||
          keyName.find(kReleaseSuffix) != std::string::npos || !profileValueKeepsAsWritten(keyName + std::string(kPressSuffix)))
        refuse(key.path(), "must be a key name as the recorder writes it, as \"A\" or \"L-Button\"");
      const bool release = event.member("action").choice({"press", "release"}) == 1;
      const auto delay = static_cast<std::uint32_t>(event.member("delay_ms").integer(0, kLongDelayMaxMs));
      read.push_back({keyName, keyNameToUsage(keyName), release, delay});
      text.entries.push_back(keyName + std::string(release ? kReleaseSuffix : kPressSuffix));
      text.entries.push_back(std::to_string(delay) + std::string(kDelaySuffix));
    }
    if (pairsOfEvents(read) > kMacroPairCapacity)
      refuse(events.path(), macroTooLongMessage(Language::English, pairsOfEvents(read), read.size(), eventsThatFit(read)));
    files.macros.push_back(std::move(text));
  }
}

// Blocks past the named macros still go to the mouse with every Apply (deleting a macro does
// not clear its block), so a profile keeps the ones that hold anything, byte for byte.
Value unnamedBlocksValue(const UtilityFiles& files) {
  Value blocks = Value::object();
  for (std::size_t m = files.macros.size(); m < rec::kMacroCount; ++m) {
    const std::uint8_t* block = files.record.macroBlock(m);
    if (std::any_of(block, block + rec::kMacroBlockSize, [](std::uint8_t b) { return b != 0; }))
      blocks.add(std::to_string(m + 1), Value::string(hexBytes(block, rec::kMacroBlockSize)));
  }
  return blocks;
}

void readUnnamedBlocks(const Field& blocks, UtilityFiles& files) {
  if (!blocks.value().isObject()) refuse(blocks.path(), "must be an object { ... }");
  std::vector<std::string> numbers;
  for (std::size_t m = files.macros.size(); m < rec::kMacroCount; ++m) numbers.push_back(std::to_string(m + 1));
  for (std::size_t m = files.macros.size(); m < rec::kMacroCount; ++m) std::fill_n(files.record.macroBlock(m), rec::kMacroBlockSize, 0);
  for (const Value::Member& member : blocks.value().members()) {
    const Field block = blocks.member(member.name);
    const auto position = std::find(numbers.begin(), numbers.end(), member.name);
    if (position == numbers.end())
      refuse(block.path(), numbers.empty() ? "cannot be: every block belongs to a named macro"
                                           : "must be the number of a block without a macro, " + listOfNames(numbers));
    const std::string& hex = block.text();
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (hex.size() != 2 * rec::kMacroBlockSize || !std::all_of(hex.begin(), hex.end(), [&](char c) { return digit(c) >= 0; }))
      refuse(block.path(), "must be the block's 128 bytes as 256 hexadecimal digits");
    std::uint8_t* bytes = files.record.macroBlock(std::stoul(member.name) - 1);
    for (std::size_t i = 0; i < rec::kMacroBlockSize; ++i)
      bytes[i] = static_cast<std::uint8_t>(digit(hex[2 * i]) * 16 + digit(hex[2 * i + 1]));
  }
}

FilesOfProfile readDocument(const Value& document, const UtilityFiles& base) {
  FilesOfProfile result;
  try {
    const Field root(document, "");
    if (!document.isObject()) refuse("", "is not an Ombrisk profile: a profile is a JSON object { ... }");
    if (!root.has("format") || !root.member("format").value().isString() ||
        root.member("format").value().text() != kProfileFormat)
      refuse("/format", "is not an Ombrisk profile: its \"format\" must be " + json::quoted(kProfileFormat));
    if (!root.has("format_version")) refuse("/format_version", "is missing");
    const auto version = root.member("format_version").value().integer();
    if (!version || *version != kProfileFormatVersion)
      refuse("/format_version", (version ? "is " + std::to_string(*version) + ": " : "must be a number: ") +
                                    "this ombriskctl reads profiles of format version " + std::to_string(kProfileFormatVersion));
    if (!root.has("device") || !root.member("device").value().isString() || root.member("device").value().text() != deviceText())
      refuse("/device", "belongs to another device: this utility is for the mouse " + deviceText() + " (vendor:product)");
    root.expectObject({"format", "format_version", "device", "interface", "config", "labels", "macros",
                       "macro_blocks_without_name"});
    UtilityFiles files = base;
    files.configLoaded = true;
    readInterface(root.member("interface"), files);
    readConfig(root.member("config"), files);
    readLabels(root.member("labels"), files);
    readMacros(root.member("macros"), files);
    readUnnamedBlocks(root.member("macro_blocks_without_name"), files);
    result.files = std::move(files);
  } catch (const Refusal& refusal) {
    result.problem = refusal.problem;
  }
  return result;
}

}  // namespace

ProfileOfFiles profileOf(const UtilityFiles& files) {
  ProfileOfFiles result;
  try {
    Value document = Value::object();
    document.add("format", Value::string(std::string(kProfileFormat)));
    document.add("format_version", Value::number(kProfileFormatVersion));
    document.add("device", Value::string(deviceText()));
    document.add("interface", interfaceValue(files));
    document.add("config", configValue(files, "/config"));
    document.add("labels", labelsValue(files));
    document.add("macros", macrosValue(files, "/macros"));
    document.add("macro_blocks_without_name", unnamedBlocksValue(files));
    // Only what import takes back leaves: the same checks read the document once more.
    const FilesOfProfile check = readDocument(document, files);
    if (!check.files) {
      result.problem = {check.problem.path, "the files hold what a profile cannot take back: " + check.problem.message};
      return result;
    }
    result.document = std::move(document);
  } catch (const Refusal& refusal) {
    result.problem = refusal.problem;
  }
  return result;
}

FilesOfProfile filesOfProfile(const json::Value& document, const UtilityFiles& base) { return readDocument(document, base); }

FilesOfProfile filesOfProfileText(std::string_view text, const UtilityFiles& base) {
  const json::ParseResult parsed = json::parse(text, {.maxBytes = kProfileMaxBytes, .maxDepth = 16, .maxValues = 1 << 16});
  if (!parsed.value) {
    FilesOfProfile result;
    result.problem = {"", "line " + std::to_string(parsed.error.line) + ", column " + std::to_string(parsed.error.column) +
                              ": " + parsed.error.message};
    return result;
  }
  return readDocument(*parsed.value, base);
}

}  // namespace ombrisk::ctl
