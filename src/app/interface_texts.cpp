#include "app/interface_texts.h"

namespace ombrisk {
namespace {

struct TextRow {
  TextId id;
  const char* english;
  const char* simplified;
  const char* traditional;
};

// Every text exactly as the interface shows it, trailing blanks included.
constexpr TextRow kTextTable[] = {
    {TextId::BasicTitle, "Basic Settings", "基本设置", "基本設置"},
    {TextId::AdvancedTitle, "Advanced Settings", "高级设置", "高級設置"},
    {TextId::Ok, "OK", "确定", "確定"},
    {TextId::Apply, "Apply", "应用", "應用"},
    {TextId::Cancel, "Cancel", "取消", "取消"},
    {TextId::KeySetting, "Key Setting", "按键设置", "按鍵設置"},
    {TextId::ReportRateSetting, "Report Rate Setting", "报告率设置", "報告率設置"},
    {TextId::DpiSetting, "DPI Setting", "DPI设置", "DPI設置"},
    {TextId::KeyDefault, "Default", "按键恢复", "按鍵恢復"},
    {TextId::DpiEffect, "DPI Effect", "DPI显示特效", "DPI顯示特效"},
    {TextId::LightingMode, "Mode", "模式", "模式"},
    {TextId::LightingParameter, "Parameter", "参数", "參數"},
    {TextId::LightingEffect, "Effect", "效果", "效果"},
    {TextId::LightingModeOff, "Off", "关闭模式", "關閉模式"},
    {TextId::LightingModeStandard, "Standard", "标准模式", "標準模式"},
    {TextId::LightingModeRespiration, "Respiration", "呼吸模式", "呼吸模式"},
    {TextId::LightingModeNeon, "Neon", "霓虹模式", "霓虹模式"},
    {TextId::LightingEffectNone, "Non-Disolay", "关闭", "關閉"},
    {TextId::LightingEffectRgb, "RGB Effect", "RGB效果", "RGB效果"},
    {TextId::LightingEffectRgbFlash, "RGB Flash", "RGB闪烁", "RGB閃爍"},
    {TextId::LightingEffectRgbFixed, "RGB Fixed On", "RGB常亮", "RGB常亮"},
    {TextId::KeyLeftClick, "Left Click", "左键", "左鍵"},
    {TextId::KeyRightClick, "Right Click", "右键", "右鍵"},
    {TextId::KeyMidClick, "Mid Click", "中键", "中鍵"},
    {TextId::KeyForward, "Forward", "前进方向键", "前進方向鍵"},
    {TextId::KeyBackward, "Backward", "后退方向键", "後退方向鍵"},
    {TextId::KeyTripleClick, "Triple-click", "三连发", "三連發"},
    {TextId::KeyDpiSwitch, "DPI Switch", "DPI切换", "DPI切換"},
    {TextId::KeyShift, "Shift", "Shift", "Shift"},
    {TextId::KeyRgbOnOff, "RGB On/Off", "RGB打开/关闭", "RGB打開/關閉"},
    {TextId::KeyWindows, "Windows", "Windows", "Windows"},
    {TextId::KeyMultimedia, "Multimedia", "多媒体", "多媒體"},
    {TextId::KeyFireKey, "Fire Key", "火力键", "火力鍵"},
    {TextId::KeySingleKey, "Single Key", "单键", "單鍵"},
    {TextId::KeyComboKey, "Combo Key", "组合键", "複合鍵"},
    {TextId::KeyMacroKey, "Macro Key", "宏", "巨集"},
    {TextId::KeyOff, "Key Off", "按键关闭", "按鍵關閉"},
    {TextId::LeftKeyRequired, "Left key must be selected!", "左键功能必须选择！", "左鍵功能必須選擇！"},
    {TextId::ReportRate1000, "Switch report rate into 1000HZ", "报告率切换到1000HZ", "報告率切換到1000HZ"},
    {TextId::ReportRate500, "Switch report rate into 500HZ", "报告率切换到500HZ", "報告率切換到500HZ"},
    {TextId::ReportRate250, "Switch report rate into 250HZ", "报告率切换到250HZ", "報告率切換到250HZ"},
    {TextId::ReportRate125, "Switch report rate into 125HZ", "报告率切换到125HZ", "報告率切換到125HZ"},
    {TextId::DpiStage1, "Switch DPI into the first stage ", "DPI切换到第一段", "DPI切換到第一段"},
    {TextId::DpiStage2, "Switch DPI into the second stage ", "DPI切换到第二段", "DPI切換到第二段"},
    {TextId::DpiStage3, "Switch DPI into the third stage ", "DPI切换到第三段", "DPI切換到第三段"},
    {TextId::DpiStage4, "Switch DPI into the fourth stage ", "DPI切换到第四段", "DPI切換到第四段"},
    {TextId::KeyMatrix1, "Switch to key matrix 1", "切换到按键组1", "切換到按鍵群組1"},
    {TextId::KeyMatrix2, "Switch to key matrix 2", "切换到按键组2", "切換到按鍵群組2"},
    {TextId::MacroSwitched, "Switch to macro key", "切换到宏", "切換到巨集"},
    {TextId::TrayExit, "Exit", "退出", "退出"},
    {TextId::NoMouse, "The system did not detect the gaming mouse!", "系统没有检测到游戏鼠标！",
     "系統沒有檢測到遊戲滑鼠！"},
    {TextId::MouseDetected, "The system detect the gaming mouse.", "系统检测到游戏鼠标。",
     "系統檢測到遊戲滑鼠。"},
    {TextId::MouseSpeed, "Mouse Speed", "鼠标移动速度", "滑鼠移動速度"},
    {TextId::ScrollingSpeed, "Scrolling Speed", "鼠标滚动速度", "滑鼠滾動速度"},
    {TextId::DoubleClickSpeed, "Double-Click Speed", "鼠标双击速度", "滑鼠雙擊速度"},
    {TextId::MacroSetting, "Macro Setting", "宏设置", "巨集設置"},
    {TextId::SelectMacro, "Select Macro", "选择宏", "選擇巨集"},
    {TextId::KeyPressSequence, "Key Press Sequence", "按键序列", "按鍵序列"},
    {TextId::RecordOption, "Record Option", "录制选项", "錄製選項"},
    {TextId::EnhancePointerPrecision, "Enhance Pointer Precision", "提高指针准确度", "提高指針準確度"},
    {TextId::ScrollOneScreen, "Scroll One Screen", "一次滚动一个屏幕", "一次滾動一個螢幕"},
    {TextId::PointerDefault, "Default", "恢复默认", "恢復默認"},
    {TextId::MacroName, "Macro Name", "宏名称", "巨集名稱"},
    {TextId::StartRecording, "Start Recording", "开始录制", "開始錄製"},
    {TextId::StopRecording, "Stop Recording", "停止录制", "停止錄製"},
    {TextId::LoopTimes, "Loop Times", "循环次数", "迴圈次數"},
    {TextId::InsertMouseEvent, "Insert A Mouse Event", "插入一个鼠标事件", "插入一個滑鼠事件"},
    {TextId::MacroNew, "New", "新建", "新建"},
    {TextId::MacroDelete, "Delete", "删除", "刪除"},
    {TextId::MacroConfirm, "Confirm", "确认", "確認"},
    {TextId::MacroNameBlank, "Macro name is blank", "宏名称为空", "巨集名稱為空"},
    {TextId::MacroNameExists, "Macro name already exists", "宏名称已经存在", "巨集名稱已經存在"},
    {TextId::RecordingStopHint, "Press Ctrl+Break key to stop recording", "按Ctrl+Break可以停止录制",
     "按Ctrl+Break可以停止錄製"},
    {TextId::RecordingNotStarted, "It doesn\u2019t start recording, unnecessary to press Stop key!",
     "没有开始录制,点击停止录制按钮没有意义！", "沒有開始錄製，點擊停止錄製按鈕沒有意義！"},
    {TextId::KeysNotRecorded, "Keys the mouse cannot play back were not recorded",
     "鼠标无法回放的按键没有录制", "滑鼠無法回放的按鍵沒有錄製"},
    {TextId::WebLink, kVendorWebSite.data(), kVendorWebSite.data(), kVendorWebSite.data()},
    {TextId::ApplyIncomplete,
     "The mouse did not receive all the settings, so nothing was saved. Check that it is connected and apply again.",
     "鼠标没有收到全部设置，所以设置未保存。请检查鼠标的连接后重新应用。",
     "滑鼠沒有收到全部設置，所以設置未保存。請檢查滑鼠的連接後重新應用。"},
    {TextId::FileNotRewritten,
     "This change could not be saved in {file}: the file is larger than 1 MiB or would become so, or it cannot be "
     "read or written. The file was left as it was.",
     "本次更改无法保存到 {file}：该文件大于 1 MiB 或将超过 1 MiB，或无法读取或写入。该文件保持原样。",
     "本次更改無法儲存到 {file}：該檔案大於 1 MiB 或將超過 1 MiB，或無法讀取或寫入。該檔案保持原樣。"},
};

// The table lists every entry once, in TextId order.
constexpr bool tableIsComplete() {
  if (std::size(kTextTable) != kTextCount) return false;
  for (std::size_t i = 0; i < std::size(kTextTable); ++i)
    if (static_cast<std::size_t>(kTextTable[i].id) != i) return false;
  return true;
}
static_assert(tableIsComplete(), "kTextTable must hold every TextId once, in order");

struct FontRow {
  Language language;
  bool onlyOnVersion62;  // the row applies only on a system that reports 6.2
  WindowFonts fonts;
};

// First matching row wins.
constexpr FontRow kFontTable[] = {
    {Language::English, false, {{"Arial", 14, 400}, {"Tahoma", 18, 700}}},
    {Language::SimplifiedChinese, true, {{"黑体", 13, 400}, {"黑体", 18, 700}}},
    {Language::SimplifiedChinese, false, {{"宋体", 13, 400}, {"宋体", 18, 700}}},
    {Language::TraditionalChinese, false, {{"黑体", 13, 400}, {"黑体", 18, 700}}},
};

Language runLanguage = Language::English;

}  // namespace

Language interfaceLanguage() { return runLanguage; }
void setInterfaceLanguage(Language language) { runLanguage = language; }

Language languageFromCode(std::string_view code) {
  if (code == "CHS") return Language::SimplifiedChinese;
  if (code == "CHT") return Language::TraditionalChinese;
  return Language::English;
}

std::string_view languageCode(Language language) {
  switch (language) {
    case Language::SimplifiedChinese: return "CHS";
    case Language::TraditionalChinese: return "CHT";
    case Language::English: break;
  }
  return "EN";
}

std::string_view labelSection(Language language) {
  switch (language) {
    case Language::SimplifiedChinese: return "Setting-CHS";
    case Language::TraditionalChinese: return "Setting-CHT";
    case Language::English: break;
  }
  return "Setting-EN";
}

std::string_view textIn(Language language, TextId id) {
  const TextRow& row = kTextTable[static_cast<std::size_t>(id)];
  switch (language) {
    case Language::SimplifiedChinese: return row.simplified;
    case Language::TraditionalChinese: return row.traditional;
    case Language::English: break;
  }
  return row.english;
}

InterfaceTexts::InterfaceTexts(Language language) : language_(language) {
  for (std::size_t i = 0; i < kTextCount; ++i) texts_[i] = textIn(language, static_cast<TextId>(i));
}

std::string fileNotRewrittenMessage(const InterfaceTexts& texts, std::string_view fileName) {
  std::string text = texts[TextId::FileNotRewritten];
  constexpr std::string_view kPlace = "{file}";
  if (const std::size_t at = text.find(kPlace); at != std::string::npos) text.replace(at, kPlace.size(), fileName);
  return text;
}

WindowFonts fontsFor(Language language, SystemVersion version) {
  const bool version62 = version.major == 6 && version.minor == 2;
  for (const FontRow& row : kFontTable)
    if (row.language == language && (!row.onlyOnVersion62 || version62)) return row.fonts;
  return kFontTable[0].fonts;
}

}  // namespace ombrisk
