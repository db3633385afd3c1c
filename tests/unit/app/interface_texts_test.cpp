#include <gtest/gtest.h>

#include "app/interface_texts.h"

namespace ombrisk {
namespace {

TEST(LanguageRule, OnlyExactChsAndChtSelectChinese) {
  const struct {
    const char* code;
    Language language;
  } cases[] = {
      {"CHS", Language::SimplifiedChinese}, {"CHT", Language::TraditionalChinese},
      {"chs", Language::English},           {"Cht", Language::English},
      {"CHS ", Language::English},          {" CHT", Language::English},
      {"", Language::English},              {"EN", Language::English},
      {"CH", Language::English},            {"CHSX", Language::English},
  };
  for (const auto& c : cases) EXPECT_EQ(languageFromCode(c.code), c.language) << '"' << c.code << '"';
}

TEST(LanguageRule, LabelSectionPerLanguage) {
  EXPECT_EQ(labelSection(Language::English), "Setting-EN");
  EXPECT_EQ(labelSection(Language::SimplifiedChinese), "Setting-CHS");
  EXPECT_EQ(labelSection(Language::TraditionalChinese), "Setting-CHT");
  EXPECT_EQ(InterfaceTexts(languageFromCode("CHT")).labelSection(), "Setting-CHT");
}

TEST(InterfaceTexts, LookupsPerLanguage) {
  const InterfaceTexts english(Language::English);
  const InterfaceTexts simplified(Language::SimplifiedChinese);
  const InterfaceTexts traditional(Language::TraditionalChinese);
  const struct {
    TextId id;
    const char* english;
    const char* simplified;
    const char* traditional;
  } cases[] = {
      {TextId::BasicTitle, "Basic Settings", "\xE5\x9F\xBA\xE6\x9C\xAC\xE8\xAE\xBE\xE7\xBD\xAE",
       "\xE5\x9F\xBA\xE6\x9C\xAC\xE8\xA8\xAD\xE7\xBD\xAE"},
      {TextId::TrayExit, "Exit", "\xE9\x80\x80\xE5\x87\xBA", "\xE9\x80\x80\xE5\x87\xBA"},
      // Trailing blank in English only.
      {TextId::DpiStage2, "Switch DPI into the second stage ",
       "DPI\xE5\x88\x87\xE6\x8D\xA2\xE5\x88\xB0\xE7\xAC\xAC\xE4\xBA\x8C\xE6\xAE\xB5",
       "DPI\xE5\x88\x87\xE6\x8F\x9B\xE5\x88\xB0\xE7\xAC\xAC\xE4\xBA\x8C\xE6\xAE\xB5"},
      {TextId::NoMouse, "The system did not detect the gaming mouse!",
       "\xE7\xB3\xBB\xE7\xBB\x9F\xE6\xB2\xA1\xE6\x9C\x89\xE6\xA3\x80\xE6\xB5\x8B\xE5\x88\xB0"
       "\xE6\xB8\xB8\xE6\x88\x8F\xE9\xBC\xA0\xE6\xA0\x87\xEF\xBC\x81",
       "\xE7\xB3\xBB\xE7\xB5\xB1\xE6\xB2\x92\xE6\x9C\x89\xE6\xAA\xA2\xE6\xB8\xAC\xE5\x88\xB0"
       "\xE9\x81\x8A\xE6\x88\xB2\xE6\xBB\x91\xE9\xBC\xA0\xEF\xBC\x81"},
      // The spelling the mouse's documentation uses, kept as it is.
      {TextId::LightingEffectNone, "Non-Disolay", "\xE5\x85\xB3\xE9\x97\xAD", "\xE9\x97\x9C\xE9\x96\x89"},
      {TextId::KeyComboKey, "Combo Key", "\xE7\xBB\x84\xE5\x90\x88\xE9\x94\xAE", "\xE8\xA4\x87\xE5\x90\x88\xE9\x8D\xB5"},
      {TextId::KeyMacroKey, "Macro Key", "\xE5\xAE\x8F", "\xE5\xB7\xA8\xE9\x9B\x86"},
      {TextId::KeyDefault, "Default", "\xE6\x8C\x89\xE9\x94\xAE\xE6\x81\xA2\xE5\xA4\x8D",
       "\xE6\x8C\x89\xE9\x8D\xB5\xE6\x81\xA2\xE5\xBE\xA9"},
      {TextId::PointerDefault, "Default", "\xE6\x81\xA2\xE5\xA4\x8D\xE9\xBB\x98\xE8\xAE\xA4",
       "\xE6\x81\xA2\xE5\xBE\xA9\xE9\xBB\x98\xE8\xAA\x8D"},
      {TextId::KeyShift, "Shift", "Shift", "Shift"},
  };
  for (const auto& c : cases) {
    const auto index = static_cast<int>(c.id);
    EXPECT_EQ(english[c.id], c.english) << index;
    EXPECT_EQ(simplified[c.id], c.simplified) << index;
    EXPECT_EQ(traditional[c.id], c.traditional) << index;
  }
  // The typographic apostrophe (U+2019) of the recording hint.
  EXPECT_EQ(english[TextId::RecordingNotStarted],
            "It doesn\xE2\x80\x99t start recording, unnecessary to press Stop key!");
}

TEST(InterfaceTexts, EveryEntryHasATextInEveryLanguage) {
  for (Language language : {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese}) {
    const InterfaceTexts texts(language);
    for (std::size_t i = 0; i < kTextCount; ++i)
      EXPECT_FALSE(texts[static_cast<TextId>(i)].empty()) << i;
  }
}

TEST(WindowFonts, FacesAndSizesByLanguageAndSystemVersion) {
  const std::string_view hei = "\xE9\xBB\x91\xE4\xBD\x93";   // 黑体
  const std::string_view song = "\xE5\xAE\x8B\xE4\xBD\x93";  // 宋体
  const struct {
    Language language;
    SystemVersion version;
    std::string_view face;
    int smallHeight;
    std::string_view titleFace;
  } cases[] = {
      {Language::English, {6, 2}, "Arial", 14, "Tahoma"},
      {Language::English, {6, 1}, "Arial", 14, "Tahoma"},
      {Language::SimplifiedChinese, {6, 2}, hei, 13, hei},
      {Language::SimplifiedChinese, {6, 1}, song, 13, song},
      {Language::SimplifiedChinese, {10, 0}, song, 13, song},
      {Language::TraditionalChinese, {6, 1}, hei, 13, hei},
      {Language::TraditionalChinese, {6, 2}, hei, 13, hei},
  };
  for (const auto& c : cases) {
    const WindowFonts fonts = fontsFor(c.language, c.version);
    EXPECT_EQ(fonts.small.face, c.face);
    EXPECT_EQ(fonts.small.height, c.smallHeight);
    EXPECT_EQ(fonts.small.weight, 400);
    EXPECT_EQ(fonts.title.face, c.titleFace);
    EXPECT_EQ(fonts.title.height, 18);
    EXPECT_EQ(fonts.title.weight, 700);
  }
}

TEST(InterfaceTexts, FileNotRewrittenNamesTheFileInEveryLanguage) {
  for (Language language : {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese}) {
    const std::string text = fileNotRewrittenMessage(InterfaceTexts(language), "str.ini");
    EXPECT_NE(text.find("str.ini"), std::string::npos) << text;
    EXPECT_EQ(text.find("{file}"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace ombrisk
