#include "keys/delay_time_dialog.h"

#include <array>

#include "keys/key_editor_surfaces.h"
#include "util/decimal.h"

namespace ombrisk {
namespace {

// By Language: English, Simplified Chinese, Traditional Chinese.
constexpr std::array<DelayTimeTexts, 3> kTexts = {{
    {"Please enter a delay", "(value range 0-10000)"},
    {"请输入一个延时", "(数值范围 0-10000)"},
    {"請輸入一個延時", "(數值範圍 0-10000)"},
}};

}  // namespace

DelayTimeTexts delayTimeTexts(Language language) { return kTexts[static_cast<std::size_t>(language)]; }

void drawDelayTimeContent(Painter& painter, Language language, TextColour colour) {
  const DelayTimeTexts texts = delayTimeTexts(language);
  painter.text(texts.prompt, kDelayPromptRegion, TextPlacement::Centred, colour);
  painter.text(texts.range, kDelayRangeRegion, TextPlacement::Centred, colour);
}

DelayTimeResult delayTimeFromText(std::string_view text) { return {leadingDecimal(text), std::string(text)}; }

}  // namespace ombrisk
