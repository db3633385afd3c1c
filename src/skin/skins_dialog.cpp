#include "skin/skins_dialog.h"

#include <algorithm>
#include <array>

#include "settings/settings_files.h"
#include "skin/skins_dialog_surface.h"

namespace ombrisk {
namespace {

// By Language: English, Simplified Chinese, Traditional Chinese.
constexpr std::array<std::string_view, 3> kPrompts = {
    "Please click to set the UI text color",
    "请点击设置UI文本颜色",
    "請點擊設置UI文本顏色",
};

bool isSkin(const FolderEntry& entry) { return entry.folder && entry.name != "." && entry.name != ".."; }

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::string_view skinsPrompt(Language language) { return kPrompts[static_cast<std::size_t>(language)]; }

void drawSkinsDialogContent(Painter& painter, Language language, TextColour colour) {
  painter.text(skinsPrompt(language), kSkinsPromptRegion, TextPlacement::Centred, colour);
}

std::string skinsRoot(std::string_view executableFolder) { return std::string(executableFolder) + "/Skins"; }

std::vector<std::string> skinNames(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries)
    if (isSkin(entry)) names.push_back(entry.name);
  return names;
}

std::optional<std::string> findSkinFolder(const std::vector<FolderEntry>& entries, std::string_view name) {
  for (const FolderEntry& entry : entries)
    if (isSkin(entry) && sameIgnoringAsciiCase(entry.name, name)) return entry.name;
  return std::nullopt;
}

bool writeSkinChoice(ProfileStore& store, const std::string& strIni, const SkinChoice& choice) {
  return writeSkinSettings(store, strIni,
                           {choice.name, std::to_string(choice.red), std::to_string(choice.green),
                            std::to_string(choice.blue)});
}

}  // namespace ombrisk
