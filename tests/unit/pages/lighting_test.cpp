// The lighting group: what the value boxes read for a record, what each box's list holds and
// what a choice stores, each mode with its own parameter and effect.
#include <gtest/gtest.h>

#include "pages/basic_page_surface.h"
#include "pages/lighting.h"

namespace ombrisk {
namespace {

struct Lighting {
  std::uint8_t mode = 0, brightness = 0, speed = 0, period = 0, option = 0, respirationEffect = 0, neonEffect = 0;
};

SettingsRecord recordWith(const Lighting& l) {
  SettingsRecord record;
  record[rec::kLightingMode] = l.mode;
  record[rec::kMode1Parameter] = l.brightness;
  record[rec::kMode2Parameter] = l.speed;
  record[rec::kMode3Parameter] = l.period;
  record[rec::kLightingOption] = l.option;
  record[rec::kMode2Effect] = l.respirationEffect;
  record[rec::kMode3Effect] = l.neonEffect;
  return record;
}

std::optional<std::string> none() { return std::nullopt; }

TEST(Lighting, ValueBoxesFollowTheModeAndItsOwnValues) {
  const InterfaceTexts english(Language::English), simplified(Language::SimplifiedChinese);
  struct Case {
    Lighting lighting;
    const InterfaceTexts& texts;
    LightingValues shown;
  };
  const Case cases[] = {
      {{}, english, {"Off", none(), none()}},
      {{.mode = 4, .period = 3}, english, {"Off", none(), none()}},
      {{.mode = 255}, simplified, {"关闭模式", none(), none()}},
      // Standard has one effect: whatever the option byte says, it reads "RGB Effect".
      {{.mode = 1, .brightness = 9, .option = 0}, english, {"Standard", "100%", "RGB Effect"}},
      {{.mode = 1, .brightness = 0, .option = 1}, simplified, {"标准模式", "5%", "RGB效果"}},
      {{.mode = 2, .speed = 4, .respirationEffect = 2}, english, {"Respiration", "4S", "RGB Flash"}},
      {{.mode = 2, .speed = 0, .respirationEffect = 1}, english, {"Respiration", "8S", "RGB Effect"}},
      {{.mode = 3, .period = 29, .neonEffect = 3}, english, {"Neon", "15S", "RGB Fixed On"}},
      {{.mode = 3, .period = 2, .neonEffect = 0}, english, {"Neon", "1.5S", "Non-Disolay"}},
      // Values outside their lists read empty; the boxes are still there.
      {{.mode = 2, .speed = 5, .respirationEffect = 9}, english, {"Respiration", "", ""}},
      {{.mode = 3, .period = 30, .neonEffect = 4}, english, {"Neon", "", ""}},
  };
  for (const Case& c : cases) {
    const LightingValues shown = lightingValues(recordWith(c.lighting), c.texts);
    EXPECT_EQ(shown, c.shown) << "mode " << int{c.lighting.mode} << ": " << shown.mode << " / "
                              << shown.parameter.value_or("-") << " / " << shown.effect.value_or("-");
  }
}

TEST(Lighting, NeonListsThirtyPeriods) {
  const InterfaceTexts texts;
  SettingsRecord record = recordWith({.mode = 3});
  const LightingPress press = pressLightingBox(kParameterBox, record, texts);
  ASSERT_TRUE(press.list);
  const std::vector<std::string>& periods = *press.list;
  ASSERT_EQ(periods.size(), 30u);
  EXPECT_EQ(periods[0], "0.5S");
  EXPECT_EQ(periods[1], "1S");
  EXPECT_EQ(periods[2], "1.5S");
  EXPECT_EQ(periods[19], "10S");
  EXPECT_EQ(periods[28], "14.5S");
  EXPECT_EQ(periods[29], "15S");
  EXPECT_EQ(lightingListRect(kParameterBox, 3).bottom, 374 + 203);
}

TEST(Lighting, ListsOfEachBoxByMode) {
  const InterfaceTexts texts;
  using Items = std::vector<std::string>;
  SettingsRecord standard = recordWith({.mode = 1});
  EXPECT_EQ(pressLightingBox(kModeBox, standard, texts).list, (Items{"Standard", "Respiration", "Neon"}));
  EXPECT_EQ(pressLightingBox(kParameterBox, standard, texts).list->size(), 10u);
  EXPECT_EQ(lightingListRect(kParameterBox, 1).bottom, 374 + 173);
  SettingsRecord respiration = recordWith({.mode = 2});
  EXPECT_EQ(pressLightingBox(kParameterBox, respiration, texts).list,
            (Items{"8S", "7S", "6S", "5S", "4S"}));
  EXPECT_EQ(lightingListRect(kParameterBox, 2).bottom, 374 + 93);
  EXPECT_EQ(pressLightingBox(kEffectBox, respiration, texts).list, (Items{"RGB Effect", "RGB Flash"}));
  SettingsRecord neon = recordWith({.mode = 3});
  EXPECT_EQ(pressLightingBox(kEffectBox, neon, texts).list, (Items{"RGB Flash", "RGB Fixed On"}));
  EXPECT_EQ(lightingListRect(kEffectBox, 3).top, 407);

  // Standard's effect box offers no list: the press takes its only effect.
  const LightingPress effect = pressLightingBox(kEffectBox, standard, texts);
  EXPECT_FALSE(effect.list);
  EXPECT_TRUE(effect.valuesChanged);
  EXPECT_EQ(standard[rec::kLightingOption], 1);

  // Without a mode only the mode box does anything.
  SettingsRecord off = recordWith({.mode = 0, .period = 7});
  const SettingsRecord before = off;
  EXPECT_EQ(pressLightingBox(kParameterBox, off, texts).list, std::nullopt);
  EXPECT_EQ(pressLightingBox(kEffectBox, off, texts).list, std::nullopt);
  chooseLighting(kParameterBox, 3, off);
  EXPECT_EQ(off, before);
}

TEST(Lighting, NeonAfterStandardShowsNeonsOwnPeriod) {
  const InterfaceTexts texts;
  SettingsRecord record = recordWith({.mode = 1, .brightness = 4, .period = 5, .neonEffect = 2});
  chooseLighting(kModeBox, 2, record);
  EXPECT_EQ(record[rec::kLightingMode], 3);
  EXPECT_EQ(lightingValues(record, texts), (LightingValues{"Neon", "3S", "RGB Flash"}));
  chooseLighting(kParameterBox, 0, record);  // Neon's period; Standard's brightness stays
  EXPECT_EQ(record[rec::kMode3Parameter], 0);
  EXPECT_EQ(record[rec::kMode1Parameter], 4);
  chooseLighting(kModeBox, 0, record);
  EXPECT_EQ(lightingValues(record, texts), (LightingValues{"Standard", "45%", "RGB Effect"}));
}

TEST(Lighting, EffectChoicesStoreTheEffectOfTheMode) {
  SettingsRecord respiration = recordWith({.mode = 2});
  chooseLighting(kEffectBox, 1, respiration);
  EXPECT_EQ(respiration[rec::kMode2Effect], 2);
  chooseLighting(kEffectBox, 0, respiration);
  EXPECT_EQ(respiration[rec::kMode2Effect], 1);
  SettingsRecord neon = recordWith({.mode = 3});
  chooseLighting(kEffectBox, 0, neon);
  EXPECT_EQ(neon[rec::kMode3Effect], 2);
  chooseLighting(kEffectBox, 1, neon);
  EXPECT_EQ(neon[rec::kMode3Effect], 3);
  EXPECT_EQ(neon[rec::kMode2Effect], 0) << "each mode keeps its own effect";
  // A choice past the list changes nothing.
  const SettingsRecord before = neon;
  chooseLighting(kEffectBox, 2, neon);
  chooseLighting(kParameterBox, 30, neon);
  chooseLighting(kModeBox, 3, neon);
  chooseLighting(kModeBox, -1, neon);
  EXPECT_EQ(neon, before);
}

}  // namespace
}  // namespace ombrisk
