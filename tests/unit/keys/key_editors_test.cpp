// The key editors without their windows: which key events the hook takes, unassignable
// keys, the fire-key corrections, the lists and the labels the editors draw.
#include <gtest/gtest.h>

#include "keys/captured_keys.h"
#include "keys/editor_texts.h"
#include "keys/consumer_key_editors.h"
#include "keys/fire_key_editor.h"
#include "keys/key_editor_surfaces.h"
#include "keys/key_names.h"
#include "support/recording_painter.h"

namespace ombrisk {
namespace {

using testing::RecordingPainter;

// Key message flags: scan code, extended bit, previous state, transition.
constexpr std::uint32_t press(std::uint32_t scan, bool extended = false, bool repeat = false) {
  return 1u | scan << 16 | (extended ? 1u << 24 : 0) | (repeat ? 1u << 30 : 0);
}
constexpr std::uint32_t release(std::uint32_t scan, bool extended = false) {
  return 1u | scan << 16 | (extended ? 1u << 24 : 0) | 1u << 30 | 1u << 31;
}
constexpr std::uint32_t kA = 0x1E, kCtrl = 0x1D, kEnter = 0x1C;

TEST(KeyStroke, FromTheFlagsOfAKeyMessage) {
  const KeyStroke rightCtrlUp = KeyStroke::fromFlags(0xC11D0001);
  EXPECT_EQ(rightCtrlUp.key, 0x11Du);
  EXPECT_TRUE(rightCtrlUp.release);
  EXPECT_TRUE(rightCtrlUp.wasDown);
  const KeyStroke aDown = KeyStroke::fromFlags(0x001E0001);
  EXPECT_EQ(aDown.key, 0x1Eu);
  EXPECT_FALSE(aDown.release);
  EXPECT_FALSE(aDown.wasDown);
}

TEST(KeyCapture, TakesKeysPressedInTheEditorAndPassesOverKeysHeldBeforeIt) {
  struct Case {
    const char* what;
    std::vector<std::uint32_t> events;
    std::vector<bool> taken;
  };
  const Case cases[] = {
      {"press and release", {press(kA), release(kA)}, {true, true}},
      {"auto-repeat of a key pressed here", {press(kA), press(kA, false, true), release(kA)}, {true, true, true}},
      {"a key held since before: its repeat and release", {press(kEnter, false, true), release(kEnter)},
       {false, false}},
      {"held key released while another is pressed", {press(kA), release(kEnter), release(kA)}, {true, false, true}},
      {"left and right Ctrl are different keys",
       {press(kCtrl, true), release(kCtrl), release(kCtrl, true)},
       {true, false, true}},
      {"a second press after the release", {press(kA), release(kA), release(kA), press(kA)},
       {true, true, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeyCapture capture;
    std::vector<bool> taken;
    for (const std::uint32_t flags : c.events) taken.push_back(capture.take(KeyStroke::fromFlags(flags)));
    EXPECT_EQ(taken, c.taken);
  }
}

TEST(CapturedKey, NamesTheTablesDoNotKnowFallBackToTheUsNameOfTheSameKey) {
  struct Case {
    const char* layoutName;
    unsigned key;
    const char* kept;
  };
  const Case cases[] = {
      {"Enter", 0x1C, "Enter"},           // the US layout on Windows
      {"Return", 0x1C, "Enter"},          // Wine's X11 keyboard
      {"Control", 0x11D, "Right Ctrl"},   // Wine names both Ctrl keys alike
      {"Super_L", 0x15B, "Left Windows"},
      {"KP_Enter", 0x11C, "Num Enter"},
      {"Strg", 0x1D, "Ctrl"},             // a German layout
      {"Z", 0x15, "Z"},                   // a known name stands, wherever the key sits
      // Both halves of a modifier by one name: the scan code tells them apart.
      {"Alt", 0x138, "Right Alt"},        // Wine's name for the right Alt key
      {"Alt", 0x38, "Alt"},
      {"Shift", 0x36, "Right Shift"},
      {"Ctrl", 0x11D, "Right Ctrl"},
      {"Left Windows", 0x15C, "Right Windows"},
      {"Strg-Rechts", 0x11D, "Right Ctrl"},
      {"F13", 0x64, "F13"},               // no US name either: kept, and unassignable
      {"", 0x5D, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(keptKeyName(c.layoutName, c.key), c.kept) << c.layoutName;
  // Every US name is one the key name table knows.
  for (unsigned key = 0; key < 0x200; ++key)
    if (!usLayoutKeyName(key).empty()) EXPECT_NE(keyNameToUsage(usLayoutKeyName(key)), 0) << key;
}

TEST(CapturedKey, KeysTheTablesDoNotKnowAreCalledUnassignable) {
  const auto captured = [](const char* name) {
    CapturedKey key;
    key.capture(name);
    return key;
  };
  EXPECT_FALSE(CapturedKey{}.unassignable());  // nothing pressed yet
  EXPECT_FALSE(captured("Shift").unassignable());
  EXPECT_FALSE(captured("Right Ctrl").unassignable());
  EXPECT_TRUE(captured("Strg").unassignable());
  EXPECT_TRUE(captured("").unassignable());  // a key without a name
  EXPECT_EQ(comboKeyNote(Language::English, captured("C"), captured("Entf")), "This key cannot be assigned: Entf");
  EXPECT_EQ(comboKeyNote(Language::SimplifiedChinese, captured("Strg"), captured("")),
            "此按键无法设置：Strg\n此按键无法设置");
  EXPECT_EQ(comboKeyNote(Language::English, CapturedKey{}, captured("A")), "");
}

TEST(CapturedKey, TheSingleKeyEditorDrawsItsPromptAndTheNote) {
  RecordingPainter painter;
  paintSingleKeyContent(painter, Language::TraditionalChinese, CapturedKey{});
  ASSERT_EQ(painter.texts.size(), 1u);
  EXPECT_EQ(painter.texts[0].text, "請輸入一個按鍵");
  EXPECT_EQ(painter.texts[0].region, (Region{23, 108, 201, 124}));
  EXPECT_EQ(painter.texts[0].colour, TextColour::White);

  CapturedKey unknown;
  unknown.capture("Strg");
  RecordingPainter withNote;
  paintSingleKeyContent(withNote, Language::English, unknown);
  const auto note = withNote.textOf("This key cannot be assigned");
  ASSERT_TRUE(note);
  // Under the name display, inside the prompt's columns.
  const Region name = childOf(singleKeySurface().children, KeyEditorControl::KeyNameText).rect;
  EXPECT_GE(note->region.top, name.bottom);
  EXPECT_LE(note->region.bottom, 246);

  RecordingPainter combo;
  paintComboKeyContent(combo, Language::English, CapturedKey{}, unknown, TextColour::Skin);
  ASSERT_EQ(combo.texts.size(), 1u);
  EXPECT_EQ(combo.texts[0].colour, TextColour::Skin);
  EXPECT_GE(combo.texts[0].region.top, childOf(comboKeySurface().children, KeyEditorControl::Key2Edit).rect.bottom);
}

TEST(EditorTexts, TheCaptionsOfTheEditorsAreInterfaceTexts) {
  for (std::size_t t = 0; t < static_cast<std::size_t>(EditorText::Count); ++t)
    for (const Language language : kLanguages)
      EXPECT_FALSE(editorText(language, static_cast<EditorText>(t)).empty()) << t << " " << languageCode(language);

  // Above the modifier box and the two edits, 40 pixels wider on each side, in the label
  // colour the dialog gives.
  const struct {
    Language language;
    std::vector<std::string> captions;
  } cases[] = {{Language::English, {"Modifier key", "Key 1", "Key 2"}},
               {Language::SimplifiedChinese, {"修饰键", "按键 1", "按键 2"}},
               {Language::TraditionalChinese, {"修飾鍵", "按鍵 1", "按鍵 2"}}};
  for (const auto& c : cases) {
    RecordingPainter painter;
    paintComboKeyCaptions(painter, c.language, TextColour::Skin);
    ASSERT_EQ(painter.texts.size(), 3u);
    const Region expected[] = {{9, 49, 172, 69}, {10, 100, 171, 120}, {10, 150, 171, 170}};
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(painter.texts[i].text, c.captions[i]);
      EXPECT_EQ(painter.texts[i].region, expected[i]);
      EXPECT_EQ(painter.texts[i].placement, TextPlacement::Centred);
      EXPECT_EQ(painter.texts[i].colour, TextColour::Skin);
    }
  }
  RecordingPainter fire;
  paintFireKeyContent(fire, Language::TraditionalChinese);
  const auto key = fire.textOf("按鍵");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->region, (Region{9, 49, 172, 69}));  // above the key box
}

TEST(FireKeyEditor, SpeedAndTimesAreCorrectedAsTyped) {
  struct Case {
    const char* text;
    int value;
    const char* replacement;  // null: the text stands
  };
  const Case speeds[] = {
      {"3", 5, "5"},   {"300", 5, "5"},    {"255", 255, nullptr}, {"5", 5, nullptr},
      {"4", 5, "5"},   {"", 5, "5"},       {"abc", 5, "5"},       {"99999999999999999999", 5, "5"},
      {" 40", 40, nullptr}, {"-3", 5, "5"}, {"32x", 32, nullptr},
  };
  for (const Case& c : speeds) {
    SCOPED_TRACE(std::string("speed ") + c.text);
    const FieldReading reading = readFireSpeed(c.text);
    EXPECT_EQ(reading.value, c.value);
    EXPECT_EQ(reading.replacement, c.replacement ? std::optional<std::string>(c.replacement) : std::nullopt);
  }
  const Case times[] = {
      {"256", 1, "1"}, {"", 0, nullptr},     {"0", 0, nullptr},  {"255", 255, nullptr},
      {"-1", 1, "1"},  {"12abc", 12, nullptr}, {"99999999999999999999", 1, "1"},
  };
  for (const Case& c : times) {
    SCOPED_TRACE(std::string("times ") + c.text);
    const FieldReading reading = readFireTimes(c.text);
    EXPECT_EQ(reading.value, c.value);
    EXPECT_EQ(reading.replacement, c.replacement ? std::optional<std::string>(c.replacement) : std::nullopt);
  }
}

TEST(FireKeyEditor, ListAndLabels) {
  const std::vector<std::string> items = fireKeyItems();
  ASSERT_EQ(items.size(), 61u);
  EXPECT_EQ(items[0], "A");
  EXPECT_EQ(items[39], "R-CTRL");
  EXPECT_EQ(items[55], "R-Button");
  EXPECT_EQ(items[60], "R-Tilt Wheel");

  RecordingPainter painter;
  paintFireKeyContent(painter, Language::SimplifiedChinese);
  const auto speed = painter.textOf("速度");
  ASSERT_TRUE(speed);
  EXPECT_EQ(speed->region, (Region{10, 100, 171, 120}));  // above the speed edit, 40 wider each side
  ASSERT_TRUE(painter.textOf("次数"));
  EXPECT_EQ(painter.textOf("次数")->region, (Region{10, 150, 171, 170}));
  const auto note = painter.textOf("次数(数值范围0-255，0表示按键放开火力键结束)");
  ASSERT_TRUE(note);
  EXPECT_EQ(note->region, (Region{15, 216, 366, 246}));
  EXPECT_EQ(note->placement, TextPlacement::Paragraph);
  for (const auto& text : painter.texts) EXPECT_EQ(text.colour, TextColour::White);
}

TEST(ConsumerKeyEditors, ListsInTheInterfaceLanguage) {
  EXPECT_EQ(consumerListItems(ConsumerList::Media, Language::English).size(), 7u);
  EXPECT_EQ(consumerListItems(ConsumerList::Media, Language::SimplifiedChinese)[5], "音量+");
  EXPECT_EQ(consumerListItems(ConsumerList::Windows, Language::TraditionalChinese)[10], "瀏覽器-我的最愛");
  EXPECT_EQ(firstConsumerChoice(ConsumerList::Media, Language::English).text, "Next");
  EXPECT_EQ(firstConsumerChoice(ConsumerList::Windows, Language::English).text, "Multimedia Player");
  EXPECT_EQ(firstConsumerChoice(ConsumerList::Windows, Language::English).index, 0);
}

}  // namespace
}  // namespace ombrisk
