#include "set_command.h"

#include <algorithm>
#include <charconv>
#include <variant>

#include "keys/button_labels.h"
#include "keys/captured_keys.h"
#include "keys/consumer_key_editors.h"
#include "keys/editor_texts.h"
#include "keys/fire_key_editor.h"
#include "keys/function_choice.h"
#include "keys/key_names.h"
#include "macros/macro_key_choice.h"
#include "pages/dpi_controls.h"
#include "pages/lighting.h"
#include "pages/pointer_settings.h"
#include "setting_names.h"

namespace ombrisk::ctl {
namespace {

using Kind = SetOutcome::Kind;

constexpr SettingSyntax kSyntaxes[] = {
    {"report-rate RATE", "Reports per second: 125, 250, 500 or 1000."},
    {"stage N level L", "The DPI level of stage N (1 to 4): 1 to 12, or 1 to 8 when --sensor names a sensor "
                        "type 1 to 3 (the mouse's DPI values depend on its sensor; `ombriskctl show` lists them)."},
    {"stage N on|off", "Switches stage N on or off; the last stage on stays on."},
    {"stage N colour RRGGBB", "The colour of stage N in hexadecimal red, green and blue, as FF8000 (or "
                              "\"#FF8000\", quoted for the shell)."},
    {"lighting mode MODE", "Standard, Respiration or Neon."},
    {"lighting parameter VALUE", "Of the current mode: brightness 5% to 100% (Standard), speed 8S to 4S "
                                 "(Respiration), period 0.5S to 15S (Neon)."},
    {"lighting effect EFFECT", "Of the current mode: RGB Effect (Standard), RGB Effect or RGB Flash "
                               "(Respiration), RGB Flash or RGB Fixed On (Neon)."},
    {"mode A|B", "The key table the window shows and edits (its Mode A and Mode B buttons)."},
    {"button A|B N FUNCTION [PARAMETERS]",
     "Gives button N (1 to 7) of key table A or B a function, by the window's rules: the last Left Click of a "
     "table stays; Shift goes to the same button of both tables, and a button that holds Shift passes its "
     "new function to both. FUNCTION and its PARAMETERS:\n"
     "left-click, right-click, mid-click, forward, backward, triple-click, rgb-on-off, shift, key-off;\n"
     "dpi-switch ACTION (\"DPI +\", \"DPI -\", \"DPI Loop\" or \"Shift DPI\");\n"
     "windows NAME (Calculator, Mail, Browser-Home, ...; as its list shows it, in English or the interface "
     "language);\n"
     "multimedia NAME (Next, Previous, Stop, Play/Pause, Mute, Vol+, Vol-);\n"
     "fire-key KEY [SPEED [TIMES]] (KEY from the fire-key list: A to Z, 0 to 9, L-CTRL, F1 to F12, L-Button, "
     "...; SPEED 5 to 255, smaller is faster, 32 when left out; TIMES 0 to 255, 0 until the button is "
     "released, 1 when left out);\n"
     "single-key KEY (a key name of a US keyboard layout: A, 1, Enter, Space, F5, Num 1, Ctrl, ...);\n"
     "combo-key MODIFIER KEY [KEY2] (MODIFIER Left Ctrl, Left Shift, Left Alt, Left Win, Right Ctrl, Right "
     "Shift, Right Alt, Right Win, or none);\n"
     "macro-key MACRO [REPEAT] (MACRO a name or number of the first twelve macros of record.ini; REPEAT 1 to 3: "
     "1 a number of times or until any key, 2 until any key, 3 while the button is held; 1 when left out)."},
    {"buttons default", "The factory functions and labels of both key tables (the window's key Default)."},
    {"pointer speed N", "Pointer speed, slider position 1 to 11."},
    {"pointer wheel-lines N", "Lines per wheel notch, 1 to 11."},
    {"pointer double-click N", "Double-click speed, slider position 1 to 11."},
    {"pointer precision on|off", "Enhanced pointer precision."},
    {"pointer one-screen on|off", "One screen per wheel notch."},
    {"pointer default", "The pointer settings' defaults (the Advanced page's Default): speed 6, 3 lines, "
                        "double-click 6, no precision, no one-screen scrolling. The utility gives pointer "
                        "settings to Windows when its window applies them."},
};

// Ends the command with an outcome: thrown from the readers below.
struct Stop {
  SetOutcome outcome;
};
[[noreturn]] void usage(std::string message) { throw Stop{{Kind::Usage, std::move(message)}}; }
[[noreturn]] void refused(std::string message) { throw Stop{{Kind::Refused, std::move(message)}}; }

class Words {
 public:
  explicit Words(std::span<const std::string> words) : words_(words) {}
  const std::string& next(const std::string& what) {
    if (at_ >= words_.size()) usage("missing " + what);
    return words_[at_++];
  }
  std::optional<std::string> optional() {
    if (at_ >= words_.size()) return std::nullopt;
    return words_[at_++];
  }
  void end() {
    if (at_ < words_.size()) usage("unexpected \"" + words_[at_] + "\"");
  }

