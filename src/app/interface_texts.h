// The interface texts of the main window in English, Simplified and Traditional Chinese,
// the language rule, the label section of str.ini and the fonts of each language.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ombrisk {

enum class Language { English, SimplifiedChinese, TraditionalChinese };

inline constexpr std::array<Language, 3> kLanguages = {Language::English, Language::SimplifiedChinese,
                                                       Language::TraditionalChinese};

// "CHS" and "CHT" (exactly, case-sensitive); anything else is English.
Language languageFromCode(std::string_view code);
// "EN", "CHS" or "CHT": the code str.ini names the language by.
std::string_view languageCode(Language language);

// The interface language of this run, read once at start; the editor dialogs choose their
// own texts by it.
Language interfaceLanguage();
void setInterfaceLanguage(Language language);

// The section of str.ini that holds the button labels of a language.
std::string_view labelSection(Language language);

// One entry per text of the main window, its pages, tray menu, balloons and message boxes.
enum class TextId : std::size_t {
  BasicTitle,
  AdvancedTitle,
  Ok,
  Apply,
  Cancel,
  KeySetting,
  ReportRateSetting,
  DpiSetting,
  KeyDefault,
  DpiEffect,
  LightingMode,
  LightingParameter,
  LightingEffect,
  LightingModeOff,
  LightingModeStandard,
  LightingModeRespiration,
  LightingModeNeon,
  LightingEffectNone,
  LightingEffectRgb,
  LightingEffectRgbFlash,
  LightingEffectRgbFixed,
  KeyLeftClick,
  KeyRightClick,
  KeyMidClick,
  KeyForward,
  KeyBackward,
  KeyTripleClick,
  KeyDpiSwitch,
  KeyShift,
  KeyRgbOnOff,
  KeyWindows,
  KeyMultimedia,
  KeyFireKey,
  KeySingleKey,
  KeyComboKey,
  KeyMacroKey,
  KeyOff,
  LeftKeyRequired,
  ReportRate1000,
  ReportRate500,
  ReportRate250,
  ReportRate125,
  DpiStage1,
  DpiStage2,
  DpiStage3,
  DpiStage4,
  KeyMatrix1,
  KeyMatrix2,
  MacroSwitched,
  TrayExit,
  NoMouse,
  MouseDetected,
  MouseSpeed,
  ScrollingSpeed,
  DoubleClickSpeed,
  MacroSetting,
  SelectMacro,
  KeyPressSequence,
  RecordOption,
  EnhancePointerPrecision,
  ScrollOneScreen,
  PointerDefault,
  MacroName,
  StartRecording,
  StopRecording,
  LoopTimes,
  InsertMouseEvent,
  MacroNew,
  MacroDelete,
  MacroConfirm,
  MacroNameBlank,
  MacroNameExists,
  RecordingStopHint,
  RecordingNotStarted,
  KeysNotRecorded,  // followed by the names of the keys a recording left out
  WebLink,
  ApplyIncomplete,  // an Apply some of whose transfers failed
  FileNotRewritten,  // "{file}": a profile file that could not be read whole was left alone
  Count
};

inline constexpr std::size_t kTextCount = static_cast<std::size_t>(TextId::Count);

// One text of one language, straight from the table.
std::string_view textIn(Language language, TextId id);

// The text set of one language, filled once at start.
class InterfaceTexts {
 public:
  explicit InterfaceTexts(Language language = Language::English);

  Language language() const { return language_; }
  const std::string& operator[](TextId id) const { return texts_[static_cast<std::size_t>(id)]; }
  std::string_view labelSection() const { return ombrisk::labelSection(language_); }

 private:
  Language language_;
  std::array<std::string, kTextCount> texts_;
};

// The text FileNotRewritten with the file's name in place of "{file}".
std::string fileNotRewrittenMessage(const InterfaceTexts& texts, std::string_view fileName);

// The vendor's web site, shown as the link caption and opened by it.
inline constexpr std::string_view kVendorWebSite = "https://www.ombrisk.example/";

// A font as the Win32 shell creates it: the face, the cell height in logical units and the
// weight; every other attribute is fixed (width 0, normal, default character set, precision
// and quality, Swiss pitch-and-family).
struct FontSpec {
  std::string_view face;
  int height;
  int weight;
};

struct WindowFonts {
  FontSpec small;  // buttons, labels, lists, values; also every dialog's window font
  FontSpec title;  // page titles
};

// The system version the program is told: 6.2 selects 黑体 for Simplified Chinese.
struct SystemVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

WindowFonts fontsFor(Language language, SystemVersion version);

}  // namespace ombrisk
