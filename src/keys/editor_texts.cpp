#include "keys/editor_texts.h"

namespace ombrisk {
namespace {

struct Row {
  EditorText id;
  Translations texts;
};

constexpr Row kEditorTexts[] = {
    {EditorText::SingleKeyPrompt, {"Please enter a key", "请输入一个按键", "請輸入一個按鍵"}},
    {EditorText::UnassignableKey,
     {"This key cannot be assigned", "此按键无法设置", "此按鍵無法設置"}},
    {EditorText::ComboModifierCaption, {"Modifier key", "修饰键", "修飾鍵"}},
    {EditorText::ComboKey1Caption, {"Key 1", "按键 1", "按鍵 1"}},
    {EditorText::ComboKey2Caption, {"Key 2", "按键 2", "按鍵 2"}},
    {EditorText::FireKeyCaption, {"Key", "按键", "按鍵"}},
    {EditorText::FireSpeedCaption, {"Speed", "速度", "速度"}},
    {EditorText::FireTimesCaption, {"Times", "次数", "次數"}},
    {EditorText::FireSpeedNote,
     {"Speed (value range 5-255, with smaller values faster)", "速度(数值范围5-255，数值越小速度越快)",
      "速度(數值範圍5-255，數值越小速度越快)"}},
    {EditorText::FireTimesNote,
     {"Times (value range 0-255,0 indicates fire key to end when the key released)",
      "次数(数值范围0-255，0表示按键放开火力键结束)", "次數(數值範圍0-255，0表示按鍵放開火力鍵結束)"}},
    {EditorText::MacroTitle, {"Please select a macro", "请从列表框选择一个宏", "請從清單方塊選擇一個巨集"}},
    {EditorText::RepeatMode1,
     {"Repeat a specified number of times or press any key to end", "重复指定次数或按任意键结束",
      "重複指定次數或按任意鍵結束"}},
    {EditorText::RepeatMode2, {"Repeat until press any key to end", "重复直到按任意键结束", "重複直到按任意鍵結束"}},
    {EditorText::RepeatMode3,
     {"Repeat until the key is released", "重复直到该按键松开结束", "重複直到該按鍵鬆開結束"}},
};

constexpr bool tableIsComplete() {
  if (std::size(kEditorTexts) != static_cast<std::size_t>(EditorText::Count)) return false;
  for (std::size_t i = 0; i < std::size(kEditorTexts); ++i)
    if (static_cast<std::size_t>(kEditorTexts[i].id) != i) return false;
  return true;
}
static_assert(tableIsComplete(), "kEditorTexts must hold every EditorText once, in order");

}  // namespace

std::string_view editorText(Language language, EditorText text) {
  return translated(kEditorTexts[static_cast<std::size_t>(text)].texts, language);
}

}  // namespace ombrisk