 private:
  std::span<const std::string> words_;
  std::size_t at_ = 0;
};

int number(const std::string& text, int min, int max, const std::string& what) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
    refused(what + " must be a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
            ", not \"" + text + "\"");
  return value;
}

// The position of the given name among names (any list of them), letters compared without
// regard to case.
std::size_t choose(const std::string& given, std::initializer_list<const std::vector<std::string>*> lists,
                   const std::string& what) {
  for (const auto* names : lists)
    for (std::size_t i = 0; i < names->size(); ++i)
      if (sameIgnoringCase((*names)[i], given)) return i;
  refused(what + " must be " + listOfNames(**lists.begin()) + ", not \"" + given + "\"");
}

bool onOff(const std::string& text, const std::string& what) {
  static const std::vector<std::string> words{"off", "on"};
  return choose(text, {&words}, what) == 1;
}

// --- Basic page: report rate, DPI stages, lighting -------------------------------------------

std::string reportRate(Words& words, SettingsRecord& record) {
  std::vector<std::string> rates;
  for (const std::uint8_t code : reportRateCodes()) rates.push_back(std::to_string(reportsPerSecond(code)));
  const std::string& given = words.next("RATE");
  words.end();
  const std::uint8_t code = reportRateCodes()[choose(given, {&rates}, "the report rate")];
  record[rec::kReportInterval] = code;
  return "report rate " + given + " reports per second";
}

std::string stage(Words& words, SettingsRecord& record, std::optional<std::uint8_t> sensorType) {
  const int stage = number(words.next("the stage number"), 1, static_cast<int>(rec::kStageCount), "the stage") - 1;
  const std::string& what = words.next("level, on, off or colour");
  const std::string name = "stage " + std::to_string(stage + 1);
  if (sameIgnoringCase(what, "level")) {
    const std::string& text = words.next("the level");
    words.end();
    const std::uint8_t sensor = sensorType.value_or(0);
    const int level = number(text, 1, static_cast<int>(gridLevels(sensor)),
                             "the level" + (sensorType ? " of sensor type " + std::to_string(*sensorType) : std::string()));
    if (!levelTakesPress(sensor, level)) refused("the level must be from 1 to " + std::to_string(gridLevels(sensor)));
    record[rec::kDpiLevel + static_cast<std::size_t>(stage)] = static_cast<std::uint8_t>(level - 1);
    return name + " at level " + text;
  }
  if (sameIgnoringCase(what, "on") || sameIgnoringCase(what, "off")) {
    words.end();
    const bool on = sameIgnoringCase(what, "on");
    if (stageOn(record, stage) != on && !toggleStage(record, stage))
      refused(name + " is the only stage on: one stage always stays on; switch another on first");
    return name + (on ? " on" : " off");
  }
  if (sameIgnoringCase(what, "colour") || sameIgnoringCase(what, "color")) {
    // The "#" may be left out: a shell takes an unquoted #FF8000 for a comment.
    const std::string& text = words.next("the colour, as FF8000 or \"#FF8000\"");
    words.end();
    const auto rgb = parseColour(text.size() == 6 ? "#" + text : text);
    if (!rgb) refused("the colour must be written RRGGBB or #RRGGBB, as FF8000, not \"" + text + "\"");
    setStageColour(record, stage, Rgb{(*rgb)[0], (*rgb)[1], (*rgb)[2]});
    return name + " colour " + colourText((*rgb)[0], (*rgb)[1], (*rgb)[2]);
  }
  usage("unknown stage setting \"" + what + "\": level, on, off or colour");
}

std::string lighting(Words& words, SettingsRecord& record, const InterfaceTexts& texts) {
  const std::string& what = words.next("mode, parameter or effect");
  const std::string& given = words.next("the value");
  words.end();
  const std::vector<std::string> boxes{"mode", "parameter", "effect"};
  const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const std::string& b) { return sameIgnoringCase(b, what); });
  if (box == boxes.end()) usage("unknown lighting setting \"" + what + "\": mode, parameter or effect");
  const int index = static_cast<int>(box - boxes.begin());
  // The lists the window offers now, in the interface language and in English.
  SettingsRecord scratch = record;
  const LightingPress shown = pressLightingBox(index, scratch, texts);
  SettingsRecord englishScratch = record;
  const LightingPress english = pressLightingBox(index, englishScratch, englishTexts());
  if (index == kEffectBox && shown.valuesChanged) {  // Standard has one effect, taken by a press
    const std::vector<std::string> only{lightingEffectName(1, englishTexts()), lightingEffectName(1, texts)};
    choose(given, {&only}, "the effect of Standard");
    pressLightingBox(index, record, texts);
  } else {
    if (!shown.list) refused("no lighting mode is chosen: set lighting mode Standard, Respiration or Neon first");
    chooseLighting(index, static_cast<int>(choose(given, {&*english.list, &*shown.list}, "the lighting " + what)), record);
  }
  const LightingValues now = lightingValues(record, texts);
  return "lighting " + now.mode + (now.parameter ? ", " + *now.parameter : "") + (now.effect ? ", " + *now.effect : "");
}

std::string pointer(Words& words, SettingsRecord& record) {
  const std::string& what = words.next("speed, wheel-lines, double-click, precision, one-screen or default");
  struct Slider {
    const char* name;
    std::size_t offset;
  };
  for (const Slider slider : {Slider{"speed", rec::kPointerSpeed}, Slider{"wheel-lines", rec::kWheelLines},
                              Slider{"double-click", rec::kDoubleClickIndex}}) {
    if (!sameIgnoringCase(what, slider.name)) continue;
    const std::string& text = words.next("the slider position");
    words.end();
    record[slider.offset] = static_cast<std::uint8_t>(number(text, kPointerIndexMin, kPointerIndexMax, std::string("the pointer ") + slider.name));
    return std::string("pointer ") + slider.name + " " + text;
  }
  for (const Slider box : {Slider{"precision", rec::kEnhancePrecision}, Slider{"one-screen", rec::kWheelOneScreen}}) {
    if (!sameIgnoringCase(what, box.name)) continue;
    const bool on = onOff(words.next("on or off"), std::string("pointer ") + box.name);
    words.end();
    record[box.offset] = on ? 1 : 0;
    return std::string("pointer ") + box.name + (on ? " on" : " off");
  }
  if (sameIgnoringCase(what, "default")) {
    words.end();
    setDefaultPointerRecord(record);
    return "pointer settings at their defaults";
  }
  usage("unknown pointer setting \"" + what + "\"");
}

// --- Key tables ---------------------------------------------------------------------------------

// "left-click", "rgb-on-off", ...: the English function name in lower case, words joined by "-".
std::string functionWord(std::string_view name) {
  std::string word;
  for (const char c : name) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (letter) word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    else if (!word.empty() && word.back() != '-') word += '-';
  }
  while (!word.empty() && word.back() == '-') word.pop_back();
  return word;
}

// A key name as the key tables spell it; another case of a known name is taken as that name.
std::string keyName(const std::string& given, const std::string& what) {
  CapturedKey key;
  key.capture(given);
  if (!key.unassignable()) return given;
  for (const KeyNameUsage& entry : keyNameTable())
    if (sameIgnoringCase(entry.name, given)) return std::string(entry.name);
  refused(what + " \"" + given + "\": " + std::string(editorText(Language::English, EditorText::UnassignableKey)) +
          " (key names are those of a US keyboard layout: A, 1, Enter, Space, F5, Num 1, Ctrl, ...)");
}

EditorAnswer editorAnswer(EditorDialog dialog, Words& words, SetContext& context, Language language) {
  switch (dialog) {
    case EditorDialog::Windows:
    case EditorDialog::Media: {
      const ConsumerList list = dialog == EditorDialog::Windows ? ConsumerList::Windows : ConsumerList::Media;
      const std::vector<std::string> english = consumerListItems(list, Language::English),
                                     shown = consumerListItems(list, language);
      const std::size_t i = choose(words.next("the function's name"), {&english, &shown},
                                   dialog == EditorDialog::Windows ? "the Windows function" : "the multimedia function");
      words.end();
      if (dialog == EditorDialog::Windows) return WindowsChoice{{static_cast<int>(i), shown[i]}};
      return MediaChoice{{static_cast<int>(i), shown[i]}};
    }
    case EditorDialog::FireKey: {
      FireKeyChoice choice;
      const std::vector<std::string> keys = fireKeyItems();
      choice.index = static_cast<int>(choose(words.next("the fire key"), {&keys}, "the fire key"));
      choice.text = keys[static_cast<std::size_t>(choice.index)];
      if (const auto speed = words.optional()) {
        const FieldReading reading = readFireSpeed(*speed);
        if (reading.replacement || speed->find_first_not_of("0123456789") != std::string::npos)
          refused("the fire speed must be a whole number from 5 to 255 (smaller is faster), not \"" + *speed + "\"");
        choice.speed = reading.value;
      }
      if (const auto times = words.optional()) {
        const FieldReading reading = readFireTimes(*times);
        if (reading.replacement || times->empty() || times->find_first_not_of("0123456789") != std::string::npos)
          refused("the fire times must be a whole number from 0 to 255 (0: until the button is released), not \"" +
                  *times + "\"");
        choice.times = reading.value;
      }
      words.end();
      return choice;
    }
    case EditorDialog::Single: {
      SingleKeyChoice choice{keyName(words.next("the key"), "the key")};
      words.end();
      return choice;
    }
    case EditorDialog::Combo: {
      ComboKeyChoice choice;
      const std::string& modifier = words.next("the modifier (or none)");
      if (!sameIgnoringCase(modifier, "none")) {
        std::vector<std::string> modifiers = modifierNames();
        choice.modifier = modifiers[choose(modifier, {&modifiers}, "the modifier (or none)")];
      }
      const std::string& key1 = words.next("the key (or none)");
      if (!sameIgnoringCase(key1, "none")) choice.key1 = keyName(key1, "the key");
      if (const auto key2 = words.optional(); key2 && !sameIgnoringCase(*key2, "none"))
        choice.key2 = keyName(*key2, "the second key");
      words.end();
      return choice;
    }
    case EditorDialog::Macro: {
      const std::vector<std::string> macros = macroKeyItems(context.store, context.paths.recordIni);
      if (macros.empty()) refused("record.ini holds no macro: record one in the utility first");
      const std::string& given = words.next("the macro");
      MacroKeyChoice choice;
      const bool numeric = !given.empty() && given.find_first_not_of("0123456789") == std::string::npos;
      choice.index = numeric ? number(given, 1, static_cast<int>(macros.size()), "the macro number") - 1
                             : static_cast<int>(choose(given, {&macros}, "the macro"));
      choice.name = macros[static_cast<std::size_t>(choice.index)];
      if (const auto repeat = words.optional()) choice.repeatMode = number(*repeat, 1, 3, "the repeat mode");
      words.end();
      return choice;
    }
    default: break;
  }
  usage("this function has no editor");
}

std::string button(Words& words, SetContext& context, KeyChoiceContext& choice) {
  SettingsRecord& record = context.files.record;
  const std::vector<std::string> tables{"A", "B"};
  const std::size_t table = choose(words.next("the key table (A or B)"), {&tables}, "the key table");
  const int buttonNumber = number(words.next("the button number"), 1, static_cast<int>(kButtonsWithKeyBox), "the button");
  const std::size_t entry = static_cast<std::size_t>(buttonNumber - 1);
  std::vector<std::string> functionWords;
  for (const std::string& name : functionNames()) functionWords.push_back(functionWord(name));
  const std::vector<std::string> englishNames = functionNames();
  const auto function =
      static_cast<KeyFunction>(choose(words.next("the function"), {&functionWords, &englishNames}, "the function"));
  const std::string name = "button " + std::to_string(buttonNumber) + " of key table " + tables[table];

  // As the window does it: that table's Mode button, then the button's list and its editor.
  const std::uint8_t shownTable = record[rec::kKeyTableSelector];
  record[rec::kKeyTableSelector] = static_cast<std::uint8_t>(table);
  struct RestoreSelector {
    SettingsRecord& record;
    std::uint8_t value;
    ~RestoreSelector() { record[rec::kKeyTableSelector] = value; }
  } restore{record, shownTable};

  const FunctionListOpening opening = openFunctionList(record, choice.texts, entry, DropDownBox{});
  if (const auto* message = std::get_if<MessageToShow>(&opening))
    refused("\"" + message->text + "\" " + name + " is the last Left Click of its table; give another button " +
            "Left Click first");
  const bool heldShift = record.key(static_cast<KeyTableId>(table), KeyField::Function, entry) ==
                         static_cast<std::uint8_t>(KeyFunction::Shift);

  KeyChoiceStep step;
  if (function == KeyFunction::DpiSwitch) {
    const std::vector<std::string> actions = dpiActionNames();
    const int action = static_cast<int>(choose(words.next("the DPI action"), {&actions}, "the DPI action"));
    words.end();
    step = chooseDpiAction(choice, entry, action);
  } else {
    step = chooseKeyFunction(choice, entry, static_cast<int>(function));
    if (const auto* editor = std::get_if<RunEditor>(&step)) {
      step = finishKeyEditor(choice, entry, editorAnswer(editor->dialog, words, context, choice.texts.language()));
    } else {
      words.end();
    }
  }
  const auto* closed = std::get_if<CloseList>(&step);
  if (closed && closed->message)
    refused("\"" + closed->message->text + "\" Shift goes to button " + std::to_string(buttonNumber) +
            " of both tables, and it is the last Left Click of the other table");
  if (closed && !closed->changed && function == KeyFunction::Shift && !heldShift)
    refused("another of buttons 1 to 8 of key table " + tables[table] + " holds Shift; one button holds it");
  return name + ": " + buttonLabel(choice.labels, static_cast<KeyTableId>(table), entry);
}

}  // namespace

std::span<const SettingSyntax> settingSyntaxes() { return kSyntaxes; }

SetOutcome applySetting(std::span<const std::string> words, SetContext& context) {
  UtilityFiles& files = context.files;
  const InterfaceTexts texts(files.language());
  const UtilityFiles before = files;
  // Until the first Apply the window fills the labels in for what the tables hold when it
  // first shows them; set does the same before it changes one, and marks them written.
  ButtonLabelSet& labels = files.interfaceLabels();
  if (files.firstRunFlag == 0) labels = functionLabels(files.record, texts);
  const ButtonLabelSet labelsBefore = labels;
  KeyChoiceContext choice{files.record, labels, texts};
  SetOutcome outcome{Kind::Changed, {}};
  try {
    Words w(words);
    const std::string& setting = w.next("the setting; see ombriskctl help set");
    if (sameIgnoringCase(setting, "report-rate")) outcome.message = reportRate(w, files.record);
    else if (sameIgnoringCase(setting, "stage")) outcome.message = stage(w, files.record, context.sensorType);
    else if (sameIgnoringCase(setting, "lighting")) outcome.message = lighting(w, files.record, texts);
    else if (sameIgnoringCase(setting, "pointer")) outcome.message = pointer(w, files.record);
    else if (sameIgnoringCase(setting, "button")) outcome.message = button(w, context, choice);
    else if (sameIgnoringCase(setting, "buttons")) {
      const std::vector<std::string> only{"default"};
      choose(w.next("default"), {&only}, "buttons");
      w.end();
      resetKeyAssignments(choice);
      outcome.message = "both key tables at their factory functions";
    } else if (sameIgnoringCase(setting, "mode")) {
      const std::vector<std::string> tables{"A", "B"};
      const std::size_t table = choose(w.next("A or B"), {&tables}, "the mode");
      w.end();
      files.record[rec::kKeyTableSelector] = static_cast<std::uint8_t>(table);
      outcome.message = "the window shows key table " + tables[table];
    } else {
      usage("unknown setting \"" + setting + "\"; see ombriskctl help set");
    }
  } catch (const Stop& stop) {
    files = before;
    return stop.outcome;
  }
  if (files.record == before.record && labels == labelsBefore) {
    files = before;
    return {Kind::Unchanged, outcome.message + " (already so)"};
  }
  files.firstRunFlag = 1;
  return outcome;
}

}  // namespace ombrisk::ctl
